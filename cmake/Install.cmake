# cmake --install lays out the runtime tree below the prefix the way the staged build has it
# (the programs find their language files, pictures and settings next to themselves), and
# adds the desktop integration:
#
#   PREFIX/lib/mzprog/Version.ini, language/mysetup.ini
#   PREFIX/lib/mzprog/V100/mzprog, mzcli, mzsim, language/, StartE.jpg, StartC.jpg, Init/, demo/,
#                                   manual/
#   PREFIX/bin/mzprog, mzcli, mzsim          links into lib/mzprog/V100
#   PREFIX/share/applications, metainfo, icons/hicolor
include(GNUInstallDirs)
set(MZ_INSTALL_ROOT lib/mzprog)
set(MZ_INSTALL_PROG ${MZ_INSTALL_ROOT}/V100)
set(MZ_DATA ${CMAKE_SOURCE_DIR}/data)

set(mz_programs mzprog mzcli)
if(TARGET mzsim)
    list(APPEND mz_programs mzsim)
endif()
install(TARGETS ${mz_programs} RUNTIME DESTINATION ${MZ_INSTALL_PROG})

install(FILES ${MZ_DATA}/Version.ini DESTINATION ${MZ_INSTALL_ROOT})
install(FILES ${MZ_DATA}/mysetup.ini DESTINATION ${MZ_INSTALL_ROOT}/language)
install(DIRECTORY ${MZ_DATA}/language/ DESTINATION ${MZ_INSTALL_PROG}/language
        FILES_MATCHING PATTERN "*.ini")
install(FILES ${MZ_DATA}/StartE.jpg ${MZ_DATA}/StartC.jpg ${MZ_DATA}/mzprog.png
        DESTINATION ${MZ_INSTALL_PROG})
install(DIRECTORY DESTINATION ${MZ_INSTALL_PROG}/Init)
if(EXISTS ${MZ_DATA}/Init)
    install(DIRECTORY ${MZ_DATA}/Init/ DESTINATION ${MZ_INSTALL_PROG}/Init
            FILES_MATCHING PATTERN "*.dat")
endif()
install(DIRECTORY ${MZ_DATA}/demo/ DESTINATION ${MZ_INSTALL_PROG}/demo)
install(DIRECTORY ${MZ_DATA}/manual/ DESTINATION ${MZ_INSTALL_PROG}/manual
        FILES_MATCHING PATTERN "*.md")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/screenshots/ DESTINATION ${MZ_INSTALL_PROG}/manual/screenshots
        FILES_MATCHING PATTERN "*.png")

# The programs find their files through their own location, so the links on the PATH
# are resolved by the system before the program looks.
foreach(p ${mz_programs})
    install(CODE "
        set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${dir}\")
        file(CREATE_LINK \"../${MZ_INSTALL_PROG}/${p}\" \"\${dir}/${p}\" SYMBOLIC)
        message(STATUS \"Linking: \${dir}/${p}\")")
endforeach()

set(MZ_APP_ID org.mzprog.mzprog)
install(FILES ${MZ_DATA}/icons/${MZ_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MZ_DATA}/icons/${MZ_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${MZ_DATA}/icons/mzprog.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${MZ_APP_ID}.svg)
install(FILES ${MZ_DATA}/mzprog.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME ${MZ_APP_ID}.png)
