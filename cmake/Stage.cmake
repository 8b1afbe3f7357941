# Copies the runtime data next to the programs. mysetup.ini is written by the program at run
# time, so it is only laid down when missing.
set(MZ_DATA ${CMAKE_SOURCE_DIR}/data)
file(GLOB_RECURSE MZ_DATA_FILES CONFIGURE_DEPENDS ${MZ_DATA}/* ${CMAKE_SOURCE_DIR}/docs/screenshots/*.png)
add_custom_target(stage ALL
    COMMAND ${CMAKE_COMMAND} -DSRC=${MZ_DATA} -DSTAGE=${MZ_STAGE} -DPROGDIR=${MZ_PROGDIR}
            -P ${CMAKE_SOURCE_DIR}/cmake/StageCopy.cmake
    DEPENDS ${MZ_DATA_FILES} ${CMAKE_SOURCE_DIR}/cmake/StageCopy.cmake
    COMMENT "Staging runtime data")
