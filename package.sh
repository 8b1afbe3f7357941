#!/usr/bin/env bash
# Installs what is missing, builds the programs, and writes the Debian package
# build/mzprog_VERSION_amd64.deb. Install it with: sudo apt-get install ./build/mzprog_*.deb
#   ./package.sh --windows   cross-builds for 64-bit Windows into build-win64/ and writes the
#                            portable build-win64/mzprog-VERSION-win64.zip and the installer
#                            build-win64/mzprog-VERSION-win64-setup.exe (tools/windows/)
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"
if [ "${1:-}" = --windows ]; then
    # shellcheck source=tools/windows/common.sh
    . "$root/tools/windows/common.sh"
    mz_install "${MZ_WIN_PACKAGES[@]}"
    MZ_WIN_CMAKE_OPTIONS="-DMZ_TESTS=OFF" mz_win_build "$root" mzprog mzcli stage initdata
    exec "$root/tools/windows/package.sh" "$root" "$MZ_QT_WIN64"
fi
mz_install "${MZ_PACKAGES[@]}" "${MZ_PACKAGE_PACKAGES[@]}"
MZ_TARGETS="$MZ_PACKAGE_TARGETS" mz_build "$root"
(cd "$root/build" && cpack -G DEB -B "$root/build/package" >/dev/null)
deb=$(find "$root/build/package" -maxdepth 1 -name 'mzprog_*.deb' -newer "$root/build/CMakeCache.txt" | head -n 1)
[ -n "$deb" ] || { echo "package.sh: CPack wrote no package" >&2; exit 1; }
mv -f "$deb" "$root/build/"
echo "$root/build/$(basename "$deb")"
