#!/usr/bin/env bash
# Installs the Debian packages Hexlane needs to build and test, when missing.
set -euo pipefail
packages=(cmake ninja-build g++ clang qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          nlohmann-json3-dev fonts-liberation libclang-rt-dev libcli11-dev qt6-svg-dev libpng-dev
          poppler-utils desktop-file-utils libpugixml-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
