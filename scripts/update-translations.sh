#!/usr/bin/env bash
# Brings the translation catalogues up to date with the texts of the sources
# and forms: Qt's lupdate (Debian's qttools5-dev-tools) adds every new
# translatable text as unfinished and drops those the sources no longer hold.
# Then translate what is unfinished (in Qt Linguist, or in the .ts by hand);
# the suite's completeness check fails until every entry is finished.
#
#   scripts/update-translations.sh           updates the catalogues in the tree
#   scripts/update-translations.sh FOLDER    writes updated copies into FOLDER
#                                            and leaves the tree as it is
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
out="${1:-}"

lupdate="${LUPDATE:-}"
if [ -z "$lupdate" ]; then
  if [ -x /usr/lib/qt5/bin/lupdate ]; then
    lupdate=/usr/lib/qt5/bin/lupdate
  else
    lupdate=lupdate
  fi
fi

# catalogue, then the folders whose texts it translates
catalogues=(
  "resources/translations/marlomax_de.ts|analyzer base widgets screens settings trend files procedures app forms resources/imagegen"
  "launcher/translations/marlomax-launcher_de.ts|launcher analyzer/analyzerfacts.cpp base/agetext.cpp"
)

for entry in "${catalogues[@]}"; do
  ts="${entry%%|*}"
  read -r -a folders <<<"${entry#*|}"
  target="$ts"
  if [ -n "$out" ]; then
    mkdir -p "$out"
    target="$out/$(basename "$ts")"
    if [ -f "$ts" ]; then cp "$ts" "$target"; else rm -f "$target"; fi
  fi
  language="$(basename "$ts" .ts)"
  language="${language##*_}"
  # No line numbers: a moved text changes nothing in the catalogue.
  "$lupdate" -silent -locations none -no-obsolete -I "$root" -source-language en \
    -target-language "$language" "${folders[@]}" -ts "$target"
done
