# pravolin_library(NAME DIRS dir... DEPS target...)
# Collects every .cpp/.h of the folders; a folder without sources still gives a target.
function(pravolin_library name)
  cmake_parse_arguments(PL "" "" "DIRS;DEPS" ${ARGN})
  set(sources)
  foreach(dir IN LISTS PL_DIRS)
    file(GLOB dir_sources CONFIGURE_DEPENDS
      ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.h)
    list(APPEND sources ${dir_sources})
  endforeach()
  set(has_cpp FALSE)
  foreach(src IN LISTS sources)
    if(src MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${PL_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${PL_DEPS})
  endif()
endfunction()

# The seconds a test entry may take.
set(PRAVOLIN_TEST_TIMEOUT 900)
# What every test process runs with: the offscreen platform at the fixed DPI,
# a locale of its own, leaks reported, the entry's time for the programs that
# read our files (tests/support/Readers.h).
set(PRAVOLIN_TEST_ENVIRONMENT "PRAVOLIN_ENTRY_SECONDS=${PRAVOLIN_TEST_TIMEOUT};QT_QPA_PLATFORM=offscreen;QT_FONT_DPI=96;LANG=C.UTF-8;ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1")

# pravolin_tests(NAME DIR dir DEPS target... [APART test...])
# One GoogleTest program per source folder. CTest runs it in entries of a
# few tests of one suite each (NAME.Suite or NAME.Suite.FirstTest), found
# from the program's own list of tests after every link (TestSuites.cmake),
# all in data/ with the same environment. The tests named APART (Suite.Test)
# are left to entries of the caller's own.
function(pravolin_tests name)
  cmake_parse_arguments(PT "" "DIR" "DEPS;APART" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/${PT_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${PT_DIR}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${PRAVOLIN_RESOURCES})
  target_link_libraries(${name} PRIVATE ${PT_DEPS} testsupport GTest::gtest)
  target_compile_definitions(${name} PRIVATE
    PRAVOLIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    PRAVOLIN_TEST_OUTPUT="${CMAKE_CURRENT_BINARY_DIR}/output/${name}")
  # Started hundreds of times a run: a position-independent test program of
  # the sanitizers spends a third of its start relocating half a million
  # addresses of its own.
  target_link_options(${name} PRIVATE -no-pie)
  set(suites ${CMAKE_CURRENT_BINARY_DIR}/${name}_suites.cmake)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${name}> -DPROGRAM_NAME=${name} -DOUTPUT=${suites}
      "-DAPART=${PT_APART}" -P ${PROJECT_SOURCE_DIR}/cmake/TestSuites.cmake
    BYPRODUCTS ${suites}
    VERBATIM)
  # Read by ctest: the entries of the suites listed at the last link.
  set(entries ${CMAKE_CURRENT_BINARY_DIR}/${name}_entries.cmake)
  file(GENERATE OUTPUT ${entries} CONTENT "\
set(program [==[$<TARGET_FILE:${name}>]==])
if(EXISTS [==[${suites}]==])
  macro(pravolin_test_entry suffix filter)
    add_test(\"${name}.\${suffix}\" \"\${program}\" \"--gtest_filter=\${filter}\")
    set_tests_properties(\"${name}.\${suffix}\" PROPERTIES
      ENVIRONMENT [==[${PRAVOLIN_TEST_ENVIRONMENT}]==]
      WORKING_DIRECTORY [==[${PROJECT_SOURCE_DIR}/data]==]
      TIMEOUT ${PRAVOLIN_TEST_TIMEOUT})
  endmacro()
  include([==[${suites}]==])
else()
  add_test(${name}_NOT_BUILT [==[${CMAKE_COMMAND}]==] -E false)
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${entries})
endfunction()
