#!/usr/bin/env bash
# A short demonstration without a display: the virtual radio (mzsim) answers with the demo
# memory, mzcli reads it from the radio with its progress, and shows the channels read.
#
#   tools/demo.sh [PROGRAM_DIR]     (default: the staged build, build/stage/V100)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/stage/V100}

for tool in mzcli mzsim; do
    if [ ! -x "$bin/$tool" ]; then
        echo "demo: $bin/$tool is not built, so the demonstration cannot run." >&2
        exit 1
    fi
done

work=$(mktemp -d)
sim=
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

echo "== The demo document, packed into the memory the radio holds"
"$bin/mzcli" pack "$bin/demo/demo.dat" -o "$work/memory.bin"

echo "== Starting the virtual radio"
"$bin/mzsim" --image "$work/memory.bin" >"$work/sim.out" 2>"$work/sim.err" &
sim=$!
port=
for _ in $(seq 50); do
    port=$(head -n 1 "$work/sim.out" 2>/dev/null || true)
    [ -n "$port" ] && break
    if ! kill -0 "$sim" 2>/dev/null; then
        cat "$work/sim.err" >&2
        echo "demo: the virtual radio did not start." >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "demo: the virtual radio did not name its port." >&2
    exit 1
fi
echo "   the radio answers on $port"

echo "== mzcli read --port $port -o radio.dat"
"$bin/mzcli" read --port "$port" -o "$work/radio.dat"

echo "== mzcli show radio.dat"
"$bin/mzcli" show "$work/radio.dat"
