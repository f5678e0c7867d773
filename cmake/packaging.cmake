# Install rules and CPack for the three release files, each one install component:
#   portable  - one folder that runs where it is unpacked: the Linux tarball (with start.sh), or
#               the Windows zip (with README.txt);
#   debian    - the Debian package: /usr/games/dustriders starts the binary from
#               /usr/lib/games/dustriders in its data folder /usr/share/games/dustriders.
# cmake/cpackGenerators.cmake hands each generator its component. Included from the top-level
# CMakeLists.txt after the targets exist.
# cpack itself builds nothing and packs what the last build left: scripts/release.sh builds the
# packed targets first. The "package" and "install" targets build everything before they pack.
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${PACKAGING_OUT})

set(CPACK_PACKAGE_NAME dustriders)
set(CPACK_PACKAGE_VENDOR "Dust Riders maintainers")
set(CPACK_PACKAGE_CONTACT "Dust Riders maintainers <maintainers@users.noreply.c-seed-d02a55d9.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time OpenGL desert demo with shadows and particles")
set(CPACK_PACKAGE_DESCRIPTION "\
A small desert scene of 21 textured models, lit by one light and shadowed
with a two-pass shadow map, with a fountain of 14,999 additively blended
particles. A 24-second script rakes the sand, sends a cockatoo flying,
drives a wagon and cuts the camera between viewpoints; after it the scene
stays and the mouse and keys steer the camera and the objects.")
set(CPACK_STRIP_FILES TRUE)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
# Whatever the umask of the build machine: folders 0755 in every archive.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpackGenerators.cmake)

if(WIN32)
  # The assets come from the Linux build (the same bytes on both systems).
  set(DUSTRIDERS_RES_DIR ${CMAKE_SOURCE_DIR}/build/run/res CACHE PATH
    "Generated res/ folder that the Windows zip carries")
  # Notepad on older Windows shows bare line feeds as one line.
  file(READ ${PACKAGING_DIR}/windows-README.txt readme)
  string(REPLACE "\n" "\r\n" readme "${readme}")
  file(WRITE ${PACKAGING_OUT}/README.txt "${readme}")

  install(TARGETS dustriders RUNTIME DESTINATION . COMPONENT portable)
  install(FILES ${STAGED_SHADERS} ${PACKAGING_OUT}/README.txt DESTINATION . COMPONENT portable)
  install(DIRECTORY ${DUSTRIDERS_RES_DIR}/ DESTINATION res COMPONENT portable)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME dustriders-windows-x64)
  include(CPack)
  return()
endif()

# ---- the tarball: dustriders-linux-x64/ with start.sh ----
install(TARGETS dustriders RUNTIME DESTINATION . COMPONENT portable)
install(PROGRAMS ${PACKAGING_DIR}/start.sh DESTINATION . COMPONENT portable)
install(FILES ${STAGED_SHADERS} DESTINATION . COMPONENT portable)
install(DIRECTORY ${RUN_DIR}/res DESTINATION . COMPONENT portable)

# ---- the Debian package ----
# Paths below the package's /usr prefix.
set(DEB_BINARY_DIR lib/games/dustriders)
set(DEB_DATA_DIR share/games/dustriders)
set(DEB_DOC_DIR share/doc/dustriders)
set(DATA_DIR /usr/${DEB_DATA_DIR})
set(BINARY /usr/${DEB_BINARY_DIR}/dustriders)
set(VERSION ${PROJECT_VERSION})
# The changelog entry names the commit it was built from and takes that commit's time, so that the
# same sources give the same package; outside a git checkout, the build's own time (or
# SOURCE_DATE_EPOCH where set) and no commit.
set(CHANGELOG_SOURCE "a source tree without git history")
string(TIMESTAMP CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct%n%h
    OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE gitStatus)
  if(gitStatus EQUAL 0 AND commit MATCHES "^([0-9]+)\n([0-9a-f]+)$")
    set(CHANGELOG_SOURCE "commit ${CMAKE_MATCH_2}")
    set(savedEpoch "$ENV{SOURCE_DATE_EPOCH}")
    set(ENV{SOURCE_DATE_EPOCH} ${CMAKE_MATCH_1})
    string(TIMESTAMP CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
    if(savedEpoch STREQUAL "")
      unset(ENV{SOURCE_DATE_EPOCH})
    else()
      set(ENV{SOURCE_DATE_EPOCH} "${savedEpoch}")
    endif()
  endif()
endif()
configure_file(${PACKAGING_DIR}/dustriders.in ${PACKAGING_OUT}/dustriders @ONLY)
configure_file(${PACKAGING_DIR}/dustriders.6 ${PACKAGING_OUT}/dustriders.6 @ONLY)
configure_file(${PACKAGING_DIR}/changelog.in ${PACKAGING_OUT}/changelog @ONLY)
# Debian wants manual pages and changelogs compressed with gzip -9, without a time stamp.
foreach(file dustriders.6 changelog)
  execute_process(COMMAND gzip -9 -n -c ${PACKAGING_OUT}/${file}
    OUTPUT_FILE ${PACKAGING_OUT}/${file}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Icons for the menus, painted by the asset generator from the scene's textures.
set(ICON_SIZES 16 32 48 64 128 256)
set(ICON_FILES "")
foreach(size ${ICON_SIZES})
  set(icon ${PACKAGING_OUT}/icons/dustriders-${size}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGING_OUT}/icons
    COMMAND generateAssets --icon ${size} ${icon}
    DEPENDS generateAssets)
  list(APPEND ICON_FILES ${icon})
  install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps
    RENAME dustriders.png COMPONENT debian)
endforeach()
add_custom_target(icons ALL DEPENDS ${ICON_FILES})

install(TARGETS dustriders RUNTIME DESTINATION ${DEB_BINARY_DIR} COMPONENT debian)
install(PROGRAMS ${PACKAGING_OUT}/dustriders DESTINATION games COMPONENT debian)
install(FILES ${STAGED_SHADERS} DESTINATION ${DEB_DATA_DIR} COMPONENT debian)
install(DIRECTORY ${RUN_DIR}/res DESTINATION ${DEB_DATA_DIR} COMPONENT debian)
install(FILES ${PACKAGING_DIR}/dustriders.desktop DESTINATION share/applications
  COMPONENT debian)
install(FILES ${PACKAGING_OUT}/dustriders.6.gz DESTINATION share/man/man6 COMPONENT debian)
install(FILES ${PACKAGING_DIR}/copyright ${PACKAGING_OUT}/changelog.gz DESTINATION ${DEB_DOC_DIR}
  COMPONENT debian)

set(CPACK_GENERATOR TGZ DEB)
set(CPACK_PACKAGE_FILE_NAME dustriders-linux-x64)
set(CPACK_DEBIAN_PACKAGE_NAME dustriders)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# cmake/cpackGenerators.cmake writes Depends from this binary's libraries.
set(CPACK_DUSTRIDERS_BINARY ${RUN_DIR}/dustriders)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
