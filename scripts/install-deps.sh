#!/usr/bin/env bash
# Installs the Debian packages Kadrix needs to build, run and test.
# Idempotent: only packages that are missing are fetched.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # libraries
  qt6-base-dev libqt6svg6 libmagick++-6.q16-dev libmagickcore-6.q16-6-extra
  libjpeg62-turbo-dev libtiff-dev libheif-dev libwebp-dev libdime-dev libsane-dev libsane1 libsane-common
  # runtime helpers
  ghostscript fonts-dejavu-core
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev pxlib-dev
  imagemagick graphicsmagick libheif-examples webp libtiff-tools libjpeg-turbo-progs libvips-tools
  poppler-utils
  xvfb xauth xclip openbox x11-utils libxcb1-dev
  cups-daemon cups-client cups-filters
  # installing and packaging: validators, dpkg-shlibdeps
  desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
