#!/usr/bin/env bash
# How fast a pause holds a write, and what it costs while held: the 640x480 wmv job on a
# 120 s clip, paused 0.3 s in for 2 s. Prints how long the temporary file still grew after
# the pause (goal: within 0.2 s) and the CPU share while paused (goal: near zero), each the
# median of the runs. Usage: bench/pause.sh [build folder] [runs]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-5}"
work="$(mktemp -d /tmp/vv-bench-pause.XXXXXX)"
trap 'rm -rf "$work"' EXIT

ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc2=size=640x360:rate=25:duration=120 \
  -f lavfi -i sine=frequency=440:sample_rate=48000:duration=120 -c:v mpeg2video -q:v 4 -c:a mp2 \
  -f mpeg "$work/clip.mpg"
for _ in $(seq "$runs"); do
  "$build/vv_bench" pause "$work/clip.mpg" "$work/out.wmv" "$build/Profiles/640x480video.prx"
done > "$work/runs"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
echo "held after $(cut -d' ' -f1 "$work/runs" | median) s; CPU while paused $(cut -d' ' -f2 "$work/runs" | median) %"
