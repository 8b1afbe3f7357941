#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots under a private X server (Xvfb) with a window
# manager (openbox, when installed) so that the captions show.
# Needs: xvfb, openbox (optional), fonts-wqy-microhei (tools/common.sh installs it) for the
# Chinese texts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target stage initdata mzprog mzshots
mkdir -p "$root/docs/screenshots"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home xvfb-run -a -s "-screen 0 1100x800x24 -dpi 96" bash -c '
    if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
    "$0" "$1" "$2"' "$root/build/tools/mzshots" "$root/build/stage/V100" "$root/docs/screenshots"
