# Cross toolchain for the wine64 test bed: the same programs and tests as x64
# Windows programs, for machines whose kernel cannot start 32-bit Wine. The
# product ships from the i686 toolchain.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUMORIX_MINGW_TARGET x86_64-w64-mingw32)
set(LUMORIX_MINGW_DEPS /opt/lumorix-deps/win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
