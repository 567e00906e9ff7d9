#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the skin's fonts need,
# only when something is missing. Uses apt-get as root, or through sudo.
# `install-deps.sh fuzz` adds clang and its libFuzzer runtime for `make fuzz`;
# `install-deps.sh package` what `make package` and `make package-check` use.
set -euo pipefail

packages=(
  cmake g++ make pkg-config ccache
  qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins libqt6svg6
  libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev
  ffmpeg xvfb xauth imagemagick
  desktop-file-utils dbus-daemon appstream
  parallel python3-jsonschema
  fonts-liberation2 fonts-lato fonts-dejavu-core
  locales
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi
if [ "${1:-}" = package ]; then
  packages+=(dpkg-dev file lintian)
fi

# The media tests also run under this comma-decimal locale (see tests/CMakeLists.txt).
test_locale=de_DE

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
locale -a 2>/dev/null | grep -qix "$test_locale.utf-\?8" && has_locale=1 || has_locale=0
[ ${#missing[@]} -eq 0 ] && [ $has_locale -eq 1 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "Missing packages or the $test_locale locale, and no root or sudo to install them: ${missing[*]}" >&2
  exit 1
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
if [ $has_locale -eq 0 ]; then
  echo "Generating the $test_locale.UTF-8 locale"
  "${sudo[@]}" localedef -i "$test_locale" -f UTF-8 "$test_locale.UTF-8"
fi
