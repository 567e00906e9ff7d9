#!/usr/bin/env bash
# The same job through vv-convert and through the media core driven directly (vv_bench,
# as the window's engine runs it): one 30 s 640x360 clip with the 640x480 profile,
# trimmed to 2..28 s, alternating, several times. Prints each run's wall and CPU time and
# peak memory, the start cost of vv-convert on a tenth of a second of the clip, and the
# median ratios vv-convert/vv_bench of the wall and of the CPU times (the CPU time
# varies less on a busy machine).
# Usage: bench/cli_vs_engine.sh [build folder] [runs]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-9}"
work="$(mktemp -d /tmp/vv-bench-cli.XXXXXX)"
trap 'rm -rf "$work"' EXIT

source="$work/source 640x360.mpg"
ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc2=size=640x360:rate=25:duration=30 \
  -f lavfi -i sine=frequency=440:sample_rate=48000:duration=30 \
  -c:v mpeg2video -b:v 4M -c:a mp2 -ac 2 -b:a 192k -f mpeg "$source"
mkdir "$work/cli"

engine() {
  /usr/bin/time -f '%e %M %U %S' -o "$work/time" \
    "$build/vv_bench" convert "$source" "$work/engine.wmv" "$build/Profiles/640x480video.prx" 2 28 0 > /dev/null
}
cli() {
  /usr/bin/time -f '%e %M %U %S' -o "$work/time" \
    "$build/vv-convert" -q --size 640x480 --start 2 --end "${1:-28}" --output-dir "$work/cli" "$source"
}

measure() { # NAME: runs it, leaves wall seconds, MB and CPU seconds in NAME_s, NAME_mb, NAME_cpu
  "$1"
  read -r wall kb user system < "$work/time"
  printf -v "$1_s" '%s' "$wall"
  printf -v "$1_mb" '%s' "$((kb / 1024))"
  printf -v "$1_cpu" '%s' "$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ r[NR] = $1 } END { print r[int((NR + 1) / 2)] }'; }

walls=()
cpus=()
# Each goes first in every other pair, so that neither gains from the other's warm caches.
for run in $(seq "$runs"); do
  if (( run % 2 )); then measure engine; measure cli; else measure cli; measure engine; fi
  walls+=("$(ratio "$cli_s" "$engine_s")")
  cpus+=("$(ratio "$cli_cpu" "$engine_cpu")")
  echo "run $run: vv_bench ${engine_s}s (CPU ${engine_cpu}s) ${engine_mb} MB," \
       "vv-convert ${cli_s}s (CPU ${cli_cpu}s) ${cli_mb} MB"
done
starts=()
for run in $(seq 5); do
  cli 2.1
  read -r start_s _ < "$work/time"
  starts+=("$start_s")
done
echo "vv-convert on 0.1 s of the clip (the per-file start cost): ${starts[*]} s"
echo "median ratios vv-convert/vv_bench: wall $(median "${walls[@]}"), CPU $(median "${cpus[@]}")"
