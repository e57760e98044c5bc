# The Debian package, for the architecture the compiler builds for (amd64
# natively, powerpc from the cross build): `cpack -G DEB` in the build tree.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpmachine
                OUTPUT_VARIABLE quillet_target_triple OUTPUT_STRIP_TRAILING_WHITESPACE)
find_program(QUILLET_DPKG_ARCHITECTURE dpkg-architecture)
if(QUILLET_DPKG_ARCHITECTURE)
  execute_process(COMMAND ${QUILLET_DPKG_ARCHITECTURE} -t ${quillet_target_triple} -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE quillet_deb_arch OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET)
endif()

set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "quillet developers <quillet@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "maintenance tool for FRU identification data")
set(CPACK_PACKAGE_DESCRIPTION
    "quillet reads, updates and deletes the records kept in the ID EEPROMs of
field-replaceable units (part and serial numbers, manufacturing identity,
installation data, event and status histories, IPMI information areas,
DIMM SPD data), removes segments with a bad CRC, writes opaque segments and
flashes whole container images. fructl administers the file-backed FRU
store quillet works through; its inventory may name the EEPROM files the
kernel exposes.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(quillet_deb_arch)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${quillet_deb_arch})
endif()
# The dependencies come from the executables' own dynamic section when cpack
# runs (dpkg-shlibdeps cannot see the cross build's libc).
set(QUILLET_PACKAGED_EXECUTABLES "${PROJECT_BINARY_DIR}/src/quillet;${PROJECT_BINARY_DIR}/platform/fructl/fructl")
set(QUILLET_OBJDUMP ${CMAKE_OBJDUMP})
configure_file(${CMAKE_CURRENT_LIST_DIR}/package-depends.cmake.in
               ${PROJECT_BINARY_DIR}/package-depends.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/package-depends.cmake)

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "Packages want -DCMAKE_INSTALL_PREFIX=/usr, so that the default store is /var/lib/quillet")
endif()
include(CPack)
