#!/usr/bin/env bash
# Installs what is missing, builds, and starts mzprog.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"
mz_install "${MZ_PACKAGES[@]}"
mz_build "$root"
exec "$root/build/stage/V100/mzprog" "$@"
