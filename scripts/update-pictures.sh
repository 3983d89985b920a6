#!/usr/bin/env bash
# Refreshes the README's pictures from the screenshots the tests take (the
# screens live against the simulator, popups, the launcher), so they always
# show what the code draws today. Run after a build:
#   scripts/update-pictures.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
pictures="$root/docs/pictures"

# screenshot taken by a test -> picture in the README
pairs=(
  "panel-home-chart.png home.png"
  "keyboardwindow.png keypad.png"
  "launcher_mainwindow.png launcher.png"
  "launcher_fleet.png fleet.png"
  "settings-live-settings.png settings.png"
  "panel-trend.png trend.png"
  "panel-rdgraph.png ringdown.png"
)

rm -rf "$build/screenshots"
(cd "$build" && ctest -j"$(nproc)" >/dev/null) || {
  echo "The tests failed; the pictures were left as they were." >&2
  exit 1
}
mkdir -p "$pictures"
for pair in "${pairs[@]}"; do
  read -r shot picture <<<"$pair"
  cp "$build/screenshots/$shot" "$pictures/$picture"
  echo "docs/pictures/$picture <- $shot"
done
