# What both Windows toolchains share; the including file sets VEL_MINGW_TRIPLE and
# CMAKE_SYSTEM_PROCESSOR first. Cross-compiles with the mingw-w64 "-posix" compilers (the thread
# model that has std::mutex). Everything links statically, so the programs and the DLL import only
# DLLs that Windows ships; test programs run under Wine through a hermetic wrapper.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VEL_MINGW_TRIPLE}-windres)

# Libraries and headers (mingw zlib) come only from the cross root; programs from the build host.
set(CMAKE_FIND_ROOT_PATH /usr/${VEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest runs every Windows program through Wine, with a prefix of its own inside the build tree.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "AMD64")
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${CMAKE_CURRENT_LIST_DIR}/wine-run;--win64;${CMAKE_BINARY_DIR}/wine-prefix")
  else()
    set(CMAKE_CROSSCOMPILING_EMULATOR
        "${CMAKE_CURRENT_LIST_DIR}/wine-run;${CMAKE_BINARY_DIR}/wine-prefix")
  endif()
endif()
