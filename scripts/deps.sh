#!/usr/bin/env bash
# Installs Debian packages when they are missing. With no arguments, the
# packages Mirabo builds, tests and runs with; with arguments, those packages
# (the Windows, packaging and fuzzing stages name their own).
set -euo pipefail

packages=("$@")
if [ ${#packages[@]} -eq 0 ]; then
  packages=(
    cmake ninja-build g++ pkg-config scdoc zlib1g-dev bash-completion
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-private-dev libfontconfig-dev libpng-dev llvm
    fonts-ipafont-gothic locales
    xvfb xauth libx11-dev libxdamage-dev
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
