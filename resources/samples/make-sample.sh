#!/usr/bin/env bash
# Builds the bundled sample project from sample-spec.json: simulated traces of 12
# piles, then a few points processed, marked and classified the way an engineer
# would leave them. Usage: make-sample.sh SONDARA_CLI OUT.qar
set -euo pipefail
cli="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$cli" simulate -o "$work/0.qar" --spec "$here/sample-spec.json" --truth "$work/truth.json" >/dev/null
# Conditioning: a 1.5 kHz low-pass on every point, exponential gain on pile 1-1 and 1-2.
"$cli" process "$work/0.qar" --all --step "Filter filterType=1 upperFreqHz=1500" -o "$work/1.qar" >/dev/null
"$cli" process "$work/1.qar" --points 1,2,3,4,5 --step "Amplify ampLaw=0 ampFactor=3 ampStart=60" -o "$work/2.qar" >/dev/null
# Marks and classes on some points (sample indices from the simulation's truth).
m() { "$cli" mark "$work/$1.qar" -o "$work/$2.qar" --point "$3" "${@:4}" >/dev/null 2>&1; }
m 2 3 1 class "I类桩"
m 3 4 3 defect 206 缩径 class "III类桩"
m 4 5 8 defect 138 扩径 class "I类桩"
m 5 6 11 defect 282 断桩 class "IV类桩"
m 6 7 14 defect 181 夹泥 class "III类桩"
m 7 8 18 defect 356 扩底 class "I类桩"
cp "$work/8.qar" "$out"
