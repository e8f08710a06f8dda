# cmake -DPROGRAM=<test program> -DOUTPUT=<file> -P TestSuites.cmake
#
# Lists the tests of a GoogleTest program and writes, for ctest, one
# pravolin_test_entry(NAME FILTER) per test suite: a test program of one
# folder runs for many minutes under the sanitizers, a suite for seconds, and
# a suite keeps its tests together in one process (what they set up once).
# A suite whose tests each take a form or a page through every exercise (a
# parameterised suite of many cases) becomes entries of a few cases each.
# Run after every link of the program, so that tests added anywhere are run
# without anyone listing them.
cmake_minimum_required(VERSION 3.25)

# Cases of a parameterised suite in one entry.
set(cases_per_entry 4)

get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
set(listing "${output_dir}/${PROGRAM_NAME}_listing.json")
file(REMOVE "${listing}")
# Listing runs no test: no leak report, no platform plugin needed.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
set(ENV{QT_QPA_PLATFORM} "offscreen")
execute_process(COMMAND "${PROGRAM}" --gtest_list_tests "--gtest_output=json:${listing}"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT EXISTS "${listing}")
  message(FATAL_ERROR "${PROGRAM} did not list its tests (${result}):\n${out}\n${err}")
endif()
file(READ "${listing}" json)

set(entries "")
set(tests_listed 0)
set(tests_entered 0)
string(JSON suites LENGTH "${json}" testsuites)
math(EXPR last_suite "${suites} - 1")
foreach(s RANGE ${last_suite})
  string(JSON suite GET "${json}" testsuites ${s} name)
  string(JSON count LENGTH "${json}" testsuites ${s} testsuite)
  math(EXPR tests_listed "${tests_listed} + ${count}")
  # Disabled tests do not run, and a suite of them alone needs no process.
  set(names "")
  set(parameterised FALSE)
  math(EXPR last_test "${count} - 1")
  foreach(t RANGE ${last_test})
    string(JSON test GET "${json}" testsuites ${s} testsuite ${t} name)
    if(NOT test MATCHES "^DISABLED_")
      list(APPEND names "${test}")
    endif()
    string(JSON param ERROR_VARIABLE no_param GET "${json}" testsuites ${s} testsuite ${t} value_param)
    if(NOT no_param)
      set(parameterised TRUE)
    endif()
  endforeach()
  list(LENGTH names enabled)
  if(suite MATCHES "^DISABLED_" OR enabled EQUAL 0)
    continue()
  endif()
  math(EXPR tests_entered "${tests_entered} + ${enabled}")
  if(NOT parameterised OR enabled LESS_EQUAL cases_per_entry)
    string(APPEND entries "pravolin_test_entry([=[${suite}]=] [=[${suite}.*]=])\n")
    continue()
  endif()
  # In parts, named after their first case.
  set(part "")
  set(first "")
  foreach(test IN LISTS names)
    if(first STREQUAL "")
      set(first "${test}")
    endif()
    list(APPEND part "${suite}.${test}")
    list(LENGTH part n)
    if(n EQUAL cases_per_entry)
      list(JOIN part ":" filter)
      string(APPEND entries "pravolin_test_entry([=[${suite}.${first}]=] [=[${filter}]=])\n")
      set(part "")
      set(first "")
    endif()
  endforeach()
  if(part)
    list(JOIN part ":" filter)
    string(APPEND entries "pravolin_test_entry([=[${suite}.${first}]=] [=[${filter}]=])\n")
  endif()
endforeach()
if(tests_listed EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} lists no tests")
endif()

# Only a changed list touches the file: ctest reads it anew either way.
set(content "# ${tests_entered} of ${tests_listed} tests of ${PROGRAM_NAME} (the others are disabled)\n${entries}")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
