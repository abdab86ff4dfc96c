#!/usr/bin/env bash
# Installs the Debian packages Zanfor builds and runs with. Safe to run again.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git ccache
  mdbtools-dev libsqlite3-dev libzip-dev zlib1g-dev libpugixml-dev libicu-dev
  qt6-base-dev qt6-base-dev-tools libqt6svg6
  libgtest-dev libgmock-dev
  fonts-noto-cjk fonts-noto-cjk-extra fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation2
  poppler-utils xvfb xauth sqlite3 python3-openpyxl graphviz
  dpkg-dev file man-db groff-base
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: root or sudo is needed to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
