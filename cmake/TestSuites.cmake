# cmake -DPROGRAM=<test program> -DOUTPUT=<file> [-DAPART=Suite.Test;...] -P TestSuites.cmake
#
# Lists the tests of a GoogleTest program and writes, for ctest, one
# pravolin_test_entry(NAME FILTER) per part of a test suite: a test program
# of one folder runs for many minutes under the sanitizers, a part for
# seconds or a few minutes. A suite of few tests is mostly one of heavy ones
# (a corpus read by another program, a document of 100,000 rows): each of its
# tests runs alone. A larger suite runs in parts of as few tests, which keep
# their order. Run after every link of the program, so that tests added
# anywhere run without anyone listing them.
cmake_minimum_required(VERSION 3.25)

# Tests of a suite in one entry at most; a suite of no more runs each alone.
set(part_size 4)

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
  math(EXPR last_test "${count} - 1")
  foreach(t RANGE ${last_test})
    string(JSON test GET "${json}" testsuites ${s} testsuite ${t} name)
    # The tests run apart have entries of their own.
    if(NOT test MATCHES "^DISABLED_" AND NOT "${suite}.${test}" IN_LIST APART)
      list(APPEND names "${test}")
    endif()
  endforeach()
  list(LENGTH names enabled)
  if(suite MATCHES "^DISABLED_" OR enabled EQUAL 0)
    continue()
  endif()
  math(EXPR tests_entered "${tests_entered} + ${enabled}")
  if(enabled LESS_EQUAL part_size)
    set(parts ${enabled})
  else()
    math(EXPR parts "(${enabled} + ${part_size} - 1) / ${part_size}")
  endif()
  if(parts EQUAL 1 AND enabled EQUAL count)
    string(APPEND entries "pravolin_test_entry([=[${suite}]=] [=[${suite}.*]=])\n")
    continue()
  endif()
  # Parts of near equal size, each named after its first test.
  set(index 0)
  foreach(p RANGE 1 ${parts})
    math(EXPR size "(${enabled} * ${p}) / ${parts} - (${enabled} * (${p} - 1)) / ${parts}")
    list(GET names ${index} first)
    set(filter "")
    foreach(k RANGE 1 ${size})
      list(GET names ${index} test)
      list(APPEND filter "${suite}.${test}")
      math(EXPR index "${index} + 1")
    endforeach()
    list(JOIN filter ":" filter)
    string(APPEND entries "pravolin_test_entry([=[${suite}.${first}]=] [=[${filter}]=])\n")
  endforeach()
endforeach()
if(tests_listed EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} lists no tests")
endif()

# Only a changed list touches the file: ctest reads it anew either way.
set(content "# ${tests_entered} of ${tests_listed} tests of ${PROGRAM_NAME} (the others are disabled or apart)\n${entries}")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
