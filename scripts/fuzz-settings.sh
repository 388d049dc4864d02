#!/bin/sh
# Fuzzes the settings document loader (JSON) and the settings store's file with
# libFuzzer (clang): fuzz-settings.sh [seconds]
# Not part of the normal build or of CI. Findings land in build-fuzz-settings/findings.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-180}"
out=build-fuzz-settings
mkdir -p "$out/settings-corpus" "$out/store-corpus" "$out/findings"

base="base/atomic_file.cpp base/stale_temp_files.cpp base/unicode_text.cpp"
flags="-std=c++20 -g -O1 -I. -Wall -Wextra -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=undefined"

# shellcheck disable=SC2086
clang++ $flags $base engine/settings/mastering_settings.cpp engine/settings/json_document.cpp \
    engine/settings/parameter_catalog.cpp tests/fuzz/settings_loader_fuzz.cpp \
    -o "$out/settings_loader_fuzz"
# shellcheck disable=SC2086
clang++ $flags $base platform/win32/profile_store.cpp platform/win32/shell_folders.cpp \
    tests/fuzz/profile_store_fuzz.cpp -o "$out/profile_store_fuzz"

# Seeds: the settings documents the tests keep, and a small settings file.
find tests -name '*.mst' -size -64k -exec cp {} "$out/settings-corpus/" \; 2>/dev/null || true
printf '{"version":1,"match":{"eqAmount":50},"addons":[{"name":"a","enabled":true}]}' \
    > "$out/settings-corpus/seed.mst"
printf '[Export]\nFormat=3\n[Recent File List]\nFile1=/music/a\\eb.wav\n' \
    > "$out/store-corpus/seed.ini"

"$out/settings_loader_fuzz" "$out/settings-corpus" -max_len=65536 -rss_limit_mb=2048 \
    -max_total_time="$seconds" -artifact_prefix="$out/findings/settings-" -print_final_stats=1
"$out/profile_store_fuzz" "$out/store-corpus" -max_len=16384 -rss_limit_mb=2048 \
    -max_total_time="$seconds" -artifact_prefix="$out/findings/store-" -print_final_stats=1
