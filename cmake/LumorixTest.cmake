include(GoogleTest)

# lumorix_add_test(NAME SOURCES... [LIBS libs...] [PORTABLE] [SESSION name] [LOCKS locks...]
#                  [JUDGED_BY_SUMMARY] [RUN_SERIAL])
# One GoogleTest executable. Natively every case is a test of its own. Under
# Wine a process start is the expensive part, so a PORTABLE program (no
# window, no Windows behaviour beyond files) runs as one test, and every other
# program runs one process per test suite; the suites are listed when ctest
# runs, so configuring needs no Wine. Wine tests share their session's prefix
# registry and screen and therefore run one at a time; programs of different
# sessions run side by side. SESSION names the Wine session
# (scripts/wine-sessions/) the program runs in; the default is the 32-bit one.
# LOCKS names what the program shares with programs of other sessions (the
# built player's own files beside it), so those never run side by side.
# JUDGED_BY_SUMMARY: a run passes on GoogleTest's summary of every case passed,
# whatever the exit status, for programs whose exit Wine can fault.
# RUN_SERIAL: nothing runs beside it (a program that judges timing on the screen).
function(lumorix_add_test name)
  cmake_parse_arguments(T "PORTABLE;JUDGED_BY_SUMMARY;RUN_SERIAL" "SESSION" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  # Test code is compiled for the compiler's speed, not its own: the code
  # under test keeps the build's optimisation.
  if(WIN32)
    target_compile_options(${name} PRIVATE -O0 -g0)
    target_precompile_headers(${name} REUSE_FROM lumorix_test_pch)
  endif()
  target_compile_definitions(${name} PRIVATE
    LUMORIX_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    LUMORIX_BUILD_DIR="${CMAKE_BINARY_DIR}")
  if(NOT WIN32)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
    return()
  endif()

  # A test in a session of its own also needs that session started, by the
  # wine_session_${T_SESSION}_start fixture (tests/CMakeLists.txt); the
  # wine_session cleanup stops every session. Every test names its session,
  # the default one too: ctest's own environment may carry another.
  set(fixtures wine_session)
  set(props TIMEOUT 900 ENVIRONMENT LUMORIX_WINE_SESSION=${T_SESSION})
  if(T_RUN_SERIAL)
    list(APPEND props RUN_SERIAL TRUE)  # judges timing: no other test beside it
  endif()
  if(T_SESSION)
    list(APPEND fixtures wine_session_${T_SESSION})
  endif()
  if(T_PORTABLE)
    # No window, no registry: beside anything.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${fixtures}" ${props})
    return()
  endif()
  if(T_SESSION)
    set(locks wine_session_${T_SESSION} ${T_LOCKS})
  else()
    set(locks wine_session ${T_LOCKS})
  endif()

  set(suites_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake)
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_include.cmake)
  string(REPLACE ";" " " props_text "${props}")
  string(PREPEND props_text "FIXTURES_REQUIRED [==[${fixtures}]==] RESOURCE_LOCK [==[${locks}]==] ")
  set(runner ${CMAKE_SOURCE_DIR}/scripts/wine-run)
  if(T_JUDGED_BY_SUMMARY)
    set(runner ${CMAKE_SOURCE_DIR}/scripts/wine-run-summary)
    string(APPEND props_text " PASS_REGULAR_EXPRESSION [==[\\\\[  PASSED  \\\\] [0-9]+ tests?[.]]==]"
                             " FAIL_REGULAR_EXPRESSION [==[\\\\[  FAILED  \\\\]]==]")
  endif()
  file(GENERATE OUTPUT ${include_file} CONTENT "\
set(exe \"$<TARGET_FILE:${name}>\")
if(NOT EXISTS \"\${exe}\")
  add_test(${name}_NOT_BUILT ${name}_NOT_BUILT)
  return()
endif()
# A machine that cannot start Wine runs only the tests that need none.
if(DEFINED ENV{LUMORIX_NO_WINE})
  return()
endif()
if(NOT EXISTS \"${suites_file}\" OR \"\${exe}\" IS_NEWER_THAN \"${suites_file}\")
  set(ENV{LUMORIX_WINE_SESSION} \"${T_SESSION}\")
  execute_process(COMMAND \"${CMAKE_SOURCE_DIR}/scripts/wine-run\" \"${CMAKE_BINARY_DIR}\" \"\${exe}\" --gtest_list_tests
                  OUTPUT_VARIABLE listing RESULT_VARIABLE status TIMEOUT 120)
  unset(ENV{LUMORIX_WINE_SESSION})
  if(NOT status EQUAL 0)
    message(FATAL_ERROR \"Listing the suites of ${name} failed (\${status}):\\n\${listing}\")
  endif()
  string(REPLACE \"\\n\" \";\" lines \"\${listing}\")
  set(content \"\")
  foreach(line IN LISTS lines)
    if(line MATCHES \"^([^ #]+)\\\\.\")
      set(suite \"\${CMAKE_MATCH_1}\")
      string(APPEND content \"add_test([=[${name}/\${suite}]=] \\\"${runner}\\\" \\\"${CMAKE_BINARY_DIR}\\\" \\\"\${exe}\\\" [=[--gtest_filter=\${suite}.*]=])\\n\")
      string(APPEND content \"set_tests_properties([=[${name}/\${suite}]=] PROPERTIES ${props_text})\\n\")
    endif()
  endforeach()
  file(WRITE \"${suites_file}\" \"\${content}\")
endif()
include(\"${suites_file}\")
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
