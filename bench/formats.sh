#!/usr/bin/env bash
# Speed, size and quality of every video format at every frame size: one 10 s grainy
# 1280x720 clip converted by the engine (vv_bench, stretched to fit), then compared
# with the clip scaled to the same size by the ffmpeg CLI's psnr and ssim filters.
# Prints one line per format and size: wall seconds, peak memory, kilobytes, PSNR, SSIM.
# Usage: bench/formats.sh [build folder] [formats...]   (default: wmv mp4 webm)
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
shift || true
formats=("$@")
[ ${#formats[@]} -gt 0 ] || formats=(wmv mp4 webm)
work="$(mktemp -d /tmp/vv-bench-formats.XXXXXX)"
trap 'rm -rf "$work"' EXIT

. "$(dirname "$0")/grain.sh"
source="$work/source.mkv"
grainy_source "$source" 10

printf '%-5s %-18s %7s %7s %8s %7s %7s\n' format profile seconds MB KB PSNR SSIM
for format in "${formats[@]}"; do
  for profile in 320x240 High320x240 640x480 High640x480 1280x720 High1280x720 1920x1080 High1920x1080; do
    out="$work/out.$format"
    size="${profile#High}"
    /usr/bin/time -f '%e %M' -o "$work/time" \
      "$build/vv_bench" convert "$source" "$out" "$build/Profiles/${profile}video.prx" 0 10 0 > /dev/null
    read -r seconds peak_kb < "$work/time"
    kb=$(( $(stat -c %s "$out") / 1024 ))
    read -r psnr ssim <<< "$(picture_scores "$out" "$source" "$size")"
    printf '%-5s %-18s %7s %7s %8s %7s %7s\n' "$format" "$profile" "$seconds" "$((peak_kb / 1024))" "$kb" "$psnr" "$ssim"
  done
done
