#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite with CTest.
#   scripts/run-tests.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true

# A Qt 6 build (-DMARLOMAX_QT_MAJOR=6) needs Debian's Qt 6 as well.
deps=()
for argument in "$@"; do
  if [ "$argument" = -DMARLOMAX_QT_MAJOR=6 ]; then deps+=(--qt6); fi
done
"$root/scripts/install-deps.sh" "${deps[@]}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
