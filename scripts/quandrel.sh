#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up a Debian 12 or 13 machine for Quandrel, builds it, and runs it or its tests.
#
#   bash scripts/quandrel.sh run        install what is missing, build, start Quandrel
#   bash scripts/quandrel.sh test       install what is missing, build, run the test suite headless
#   bash scripts/quandrel.sh test-asan  the same test suite built with AddressSanitizer + UBSan
#
# Needs only bash and apt; runs as root or through sudo.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# shellcheck source=scripts/install_missing.sh
source scripts/install_missing.sh

packages=("${build_packages[@]}" qt6-qpa-plugins qt6-translations-l10n xvfb xauth openbox imagemagick)

build() { # build-dir [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing "${packages[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found: starting Quandrel on a virtual X display (xvfb-run)."
        exec xvfb-run -a build/src/quandrel
    fi
    exec build/src/quandrel
    ;;
test | test-asan)
    install_missing "${packages[@]}"
    dir=build
    opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
    if [ "$1" = test-asan ]; then
        dir=build-asan
        opts=(-DCMAKE_BUILD_TYPE=Debug -DQUANDREL_SANITIZE=ON -DQUANDREL_BENCH=OFF)
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    fi
    build "$dir" "${opts[@]}"
    # Headless: the tests draw on Qt's offscreen platform and play on SDL's dummy audio device.
    export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
    ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
    ;;
*)
    echo "usage: bash scripts/quandrel.sh run | test | test-asan" >&2
    exit 2
    ;;
esac
