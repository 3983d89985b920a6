#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the demo and the tests need,
# but only when some are missing (apt-get runs as root or through sudo).
#   scripts/install-deps.sh [--fuzz] [--qt6]
# --fuzz adds clang and its runtimes (libFuzzer, the sanitizers), which only
# the fuzz target needs (bench/fuzz/fuzz-receive.sh).
# --qt6 adds Debian's Qt 6, for a build with -DMARLOMAX_QT_MAJOR=6; Qt 5
# stays, as the tools that keep the catalogues up to date are Qt 5's.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5charts5-dev libqt5sql5-sqlite
  qttools5-dev-tools qttranslations5-l10n libsimdjson-dev libmodpbase64-dev
  fonts-dejavu-core gcab sqlite3 libsqlite3-dev xvfb xauth
)
for option in "$@"; do
  case "$option" in
    --fuzz) packages+=(clang libclang-rt-dev) ;;
    --qt6)
      packages+=(qt6-base-dev qt6-charts-dev qt6-tools-dev qt6-l10n-tools libqt6sql6-sqlite
        qt6-translations-l10n)
      ;;
    *)
      echo "install-deps.sh: unknown option $option" >&2
      exit 2
      ;;
  esac
done

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
