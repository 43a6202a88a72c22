#!/usr/bin/env bash
# Fails on an include that points up a layer. The layers, lowest first:
#   base <- cells <- images <- stars <- app
# and the hook library, which may use cells (and itself) only.
# A file may include its own layer and any layer below it.
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
  case "$1" in
    base) echo 0 ;; cells) echo 1 ;; images) echo 2 ;; stars) echo 3 ;; app) echo 4 ;;
    *) echo -1 ;;
  esac
}

bad=0
checked=0
for layer in base cells images stars app hook; do
  for file in $(git ls-files "$layer/*.h" "$layer/*.cpp" 2>/dev/null || find "$layer" -name '*.h' -o -name '*.cpp'); do
    checked=$((checked + 1))
    while IFS= read -r target; do
      [ -n "$target" ] || continue
      if [ "$layer" = hook ]; then
        case "$target" in hook|cells) continue ;; esac
        echo "$file includes $target/: the hook library uses cells/ alone"; bad=1
        continue
      fi
      [ "$(rank "$target")" -ge 0 ] || continue  # a folder outside the layers (none today)
      if [ "$(rank "$target")" -gt "$(rank "$layer")" ]; then
        echo "$file includes $target/: $layer/ lies below $target/"; bad=1
      fi
    done < <(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_]*\)/.*|\1|p' "$file")
  done
done
if [ $bad = 0 ]; then
  echo "layers: $checked files, no include points up"
fi
exit $bad
