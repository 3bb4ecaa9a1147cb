#!/usr/bin/env bash
# Builds every libFuzzer target (clang, AddressSanitizer) and runs each for a short
# smoke, seeded from the sample project and the regression inputs in fuzz/regressions/.
# FUZZ_SECONDS sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-20}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
seeds="$work/seeds"
mkdir -p "$seeds"
if [ -x build/release/sondara-cli ]; then
  build/release/sondara-cli sample "$seeds/sample.qar" >/dev/null
  build/release/sondara-cli simulate -o "$seeds/sim.qar" --piles 2 --points-per-pile 1 >/dev/null 2>&1 || true
fi

# Every target runs for its full time; as many run at once as the machine has cores.
run_one() {
  local target=$1 name corpus
  name=$(basename "$target")
  corpus="$work/$name"
  mkdir -p "$corpus"
  cp "$seeds"/* "$corpus"/ 2>/dev/null || true
  [ -d "fuzz/seeds/$name" ] && cp fuzz/seeds/"$name"/* "$corpus"/ 2>/dev/null || true
  [ -d "fuzz/regressions/$name" ] && cp fuzz/regressions/"$name"/* "$corpus"/ 2>/dev/null || true
  if ! ASAN_OPTIONS=detect_leaks=1 "$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -max_len=1048576 -print_final_stats=0 "$corpus" >"$work/$name.log" 2>&1; then
    echo "fuzz target $name failed:"
    tail -40 "$work/$name.log"
    return 1
  fi
  echo "== fuzz $name (${seconds}s): $(grep -E '^#[0-9]+.*DONE' "$work/$name.log" | tail -1)"
}
export -f run_one
export work seeds seconds

status=0
targets=()
for target in build/fuzz/fuzz_*; do
  [ -x "$target" ] && targets+=("$target")
done
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one "$1"' _ {} || status=1
exit $status
