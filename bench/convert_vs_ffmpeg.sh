#!/usr/bin/env bash
# Converts one 30 s 640x360 clip with the 640x480 profile, trimmed to 2..28 s, through
# our engine (vv_bench) and through the ffmpeg CLI with the same codecs, encoder
# settings, size, bit rates and trim, alternating, several times. Prints each run, the
# peak memory of our runs, and as its last line the median ratio of the times ours/ffmpeg.
# Usage: bench/convert_vs_ffmpeg.sh [build folder] [runs] [wmv|mp4|webm]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-5}"
format="${3:-wmv}"
work="$(mktemp -d /tmp/vv-bench-convert.XXXXXX)"
trap 'rm -rf "$work"' EXIT

source="$work/source 640x360.mpg"
ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc2=size=640x360:rate=25:duration=30 \
  -f lavfi -i sine=frequency=440:sample_rate=48000:duration=30 \
  -c:v mpeg2video -b:v 4M -c:a mp2 -ac 2 -b:a 192k -f mpeg "$source"

start=2
end=28
# what the 640x480 profile asks for, with each format's encoders as the engine sets them
case "$format" in
  wmv) codecs=(-c:v wmv2 -b:v 1000k -g 200 -c:a wmav2 -b:a 64k -ar 44100 -f asf) ;;
  mp4) codecs=(-c:v libx264 -preset veryfast -profile:v high -level 3.0 -b:v 1000k -maxrate 1500k
               -bufsize 2000k -g 200 -pix_fmt yuv420p -c:a aac -b:a 64k -ar 44100 -movflags +faststart) ;;
  webm) codecs=(-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -row-mt 1 -tile-columns 2 -lag-in-frames 0 -threads "$(nproc)"
                -b:v 1000k -g 200 -c:a libopus -b:a 64k -ar 48000) ;;
  *) echo "usage: $0 [build folder] [runs] [wmv|mp4|webm]" >&2; exit 2 ;;
esac
ours() {
  /usr/bin/time -f '%e %M' -o "$work/time" \
    "$build/vv_bench" convert "$source" "$work/ours.$format" "$build/Profiles/640x480video.prx" "$start" "$end" 0 \
    > /dev/null
}
theirs() {
  /usr/bin/time -f '%e %M' -o "$work/time" \
    ffmpeg -hide_banner -loglevel fatal -y -ss "$start" -t "$((end - start))" -i "$source" \
    -vf scale=640:480,setsar=1 "${codecs[@]}" -ac 2 "$work/theirs.$format"
}

ratios=()
peak_kb=0
for run in $(seq "$runs"); do
  ours
  read -r ours_s ours_kb < "$work/time"
  theirs
  read -r theirs_s _ < "$work/time"
  ratio=$(awk -v a="$ours_s" -v b="$theirs_s" 'BEGIN { printf "%.3f", a / b }')
  ratios+=("$ratio")
  (( ours_kb > peak_kb )) && peak_kb=$ours_kb
  echo "run $run: ours ${ours_s}s, ffmpeg ${theirs_s}s, ratio $ratio"
done
echo "peak memory of ours: $((peak_kb / 1024)) MB"
printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END { print "median ratio ours/ffmpeg:", r[int((NR + 1) / 2)] }'
