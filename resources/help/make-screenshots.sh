#!/usr/bin/env bash
# Draws the pictures of the help with the program itself, from the bundled sample
# project, so that they always show the current display.
# Usage: make-screenshots.sh SONDARA_CLI SAMPLE.qar
set -euo pipefail
cli="$1"
sample="$2"
out="$(cd "$(dirname "$0")" && pwd)/images"
mkdir -p "$out"
r() { "$cli" render "$sample" --width 900 --height 520 --screen "$@" >/dev/null; }
r -o "$out/integrity.png" --domain integrity --set all
r -o "$out/time.png" --domain time --set single --point 5 --command auto-adjust --cursor 420
r -o "$out/frequency.png" --domain frequency --set single --point 5
r -o "$out/wavelet.png" --domain wavelet --set single --point 5
r -o "$out/train.png" --domain integrity --set train
echo "help pictures written to $out"
