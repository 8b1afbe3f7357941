#!/usr/bin/env bash
# Rebuilds data/demo/demo.dat, the document the virtual radio starts from.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target make_demo
mkdir -p "$root/data/demo"
"$root/build/tools/make_demo" "$root/data/demo/demo.dat"
ls -l "$root/data/demo/demo.dat"
