#!/usr/bin/env bash
# Builds the Debian package from the finished build, installs it on this machine, uses the
# installed programs, checks the desktop file and the metadata, then removes the package and
# checks that nothing is left. Needs root (it installs); exits 77 (skipped) otherwise.
#   check_package.sh BUILD_DIR
set -euo pipefail
build="$1"
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root; run the tests as root to include it"
command -v dpkg >/dev/null && command -v apt-get >/dev/null || skip "not a Debian system"
if dpkg-query -W -f='${Status}' mzprog 2>/dev/null | grep -q 'install ok installed'; then
    skip "a package mzprog is already installed on this machine; the test would replace it"
fi
for tool in cpack desktop-file-validate appstreamcli lintian; do
    command -v "$tool" >/dev/null || fail "$tool is missing (./package.sh installs it)"
done

work=$(mktemp -d)
cleanup() {
    if dpkg-query -W -f='${Status}' mzprog 2>/dev/null | grep -q 'install ok installed'; then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y mzprog >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

echo "== building the package"
(cd "$build" && cpack -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(find "$work/cpack" -maxdepth 1 -name 'mzprog_*_amd64.deb' | head -n 1)
[ -n "$deb" ] || fail "cpack wrote no mzprog_*_amd64.deb"
dpkg-deb -f "$deb" Depends | tee "$work/depends"
grep -q 'libqt6serialport6' "$work/depends" || fail "Depends does not name the serial port library"
grep -q 'qt6-qpa-plugins' "$work/depends" || fail "Depends does not name the platform plugins"
[ "$(dpkg-deb -f "$deb" Recommends)" = "fonts-wqy-microhei" ] || fail "Recommends is not fonts-wqy-microhei"

echo "== lintian"
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
cat "$work/lintian"
if grep -q '^E:' "$work/lintian"; then fail "lintian reports errors"; fi

echo "== installing"
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get install failed"; }
dpkg-query -L mzprog >"$work/files"

for p in mzprog mzcli mzsim; do
    [ -x "/usr/bin/$p" ] || fail "/usr/bin/$p is missing"
done
for f in /usr/share/applications/org.mzprog.mzprog.desktop \
    /usr/share/metainfo/org.mzprog.mzprog.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/org.mzprog.mzprog.svg \
    /usr/lib/udev/rules.d/60-mzprog.rules /usr/share/man/man1/mzcli.1.gz \
    /usr/share/man/man1/mzsim.1.gz /usr/share/man/man1/mzprog.1.gz \
    /usr/lib/mzprog/Version.ini /usr/lib/mzprog/V100/language/english.ini \
    /usr/lib/mzprog/V100/Init/MZ-710_0_NEW.dat; do
    [ -e "$f" ] || fail "$f is missing"
done

echo "== using the installed programs"
cd "$work"
/usr/bin/mzcli --version | grep -q '^mzcli [0-9]' || fail "mzcli --version"
/usr/bin/mzsim --version | grep -q '^mzsim [0-9]' || fail "mzsim --version"
QT_QPA_PLATFORM=offscreen /usr/bin/mzprog --version 2>/dev/null | grep -q '^mzprog [0-9]' ||
    fail "mzprog --version"
/usr/bin/mzcli new --mode 0 -o "$work/x.dat"
/usr/bin/mzcli show "$work/x.dat" >"$work/show.txt"
grep -q '^Channels: *363$' "$work/show.txt" ||
    { cat "$work/show.txt" | head; fail "a new CB document has not the 363 channels of the installed plans"; }
desktop-file-validate /usr/share/applications/org.mzprog.mzprog.desktop ||
    fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic /usr/share/metainfo/org.mzprog.mzprog.metainfo.xml ||
    fail "appstreamcli validate"

echo "== removing"
DEBIAN_FRONTEND=noninteractive apt-get purge -y mzprog >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get purge failed"; }
left=()
while read -r f; do
    # Folders the package shares with others (/usr, /usr/share/man/man1, ...) may stay.
    if [ -L "$f" ] || { [ -e "$f" ] && [ ! -d "$f" ]; }; then left+=("$f"); fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left after removal: ${left[*]}"
[ ! -e /usr/lib/mzprog ] || fail "/usr/lib/mzprog is left after removal"
echo "package: built, installed, used and removed"
