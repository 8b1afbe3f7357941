# The Windows cross build, shared by ./package.sh --windows and ./test.sh --windows.
# shellcheck shell=bash

# The compiler, Wine to run what it builds, NSIS for the installer, and Debian's Qt host tools
# (moc, rcc, uic) of the same 6.4.2 as the Qt for Windows.
MZ_WIN_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 nsis
                 qt6-base-dev-tools qt6-shader-baker xvfb xauth x11-utils x11-apps)

# Unpacks the Qt for Windows from ../shared/windows into a cache once; MZ_QT_WIN64 names an
# unpacked one instead. Prints its folder.
mz_win_qt() {
    local root="$1"
    local qt=${MZ_QT_WIN64:-$HOME/.cache/mzprog/qt-win64}
    if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
        local archive="$root/../shared/windows/qt-6.4.2-win64-mingw.tar.xz"
        [ -f "$archive" ] || { echo "No Qt for Windows: $archive is missing (or set MZ_QT_WIN64)" >&2; return 1; }
        local tmp
        tmp=$(mktemp -d "$(dirname "$qt")/.qt-win64.XXXX" 2>/dev/null ||
              { mkdir -p "$(dirname "$qt")" && mktemp -d "$(dirname "$qt")/.qt-win64.XXXX"; })
        tar -C "$tmp" -xJf "$archive"
        rm -rf "$qt"
        mv "$tmp/qt6-win64" "$qt"
        rmdir "$tmp"
    fi
    echo "$qt"
}

# mz_win_build ROOT TARGET...: configures build-win64/ (Release, ccache) and builds the targets.
mz_win_build() {
    local root="$1"
    shift
    local qt
    qt=$(mz_win_qt "$root")
    export MZ_QT_WIN64="$qt"
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
        export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros}"
    fi
    cmake -S "$root" -B "$root/build-win64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
        -DQT_HOST_PATH=/usr -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tools/windows/winerun.sh" \
        "${launcher[@]}" ${MZ_WIN_CMAKE_OPTIONS:-} >/dev/null
    cmake --build "$root/build-win64" -j "$(nproc 2>/dev/null || echo 2)" --target "$@"
}
