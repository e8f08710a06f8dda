# Runs a fuzz target's seed runner on an input, or on each input of a
# folder, one process a run, again and again; the test fails with the first
# run that does not end cleanly, on its way out too.
#
#   cmake -DPROGRAM=fuzz_seeds_rtf_roundtrip -DINPUTS=fuzz/exit -DTIMES=20 -P Replay.cmake
if(IS_DIRECTORY "${INPUTS}")
  file(GLOB inputs "${INPUTS}/*")
else()
  set(inputs "${INPUTS}")
endif()
foreach(input IN LISTS inputs)
  foreach(run RANGE 1 ${TIMES})
    execute_process(COMMAND "${PROGRAM}" "${input}" RESULT_VARIABLE result OUTPUT_VARIABLE output
      ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "Run ${run} of ${TIMES} on ${input} ended with ${result}:\n${output}")
    endif()
  endforeach()
endforeach()
list(LENGTH inputs count)
message(STATUS "${TIMES} runs on each of ${count} inputs ended cleanly")
