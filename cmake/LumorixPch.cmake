# The Windows test programs' precompiled header. Most of a test file's compile
# time goes into GoogleTest, <windows.h> and the standard library: compiled
# once and reused by every test program, all built with the same flags
# (LumorixTest.cmake). The product's libraries take none: with a precompiled
# <windows.h> GCC no longer knows the inlined MinGW string functions for
# system code, and warns about them.
if(WIN32)
  file(WRITE ${CMAKE_BINARY_DIR}/lumorix_test_pch.cpp "")
  add_library(lumorix_test_pch OBJECT ${CMAKE_BINARY_DIR}/lumorix_test_pch.cpp)
  target_compile_options(lumorix_test_pch PRIVATE -O0 -g0)
  target_link_libraries(lumorix_test_pch PRIVATE GTest::gtest)
  target_precompile_headers(lumorix_test_pch PRIVATE <chrono> <functional> <memory> <string> <vector>
                            <gtest/gtest.h> <windows.h>)
endif()
