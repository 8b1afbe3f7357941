#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"
mz_install "${MZ_PACKAGES[@]}"
mz_build "$root"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"
