#!/usr/bin/env bash
# The quality modes of the media core (vv_bench), on the grainy 1280x720 source of
# bench/formats.sh:
#  1. each constant-quality level of each video encoder at 1280x720: wall seconds,
#     kilobytes, PSNR and SSIM;
#  2. the target size at two frame sizes: the written size's error against the target,
#     and the wall time of the two passes against the one pass at the profile's rate.
# The last line is the largest size error. Usage:
#   bench/quality.sh [build folder] [seconds of source (default 60)] [formats... (default mp4 webm wmv)]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
seconds="${2:-60}"
shift 2 || shift $# || true
formats=("$@")
[ ${#formats[@]} -gt 0 ] || formats=(mp4 webm wmv)
work="$(mktemp -d /tmp/vv-bench-quality.XXXXXX)"
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/grain.sh"

levels=(Best High Good Small)
# The picture bit rates asked of the target, in kb/s, by frame size: about the profiles'.
declare -A target_kbps=([640x480]=1000 [1280x720]=2500)

# convert SOURCE OUT PROFILE [QUALITY VALUE]: prints the wall seconds.
convert() {
  local end
  end=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$1")
  "$build/vv_bench" convert "$1" "$2" "$build/Profiles/$3video.prx" 0 "$end" 0 "${@:4}"
}

grainy_source "$work/short.mkv" 10
echo "constant quality, 10 s at 1280x720"
printf '%-5s %-6s %8s %8s %7s %7s\n' format level seconds KB PSNR SSIM
for format in "${formats[@]}"; do
  for level in 0 1 2 3; do
    out="$work/cq.$format"
    wall=$(convert "$work/short.mkv" "$out" 1280x720 1 "$level")
    read -r psnr ssim <<< "$(picture_scores "$out" "$work/short.mkv" 1280x720)"
    printf '%-5s %-6s %8s %8s %7s %7s\n' "$format" "${levels[$level]}" "$wall" "$(( $(stat -c %s "$out") / 1024 ))" "$psnr" "$ssim"
  done
done

grainy_source "$work/long.mkv" "$seconds"
echo
echo "target size, $seconds s"
printf '%-5s %-9s %9s %9s %8s %9s %9s %7s\n' format size "target MB" "written MB" "error %" "1 pass s" "2 pass s" ratio
worst=0
for format in "${formats[@]}"; do
  for size in 640x480 1280x720; do
    out="$work/target.$format"
    megabytes=$(awk -v s="$seconds" -v k="${target_kbps[$size]}" 'BEGIN { printf "%.2f", s * k / 8000 }')
    one=$(convert "$work/long.mkv" "$out" "$size")
    two=$(convert "$work/long.mkv" "$out" "$size" 2 "$megabytes")
    bytes=$(stat -c %s "$out")
    read -r written error ratio <<< "$(awk -v b="$bytes" -v m="$megabytes" -v one="$one" -v two="$two" \
      'BEGIN { printf "%.2f %.2f %.2f", b / 1e6, (b / (m * 1e6) - 1) * 100, two / one }')"
    printf '%-5s %-9s %9s %10s %8s %9s %9s %7s\n' "$format" "$size" "$megabytes" "$written" "$error" "$one" "$two" "$ratio"
    worst=$(awk -v w="$worst" -v e="$error" 'BEGIN { e = e < 0 ? -e : e; print (e > w ? e : w) }')
  done
done
echo "target size max error $worst %"
