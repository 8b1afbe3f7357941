#!/usr/bin/env bash
# Installs what is missing, builds, and starts mzprog. Without a display it runs a short
# command-line demonstration instead.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"
mz_install "${MZ_PACKAGES[@]}"
# Only what it starts: the three programs and their data, no tests and no benchmarks.
MZ_TARGETS=programs mz_build "$root"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so mzprog cannot open its window; running the command-line demonstration instead."
    exec "$root/tools/demo.sh" "$root/build/stage/V100"
fi
exec "$root/build/stage/V100/mzprog" "$@"
