#!/bin/sh
# Fuzzes the ".prs" reader with libFuzzer (clang): fuzz-prs.sh [seconds] [jobs]
# Not part of the normal build or of CI. Findings land in build-fuzz-prs/findings.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-180}"
jobs="${2:-1}"
out=build-fuzz-prs
mkdir -p "$out/corpus" "$out/findings"

engine="engine/profiles/reference_profile.cpp base/atomic_file.cpp base/stale_temp_files.cpp \
    base/unicode_text.cpp"
flags="-std=c++20 -g -O1 -I. -Wall -Wextra"

clang++ $flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    $engine tests/fuzz/prs_reader_fuzz.cpp -o "$out/prs_reader_fuzz"
clang++ $flags $engine engine/profiles/synthetic_profile.cpp engine/profiles/utc_timestamp.cpp \
    tests/fuzz/prs_seed_corpus.cpp -o "$out/prs_seed_corpus"
"$out/prs_seed_corpus" "$out/corpus"

parallel=""
if [ "$jobs" -gt 1 ]; then
    parallel="-jobs=$jobs -workers=$jobs"
    cd "$out" # libFuzzer writes one log per job into the working folder
    out=.
fi
# malloc_limit_mb backs up the harness's own per-input allocation check.
"$out/prs_reader_fuzz" "$out/corpus" -max_len=65536 -malloc_limit_mb=64 -rss_limit_mb=2048 \
    -max_total_time="$seconds" $parallel \
    -artifact_prefix="$out/findings/" -print_final_stats=1
