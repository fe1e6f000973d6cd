# A bounded fuzz run: new inputs go to a scratch folder, the seed corpus is only read.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -seed=1 -rss_limit_mb=4096 ${ARGS} ${SCRATCH} ${CORPUS}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzzer failed: ${rc}")
endif()
