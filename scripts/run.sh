#!/bin/sh
# Installs what is needed, builds BRVL and starts it.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
./scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo

if [ -x build/app/brvl ]; then
    exec build/app/brvl "$@"
fi
echo "BRVL was built, but its main window is not part of this version yet:"
echo "only the mastering engine, the window and sound layers beneath the window, and"
echo "their tests are (scripts/test.sh runs them)."
