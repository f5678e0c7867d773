# The demo's own sources, one list for every build: the desktop's library and the page. Each
# platform brings its entry point: app/main.cpp on the desktop, app/web*.cpp in the page.
file(GLOB_RECURSE CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/math/*.cpp ${CMAKE_SOURCE_DIR}/scene/*.cpp
  ${CMAKE_SOURCE_DIR}/render/*.cpp ${CMAKE_SOURCE_DIR}/particles/*.cpp ${CMAKE_SOURCE_DIR}/demo/*.cpp)
list(FILTER CORE_SOURCES EXCLUDE REGEX "/app/(main|web[^/]*)\\.cpp$")
file(GLOB WEB_ENTRY_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/web*.cpp)
