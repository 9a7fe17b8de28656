# Shared by the MinGW-w64 toolchain files, which set LUMORIX_MINGW_TARGET (the
# compiler's prefix) and LUMORIX_MINGW_DEPS (the folder scripts/setup built
# libpng and GoogleTest into) first. Tests run under Wine through the wrapper.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${LUMORIX_MINGW_TARGET}-gcc)
set(CMAKE_CXX_COMPILER ${LUMORIX_MINGW_TARGET}-g++)
set(CMAKE_RC_COMPILER ${LUMORIX_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMORIX_MINGW_TARGET} ${LUMORIX_MINGW_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every test executable runs through the Wine wrapper, which gives the suite
# its own prefix, display and null audio device.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
