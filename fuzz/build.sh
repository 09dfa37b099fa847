#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into $QUANDREL_FUZZ_BUILD (../build-fuzz beside
# the repository unless set). Needs clang and libclang-rt-14-dev.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${QUANDREL_FUZZ_BUILD:-$(dirname "$(dirname "$here")")/build-fuzz}
if ! command -v clang++ >/dev/null; then
  echo "clang++ is missing: apt-get install clang libclang-rt-14-dev" >&2
  exit 1
fi
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target fuzz_wave_load fuzz_state_load
echo "fuzz targets in $build: fuzz_wave_load, fuzz_state_load"
