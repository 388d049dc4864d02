#!/bin/sh
# Installs what is needed, builds, and runs every test twice: once in the normal
# build and once under AddressSanitizer + UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

jobs="$(nproc)"
# Tests that need a display get a virtual one; the others ignore it.
run_tests() {
    (cd "$1" && xvfb-run -a -s "-screen 0 1600x1000x24" ctest --output-on-failure -j "$jobs")
}

./scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_tests build

./scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DBRVL_SANITIZE=ON -DBRVL_BUILD_BENCH=OFF
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0" \
    run_tests build-asan

echo "All tests passed (normal and sanitizer builds)."
