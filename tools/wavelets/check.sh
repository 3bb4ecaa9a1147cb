#!/usr/bin/env bash
# Regenerates the wavelet table into a temporary file and compares it with the
# committed core/analysis/WaveletTables.cpp. With --write, replaces the committed file.
# Needs Debian's /usr/bin/python3 with python3-mpmath and python3-pywt (one to a few minutes).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
table="$root/core/analysis/WaveletTables.cpp"
tmp="$(mktemp)"
trap 'rm -f "$tmp"' EXIT
/usr/bin/python3 "$here/gen_wavelets.py" > "$tmp"
if [ "${1:-}" = "--write" ]; then
  cp "$tmp" "$table"
  echo "wrote $table"
elif diff -u "$table" "$tmp"; then
  echo "WaveletTables.cpp matches the generator"
else
  echo "WaveletTables.cpp differs from the generator's output" >&2
  exit 1
fi
