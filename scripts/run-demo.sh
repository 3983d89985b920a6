#!/usr/bin/env bash
# Sets up and runs the demo: installs what is missing, builds everything, then
# opens the operator panel on the analyzer simulator (scripts/marlomax-demo).
#   scripts/run-demo.sh [STORAGE_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
exec "$build/bin/marlomax-demo" "$@"
