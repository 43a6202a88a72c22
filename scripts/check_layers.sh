#!/usr/bin/env bash
# Fails on an include that points up a layer or across to the other
# deliverable, and on one into a folder that has no rank. The ranks, lowest
# first:
#   0 base    what every layer may use
#   1 cells   what the program and the hook library agree on
#   2 images  3 stars  4 app      the program Tovik2.exe
#   4 hook    the hook library nivlet2.dll, a deliverable beside app
# A file may include its own folder and any folder of a lower rank; app/ and
# hook/ share a rank, so neither includes the other. The hook library is
# mapped into every program that gets input, so it includes cells/ alone
# (and through it what cells/ uses), never images/ or stars/.
set -euo pipefail
cd "$(dirname "$0")/.."

layers="base cells images stars app hook"

rank() {
  case "$1" in
    base) echo 0 ;; cells) echo 1 ;; images) echo 2 ;; stars) echo 3 ;; app) echo 4 ;; hook) echo 4 ;;
    *) echo -1 ;;
  esac
}

# Whether a file of layer $1 may include from folder $2.
allowed() {
  local layer=$1 target=$2
  [ "$target" = "$layer" ] && return 0
  [ "$(rank "$target")" -ge 0 ] || return 1
  case "$layer" in
    hook) [ "$target" = cells ] ;;
    *) [ "$(rank "$target")" -lt "$(rank "$layer")" ] ;;
  esac
}

bad=0
checked=0
for layer in $layers; do
  [ "$(rank "$layer")" -ge 0 ] || { echo "$layer/ has no rank"; bad=1; }
  for file in $(git ls-files "$layer/*.h" "$layer/*.cpp" 2>/dev/null || find "$layer" -name '*.h' -o -name '*.cpp'); do
    checked=$((checked + 1))
    while IFS= read -r target; do
      [ -n "$target" ] || continue
      allowed "$layer" "$target" && continue
      if [ "$(rank "$target")" -lt 0 ]; then
        echo "$file includes $target/: a folder without a rank"
      elif [ "$layer" = hook ]; then
        echo "$file includes $target/: the hook library uses cells/ alone"
      elif [ "$(rank "$target")" -eq "$(rank "$layer")" ]; then
        echo "$file includes $target/: $layer/ and $target/ are two deliverables"
      else
        echo "$file includes $target/: $layer/ lies below $target/"
      fi
      bad=1
    done < <(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_]*\)/.*|\1|p' "$file")
  done
done
# The core owes nothing to Win32: in stars/ and images/ only the win32/
# folders include windows.h.
for file in $(git ls-files 'stars/*.h' 'stars/*.cpp' 'images/*.h' 'images/*.cpp' 2>/dev/null); do
  case "$file" in */win32/*) continue ;; esac
  if grep -q '^[[:space:]]*#[[:space:]]*include[[:space:]]*<windows\.h>' "$file"; then
    echo "$file includes windows.h outside a win32/ folder"
    bad=1
  fi
done
if [ $bad = 0 ]; then
  echo "layers: $checked files in $(echo $layers | wc -w) ranked folders, no include points up or across"
fi
exit $bad
