#!/usr/bin/env bash
# Probes 200 small files in the five input containers: our GetDuration in one process
# (vv_bench probe) against one ffprobe process per file. Prints both totals and the
# ratio ours/ffprobe. Usage: bench/probe.sh [build folder]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
work="$(mktemp -d /tmp/vv-bench-probe.XXXXXX)"
trap 'rm -rf "$work"' EXIT

ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
make_kind() { # extension, seconds, ffmpeg output options...
  local ext=$1 seconds=$2
  shift 2
  ff -f lavfi -i "testsrc2=size=320x240:rate=25:duration=$seconds" \
     -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" "$@" "$work/seed-$seconds.$ext"
}
for seconds in 2 5; do
  make_kind mpg "$seconds" -c:v mpeg1video -c:a mp2 -f mpeg
  make_kind mpeg "$seconds" -c:v mpeg2video -c:a mp2 -f vob
  make_kind avi "$seconds" -c:v mpeg4 -c:a mp2
  make_kind wmv "$seconds" -c:v wmv2 -c:a wmav2
  make_kind asf "$seconds" -c:v msmpeg4 -c:a wmav1 -f asf
done
files=()
for seed in "$work"/seed-*; do
  name="$(basename "$seed")"
  for copy in $(seq 20); do
    cp "$seed" "$work/$copy $name"
    files+=("$work/$copy $name")
  done
done

read -r ours_read ours_s ours_total < <("$build/vv_bench" probe "${files[@]}")
start_ns=$(date +%s%N)
for file in "${files[@]}"; do
  ffprobe -v error -show_entries format=duration -of csv=p=0 "$file"
done > "$work/durations"
theirs_s=$(awk -v ns=$(( $(date +%s%N) - start_ns )) 'BEGIN { printf "%.3f", ns / 1e9 }')
theirs_total=$(awk '{ total += $1 } END { print total }' "$work/durations")

echo "files: ${#files[@]}, read by us: $ours_read"
echo "media seconds found: ours $ours_total, ffprobe $theirs_total"
echo "ours (in-process): ${ours_s}s"
echo "ffprobe (one process per file): ${theirs_s}s"
awk -v a="$ours_s" -v b="$theirs_s" 'BEGIN { printf "ratio ours/ffprobe: %.3f\n", a / b }'
