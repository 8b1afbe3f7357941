# Shared by run.sh and test.sh: install what is missing, configure, build, stage.
# shellcheck shell=bash

MZ_PACKAGES=(build-essential cmake ninja-build pkg-config
             qt6-base-dev qt6-serialport-dev qt6-multimedia-dev qt6-qpa-plugins
             libinih-dev fonts-dejavu-core qt6-translations-l10n appstream ccache mold
             bsdutils util-linux
             python3 pulseaudio pulseaudio-utils poppler-utils)
# Only the checking builds need these (./test.sh --fuzz): clang, and compiler-rt, which holds
# libFuzzer and clang's sanitizer runtimes.
MZ_CHECK_PACKAGES=(clang libclang-rt-14-dev)
# ./package.sh: man pages from --help, Debian's package tools, and the checks of the package.
MZ_PACKAGE_PACKAGES=(help2man dpkg-dev fakeroot lintian desktop-file-utils appstream)
MZ_PACKAGE_TARGETS="programs manpages debianchangelog"
# Chinese texts need a font that covers them; Debian's base install has none.
MZ_PACKAGES+=(fonts-wqy-microhei)

mz_sudo() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
        echo "Need root to run: $* (install sudo or run as root)" >&2; return 1; fi
}

mz_missing_packages() {
    local p missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    echo "${missing[@]}"
}

# Installs the given Debian packages when they are missing; runs apt-get update first when
# a package is not known to apt yet.
mz_install() {
    local missing
    missing=$(mz_missing_packages "$@")
    [ -z "$missing" ] && return 0
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    # shellcheck disable=SC2086
    if ! mz_sudo apt-get install -y -o DPkg::Lock::Timeout=600 --no-install-recommends $missing; then
        mz_sudo apt-get update
        # shellcheck disable=SC2086
        mz_sudo apt-get install -y -o DPkg::Lock::Timeout=600 --no-install-recommends $missing
    fi
}

# mz_build_in ROOT DIR [CMAKE_OPTION...] configures DIR from ROOT and builds everything in it;
# MZ_TARGETS (a space-separated list), when set, builds only those targets.
mz_build_in() {
    local root="$1" dir="$2"
    shift 2
    local jobs
    jobs=$(nproc 2>/dev/null || echo 2)
    local launcher=()
    # A compiler cache makes rebuilds in other checkouts of the tree cheap; the build works
    # the same without it.
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
        # Precompiled headers are cached only when ccache may ignore their defines and times.
        export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros}"
    fi
    local targets=()
    # shellcheck disable=SC2206
    [ -n "${MZ_TARGETS:-}" ] && targets=(--target ${MZ_TARGETS})
    cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" -j "$jobs" "${targets[@]}"
}

mz_build() {
    mz_build_in "$1" "$1/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
}
