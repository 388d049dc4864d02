#!/bin/sh
# Builds and optionally runs the WAV reader fuzzer (libFuzzer, clang). Not part
# of the normal build or of CI.
#   scripts/build-fuzz.sh             build build-fuzz/wav_reader_fuzz
#   scripts/build-fuzz.sh run 300     build, then fuzz for 300 seconds
set -eu
cd "$(dirname "$0")/.."

out=build-fuzz
mkdir -p "$out/corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
    tests/fuzz/wav_reader_fuzz.cpp engine/io/wav_reader.cpp base/unicode_text.cpp \
    -o "$out/wav_reader_fuzz"

# One valid 16-bit stereo file to start from.
printf 'RIFF\054\000\000\000WAVEfmt \020\000\000\000\001\000\002\000\104\254\000\000\020\261\002\000\004\000\020\000data\010\000\000\000\000\200\377\177\000\100\000\000' \
    > "$out/corpus/seed.wav"

if [ "${1:-}" = "run" ]; then
    seconds="${2:-300}"
    # 64 KiB inputs may allocate at most 16 MiB at once: 16 bytes of stereo
    # doubles per byte of 8-bit mono is the largest honest expansion.
    "$out/wav_reader_fuzz" "$out/corpus" -dict=tests/fuzz/wav.dict -max_len=65536 \
        -malloc_limit_mb=16 -rss_limit_mb=1024 -max_total_time="$seconds" \
        -print_final_stats=1
fi
