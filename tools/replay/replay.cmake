# Included, not a subdirectory: the executable build/tools/replay takes the name a binary folder would.
# The fixed-rate replay: the script as a steady frame rate plays it, written as PNGs. Built for
# Linux and, cross-built, for Windows, where it runs under Wine against the Linux references; it is
# a check and a picture source, no part of either release.
add_executable(replay ${CMAKE_CURRENT_LIST_DIR}/main.cpp ${CMAKE_CURRENT_LIST_DIR}/shotCompare.cpp
  ${CMAKE_CURRENT_LIST_DIR}/passViews.cpp ${CMAKE_CURRENT_LIST_DIR}/cameraPath.cpp)
# stb's image reader and writer are header-only: the Linux package's headers serve both builds.
target_include_directories(replay SYSTEM PRIVATE /usr/include/stb)
target_link_libraries(replay PRIVATE dustriders_core)
set_target_properties(replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
add_dependencies(replay shaders)
if(TARGET assets)
  add_dependencies(replay assets)
endif()
# The page's replay shots, taken by the browser checks, held against the same references by the
# same comparison; the browsers run on Linux, so the Windows build has no use for it.
if(NOT WIN32)
  add_executable(shotCheck ${CMAKE_CURRENT_LIST_DIR}/shotCheck.cpp ${CMAKE_CURRENT_LIST_DIR}/shotCompare.cpp)
  target_include_directories(shotCheck SYSTEM PRIVATE /usr/include/stb)
  target_include_directories(shotCheck PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(shotCheck PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()
