# Precompiled headers of the Windows builds. Most of a file's compile time
# goes into <windows.h>, the DirectShow and Media Foundation headers and (for
# the tests) GoogleTest and the standard library: each is compiled once and
# reused by every target built with the same flags.
if(WIN32)
  set(lumorix_system_headers <windows.h> <dshow.h> <evr.h> <mfidl.h>)

  # The test programs', built with the test flags (LumorixTest.cmake).
  file(WRITE ${CMAKE_BINARY_DIR}/lumorix_test_pch.cpp "")
  add_library(lumorix_test_pch OBJECT ${CMAKE_BINARY_DIR}/lumorix_test_pch.cpp)
  target_compile_options(lumorix_test_pch PRIVATE -O0 -g0)
  target_link_libraries(lumorix_test_pch PRIVATE GTest::gtest)
  target_precompile_headers(lumorix_test_pch PRIVATE <chrono> <functional> <memory> <string> <vector>
                            <gtest/gtest.h> ${lumorix_system_headers})

  # The product's, with the build's flags. System headers only: a precompiled
  # header loses their "system header" standing, and GCC 12 then warns about
  # the standard library's inlined MinGW string functions (-Warray-bounds).
  file(WRITE ${CMAKE_BINARY_DIR}/lumorix_product_pch.cpp "")
  add_library(lumorix_product_pch OBJECT ${CMAKE_BINARY_DIR}/lumorix_product_pch.cpp)
  target_precompile_headers(lumorix_product_pch PRIVATE ${lumorix_system_headers})
  function(lumorix_use_product_pch target)
    target_precompile_headers(${target} REUSE_FROM lumorix_product_pch)
  endfunction()
else()
  function(lumorix_use_product_pch target)
  endfunction()
endif()
