#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the screenshots need,
# only those that are missing. Without root it prints the command instead.
set -euo pipefail
packages=(cmake make g++ pkg-config qt6-base-dev libgl-dev libpng-dev zlib1g-dev libjpeg-dev
          libgtest-dev libbenchmark-dev xvfb x11-apps imagemagick clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages; install them with:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
