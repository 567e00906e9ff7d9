#!/usr/bin/env bash
# Starts the real program under Xvfb and saves a PNG of the screen.
# Usage: tools/screenshot.sh OUT.png [seconds-to-wait] [program]
set -euo pipefail
out=${1:?usage: tools/screenshot.sh OUT.png [seconds] [program]}
wait_s=${2:-3}
here=$(cd "$(dirname "$0")/.." && pwd)
program=${3:-$here/build/virav-velmora-converter}
[ -x "$program" ] || { echo "no program at $program; run 'make build' first" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")

xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  "$1" & pid=$!
  sleep "$2"
  import -window root "$3"
  kill $pid 2>/dev/null; wait $pid 2>/dev/null; true
' sh "$program" "$wait_s" "$out"
echo "saved $out"
