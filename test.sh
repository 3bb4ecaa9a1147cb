#!/usr/bin/env bash
# Installs what is missing, builds the release and the sanitizer configurations
# and runs every test of both.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

echo "== layout of the C++ files"
scripts/check-format.sh

echo "== every text of the window has its English"
scripts/check-translations.sh

jobs=$(nproc)
# Compiled objects come from the compiler cache (under the user's cache folder) when an
# earlier build of the same sources left them, whatever folder this clone sits in.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
export SONDARA_TEST_TMP="${TMPDIR:-/tmp}"

for preset in release asan; do
  echo "== configure and build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== test: $preset"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  QT_QPA_PLATFORM=offscreen \
    ctest --preset "$preset" -j "$jobs"
done

echo "== the wavelet table is what its generator produces"
tools/wavelets/check.sh

if [ -x scripts/fuzz-smoke.sh ] && command -v clang++ >/dev/null; then
  echo "== fuzz smoke"
  scripts/fuzz-smoke.sh
fi
