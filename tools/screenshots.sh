#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots under a private X server (Xvfb) with a window
# manager (openbox, when installed) so that the captions show.
# Needs: xvfb, openbox (optional), fonts-wqy-microhei (tools/common.sh installs it) for the
# Chinese texts; pulseaudio (optional) gives the tone-tips window an audio output, so that its
# Play button shows enabled.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target stage initdata mzprog mzshots
mkdir -p "$root/docs/screenshots"
home=$(mktemp -d)
pulse_pid=
trap 'rm -rf "$home"; [ -n "$pulse_pid" ] && kill "$pulse_pid"' EXIT
if command -v pulseaudio >/dev/null; then
    mkdir -m 700 -p "$home/run/pulse"
    pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 --use-pid-file=false -F /dev/null \
        --load="module-null-sink sink_name=shots" \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$home/run/pulse/native" \
        >/dev/null 2>&1 &
    pulse_pid=$!
    export PULSE_SERVER="unix:$home/run/pulse/native"
    sleep 1
fi
HOME=$home xvfb-run -a -s "-screen 0 1100x800x24 -dpi 96" bash -c '
    if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
    "$0" "$1" "$2"' "$root/build/tools/mzshots" "$root/build/stage/V100" "$root/docs/screenshots"
