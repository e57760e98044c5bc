# Turns the JEP106 manufacturer list (bank, code with parity, name; tab
# separated, '#' comments) into a C++ table, so that the list stays the one
# place a new maker is added.
# Usage: cmake -DINPUT=jep106.tsv -DOUTPUT=jep106_table.cpp -P jep106_table.cmake
file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(rows "")
set(names "")
set(count 0)
set(offset 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^([0-9]+)\t(0x[0-9A-Fa-f][0-9A-Fa-f])\t(.+)$")
    message(FATAL_ERROR "${INPUT}: not a bank, code and name: ${line}")
  endif()
  set(bank "${CMAKE_MATCH_1}")
  set(code "${CMAKE_MATCH_2}")
  string(LENGTH "${CMAKE_MATCH_3}" length)
  string(REPLACE "\\" "\\\\" name "${CMAKE_MATCH_3}")
  string(REPLACE "\"" "\\\"" name "${name}")
  string(APPEND rows "    {${bank}, ${code}, ${offset}},\n")
  # Each name its own literal, ending in its NUL: "\0" can then never run
  # into a digit of the next name.
  string(APPEND names "    \"${name}\\0\"\n")
  math(EXPR count "${count} + 1")
  math(EXPR offset "${offset} + ${length} + 1")
endforeach()
if(offset GREATER 65535)
  message(FATAL_ERROR "${INPUT}: the names outgrow a 16-bit offset")
endif()
file(WRITE "${OUTPUT}.tmp"
"// Generated from jep106.tsv by cmake/jep106_table.cmake; edit the list, not this file.
#include \"dimm/jep106.h\"

namespace fruplat {

const Jep106Entry kJep106[] = {
${rows}};
const size_t kJep106Count = ${count};
const char kJep106Names[] =
${names};

}  // namespace fruplat
")
# Unchanged output keeps its timestamp, so nothing rebuilds needlessly.
configure_file("${OUTPUT}.tmp" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.tmp")
