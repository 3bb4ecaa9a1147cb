#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks that the installed
# programs find everything they look for: the command line answers, the desktop
# program starts offscreen and paints the bundled sample, the menu entry is valid
# and the ".qar" type is recognised by content. Usage: install-test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
src="$(cd "$(dirname "$0")/../.." && pwd)"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/sondara-install-XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
share="$prefix/share"
for f in bin/sondara bin/sondara-cli share/applications/sondara.desktop share/mime/packages/sondara-qar.xml \
         share/icons/hicolor/scalable/apps/sondara.svg share/icons/hicolor/scalable/mimetypes/application-x-sondara-qar.svg \
         share/sondara/help/index.html share/sondara/help/en/index.html share/sondara/samples/sample.qar \
         share/sondara/report-template.docx share/sondara/translations/sondara_en.qm; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
# every page of the help links only to files that are installed with it
for page in $(find "$share/sondara/help" -name '*.html'); do
  for ref in $(grep -o '\(href\|src\)="[^"#:]*' "$page" | sed 's/^[a-z]*="//'); do
    [ -e "$(dirname "$page")/$ref" ] || fail "$page refers to missing $ref"
  done
done

# keep the test away from the user's home
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_STATE_HOME="$tmp/state"
export SONDARA_SETTINGS_DIR="$tmp/settings" SONDARA_LOG="$tmp/run.log" SONDARA_TEMP_DIR="$tmp" SONDARA_NO_DESKTOP_CACHE=1
mkdir -p "$HOME"

# the command line from the prefix
"$prefix/bin/sondara-cli" --version | grep -q '4.0.1.0' || fail "sondara-cli --version"
"$prefix/bin/sondara-cli" info "$share/sondara/samples/sample.qar" | grep -q '测点数 points: 23' || fail "sondara-cli info"
"$prefix/bin/sondara-cli" render "$share/sondara/samples/sample.qar" -o "$tmp/r.png" >/dev/null || fail "sondara-cli render"
[ -s "$tmp/r.png" ] || fail "render wrote nothing"

# the file manager's thumbnailer: its Exec line as a file manager runs it (%i the input,
# %o the output, %s the size), with the installed program first on the PATH
thumbnailer="$share/thumbnailers/sondara.thumbnailer"
grep -qx 'MimeType=application/x-sondara-qar;' "$thumbnailer" || fail "thumbnailer MimeType"
tryexec="$(sed -n 's/^TryExec=//p' "$thumbnailer")"
exec_line="$(sed -n 's/^Exec=//p' "$thumbnailer")"
run_thumbnailer() {  # input output size
  local line="${exec_line//%i/$(printf %q "$1")}"
  line="${line//%o/$(printf %q "$2")}"
  line="${line//%s/$3}"
  PATH="$prefix/bin:$PATH" QT_QPA_PLATFORM= bash -c "$line"
}
PATH="$prefix/bin:$PATH" command -v "$tryexec" >/dev/null || fail "thumbnailer TryExec $tryexec not found"
start=$(date +%s%N)
run_thumbnailer "$share/sondara/samples/sample.qar" "$tmp/thumb dir.png" 128 || fail "thumbnailer failed"
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
head -c 8 "$tmp/thumb dir.png" | grep -q PNG || fail "thumbnailer wrote no PNG"
# width and height (big-endian words at 16 and 20): the long side is the size asked
size="$(od -An -tu1 -j16 -N8 "$tmp/thumb dir.png" | awk '{print $3*256+$4, $7*256+$8}')"
[ "${size% *}" = 128 ] || fail "thumbnail is $size, not 128 wide"
echo "thumbnail of the sample: $size pixels in $elapsed_ms ms"
printf 'QAR16 damaged' > "$tmp/damaged.qar"
if run_thumbnailer "$tmp/damaged.qar" "$tmp/damaged.png" 128 2>/dev/null; then fail "thumbnailer accepted a damaged file"; fi
[ ! -e "$tmp/damaged.png" ] || fail "thumbnailer wrote a PNG for a damaged file"

# the desktop program from the prefix, offscreen, on the sample; it saves a picture and quits
QT_QPA_PLATFORM=offscreen SONDARA_SCREENSHOT="$tmp/shot.png" timeout 60 \
  "$prefix/bin/sondara" "$share/sondara/samples/sample.qar" >"$tmp/out.txt" 2>&1 || { cat "$tmp/out.txt"; fail "sondara did not start"; }
[ -s "$tmp/shot.png" ] || fail "sondara painted nothing"

# the menu entry and the file type
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$share/applications/sondara.desktop" || fail "desktop-file-validate"
fi
if command -v update-mime-database >/dev/null && command -v xdg-mime >/dev/null; then
  mkdir -p "$tmp/xdg/mime/packages"
  cp "$share/mime/packages/sondara-qar.xml" "$tmp/xdg/mime/packages/"
  update-mime-database "$tmp/xdg/mime" >/dev/null 2>&1
  cp "$share/sondara/samples/sample.qar" "$tmp/no-extension"
  printf 'QAR02' > "$tmp/old-version.dat"
  head -c 300 /dev/zero >> "$tmp/old-version.dat"
  for f in "$tmp/no-extension" "$tmp/old-version.dat"; do
    type="$(XDG_DATA_HOME="$tmp/xdg" XDG_DATA_DIRS=/usr/share xdg-mime query filetype "$f" 2>/dev/null)"
    [ "$type" = application/x-sondara-qar ] || fail "$f recognised as '$type'"
  done
fi
echo "install test passed"
