# Read by cpack for each generator: the Debian package takes the debian component; the archives
# take the portable folder, under one top folder named as the file.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL debian)
  # Depends from dpkg-shlibdeps, without the Debian revisions of the versions: it names each
  # library's package at the version this machine has, rebuild suffix included ("2.2.0-4+b1"),
  # which another distribution's build of the same library ("2.2.0-4build1") does not satisfy.
  set(shlibdepsDir ${CPACK_PACKAGE_DIRECTORY}/shlibdeps)
  file(MAKE_DIRECTORY ${shlibdepsDir}/debian)
  file(TOUCH ${shlibdepsDir}/debian/control)
  execute_process(COMMAND dpkg-shlibdeps -O ${CPACK_DUSTRIDERS_BINARY}
    WORKING_DIRECTORY ${shlibdepsDir} OUTPUT_VARIABLE shlibdeps ERROR_VARIABLE shlibdepsErrors
    RESULT_VARIABLE shlibdepsStatus)
  if(NOT shlibdepsStatus EQUAL 0)
    message(FATAL_ERROR "dpkg-shlibdeps failed: ${shlibdepsErrors}")
  endif()
  string(REGEX REPLACE "^shlibs:Depends=" "" depends "${shlibdeps}")
  string(STRIP "${depends}" depends)
  string(REGEX REPLACE "-[^ )-]*\\)" ")" depends "${depends}")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
else()
  set(CPACK_COMPONENTS_ALL portable)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
