# The hardening Debian builds its packages with (dpkg-buildflags with
# hardening=+all), so that the package is no weaker than the distribution's
# own: stack protector, stack clash protection, control-flow protection on
# x86, fortified string and memory calls, read-only relocations bound at
# start, and position-independent executables, static-pie when the
# executables are linked statically and the toolchain can.
include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)

option(QUILLET_HARDENING "Build with the distribution's hardening flags" ON)
# A static-pie relocates itself at start; on a target where those
# instructions matter more than address randomisation, turn it off.
option(QUILLET_PIE "Build position-independent executables (static-pie when linked statically)" ON)

# The sanitizers and libFuzzer bring their own instrumentation and runtime.
if(QUILLET_SANITIZE OR QUILLET_FUZZ)
  set(quillet_harden OFF)
else()
  set(quillet_harden ${QUILLET_HARDENING})
endif()

if(quillet_harden)
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  check_cxx_compiler_flag(-fstack-clash-protection QUILLET_HAS_STACK_CLASH)
  if(QUILLET_HAS_STACK_CLASH)
    add_compile_options(-fstack-clash-protection)
  endif()
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i.86)$")
    check_cxx_compiler_flag(-fcf-protection QUILLET_HAS_CF_PROTECTION)
    if(QUILLET_HAS_CF_PROTECTION)
      add_compile_options(-fcf-protection)
    endif()
  endif()
  # glibc warns that fortification needs the optimiser, which -Werror turns
  # into a failed Debug build.
  add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()

set(QUILLET_STATIC_PIE OFF)
if(QUILLET_PIE AND NOT QUILLET_SANITIZE AND NOT QUILLET_FUZZ)
  add_compile_options(-fPIE)
  set(CMAKE_REQUIRED_FLAGS -fPIE)
  set(CMAKE_REQUIRED_LINK_OPTIONS -static-pie)
  check_cxx_source_compiles("#include <cstdio>\nint main() { std::puts(\"\"); }" QUILLET_HAS_STATIC_PIE)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  set(QUILLET_STATIC_PIE ${QUILLET_HAS_STATIC_PIE})
  # Packed relative relocations: the same relocations a static-pie applies
  # to itself at start, in a form that takes fewer instructions to apply
  # (a small read: 158,000 instructions without, 145,000 with).
  set(CMAKE_REQUIRED_LINK_OPTIONS -static-pie LINKER:-z,pack-relative-relocs)
  set(CMAKE_REQUIRED_FLAGS -fPIE)
  check_cxx_source_compiles("#include <cstdio>\nint main() { std::puts(\"\"); }" QUILLET_HAS_PACKED_RELOCS)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
endif()

# How quillet and fructl are linked: static (static-pie when possible) by
# default, else against the shared runtime, PIE or not as chosen.
function(quillet_link_mode target)
  if(QUILLET_STATIC_RUNTIME AND NOT QUILLET_SANITIZE AND NOT QUILLET_FUZZ)
    if(QUILLET_STATIC_PIE)
      target_link_options(${target} PRIVATE -static-pie)
      if(QUILLET_HAS_PACKED_RELOCS)
        target_link_options(${target} PRIVATE LINKER:-z,pack-relative-relocs)
      endif()
    else()
      target_link_options(${target} PRIVATE -static)
    endif()
  elseif(QUILLET_PIE)
    target_link_options(${target} PRIVATE -pie)
  else()
    target_link_options(${target} PRIVATE -no-pie)
  endif()
endfunction()
