# The browser build, made with Emscripten (scripts/web.sh): the demo's own sources with the page's
# entry point, the GL layer and GLUT-like shell of this folder, and the page. Output: ${CMAKE_BINARY_DIR}/site, the folder
# any static web server can serve. DUSTRIDERS_RUN_DIR names the Linux build's run folder, whose
# res/ is packed beside the page byte for byte.
set(DUSTRIDERS_RUN_DIR "${CMAKE_SOURCE_DIR}/build/run" CACHE PATH "Linux run folder holding res/")
set(SITE_DIR ${CMAKE_BINARY_DIR}/site)
file(MAKE_DIRECTORY ${SITE_DIR})

# The page's modes are the twins of desktop tools and live beside them: the replay's beside the
# replay tool (with the shot shrinking the references are made with), the bench's beside
# frameBench.
file(GLOB WEB_SOURCES CONFIGURE_DEPENDS platform/web/*.cpp)
add_executable(dustriders ${CORE_SOURCES} ${WEB_ENTRY_SOURCES} platform/glExtensions.cpp
  ${WEB_SOURCES} tools/replay/pageReplay.cpp tools/replay/shotCompare.cpp bench/pageBench.cpp)
target_include_directories(dustriders PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/platform/web/include)
# The object table is sized to what the packed res/ needs (the largest model has 3,765 vertices
# and 6,956 polygons; the scene 21 objects), with room to spare: 15 MB, where the desktop's is
# 400 MB. Every packed model is checked against it before the page links, by the demo's own
# loader (tools/modelCounts of the Linux build). Memory is sized once and never grows.
set(WEB_MAX_OBJECTS 32)
set(WEB_MAX_VERTICES 8192)
set(WEB_MAX_POLYGONS 16384)
set(DUSTRIDERS_NATIVE_TOOLS "${DUSTRIDERS_RUN_DIR}/../tools" CACHE PATH "Linux build's tools folder")
target_compile_definitions(dustriders PRIVATE WEB_MAX_OBJECTS=${WEB_MAX_OBJECTS}
  WEB_MAX_VERTICES=${WEB_MAX_VERTICES} WEB_MAX_POLYGONS=${WEB_MAX_POLYGONS})
file(GLOB PACKED_MODELS CONFIGURE_DEPENDS ${DUSTRIDERS_RUN_DIR}/res/*.3ds)
add_custom_command(TARGET dustriders PRE_LINK
  COMMAND ${DUSTRIDERS_NATIVE_TOOLS}/modelCounts --fit ${WEB_MAX_VERTICES} ${WEB_MAX_POLYGONS}
    ${PACKED_MODELS} > ${CMAKE_BINARY_DIR}/modelCounts.txt
  COMMENT "Checking that every packed model fits the page's object table")
target_link_options(dustriders PRIVATE
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sINITIAL_MEMORY=128MB -sENVIRONMENT=web
  -sEXPORTED_RUNTIME_METHODS=[FS,UTF8ToString]
  "SHELL:--preload-file ${DUSTRIDERS_RUN_DIR}/res@res"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/shaders/VertexShader.c@VertexShader.c"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/shaders/FragmentShader.c@FragmentShader.c")
# The packed files are made at link time: a changed shader must link again.
set_target_properties(dustriders PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SITE_DIR} SUFFIX .js
  LINK_DEPENDS "${CMAKE_SOURCE_DIR}/shaders/VertexShader.c;${CMAKE_SOURCE_DIR}/shaders/FragmentShader.c")
add_custom_command(OUTPUT ${SITE_DIR}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/platform/web/index.html ${SITE_DIR}/index.html
  DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/index.html)
# The lesson's controls (?lesson), loaded by the page.
add_custom_command(OUTPUT ${SITE_DIR}/lesson.js
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/platform/web/lesson.js ${SITE_DIR}/lesson.js
  DEPENDS ${CMAKE_SOURCE_DIR}/platform/web/lesson.js)
add_custom_target(page ALL DEPENDS ${SITE_DIR}/index.html ${SITE_DIR}/lesson.js)
