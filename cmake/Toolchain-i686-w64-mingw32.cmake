# The product's build: 32-bit Windows, as hosts load the plug-in.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VEL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/Toolchain-mingw-common.cmake)
