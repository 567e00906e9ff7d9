#!/usr/bin/env bash
# Speed, size and quality of every video format at every frame size: one 10 s grainy
# 1280x720 clip converted by the engine (vv_bench, stretched to fit), then compared
# with the clip scaled to the same size by the ffmpeg CLI's psnr and ssim filters
# (both timed from their first picture: containers start their pictures differently).
# Prints one line per format and size: wall seconds, peak memory, kilobytes, PSNR, SSIM.
# Usage: bench/formats.sh [build folder] [formats...]   (default: wmv mp4 webm)
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
shift || true
formats=("$@")
[ ${#formats[@]} -gt 0 ] || formats=(wmv mp4 webm)
work="$(mktemp -d /tmp/vv-bench-formats.XXXXXX)"
trap 'rm -rf "$work"' EXIT

source="$work/source.mkv"
ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc2=size=1280x720:rate=25:duration=10 \
  -f lavfi -i sine=frequency=440:sample_rate=48000:duration=10 \
  -vf noise=alls=6 -c:v libx264 -crf 16 -preset ultrafast -c:a flac "$source"

printf '%-5s %-18s %7s %7s %8s %7s %7s\n' format profile seconds MB KB PSNR SSIM
for format in "${formats[@]}"; do
  for profile in 320x240 High320x240 640x480 High640x480 1280x720 High1280x720 1920x1080 High1920x1080; do
    out="$work/out.$format"
    size="${profile#High}"
    /usr/bin/time -f '%e %M' -o "$work/time" \
      "$build/vv_bench" convert "$source" "$out" "$build/Profiles/${profile}video.prx" 0 10 0 > /dev/null
    read -r seconds peak_kb < "$work/time"
    kb=$(( $(stat -c %s "$out") / 1024 ))
    scores=$(ffmpeg -hide_banner -nostats -i "$out" -i "$source" -lavfi \
      "[0:v]setpts=PTS-STARTPTS,split[a][b];[1:v]scale=${size/x/:}:flags=bicubic,setsar=1,setpts=PTS-STARTPTS,split[r1][r2];[a][r1]psnr;[b][r2]ssim" \
      -f null - 2>&1)
    psnr=$(grep -o 'average:[0-9.inf]*' <<< "$scores" | head -1 | cut -d: -f2)
    ssim=$(grep -o 'All:[0-9.]*' <<< "$scores" | head -1 | cut -d: -f2)
    printf '%-5s %-18s %7s %7s %8s %7s %7s\n' "$format" "$profile" "$seconds" "$((peak_kb / 1024))" "$kb" "$psnr" "$ssim"
  done
done
