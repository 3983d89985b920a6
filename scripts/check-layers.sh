#!/usr/bin/env bash
# Checks that the panel's includes point down its layers, and prints every one
# that does not:
#
#   analyzer  <-  base  <-  widgets  <-  trend, screens, settings, files, procedures  <-  app
#                       <-  launcher
#
# analyzer and base build into the base library, which links no GUI module;
# the panel's core library (widgets up to app) and the launcher both link it.
# Among the pages' folders a few arrows are allowed, and they form no cycle:
# screens -> trend (the home screen's mini plot), and settings, procedures,
# trend and screens -> files (transfers, storage checks and exports). The
# launcher, a program of its own, takes nothing of the panel but the base
# library.
#   scripts/check-layers.sh [SOURCE_DIR]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

declare -A allowed=(
  [analyzer]="analyzer"
  [base]="analyzer base"
  [widgets]="analyzer base widgets"
  [files]="analyzer base widgets files"
  [trend]="analyzer base widgets files trend"
  [screens]="analyzer base widgets files trend screens"
  [settings]="analyzer base widgets files settings"
  [procedures]="analyzer base widgets files procedures"
  [app]="analyzer base widgets files trend screens settings procedures app"
  [launcher]="analyzer base launcher"
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
  echo "Every include points down: analyzer <- base <- widgets <- pages <- app; base <- launcher."
fi
exit "$bad"
