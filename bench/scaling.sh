#!/usr/bin/env bash
# How the engine's wmv job scales with cores: the 640x480 profile on a 30 s noisy
# 640x360 MPEG-2 clip trimmed to 2..28 s, with VV_THREADS=1, 2 and the machine's core
# count, each pinned with taskset to as many cores. Prints the median wall time of the
# runs and the speed-up over one core for each, and as its last line the 2-core speed-up.
# Usage: bench/scaling.sh [build folder] [runs]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-5}"
work="$(mktemp -d /tmp/vv-bench-scaling.XXXXXX)"
trap 'rm -rf "$work"' EXIT

source="$work/noisy.mpg"
ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc2=size=640x360:rate=25:duration=30 \
  -f lavfi -i sine=frequency=440:sample_rate=48000:duration=30 \
  -vf noise=alls=20:allf=t -c:v mpeg2video -q:v 4 -c:a mp2 -ac 2 -b:a 192k -f mpeg "$source"

median_seconds() { # cores
  local times=()
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e' -o "$work/time" env VV_THREADS="$1" taskset -c "0-$(($1 - 1))" \
      "$build/vv_bench" convert "$source" "$work/out.wmv" "$build/Profiles/640x480video.prx" 2 28 0 > /dev/null
    times+=("$(cat "$work/time")")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

cores=$(nproc)
counts=(1 2)
(( cores > 2 )) && counts+=("$cores")
one=$(median_seconds 1)
echo "1 core: ${one}s"
two=$one
for count in "${counts[@]:1}"; do
  seconds=$(median_seconds "$count")
  speedup=$(awk -v a="$one" -v b="$seconds" 'BEGIN { printf "%.2f", a / b }')
  echo "$count cores: ${seconds}s, speed-up $speedup"
  (( count == 2 )) && two=$seconds
done
awk -v a="$one" -v b="$two" 'BEGIN { printf "speedup 2 cores: %.2f\n", a / b }'
