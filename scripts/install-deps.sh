#!/bin/sh
# Installs the Debian packages this project builds and tests with.
# Only packages that are missing are installed; apt-get runs through sudo
# when the caller is not root.
set -eu

PACKAGES="
  build-essential
  clang
  libclang-rt-14-dev
  cmake
  pkg-config
  qt6-base-dev
  qt6-base-dev-tools
  libgl-dev
  libsqlite3-dev
  libboost-context-dev
  libjpeg62-turbo-dev
  libsodium-dev
  googletest
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  xvfb
  xauth
  xdotool
  x11-utils
  openbox
  imagemagick
  poppler-utils
  fonts-liberation
  fonts-dejavu-core
  fonts-dejavu-extra
  python3
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
else
  SUDO="sudo"
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
