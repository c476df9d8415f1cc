# Shared compile settings and helpers for the project's libraries and tests.

add_library(vel_options INTERFACE)
target_include_directories(vel_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(vel_options INTERFACE -Wall -Wextra -Wpedantic -Werror -Wno-unknown-pragmas)
if(VEL_SANITIZE)
  target_compile_options(vel_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all
                                               -fno-omit-frame-pointer)
  target_link_options(vel_options INTERFACE -fsanitize=address,undefined)
endif()
if(WIN32)
  # Windows has no system code page API natively; it is only built into the DLL and Windows programs.
  target_compile_definitions(vel_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_link_options(vel_options INTERFACE -static -static-libgcc -static-libstdc++)
  # The DLL, the demo host and the test programs sit side by side, as in a host's install folder,
  # so LoadLibrary finds the DLL next to the program that loads it.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# vel_library(<name> <sources>... [DEPS <libs>...])
function(vel_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PUBLIC vel_options ${ARG_DEPS})
endfunction()

# vel_test(<name> <sources>... [DEPS <libs>...] [WINDOWS_GUI])
# One CTest entry per test program. Windows programs run under Wine through the cross-compiling
# emulator; WINDOWS_GUI marks programs that create windows, which must run one at a time.
function(vel_test name)
  cmake_parse_arguments(ARG "WINDOWS_GUI" "" "DEPS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE vel_options ${ARG_DEPS} GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(ARG_WINDOWS_GUI)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
  endif()
endfunction()

# GoogleTest: Debian's package natively; compiled from its sources for the Windows build.
if(CMAKE_CROSSCOMPILING)
  if(NOT TARGET gtest_main)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Newer GoogleTest sources declare the namespaced aliases themselves.
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest_main ALIAS gtest_main)
      add_library(GTest::gtest ALIAS gtest)
    endif()
  endif()
else()
  find_package(GTest REQUIRED)
endif()
