#!/bin/sh
# Installs the Debian packages the game, its tools and its tests need. As root it runs apt-get;
# otherwise it prints the one command that installs what is missing and fails.
set -eu

PACKAGES="build-essential cmake pkg-config
libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
libpng-dev zlib1g-dev libjpeg-dev libvorbis-dev libcairo2-dev libsquish-dev
libfreetype-dev fonts-dejavu-core libgtest-dev libbenchmark-dev
xvfb xauth x11-utils xdotool"

missing=""
for package in $PACKAGES; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $package" ;;
  esac
done

[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $missing
else
  echo "Some packages the game needs are missing. Install them with:"
  echo "  sudo apt-get install$missing"
  exit 1
fi
