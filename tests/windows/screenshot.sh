#!/usr/bin/env bash
# mzprog.exe under Wine on a virtual screen: it must show its main window; the picture is kept
# with the other screenshots.
#   tests/windows/screenshot.sh WIN_BUILD OUT.png      (WINEPREFIX set, booted)
set -euo pipefail
win="$1" out="$2"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A fresh copy of the staged tree, so that the first start's questions come as a user sees them
# and nothing of the run is left in the build.
cp -r "$win/stage" "$work/stage"
QT_QPA_PLATFORM=windows xvfb-run -a -s "-screen 0 1100x800x24 -dpi 96 -br" bash -c '
    "$0" "$1" & pid=$!
    # The window is there once Wine has drawn it; give the splash its time too.
    for _ in $(seq 60); do
        sleep 1
        if xwininfo -root -tree 2>/dev/null | grep -q "\"mzprog"; then sleep 5; break; fi
    done
    xwd -root -silent > "$2/shot.xwd"
    xwininfo -root -tree > "$2/windows.txt" 2>&1 || true
    kill $pid 2>/dev/null || true
    wineserver -k 2>/dev/null || true' \
    "$root/tools/windows/winerun.sh" "$work/stage/V100/mzprog.exe" "$work"
grep -q '"mzprog' "$work/windows.txt" || { cat "$work/windows.txt" >&2; echo "screenshot: mzprog.exe showed no window" >&2; exit 1; }
python3 "$root/tools/windows/xwd2png.py" "$work/shot.xwd" "$out"
echo "screenshot: $out"
