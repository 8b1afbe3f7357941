# The initial-data files are built from the channel plan tables in data/channelplans by
# `mzcli plan` once mzcli exists, into the staged tree and the installation. Nothing generated
# is kept in the sources: a dealer edits a table and rebuilds.
set(MZ_PLANS ${CMAKE_SOURCE_DIR}/data/channelplans)
set(MZ_INIT_DIR ${MZ_PROGDIR}/Init)

# file: the initial-data file; table: below data/channelplans; mode: the country mode.
set(mz_init_files
    "MZ-710_0_NEW.dat|cb.csv|0"
    "MZ-710_0.dat|cb.csv|0"
    "MZ-710_2_NEW.dat|ham10m.csv|2")

set(mz_init_outputs)
foreach(entry ${mz_init_files})
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 file)
    list(GET parts 1 table)
    list(GET parts 2 mode)
    if(NOT EXISTS ${MZ_PLANS}/${table})
        message(FATAL_ERROR "The channel plan table data/channelplans/${table} is missing; "
                            "the initial-data file Init/${file} is built from it.")
    endif()
    add_custom_command(
        OUTPUT ${MZ_INIT_DIR}/${file}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${MZ_INIT_DIR}
        COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:mzcli> plan ${MZ_PLANS}/${table} --mode ${mode}
                -o ${MZ_INIT_DIR}/${file}
        DEPENDS mzcli stage ${MZ_PLANS}/${table}
        COMMENT "Building Init/${file} from data/channelplans/${table}"
        VERBATIM)
    list(APPEND mz_init_outputs ${MZ_INIT_DIR}/${file})
    install(FILES ${MZ_INIT_DIR}/${file} DESTINATION ${MZ_INSTALL_PROG}/Init)
endforeach()
add_custom_target(initdata ALL DEPENDS ${mz_init_outputs})
