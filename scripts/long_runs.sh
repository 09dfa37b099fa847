#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The long robustness runs, one command:
#   1. the randomised journey (100,000 steps unless told otherwise) under
#      AddressSanitizer and UndefinedBehaviorSanitizer, with LeakSanitizer at
#      exit, together with the start/launch/close/exit test;
#   2. each libFuzzer target for the given number of minutes.
#
#   scripts/long_runs.sh [minutes per fuzz target, default 10; 0 for a
#                         quick pass of 2,000 inputs each]
#
# Environment: QUANDREL_JOURNEY_STEPS (100000), QUANDREL_JOURNEY_SEED (a fresh
# one, printed, unless set), QUANDREL_ASAN_BUILD (../build-asan beside the
# repository), QUANDREL_FUZZ_BUILD (../build-fuzz). Needs clang and
# libclang-rt-14-dev for the fuzzers. Exits non-zero when anything was found;
# crashing inputs are left in $QUANDREL_FUZZ_BUILD/artifacts/.
set -uo pipefail

minutes=${1:-10}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(dirname "$repo")
asan=${QUANDREL_ASAN_BUILD:-$work/build-asan}
fuzzbuild=${QUANDREL_FUZZ_BUILD:-$work/build-fuzz}
steps=${QUANDREL_JOURNEY_STEPS:-100000}
seed=${QUANDREL_JOURNEY_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
failed=0
summary=()

echo "== journey: $steps steps, seed $seed, AddressSanitizer + UndefinedBehaviorSanitizer"
if cmake -S "$repo" -B "$asan" -G Ninja -DQUANDREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
  cmake --build "$asan" --target app_tests; then
  start=$(date +%s)
  if ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    QUANDREL_JOURNEY_STEPS=$steps QUANDREL_JOURNEY_SEED=$seed \
    "$asan/tests/app_tests" --gtest_filter='Journey.*:Exit.*' \
    2>&1 | grep -v 'propagateSizeHints' | tee "$asan/long-journey.log"; then
    :
  fi
  if grep -q '^\[  PASSED  \]' "$asan/long-journey.log" && ! grep -q '^\[  FAILED  \]' "$asan/long-journey.log" &&
    ! grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$asan/long-journey.log"; then
    summary+=("journey: $steps steps, seed $seed, $(($(date +%s) - start)) s, no finding")
  else
    summary+=("journey: seed $seed FAILED (see $asan/long-journey.log)")
    failed=1
  fi
else
  summary+=("journey: the sanitizer build failed")
  failed=1
fi

if [ "$minutes" = 0 ]; then
  limit=-runs=2000
else
  limit=-max_total_time=$((minutes * 60))
fi
echo "== fuzzers: $minutes minute(s) each"
if "$repo/fuzz/build.sh"; then
  mkdir -p "$fuzzbuild/artifacts"
  for target in wave_load state_load; do
    echo "-- fuzz_$target"
    mkdir -p "$fuzzbuild/corpus/$target"
    seeds=()
    for folder in "$repo/fuzz/corpus/$target" "$repo/fuzz/regressions/$target"; do
      [ -d "$folder" ] && seeds+=("$folder")
    done
    before=$(find "$fuzzbuild/artifacts" -name "$target-*" | wc -l)
    SDL_AUDIODRIVER=dummy "$fuzzbuild/fuzz_$target" "$limit" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$fuzzbuild/artifacts/$target-" \
      "$fuzzbuild/corpus/$target" "${seeds[@]}" >"$fuzzbuild/$target.log" 2>&1
    code=$?
    runs=$(grep -oE 'Done [0-9]+ runs in [0-9]+ second' "$fuzzbuild/$target.log" | tail -1)
    after=$(find "$fuzzbuild/artifacts" -name "$target-*" | wc -l)
    if [ "$code" -eq 0 ] && [ "$after" -eq "$before" ]; then
      summary+=("fuzz_$target: ${runs:-no run count}, no finding")
    else
      summary+=("fuzz_$target: FINDING (exit $code; $(grep -m1 -E 'property broken|ERROR' "$fuzzbuild/$target.log")); inputs in $fuzzbuild/artifacts/")
      failed=1
    fi
  done
else
  summary+=("fuzzers: the build failed (clang and libclang-rt-14-dev installed?)")
  failed=1
fi

echo
echo "== summary"
printf '%s\n' "${summary[@]}"
exit $failed
