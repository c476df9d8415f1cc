# The same tree as 64-bit Windows programs: where a machine cannot run 32-bit code (a kernel
# without IA32 emulation), the Windows tests still run real windows and the DLL's real entry under
# a 64-bit Wine. The product stays the 32-bit build.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VEL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/Toolchain-mingw-common.cmake)
