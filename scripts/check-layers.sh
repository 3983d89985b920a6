#!/usr/bin/env bash
# Checks that the panel's includes point down its layers, and prints every one
# that does not:
#
#   analyzer  <-  widgets  <-  trend, screens, settings, files, procedures  <-  app
#
# Among the pages' folders a few arrows are allowed, and they form no cycle:
# screens -> trend (the home screen's mini plot), and settings, procedures,
# trend and screens -> files (transfers, storage checks and exports). The
# launcher, a program of its own, takes only the analyzer's messages, the
# trend's unit display and the choice of language from the panel (the files
# it links are listed in launcher/CMakeLists.txt).
#   scripts/check-layers.sh [SOURCE_DIR]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

declare -A allowed=(
  [analyzer]="analyzer"
  [widgets]="analyzer widgets"
  [files]="analyzer widgets files"
  [trend]="analyzer widgets files trend"
  [screens]="analyzer widgets files trend screens"
  [settings]="analyzer widgets files settings"
  [procedures]="analyzer widgets files procedures"
  [app]="analyzer widgets files trend screens settings procedures app"
  [launcher]="analyzer widgets trend launcher"
)

bad=0
for folder in "${!allowed[@]}"; do
  while IFS=: read -r file line text; do
    target="${text#*\"}"
    target="${target%%/*}"
    if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
      echo "$file:$line: $folder includes $target: ${text#\#include }"
      bad=1
    fi
  done < <(grep -Hn '^#include "[a-z]*/' "$folder"/*.h "$folder"/*.cpp)
done
if [ "$bad" = 0 ]; then
  echo "Every include points down: analyzer <- widgets <- pages <- app."
fi
exit "$bad"
