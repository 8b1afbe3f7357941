# The Windows build installs the folder of the portable zip and of the installer: the programs
# with the files that sit beside them, and the shared settings one level up, as in the staged
# tree. The DLLs and Qt plugins are gathered from the programs' imports by
# tools/windows/package.sh, not listed here.
set(MZ_INSTALL_ROOT .)
set(MZ_INSTALL_PROG V100)
set(MZ_DATA ${CMAKE_SOURCE_DIR}/data)
