#!/usr/bin/env bash
# Starts the real program under Xvfb and saves a PNG of the screen.
# Usage: [QT_SCALE_FACTOR=2] tools/screenshot.sh OUT.png [seconds-to-wait] [program]
set -euo pipefail
out=${1:?usage: tools/screenshot.sh OUT.png [seconds] [program]}
wait_s=${2:-3}
here=$(cd "$(dirname "$0")/.." && pwd)
program=${3:-$here/build/virav-velmora-converter}
[ -x "$program" ] || { echo "no program at $program; run 'make build' first" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")

# A 1024 x 768 screen, made as much larger as QT_SCALE_FACTOR makes the window.
screen=$(awk -v s="${QT_SCALE_FACTOR:-1}" 'BEGIN { printf "%dx%dx24", 1024 * s, 768 * s }')

xvfb-run -a -s "-screen 0 $screen" sh -c '
  "$1" & pid=$!
  sleep "$2"
  import -window root "$3"
  kill $pid 2>/dev/null; wait $pid 2>/dev/null; true
' sh "$program" "$wait_s" "$out"
echo "saved $out"
