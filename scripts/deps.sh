#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, if any is missing.
set -euo pipefail
packages=(g++ clang libclang-rt-14-dev cmake make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev libgl-dev
          qt6-tools-dev xvfb xauth dbus at-spi2-core python3-pyatspi fonts-dejavu-core fonts-liberation)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
