#!/bin/sh
# Installs every Debian package that building, testing and running BRVL needs.
# Idempotent and non-interactive; the package index is refreshed only when
# something is missing, so a second run touches nothing.
set -eu

PACKAGES="
  cmake ninja-build g++ pkg-config git python3 clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libsndfile1-dev libmpg123-dev
  libcairo2-dev libpango1.0-dev libwxgtk3.2-dev libsdl2-dev libx11-dev
  libsamplerate0-dev libfftw3-dev libebur128-dev
  xvfb xauth xdotool fonts-open-sans fonts-liberation2
"

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
