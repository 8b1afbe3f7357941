# The Debian package (./package.sh): cmake --install's tree below /usr, made by CPack.
#
#   /usr/bin/mzprog, mzcli, mzsim           links into /usr/lib/mzprog/V100
#   /usr/lib/mzprog/...                      the runtime tree (cmake/Install.cmake)
#   /usr/lib/udev/rules.d/60-mzprog.rules    the cable rule
#   /usr/share/man/man1/*.1.gz               man pages, made from --help by help2man
#   /usr/share/applications, metainfo, icons

install(FILES ${CMAKE_SOURCE_DIR}/data/udev/60-mzprog.rules DESTINATION lib/udev/rules.d)

# What Debian asks of every package: the licence, and the changelog compressed.
set(MZ_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mzprog)
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright DESTINATION ${MZ_DOC_DIR})
find_program(MZ_GZIP gzip REQUIRED)
set(MZ_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/debian/changelog.gz)
add_custom_command(OUTPUT ${MZ_CHANGELOG_GZ}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debian
    COMMAND ${MZ_GZIP} -9nc ${CMAKE_SOURCE_DIR}/data/debian/changelog > ${MZ_CHANGELOG_GZ}
    DEPENDS ${CMAKE_SOURCE_DIR}/data/debian/changelog VERBATIM)
add_custom_target(debianchangelog ALL DEPENDS ${MZ_CHANGELOG_GZ})
install(FILES ${MZ_CHANGELOG_GZ} DESTINATION ${MZ_DOC_DIR})

# Man pages from the programs' own --help and --version, so that they never disagree with them.
find_program(MZ_HELP2MAN help2man)
if(MZ_HELP2MAN)
    set(MZ_MAN_DIR ${CMAKE_BINARY_DIR}/man)
    set(mz_man_pages)
    # program|one-line description
    set(mz_man_entries
        "mzprog|program the MZ-710 transceiver (the desktop application)"
        "mzcli|program the MZ-710 transceiver from the command line"
        "mzsim|a virtual MZ-710 transceiver on a pseudo-terminal")
    foreach(entry ${mz_man_entries})
        string(REPLACE "|" ";" parts "${entry}")
        list(GET parts 0 prog)
        list(GET parts 1 what)
        if(NOT TARGET ${prog})
            continue()
        endif()
        # mzcli's page has a section per command, from each command's own help.
        set(include)
        set(make_include)
        if(prog STREQUAL "mzcli")
            set(include --include=${MZ_MAN_DIR}/mzcli-commands.h2m)
            set(make_include COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${prog}>
                -DOUT=${MZ_MAN_DIR}/mzcli-commands.h2m -P ${CMAKE_SOURCE_DIR}/cmake/ManCommands.cmake)
        endif()
        add_custom_command(OUTPUT ${MZ_MAN_DIR}/${prog}.1.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${MZ_MAN_DIR}
            ${make_include}
            COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                    ${MZ_HELP2MAN} --no-info --no-discard-stderr --section=1 --name=${what}
                    ${include} --output=${MZ_MAN_DIR}/${prog}.1 $<TARGET_FILE:${prog}>
            COMMAND ${MZ_GZIP} -9nf ${MZ_MAN_DIR}/${prog}.1
            DEPENDS ${prog} stage ${CMAKE_SOURCE_DIR}/cmake/ManCommands.cmake
            COMMENT "Writing the man page ${prog}.1"
            VERBATIM)
        list(APPEND mz_man_pages ${MZ_MAN_DIR}/${prog}.1.gz)
    endforeach()
    add_custom_target(manpages ALL DEPENDS ${mz_man_pages})
    install(FILES ${mz_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(STATUS "help2man not found: no man pages (./package.sh installs help2man)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mzprog)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "The mzprog developers <mzprog@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "program the MZ-710 27/28 MHz transceiver")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Reads the memory of an MZ-710 transceiver over its serial programming\n"
    "cable, edits its channels, tones, DTMF codes, key functions and options,\n"
    "and writes them back. Documents are kept in .dat files. mzcli does the\n"
    "same from the command line, and mzsim is a virtual radio for trying\n"
    "everything without one. English and Simplified Chinese.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the platform plugins (xcb, and the
# jpeg reader of the splash pictures) and the audio backends.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6gui6 (>= 6.4), qt6-qpa-plugins, libqt6multimedia6 (>= 6.4)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
