#!/usr/bin/env bash
# Installs what is missing, builds, and opens the program on the bundled sample project.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset release >/dev/null
# Only the programs the docs run and the sample project (simulated from
# resources/samples/sample-spec.json, then processed, marked and classified by
# resources/samples/make-sample.sh); the tests and benchmarks are ./test.sh's.
# The instrument emulator (docs/instrument-link.md runs it) and the icons that
# `cmake --install` copies are built too.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake --build build/release -j "$(nproc)" \
  --target sondara sondara-cli sondara_sample sondara-instrument-emulator sondara_icons

sample="${SONDARA_SAMPLE:-build/release/sample.qar}"
if [ ! -f "$sample" ]; then
  resources/samples/make-sample.sh build/release/sondara-cli "$sample"
fi

if [ -x build/release/gui/sondara ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/release/gui/sondara "$sample"
fi
# No display: show the project and draw its display into a picture instead.
build/release/sondara-cli info "$sample"
if build/release/sondara-cli render --help >/dev/null 2>&1; then
  build/release/sondara-cli render "$sample" -o build/release/sample.png --width 1200 --height 800 >/dev/null
  echo "没有图形显示 / no display: the sample's display was drawn to build/release/sample.png"
fi
