# Runs one Qt Test class of the Windows build under Wine and prints its results: the test
# library's own output does not reach a pipe under Wine, so it writes them to a file.
#   cmake -DRUN=winerun.sh -DPROGRAM=tests_x.exe -DCLASS=tst_y -DOUT=y.txt -P runtest.cmake
file(REMOVE ${OUT})
execute_process(COMMAND ${RUN} ${PROGRAM} ${CLASS} -o Z:${OUT},txt RESULT_VARIABLE rc)
if(EXISTS ${OUT})
    file(READ ${OUT} results)
    message("${results}")
endif()
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${CLASS} failed (${rc})")
endif()
