#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Release benchmarks if needed, runs them all and prints a summary.
#
#   bash bench/run_all.sh            full run (about 4 minutes)
#   QUICK=1 bash bench/run_all.sh    shorter runs (about 1.5 minutes)
#
# BUILD_DIR (default: build-bench beside the source tree) is configured with
# CMAKE_BUILD_TYPE=Release when it has no build yet, and always with
# QUANDREL_BENCH=ON. The full output goes to $BUILD_DIR/bench-results.txt.
# Needs Xvfb, openbox, xdotool and xprop for the process benchmarks, and python3.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BUILD_DIR:-$(dirname "$source_dir")/build-bench}
quick_flag=()
[[ "${QUICK:-0}" == 1 ]] && quick_flag=(--quick)

configure=(-DQUANDREL_BENCH=ON)
if [[ ! -f "$build_dir/build.ninja" && ! -f "$build_dir/Makefile" ]]; then
    command -v ninja >/dev/null && configure+=(-G Ninja)
    configure+=(-DCMAKE_BUILD_TYPE=Release -DQUANDREL_TESTS=OFF)
fi
cmake -S "$source_dir" -B "$build_dir" "${configure[@]}" >/dev/null
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build_dir/CMakeCache.txt")
if [[ "$build_type" != Release ]]; then
    echo "warning: $build_dir is a '$build_type' build; the figures are meant for Release" >&2
fi
cmake --build "$build_dir" --target quandrel quandrel_bench_timing quandrel_bench_sound quandrel_bench_layout \
    quandrel_bench_bare_window quandrel_bench_mapwait >/dev/null

results="$build_dir/bench-results.txt"
bench="$build_dir/bench"
{
    echo "Quandrel benchmarks, $(date -Is), $(nproc) cores, $(uname -r)"
    echo "commit $(git -C "$source_dir" rev-parse --short HEAD 2>/dev/null || echo unknown)$(
        git -C "$source_dir" diff --quiet 2>/dev/null || echo ' (with local changes)')"
    echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo
    echo "#### Expiry and clock-line precision (offscreen, real clock and timers)"
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d) "$bench/quandrel_bench_timing" "${quick_flag[@]}" 2>&1
    echo
    echo "#### Sound latency (SDL_AUDIODRIVER=dummy)"
    SDL_AUDIODRIVER=dummy "$bench/quandrel_bench_sound" "${quick_flag[@]}" 2>&1
    echo
    echo "#### Start-up, idle cost and memory of the real program (Xvfb + openbox)"
    python3 "$source_dir/bench/procbench.py" --build "$build_dir" "${quick_flag[@]}" 2>&1
    echo
    echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee "$results"

echo
echo "#### Summary (median and worst of the runs; full output in $results)"
python3 "$source_dir/bench/summary.py" "$results"
