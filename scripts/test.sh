#!/bin/sh
# Installs what is needed, checks that includes point down the layers, builds,
# and runs every test twice: once in the normal build and once under
# AddressSanitizer + UndefinedBehaviorSanitizer; the threaded tests run a
# third time under ThreadSanitizer.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
# Layers point down only: a wrong include fails here, before anything builds.
./scripts/check-layers.py
./scripts/check-format.sh

jobs="$(nproc)"
# Tests that need a display get a virtual one (the others ignore it), with a
# private home so that the toolkit reads and writes no settings of the user's,
# and without the accessibility bus, which a virtual display does not have.
display_home="$(mktemp -d)"
trap 'rm -rf "$display_home"' EXIT
run_tests() {
    (cd "$1" && NO_AT_BRIDGE=1 HOME="$display_home" XDG_CONFIG_HOME="$display_home/.config" \
        xvfb-run -a -s "-screen 0 1600x1000x24" ctest --output-on-failure -j "$jobs")
}

# Line tables only: a failure's backtrace keeps its file and line, and the
# optimised build compiles about a third faster than with full debug records.
release_flags="-O2 -g1 -DNDEBUG"
./scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$release_flags" -DCMAKE_C_FLAGS_RELWITHDEBINFO="$release_flags"
run_tests build

# -O1 with line tables: the sanitizers' reports keep their file and line, and
# the tests run several times faster than unoptimised, which matters on
# two-core machines. A sanitized process takes long to start, so here each test
# program runs as a few processes rather than one per test case.
./scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DBRVL_SANITIZE=ON -DBRVL_BUILD_BENCH=OFF -DBRVL_TEST_SHARDS="$((jobs * 2))"
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0" \
    run_tests build-asan

# The tests whose subject is threads (posts from workers, modal loops fed by
# other threads, the sound output's completion thread, the preview player's
# closing threads, the FFT plan cache, two runs at once) once more under
# ThreadSanitizer. Only the programs these need are built, and the platform's,
# the engine's and the player's threaded tests have small programs of their own.
# -O1 compiles a third faster than -O2 and still lets the race detector see
# every access.
tsan_flags="-O1 -g1 -DNDEBUG"
BUILD_TARGETS="brvl_platform_thread_tests brvl_sound_tests brvl_engine_thread_tests brvl_app_thread_tests" \
    ./scripts/build.sh build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRVL_TSAN=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$tsan_flags" -DCMAKE_C_FLAGS_RELWITHDEBINFO="$tsan_flags" \
    -DBRVL_BUILD_BENCH=OFF
tsan_options="halt_on_error=1:suppressions=$(pwd)/scripts/tsan.supp"
TSAN_OPTIONS="$tsan_options" ./build-tsan/tests/platform/brvl_platform_thread_tests \
    --gtest_filter='MessageQueue.*:ModalLoops.*:Timers.*:MessageDispatch.*:DialogTest.APostFromAWorker*'
TSAN_OPTIONS="$tsan_options" ./build-tsan/tests/engine/brvl_engine_thread_tests \
    --gtest_filter='FftPlan.Concurrent*:FullRun.TwoRunsOnTwoThreads*:PreviewCache.*'
TSAN_OPTIONS="$tsan_options" ./build-tsan/tests/app/brvl_app_thread_tests
(cd build-tsan && TSAN_OPTIONS="$tsan_options" ctest --output-on-failure -L sound)

echo "All tests passed (normal, address/undefined-behaviour and thread sanitizer builds)."
