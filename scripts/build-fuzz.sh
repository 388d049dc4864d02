#!/bin/sh
# Builds and optionally runs the reader fuzzers (libFuzzer, clang). Not part of
# the normal build or of CI.
#   scripts/build-fuzz.sh                    build every target into build-fuzz/
#   scripts/build-fuzz.sh run 300            build, then fuzz the WAV reader for 300 seconds
#   scripts/build-fuzz.sh run 300 flac       the same for one target: wav, flac, ogg, mp3,
#                                            comments (meta.json)
set -eu
cd "$(dirname "$0")/.."

out=build-fuzz
flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I."
mkdir -p "$out"
for name in wav flac ogg mp3 comments; do
    mkdir -p "$out/corpus-$name" "$out/findings-$name"
done

clang++ $flags tests/fuzz/wav_reader_fuzz.cpp engine/io/wav_reader.cpp engine/io/io_error.cpp \
    base/unicode_text.cpp -o "$out/wav_reader_fuzz"

readers="engine/io/audio_file_reader.cpp engine/io/audio_file_extension.cpp \
    engine/io/wav_reader.cpp engine/io/mp3_decoder.cpp engine/io/sndfile_decoder.cpp \
    engine/io/ogg_links.cpp engine/io/read_error.cpp engine/io/io_error.cpp base/unicode_text.cpp"
for name in flac ogg mp3; do
    # shellcheck disable=SC2086
    clang++ $flags -DFUZZ_EXTENSION="\".$name\"" tests/fuzz/compressed_reader_fuzz.cpp $readers \
        $(pkg-config --cflags --libs sndfile libmpg123) -o "$out/${name}_reader_fuzz"
done

clang++ $flags tests/fuzz/library_comments_fuzz.cpp engine/settings/library_comments.cpp \
    engine/settings/json_document.cpp base/path_parts.cpp base/atomic_file.cpp \
    base/unicode_text.cpp -o "$out/library_comments_fuzz"

# Seeds: one valid 16-bit stereo WAV; short FLAC, Ogg and MP3 files made by
# libsndfile; two meta.json files.
printf 'RIFF\054\000\000\000WAVEfmt \020\000\000\000\001\000\002\000\104\254\000\000\020\261\002\000\004\000\020\000data\010\000\000\000\000\200\377\177\000\100\000\000' \
    > "$out/corpus-wav/seed.wav"
clang++ -std=c++20 -O1 tests/fuzz/compressed_seed_corpus.cpp $(pkg-config --cflags --libs sndfile) \
    -o "$out/compressed_seed_corpus"
"$out/compressed_seed_corpus" "$out"
printf '[{"comment":"one","file":"a.prs"},{"comment":"two","file":"b.prs"},{"file":"a.prs"}]' \
    > "$out/corpus-comments/seed.json"
printf '{"file":"a.prs"}' > "$out/corpus-comments/object.json"

if [ "${1:-}" = "run" ]; then
    seconds="${2:-300}"
    name="${3:-wav}"
    case "$name" in
    wav)
        # 64 KiB inputs may allocate at most 16 MiB at once: 16 bytes of stereo
        # doubles per byte of 8-bit mono is the largest honest expansion.
        "$out/wav_reader_fuzz" "$out/corpus-wav" -dict=tests/fuzz/wav.dict -max_len=65536 \
            -malloc_limit_mb=16 -rss_limit_mb=1024 -max_total_time="$seconds" \
            -artifact_prefix="$out/findings-wav/" -print_final_stats=1
        ;;
    flac | ogg | mp3)
        # Compressed audio may honestly expand a thousandfold (a FLAC frame of
        # silence holds 65535 frames in a few bytes), so inputs stay small; an
        # Ogg Vorbis stream needs about 4 KiB for its headers alone. The leak
        # of an Ogg cut inside its headers is libvorbis's own (scripts/lsan.supp).
        max_len=4096
        [ "$name" = ogg ] && max_len=16384
        LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=scripts/lsan.supp}" \
        "$out/${name}_reader_fuzz" "$out/corpus-$name" -max_len=$max_len -malloc_limit_mb=1024 \
            -rss_limit_mb=2048 -max_total_time="$seconds" -artifact_prefix="$out/findings-$name/" \
            -print_final_stats=1
        ;;
    comments)
        "$out/library_comments_fuzz" "$out/corpus-comments" -max_len=4096 -rss_limit_mb=1024 \
            -max_total_time="$seconds" -artifact_prefix="$out/findings-comments/" \
            -print_final_stats=1
        ;;
    *)
        echo "unknown fuzz target: $name" >&2
        exit 2
        ;;
    esac
fi
