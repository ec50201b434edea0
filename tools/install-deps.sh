#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the CI gate need, only those missing.
set -euo pipefail
packages=(
  cmake g++ make pkg-config clang libclang-rt-14-dev clang-format clang-tidy
  qt6-base-dev qt6-qpa-plugins
  libsdl2-dev libsdl2-mixer-dev libopenmpt-dev libfluidsynth-dev timgm6mb-soundfont
  libavformat-dev libavcodec-dev libavutil-dev
  libxrandr-dev libx11-dev libcurl4-openssl-dev libgif-dev libsndfile1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-liberation2
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  locales  # the sources of the Turkish and German locales the locale tests build
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y --no-install-recommends "${missing[@]}" ||
  { $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"; }
