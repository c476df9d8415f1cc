# The shipped DLL is stripped and names its debug file: no .debug sections and no symbol table in
# the DLL, a .gnu_debuglink section naming <dll>.debug, and that file beside it holding the debug
# information. Prints both sizes.
# Usage: cmake -DDLL=<path> -DOBJDUMP=<objdump> -DOBJCOPY=<objcopy> -P check_dll_stripped.cmake
cmake_minimum_required(VERSION 3.25)

function(sections file out)
  execute_process(COMMAND ${OBJDUMP} -h ${file} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${file}")
  endif()
  string(REGEX MATCHALL "\n +[0-9]+ +[^ ]+" found "${dump}")
  list(TRANSFORM found REPLACE "^\n +[0-9]+ +" "")
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

get_filename_component(name ${DLL} NAME)
set(debug ${DLL}.debug)

sections(${DLL} shipped)
foreach(s IN LISTS shipped)
  if(s MATCHES "^\\.debug")
    message(FATAL_ERROR "${name} still carries ${s}")
  endif()
endforeach()
if(NOT ".gnu_debuglink" IN_LIST shipped)
  message(FATAL_ERROR "${name} has no .gnu_debuglink section (sections: ${shipped})")
endif()
execute_process(COMMAND ${OBJDUMP} -t ${DLL} OUTPUT_VARIABLE symbols)
if(symbols MATCHES "\\[ *[0-9]+\\]\\(sec")
  message(FATAL_ERROR "${name} still carries a symbol table")
endif()

set(link ${DLL}.debuglink-check)
execute_process(COMMAND ${OBJCOPY} --dump-section .gnu_debuglink=${link} ${DLL} ${link}.out
                RESULT_VARIABLE rc)
# The section holds the file name, zero padding and a checksum: the first string is the name.
file(STRINGS ${link} named LIMIT_COUNT 1)
file(REMOVE ${link} ${link}.out)
if(NOT rc EQUAL 0 OR NOT named STREQUAL "${name}.debug")
  message(FATAL_ERROR "${name} links its debug information to '${named}', not ${name}.debug")
endif()

if(NOT EXISTS ${debug})
  message(FATAL_ERROR "${debug} is missing")
endif()
sections(${debug} kept)
if(NOT ".debug_info" IN_LIST kept OR NOT ".debug_line" IN_LIST kept)
  message(FATAL_ERROR "${debug} holds no debug information (sections: ${kept})")
endif()

file(SIZE ${DLL} shipped_size)
file(SIZE ${debug} debug_size)
math(EXPR shipped_kib "${shipped_size} / 1024")
math(EXPR debug_kib "${debug_size} / 1024")
message(STATUS "${name}: ${shipped_kib} KiB stripped; ${name}.debug: ${debug_kib} KiB")
