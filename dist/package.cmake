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

set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/postinst)

# A static executable carries code of the C library and of the GCC runtime:
# Built-Using names the source packages it came from, so that the
# distribution keeps their sources as long as the package (LGPL).
set(quillet_built_using)
if(QUILLET_STATIC_RUNTIME AND NOT QUILLET_SANITIZE AND NOT QUILLET_FUZZ)
  find_program(QUILLET_DPKG_QUERY dpkg-query)
  foreach(flag -print-file-name=libc.a -print-file-name=libstdc++.a -print-libgcc-file-name)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} ${flag} OUTPUT_VARIABLE lib
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    file(REAL_PATH "${lib}" lib)
    if(QUILLET_DPKG_QUERY)
      execute_process(COMMAND ${QUILLET_DPKG_QUERY} -S ${lib} OUTPUT_VARIABLE owner
                      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
    endif()
    if(NOT QUILLET_DPKG_QUERY OR NOT rc EQUAL 0)
      message(STATUS "Built-Using: no package owns ${lib}; the field leaves it out")
      continue()
    endif()
    string(REGEX REPLACE ":.*" "" owner "${owner}")
    execute_process(COMMAND ${QUILLET_DPKG_QUERY} -W "-f=\${source:Package} (= \${source:Version})" ${owner}
                    OUTPUT_VARIABLE source OUTPUT_STRIP_TRAILING_WHITESPACE)
    list(APPEND quillet_built_using "${source}")
  endforeach()
  list(REMOVE_DUPLICATES quillet_built_using)
  list(JOIN quillet_built_using ", " quillet_built_using)
endif()
# CPack has no Built-Using field; the Source field it writes is followed by
# one of our own.
if(quillet_built_using)
  set(CPACK_DEBIAN_PACKAGE_SOURCE "quillet\nBuilt-Using: ${quillet_built_using}")
endif()

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "Packages want -DCMAKE_INSTALL_PREFIX=/usr, so that the default store is /var/lib/quillet")
endif()
include(CPack)
