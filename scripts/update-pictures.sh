#!/usr/bin/env bash
# Refreshes the README's pictures from the screenshots of the screen suite
# (tst_panellook: the panel live against the simulator, with the simulator's
# own texts, in English and in German) and of the launcher's window test, so they always show what the
# code draws today. Builds what they need first:
#   scripts/update-pictures.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
pictures="$root/docs/pictures"

# screenshot taken by a test -> picture in the README
pairs=(
  "look-home.png home.png"
  "look-trend.png trend.png"
  "look-ringdown.png ringdown.png"
  "look-settings-tabService.png settings.png"
  "look-certification.png certification.png"
  "look-journal.png journal.png"
  "look-badge-failure.png badge-failure.png"
  "look-badge-function-check.png badge-function-check.png"
  "look-badge-uncertain.png badge-uncertain.png"
  "look-badge-maintenance-required.png badge-maintenance-required.png"
  "look-badge-normal.png badge-normal.png"
  "look-de-home.png home-de.png"
  "look-de-settings-tabSettings.png settings-de.png"
  "look-de-trend.png trend-de.png"
  "launcher_mainwindow.png launcher.png"
  "launcher_fleet.png fleet.png"
)

cmake --build "$build" -j2 --target tst_panellook tst_launcherwindow tst_fleetwindow vireo-sim >/dev/null
rm -rf "$build/screenshots"
(cd "$build" && ctest -R '^(tst_panellook|tst_panellook_german|tst_launcherwindow|tst_fleetwindow)$' >/dev/null) || {
  echo "The tests failed; the pictures were left as they were." >&2
  exit 1
}
mkdir -p "$pictures"
for pair in "${pairs[@]}"; do
  read -r shot picture <<<"$pair"
  cp "$build/screenshots/$shot" "$pictures/$picture"
  echo "docs/pictures/$picture <- $shot"
done
