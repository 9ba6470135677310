#!/usr/bin/env bash
# Installs the Debian packages Morvela builds and tests with, when they are missing.
# Idempotent and non-interactive: a machine that has everything returns at once.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libsqlite3-dev zlib1g-dev libssl-dev libcurl4-openssl-dev
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev fonts-dejavu-core
  libx11-dev libcli11-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev nginx
  clang-format
  # the package: manual pages, PNG icons, the menu entry's validator, runtime dependencies
  help2man librsvg2-bin desktop-file-utils dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
