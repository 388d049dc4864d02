#!/bin/sh
# Configures and builds one build folder: build.sh <folder> [cmake options...]
# BUILD_TARGETS (space-separated) limits the build to those targets.
set -eu
cd "$(dirname "$0")/.."
folder="$1"
shift
mkdir -p "$folder"
cmake -S . -B "$folder" -G Ninja "$@" > "$folder/configure.log" 2>&1 || {
    cat "$folder/configure.log"
    exit 1
}
# shellcheck disable=SC2086
cmake --build "$folder" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
