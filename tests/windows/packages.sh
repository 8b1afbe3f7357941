#!/usr/bin/env bash
# The two Windows downloads under Wine, without the build's DLL path: the portable zip runs
# from wherever it is unpacked, and the installer installs silently into Program Files
# (Start-menu entry, Add/Remove Programs entry, a working mzcli.exe), and its silent
# uninstaller leaves nothing of ours in Program Files.
#   tests/windows/packages.sh WIN_BUILD      (WINEPREFIX set, booted)
set -euo pipefail
win="$1"
fail() { echo "packages: $*" >&2; exit 1; }
export WINEDEBUG=-all
unset WINEPATH QT_PLUGIN_PATH
zip=$(ls "$win"/mzprog-*-win64.zip)
setup=$(ls "$win"/mzprog-*-win64-setup.exe)
version=$(basename "$zip" | sed 's/^mzprog-\(.*\)-win64.zip$/\1/')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -E chdir "$work" cmake -E tar xf "$zip"
out=$(QT_QPA_PLATFORM=offscreen wine "$work/mzprog-$version-win64/V100/mzcli.exe" --version) ||
    fail "mzcli.exe from the zip does not start (a DLL missing?)"
case "$out" in "mzcli $version "*) ;; *) fail "the zip's mzcli.exe says: $out" ;; esac

wine "$setup" /S || fail "the silent install failed"
pf="$WINEPREFIX/drive_c/Program Files/mzprog"
[ -f "$pf/V100/mzprog.exe" ] || fail "nothing was installed in $pf"
out=$(QT_QPA_PLATFORM=offscreen wine "C:\\Program Files\\mzprog\\V100\\mzcli.exe" --version) ||
    fail "the installed mzcli.exe does not start"
case "$out" in "mzcli $version "*) ;; *) fail "the installed mzcli.exe says: $out" ;; esac
ls "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/mzprog.lnk" >/dev/null ||
    fail "no Start-menu entry"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\mzprog'
wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no entry in Add/Remove Programs"

wine "C:\\Program Files\\mzprog\\uninstall.exe" /S || fail "the silent uninstall failed"
# The uninstaller runs on from a copy of itself: wait for it to finish.
for _ in $(seq 60); do [ -e "$pf" ] || break; sleep 0.5; done
[ ! -e "$pf" ] || fail "the uninstall left $(find "$pf" | head -n 5)"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall left its Add/Remove Programs entry"
echo "packages: the zip runs; the installer installs, runs and uninstalls silently"
