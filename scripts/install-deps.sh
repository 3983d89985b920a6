#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the demo and the tests need,
# but only when some are missing (apt-get runs as root or through sudo).
#   scripts/install-deps.sh [--fuzz]
# --fuzz adds clang and its runtimes (libFuzzer, the sanitizers), which only
# the fuzz target needs (bench/fuzz/fuzz-receive.sh).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5charts5-dev libqt5sql5-sqlite
  qttools5-dev-tools qttranslations5-l10n libsimdjson-dev libmodpbase64-dev
  fonts-dejavu-core gcab sqlite3 libsqlite3-dev xvfb xauth
)
if [ "${1:-}" = --fuzz ]; then
  packages+=(clang libclang-rt-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" != 0 ]; then
  sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
