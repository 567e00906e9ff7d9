#!/usr/bin/env bash
# Plays a 10 s 640x480 clip (MPEG-1 with MPEG audio, 25 fps) into the 227x170
# preview area, offscreen, and prints the pictures shown and dropped, the CPU share
# used and how long Stop takes mid-play. Goal: no dropped pictures, under 50% of one
# core, and a Stop well under the 500 ms a person would notice.
# Usage: bench/preview.sh [build folder] [stretch mode 0..3]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
stretch="${2:-0}"
work="$(mktemp -d /tmp/vv-bench-preview.XXXXXX)"
trap 'rm -rf "$work"' EXIT

ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i "testsrc2=size=640x480:rate=25:duration=10" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=10" \
  -c:v mpeg1video -b:v 2500k -c:a mp2 -b:a 192k -f mpeg "$work/clip.mpg"

QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$build/vv_preview_bench" "$work/clip.mpg" 227 170 "$stretch" \
  2> >(grep -v -e 'pa_context_connect' -e 'XDG_RUNTIME_DIR' >&2)
