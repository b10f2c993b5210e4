#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, skipping what is already there.
set -euo pipefail
packages=(build-essential cmake ninja-build ccache pkg-config
          qt6-base-dev libgl-dev fonts-dejavu-core
          libgtest-dev libgmock-dev googletest libbenchmark-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
