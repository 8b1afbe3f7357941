#!/usr/bin/env bash
# End to end under Wine: the Linux virtual radio on a pseudo-terminal, which Wine's COM7 maps
# to, read, written and verified by mzcli.exe, and checked by mzcli.exe doctor. The image
# mzcli.exe reads must equal what the Linux mzcli reads from the same radio; both reads are
# timed side by side (the radio paces its replies as a 9600-baud line would).
#   tests/windows/e2e.sh LINUX_BUILD WIN_BUILD      (WINEPREFIX set, booted)
set -euo pipefail
linux="$1" win="$2"
root=$(cd "$(dirname "$0")/../.." && pwd)
run="$root/tools/windows/winerun.sh"
sim="$linux/stage/V100/mzsim" cli="$linux/stage/V100/mzcli" wcli="$win/stage/V100/mzcli.exe"
work=$(mktemp -d)
sim_pid=
trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; rm -f "$WINEPREFIX/dosdevices/com7"; rm -rf "$work"' EXIT
fail() { echo "e2e: $*" >&2; exit 1; }

"$sim" --baud 9600 > "$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
pty=$(head -n 1 "$work/sim.out")
[ -c "$pty" ] || fail "mzsim gave no terminal: $pty"
ln -sfn "$pty" "$WINEPREFIX/dosdevices/com7"
cd "$work"

# Wine's own start, to tell it apart from the transfer in the times below.
t0=$(date +%s.%N)
"$run" "$wcli" --version > /dev/null
t1=$(date +%s.%N)
"$cli" read --port "$pty" --quiet -o linux.dat || fail "the Linux read failed"
t2=$(date +%s.%N)
"$run" "$wcli" read --port COM7 --quiet -o win.dat || fail "mzcli.exe read through COM7 failed"
t3=$(date +%s.%N)
"$cli" show linux.dat --format json > linux.json
"$cli" show win.dat --format json > win.json
cmp -s linux.json win.json || fail "the image read under Wine differs from the Linux one"
"$run" "$wcli" write --port COM7 --quiet --verify win.dat || fail "mzcli.exe write --verify failed"
"$run" "$wcli" doctor --port COM7 > doctor.txt || { cat doctor.txt; fail "mzcli.exe doctor failed"; }
grep -q "COM7 exists" doctor.txt || { cat doctor.txt; fail "doctor did not find COM7"; }
# Ctrl+C in the middle of a read: the console handler ends the session properly, exit 130.
"$run" "$wcli" read --port COM7 -o stopped.dat 2> stop.err &
reader=$!
for _ in $(seq 300); do grep -q "Reading" stop.err 2>/dev/null && break; sleep 0.1; done
kill -INT "$reader"
set +e
wait "$reader"
code=$?
set -e
[ "$code" -eq 130 ] || { cat stop.err; fail "Ctrl+C ended mzcli.exe read with $code, not 130"; }
[ ! -e stopped.dat ] || fail "an interrupted read wrote its output"
# A port another program holds is named as such: mzcli.exe doctor while COM7 is open elsewhere
# is left to the unit tests (Wine shares one pseudo-terminal freely).
awk -v s="$t0" -v a="$t1" -v b="$t2" -v c="$t3" 'BEGIN {
    start = a - s; lin = b - a; w = c - b;
    printf "e2e: read %.2f s on Linux, %.2f s under Wine (of which %.2f s Wine start): ratio %.2f (%.2f without the start)\n",
        lin, w, start, w / lin, (w - start) / lin }'
echo "e2e: read, write --verify and doctor through COM7 passed"
