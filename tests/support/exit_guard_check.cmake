# Runs the exit-guard probe: each Unexpected test alone must fail its binary with the
# guard's code and name itself; the Expected tests must pass.
# cmake -DPROBE=<path> -DCODE=<unexpected exit code> -P exit_guard_check.cmake
foreach(test FatalError ExitCall ExitFromAnotherThread)
  execute_process(COMMAND "${PROBE}" "--gtest_filter=Unexpected.${test}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL CODE)
    message(FATAL_ERROR "Unexpected.${test}: exit code ${rc}, expected ${CODE}\n${out}${err}")
  endif()
  if(NOT err MATCHES "FAILED  \\] Unexpected\\.${test}: ")
    message(FATAL_ERROR "Unexpected.${test}: no failure line naming the test\n${out}${err}")
  endif()
endforeach()
execute_process(COMMAND "${PROBE}" "--gtest_filter=Expected.*"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Expected.*: exit code ${rc}\n${out}${err}")
endif()
message(STATUS "exit guard: unexpected exits fail, expected exits pass")
