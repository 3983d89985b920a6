#!/usr/bin/env bash
# Lists every C++ file of the tree that Debian 12's clang-format 14 would
# change under .clang-format, and fails when there is one. Reformat them with
#   git ls-files '*.cpp' '*.h' | xargs clang-format-14 -i
#   scripts/check-format.sh [SOURCE_DIR]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

formatter="${CLANG_FORMAT:-clang-format-14}"
if ! command -v "$formatter" >/dev/null; then
  echo "check-format: $formatter is missing (Debian: apt-get install clang-format-14)." >&2
  exit 2
fi

unformatted=()
while IFS= read -r -d '' file; do
  if ! "$formatter" --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done < <(git ls-files -z '*.cpp' '*.h')

if [ "${#unformatted[@]}" -gt 0 ]; then
  printf 'Not formatted with %s:\n' "$formatter" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "Every C++ file is formatted with $formatter."
