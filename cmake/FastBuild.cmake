# What makes a build from scratch take minutes rather than half an hour on two cores.

# mold links the programs and the test programs several times faster than the default linker;
# the build works the same without it. (gcc 12 and clang 14 both know -fuse-ld=mold.)
find_program(MZ_MOLD mold)
option(MZ_USE_MOLD "Link with mold when it is installed" ON)
if(MZ_USE_MOLD AND MZ_MOLD AND NOT WIN32)
    add_link_options(-fuse-ld=mold)
    message(STATUS "Linking with ${MZ_MOLD}")
endif()

# Precompiled headers: the Qt headers that nearly every unit includes. `core` serves the core,
# the command line, the virtual radio and the core tests; `gui` adds the widgets.
option(MZ_PCH "Precompile the common Qt headers" ON)
set(MZ_PCH_core <QByteArray> <QDebug> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QMap>
    <QObject> <QString> <QStringList> <QTimer> <QVariant> <QVector> <functional> <memory>
    <vector>)
set(MZ_PCH_gui ${MZ_PCH_core} <QAction> <QApplication> <QComboBox> <QDialog> <QHBoxLayout>
    <QLabel> <QLineEdit> <QMainWindow> <QMenu> <QMessageBox> <QPushButton> <QTableView>
    <QVBoxLayout> <QWidget>)

# mz_platform_sources(VAR): drops from the list in VAR the files of the other system
# (*_win.cpp off Windows, *_linux.cpp on it).
function(mz_platform_sources var)
    set(list ${${var}})
    if(WIN32)
        list(FILTER list EXCLUDE REGEX "_linux\\.(cpp|h)$")
    else()
        list(FILTER list EXCLUDE REGEX "_win\\.(cpp|h)$")
    endif()
    set(${var} ${list} PARENT_SCOPE)
endfunction()

# mz_precompile(TARGET core|gui)
function(mz_precompile target set)
    if(MZ_PCH)
        target_precompile_headers(${target} PRIVATE ${MZ_PCH_${set}})
    endif()
    mz_moc_follows_sources(${target})
endfunction()

# The moc step of a target runs again when its list of files changes: with Ninja, CMake 3.25
# remakes a target's mocs only when a file it scanned before changes, so a header with
# Q_OBJECT newly globbed in got no moc, and the link missed its staticMetaObject. Forgetting
# the moc step's stamp when the list differs from the last configuration makes it run.
function(mz_moc_follows_sources target)
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} BINARY_DIR)
    string(SHA1 listed "${sources}")
    set(known ${dir}/${target}_autogen.sources)
    set(before "")
    if(EXISTS ${known})
        file(READ ${known} before)
    endif()
    if(NOT before STREQUAL listed)
        file(WRITE ${known} "${listed}")
        file(REMOVE ${dir}/${target}_autogen/timestamp)
    endif()
endfunction()
