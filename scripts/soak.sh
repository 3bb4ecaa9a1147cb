#!/usr/bin/env bash
# A long random walk through the desktop window:
#   scripts/soak.sh [STEPS] [SEED] [PRESET]
# STEPS defaults to 20000, SEED to a fresh one (printed first, so that a failure can be
# replayed with the same seed), PRESET to release (asan runs it under the sanitizers).
# A failure prints the step it failed at and the last 20 steps.
set -euo pipefail
cd "$(dirname "$0")/.."
steps="${1:-20000}"
seed="${2:-$(( $(date +%s) % 1000000007 ))}"
preset="${3:-release}"
echo "random walk: $steps steps, seed $seed, $preset build"
cmake --preset "$preset" >/dev/null
cmake --build "build/$preset" --target test_gui -j "$(nproc)"
export SONDARA_TEST_TMP="${TMPDIR:-/tmp}"
# a long walk: each step may take as long as the walk needs
SONDARA_WALK_STEPS="$steps" SONDARA_WALK_SEED="$seed" QT_QPA_PLATFORM=offscreen \
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "build/$preset/gui/test_gui" --gtest_filter='RandomWalkFixture.WalkFromTheEnvironmentSeed' \
  || { echo "random walk failed: replay with scripts/soak.sh $steps $seed $preset"; exit 1; }
