#!/usr/bin/env bash
# check-layers.sh [SOURCE_DIR]: fails when an #include in src/ or tools/ points up the layer order, or
# when code outside src/gui includes Qt. Each layer may include itself and the layers listed for it.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

declare -A allowed=(
  [platform]="platform"
  [values]="values platform"
  [ui]="ui values platform"
  [lang]="lang ui values platform"
  [settings]="settings ui values platform"
  [serial]="serial platform"
  [config]="config serial lang ui values platform"
  [app]="app config settings serial lang ui values platform"
  [gui]="gui ui values platform"
  [winview]="winview ui values platform"
  [main]="main gui winview app config settings serial lang ui values platform"
  [dtu-sim]="dtu-sim platform"
  [screenshot]="screenshot"
)

status=0
while IFS= read -r file; do
  case "$file" in
    src/*) layer=${file#src/} ;;
    tools/*) layer=${file#tools/} ;;
  esac
  layer=${layer%%/*}
  if [ -z "${allowed[$layer]+set}" ]; then
    echo "$file: folder '$layer' has no place in the layer order"
    status=1
    continue
  fi
  while IFS= read -r line; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
    [ "$target" = "$line" ] && continue
    # Includes beside the file itself ("PtyDtu.h") stay in its layer.
    [[ "$target" == */* ]] || continue
    to=${target#tools/}
    to=${to%%/*}
    [ -n "${allowed[$to]+set}" ] || continue
    if [[ " ${allowed[$layer]} " != *" $to "* ]]; then
      echo "$file: includes \"$target\": $layer may not depend on $to"
      status=1
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  if [ "$layer" != gui ] && [ "$layer" != screenshot ] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file"; then
    echo "$file: includes Qt outside src/gui"
    status=1
  fi
done < <(find src tools -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ "$status" -eq 0 ]; then echo "layer order: every include points down"; fi
exit "$status"
