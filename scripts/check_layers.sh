#!/usr/bin/env bash
# The libraries depend on each other in one direction only, and nothing below
# the view layer sees Qt. Prints every include that breaks the order and
# fails when there is one.
set -uo pipefail
cd "$(dirname "$0")/.."

# The folders each library may include from, besides its own.
declare -A allowed=(
  [ui]=""
  [core]="ui"
  [sgf]="core ui"
  [engine]="core ui"
  [problems]="sgf core ui"
  [records]="problems sgf core ui"
  [mainboard]="records problems sgf engine core ui"
  [app]="mainboard records problems sgf engine core ui"
  [scenario]="app mainboard records problems sgf engine core ui"
  [qt]="app mainboard records problems sgf engine core ui"
)

bad=0
for lib in "${!allowed[@]}"; do
  [ -d "$lib" ] || continue
  ok=" $lib ${allowed[$lib]} "
  while IFS=: read -r file line text; do
    dir=$(echo "$text" | sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/')
    case "$ok" in
      *" $dir "*) ;;
      *)
        echo "$file:$line: $lib may not include $dir: $text"
        bad=1
        ;;
    esac
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' "$lib" --include='*.h' --include='*.cpp' --include='*.inc')
  if [ "$lib" != qt ]; then
    if grep -rnE '#[[:space:]]*include[[:space:]]*<Q[A-Za-z]' "$lib"; then
      echo "$lib: Qt headers below the view layer"
      bad=1
    fi
  fi
done
[ "$bad" -eq 0 ] && echo "layers: every include points down"
exit "$bad"
