#!/usr/bin/env bash
# The package as a user gets it, as root (CI runs it so): lintian finds no error and no
# warning; apt-get installs it with what it depends on; both programs run from their
# installed paths (vv-convert --version and one conversion of a fixture, which needs
# the installed profiles; the window's --version, offscreen); apt-get purge removes it,
# and nothing of it is left behind.
# Usage: tools/package-check.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
fixture="$(cd "$(dirname "$0")/.." && pwd)/tests/fixtures/clip.mpg"
name=$(dpkg-deb -f "$deb" Package)
work=$(mktemp -d /tmp/vv-package-check.XXXXXX)
trap 'rm -rf "$work"' EXIT

echo "== lintian"
lintian --fail-on error,warning --info "$deb"

echo "== install"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y "$deb" > "$work/install.log" || { cat "$work/install.log"; exit 1; }
dpkg-query -L "$name" > "$work/files"

echo "== run from the installed paths"
/usr/bin/vv-convert --version
/usr/bin/vv-convert --json --size high-640x480 --output-dir "$work" "$fixture"
streams=$(ffprobe -v error -show_entries stream=codec_name,width -of csv=p=0 "$work/clip.wmv" | sort | tr '\n' ' ')
[ "$streams" = "wmav2 wmv2,640 " ] || { echo "the installed vv-convert wrote: $streams"; exit 1; }
QT_QPA_PLATFORM=offscreen /usr/bin/virav-velmora-converter --version

echo "== remove"
apt-get purge -y "$name" > "$work/purge.log" || { cat "$work/purge.log"; exit 1; }
left=()
while read -r path; do
  # Folders such as /usr/bin are shared with other packages and stay.
  if [ -e "$path" ] && [ ! -d "$path" ]; then left+=("$path"); fi
done < "$work/files"
for folder in /usr/share/virav-velmora-converter /usr/share/doc/virav-velmora-converter; do
  [ ! -e "$folder" ] || left+=("$folder")
done
if dpkg-query -W "$name" > /dev/null 2>&1; then left+=("dpkg still lists $name"); fi
if [ ${#left[@]} -gt 0 ]; then
  printf 'left behind: %s\n' "${left[@]}"
  exit 1
fi
echo "installed, ran and removed: $(wc -l < "$work/files") paths, none left"
