#!/usr/bin/env bash
# Installs what is missing, builds, and opens the program on the bundled sample project.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

sample="${SONDARA_SAMPLE:-build/release/sample.qar}"
if [ -f resources/samples/sample.qar ]; then
  sample=resources/samples/sample.qar
else
  build/release/sondara-cli sample "$sample"
fi

if [ -x build/release/gui/sondara ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/release/gui/sondara "$sample"
fi
build/release/sondara-cli info "$sample"
