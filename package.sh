#!/usr/bin/env bash
# Installs what is missing, builds the programs, and writes the Debian package
# build/mzprog_VERSION_amd64.deb. Install it with: sudo apt-get install ./build/mzprog_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"
mz_install "${MZ_PACKAGES[@]}" "${MZ_PACKAGE_PACKAGES[@]}"
MZ_TARGETS="$MZ_PACKAGE_TARGETS" mz_build "$root"
(cd "$root/build" && cpack -G DEB -B "$root/build/package" >/dev/null)
deb=$(find "$root/build/package" -maxdepth 1 -name 'mzprog_*.deb' -newer "$root/build/CMakeCache.txt" | head -n 1)
[ -n "$deb" ] || { echo "package.sh: CPack wrote no package" >&2; exit 1; }
mv -f "$deb" "$root/build/"
echo "$root/build/$(basename "$deb")"
