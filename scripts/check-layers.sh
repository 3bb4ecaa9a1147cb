#!/usr/bin/env bash
# Checks that every core folder includes only itself and the folders its library
# declares (core-layers.txt, written by core/CMakeLists.txt) and that core/ includes
# no Qt header. Usage: check-layers.sh SOURCE_DIR LAYERS_FILE
set -euo pipefail
src="$1"
layers="$2"
status=0
while IFS=: read -r folder uses; do
  [ -n "$folder" ] || continue
  allowed=" $folder $uses "
  for f in "$src/core/$folder"/*.h "$src/core/$folder"/*.cpp; do
    [ -e "$f" ] || continue
    while read -r inc; do
      used="${inc#core/}"
      used="${used%%/*}"
      if [[ "$allowed" != *" $used "* ]]; then
        echo "core/$folder may not include $inc (${f#$src/})"
        status=1
      fi
    done < <(grep -ho '#include "core/[a-z]*/' "$f" | sed 's/#include "//')
    if grep -q '#include <Q' "$f"; then
      echo "core/ includes a Qt header: ${f#$src/}"
      status=1
    fi
  done
done < "$layers"
[ $status -eq 0 ] && echo "core layers: every include is declared"
exit $status
