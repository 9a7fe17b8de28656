include(GoogleTest)

# lumorix_add_test(NAME SOURCES... [LIBS libs...] [WINE])
# One GoogleTest executable; its cases are discovered when ctest runs, so
# configuring needs no Wine. Wine tests share one prefix and registry and
# therefore run one at a time.
function(lumorix_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    LUMORIX_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    LUMORIX_BUILD_DIR="${CMAKE_BINARY_DIR}")
  set(props TIMEOUT 300)
  if(WIN32)
    list(APPEND props FIXTURES_REQUIRED wine_session RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES ${props})
endfunction()
