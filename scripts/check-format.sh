#!/bin/sh
# Fails when a tracked C++ file differs from what clang-format makes of it
# (.clang-format at the root), naming each such file. Fix with:
#   git ls-files '*.h' '*.cpp' | xargs clang-format -i
set -eu
cd "$(dirname "$0")/.."
unformatted=""
for file in $(git ls-files '*.h' '*.cpp'); do
    if ! clang-format --dry-run --Werror "$file" > /dev/null 2>&1; then
        unformatted="$unformatted $file"
    fi
done
if [ -n "$unformatted" ]; then
    echo "Not formatted with clang-format:" >&2
    for file in $unformatted; do
        echo "  $file" >&2
    done
    exit 1
fi
