#!/usr/bin/env bash
# Checks (or with --fix applies) the layout of .clang-format on every C++ file of the
# tree. Generated files are left as their generator writes them.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' | grep -v -e '^core/analysis/WaveletTables.cpp$')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  echo "formatted ${#files[@]} files"
  exit 0
fi
if clang-format --dry-run --Werror "${files[@]}" 2>/tmp/sondara-format.$$; then
  rm -f /tmp/sondara-format.$$
  echo "layout: ${#files[@]} files as .clang-format wants them"
else
  grep -o '^[^:]*:[0-9]*:[0-9]*: error' /tmp/sondara-format.$$ | cut -d: -f1 | sort -u | head -50
  rm -f /tmp/sondara-format.$$
  echo "layout differs from .clang-format: run scripts/check-format.sh --fix" >&2
  exit 1
fi
