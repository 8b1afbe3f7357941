# cmake -DPROGRAM=mzcli -DOUT=FILE -P ManCommands.cmake writes a help2man include file with a
# section per command, each the command's own "mzcli help CMD", in the order of mzcli --help.
set(ENV{LC_ALL} C.UTF-8)
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE usage RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed")
endif()
# Commands stand two spaces in; continued lines stand further in.
string(REGEX MATCHALL "\n  [a-z][a-z-]*" lines "${usage}")
set(text "[COMMANDS]\n")
foreach(line ${lines})
    string(STRIP "${line}" command)
    execute_process(COMMAND ${PROGRAM} help ${command} OUTPUT_VARIABLE help RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} help ${command} failed")
    endif()
    # The help is shown as it is printed: backslashes and hyphens stay themselves in roff.
    string(REPLACE "\\" "\\e" help "${help}")
    string(REPLACE "-" "\\-" help "${help}")
    string(APPEND text ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
file(WRITE ${OUT} "${text}")
