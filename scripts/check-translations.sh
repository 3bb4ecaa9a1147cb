#!/usr/bin/env bash
# The English translation covers every text of the window and of the panes. lupdate
# collects the texts of the sources (tr(), QT_TRANSLATE_NOOP and the core's
# SONDARA_TR_NOOP and SONDARA_TR) into a copy of translations/sondara_en.ts; a text
# without its English (new, or a Chinese text changed in the sources) fails, and so
# does a translation kept for a text the sources no longer have.
#   scripts/check-translations.sh            check
#   scripts/check-translations.sh --update   write the collected texts into the .ts
#                                            (then translate the unfinished entries)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
ts=$root/translations/sondara_en.ts
lupdate=$(command -v lupdate-qt6 || true)
[ -x "$lupdate" ] || lupdate=/usr/lib/qt6/bin/lupdate
[ -x "$lupdate" ] || { echo "lupdate not found (Debian: qt6-l10n-tools)" >&2; exit 1; }

collect() {  # collect into the .ts $1, keeping its translations; more options after it
  local out=$1
  shift
  "$lupdate" -silent "$@" -locations none -no-ui-lines -target-language en \
    -tr-function-alias QT_TRANSLATE_NOOP+=SONDARA_TR_NOOP,QT_TRANSLATE_NOOP+=SONDARA_TR \
    -extensions cpp,h "$root/core" "$root/render" "$root/gui" -ts "$out" >/dev/null 2>&1
}

if [ "${1:-}" = --update ]; then
  collect "$ts" -no-obsolete
  echo "unfinished: $(grep -c 'type="unfinished"' "$ts" || true)"
  exit 0
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$ts" "$tmp/sondara_en.ts"
collect "$tmp/sondara_en.ts"
unfinished=$(grep -c 'type="unfinished"' "$tmp/sondara_en.ts" || true)
stale=$(grep -cE 'type="(vanished|obsolete)"' "$tmp/sondara_en.ts" || true)
if [ "$unfinished" -ne 0 ] || [ "$stale" -ne 0 ]; then
  echo "translations/sondara_en.ts: $unfinished text(s) without English, $stale translation(s) of texts gone from the sources:" >&2
  grep -B2 -E 'type="(unfinished|vanished|obsolete)"' "$tmp/sondara_en.ts" | grep '<source>' | head -40 >&2
  echo "run scripts/check-translations.sh --update and translate them" >&2
  exit 1
fi
echo "translations: every text of the window has its English"
