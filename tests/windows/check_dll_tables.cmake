# Reads a DLL's export and import tables with objdump: fails unless the only export is
# EntryPointZARPModulo as ordinal 1 and every imported DLL is one that Windows itself ships
# (no libgcc, libstdc++, winpthread or zlib DLLs).
# Usage: cmake -DDLL=<path> -DOBJDUMP=<objdump> -P check_dll_tables.cmake
cmake_minimum_required(VERSION 3.25)
set(allowed
    kernel32.dll msvcrt.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll advapi32.dll
    shell32.dll ole32.dll oleaut32.dll uxtheme.dll winmm.dll version.dll shlwapi.dll imm32.dll
    msimg32.dll gdiplus.dll ntdll.dll dwmapi.dll)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()
string(REPLACE "\n" ";" lines "${dump}")

set(section "")
set(names "")
set(ordinals "")
set(imports "")
foreach(line IN LISTS lines)
  if(line MATCHES "^Export Address Table -- Ordinal Base")
    set(section addresses)
  elseif(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
    set(section names)
  elseif(line STREQUAL "")
    set(section "")
  elseif(section STREQUAL "addresses" AND line MATCHES "\\+base\\[ *([0-9]+)\\]")
    list(APPEND ordinals ${CMAKE_MATCH_1})
  elseif(section STREQUAL "names" AND line MATCHES "^\t\\[ *[0-9]+\\] (.+)$")
    list(APPEND names ${CMAKE_MATCH_1})
  endif()
  if(line MATCHES "DLL Name: (.+)$")
    string(TOLOWER "${CMAKE_MATCH_1}" dll)
    list(APPEND imports ${dll})
  endif()
endforeach()

if(NOT names STREQUAL "EntryPointZARPModulo")
  message(FATAL_ERROR "exports by name: '${names}'; expected only EntryPointZARPModulo")
endif()
if(NOT ordinals STREQUAL "1")
  message(FATAL_ERROR "export ordinals: '${ordinals}'; expected only 1")
endif()
if(imports STREQUAL "")
  message(FATAL_ERROR "no import table found in ${DLL}")
endif()
foreach(dll IN LISTS imports)
  if(NOT dll IN_LIST allowed)
    message(FATAL_ERROR "${DLL} imports ${dll}, which Windows does not ship")
  endif()
endforeach()
message(STATUS "exports: ${names} @${ordinals}; imports: ${imports}")
