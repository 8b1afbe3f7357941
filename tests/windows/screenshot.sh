#!/usr/bin/env bash
# mzprog.exe under Wine on a virtual screen: it must show its main window; the picture is kept
# with the other screenshots.
#   tests/windows/screenshot.sh WIN_BUILD OUT.png      (WINEPREFIX set, booted)
set -euo pipefail
win="$1" out="$2"
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of the staged tree, so that nothing of the run is left in the build.
cp -r "$win/stage" "$work/stage"
# The picture is of the main window as every later start shows it, not of the first start's
# language question.
sed -i 's/^IsFirstRun=1/IsFirstRun=0/' "$work/stage/language/mysetup.ini"
cat > "$work/shoot.sh" <<'SHOOT'
#!/usr/bin/env bash
# Runs on the virtual screen: starts the program, waits until its main window (the large
# one; the splash before it is small) is on the screen, and dumps the screen.
run="$1" program="$2" work="$3"
shown() {
    local id
    for id in $(xwininfo -root -tree 2>/dev/null |
                awk '/"mzprog/ { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) {
                         split($i, d, "x"); if (d[1] + 0 >= 700) print $1 } }'); do
        xwininfo -id "$id" 2>/dev/null | grep -q "IsViewable" && return 0
    done
    return 1
}
# The first start of a Windows program with a window in a new Wine prefix at times shows
# nothing at all (not understood); a second start in the same prefix does.
for attempt in 1 2; do
    "$run" "$program" &
    pid=$!
    for _ in $(seq 60); do
        sleep 1
        if shown; then
            sleep 5 # drawn
            break
        fi
    done
    if shown; then
        echo "$attempt" > "$work/shown"
        break
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
done
xwd -root -silent > "$work/shot.xwd"
kill "$pid" 2>/dev/null || true
SHOOT
QT_QPA_PLATFORM=windows xvfb-run -a -s "-screen 0 1100x800x24 -dpi 96 -br" \
    bash "$work/shoot.sh" "$root/tools/windows/winerun.sh" "$work/stage/V100/mzprog.exe" "$work"
[ -f "$work/shown" ] || { echo "screenshot: mzprog.exe showed no main window" >&2; exit 1; }
python3 "$root/tools/windows/xwd2png.py" "$work/shot.xwd" "$out"
echo "screenshot: $out"
