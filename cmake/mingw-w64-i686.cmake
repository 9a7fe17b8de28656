# Cross toolchain: 32-bit Windows programs from MinGW-w64, tests run under Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(LUMORIX_MINGW_TARGET i686-w64-mingw32)
set(LUMORIX_MINGW_DEPS /opt/lumorix-deps/win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
