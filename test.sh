#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   ./test.sh              the everyday build (build/, RelWithDebInfo) and every test
#   ./test.sh --sanitize   a Debug build with AddressSanitizer and UBSan (build-sanitize/) and
#                          every test in it; the first report ends the test that made it
#   ./test.sh --fuzz       the libFuzzer targets, built with clang (build-fuzz/), each run for
#                          MZ_FUZZ_SECONDS (60) from its seed corpus in tests/fuzz/corpus/
#   ./test.sh --windows    the Windows cross build (build-win64/), its tests under Wine in a
#                          fresh Wine prefix, the end-to-end test through a COM port mapped to
#                          the Linux virtual radio, mzprog.exe's window, and the zip and the
#                          installer (tools/windows/, tests/windows/)
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/common.sh
. "$root/tools/common.sh"
mode="${1:-}"
case "$mode" in
"" | --sanitize | --fuzz | --windows) ;;
*)
    echo "usage: $0 [--sanitize | --fuzz | --windows]" >&2
    exit 2
    ;;
esac
# The tests build, install and check the Debian package too.
mz_install "${MZ_PACKAGES[@]}" "${MZ_PACKAGE_PACKAGES[@]}"
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

# What the sanitizers do when they find something: stop at the first report (a later one may
# only be its consequence) with the stack that led to it.
# Leak detection stays on: with the offscreen platform that every test uses, neither Qt nor
# its plugins report a leak at exit, so any report is ours. Should a Qt plugin start to keep
# memory on purpose, name it in an LSan suppression file with the reason rather than turning
# the detection off.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

case "$mode" in
"")
    mz_build "$root"
    ctest --test-dir "$root/build" --output-on-failure -j "$jobs"
    ;;
--sanitize)
    mz_build_in "$root" "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DMZ_SANITIZE=ON \
        -DMZ_BENCH=OFF
    ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$jobs"
    ;;
--fuzz)
    mz_install "${MZ_CHECK_PACKAGES[@]}"
    MZ_TARGETS=mzfuzz mz_build_in "$root" "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DMZ_FUZZ=ON -DMZ_BENCH=OFF
    "$root/tests/fuzz/run.sh" "$root/build-fuzz/fuzz" "$root/tests/fuzz/corpus" \
        "${MZ_FUZZ_SECONDS:-60}"
    ;;
--windows)
    # shellcheck source=tools/windows/common.sh
    . "$root/tools/windows/common.sh"
    mz_install "${MZ_WIN_PACKAGES[@]}"
    # The Linux side of the end-to-end test: the virtual radio, and mzcli to compare with.
    MZ_TARGETS="mzsim mzcli stage" mz_build "$root"
    MZ_WIN_CMAKE_OPTIONS="-DMZ_TESTS=ON" mz_win_build "$root" mzprog mzcli stage initdata \
        tests_platform
    "$root/tools/windows/package.sh" "$root" "$MZ_QT_WIN64"
    WINEPREFIX=$(mktemp -d /tmp/mzprog-wine.XXXXXX)
    export WINEPREFIX WINEDEBUG=-all
    trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
    # One Wine server for the whole run, started here so that its own diagnostics stay out of
    # the log; the prefix is booted once.
    wineserver -p >/dev/null 2>&1
    wineboot -i >/dev/null 2>&1
    ctest --test-dir "$root/build-win64" --output-on-failure
    "$root/tests/windows/e2e.sh" "$root/build" "$root/build-win64"
    # The picture kept in docs/screenshots/windows-main-en.png is one of these.
    # Known flaw: in a new Wine prefix mzprog.exe at times shows no window within two minutes
    # (not understood yet); that is reported here without failing the run.
    "$root/tests/windows/screenshot.sh" "$root/build-win64" "$root/build-win64/windows-main-en.png" ||
        echo "test.sh: WARNING: no screenshot of mzprog.exe under Wine this time" >&2
    "$root/tests/windows/packages.sh" "$root/build-win64"
    ;;
esac
