#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: the Qt and MinGW DLLs on its path, no
# Wine debug chatter, and the Wine prefix of the build unless WINEPREFIX names another. CMake
# uses it as the emulator of the cross build (the initial-data files, the tests).
#   winerun.sh PROGRAM.exe [ARG...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
qt=${MZ_QT_WIN64:-$HOME/.cache/mzprog/qt-win64}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$(cd "$here/../.." && pwd)/build-win64/wine}
# Wine's Z: drive is the Linux root.
win() { echo "Z:${1//\//\\}"; }
export WINEPATH="$(win "$qt/bin");$(win /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(win /usr/x86_64-w64-mingw32/lib)"
export QT_PLUGIN_PATH=${QT_PLUGIN_PATH:-$qt/plugins}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
exec wine "$@"
