#!/usr/bin/env bash
# Colour through the engine (vv_bench), read back as players read it (bench/colourbars.py):
# - colour bars in each pairing of SD and HD source and output, in each picture format: the
#   worst channel difference of the bars' mean RGB from the source's;
# - HLG and PQ bars into 1280x720 MP4 against FFmpeg's own tone-mapping chain with the same
#   curve: saturation and grey as fractions of the reference's, the worst channel difference;
# - a 10-bit grey ramp into 640x480 MP4: the longest run of one value along a row, against
#   FFmpeg's own conversion with the same encoder (which smooths the dither away again; the
#   engine's pictures before encoding are checked by test_engine_colour);
# - a 20 s 1080p HLG clip into the plain 1280x720 profile, alternating with the ffmpeg CLI
#   running the same filters and encoders: times, speed against real time, median ratio.
# Last line: "colour max error X, hdr saturation Y of reference, hdr speed ratio Z".
# Usage: bench/colour.sh [build folder] [runs]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
runs="${2:-3}"
fixtures="$here/../tests/fixtures"
profiles="$build/Profiles"
work="$(mktemp -d /tmp/vv-bench-colour.XXXXXX)"
trap 'rm -rf "$work"' EXIT
bars() { python3 "$here/colourbars.py" "$@"; }
ours() { "$build/vv_bench" convert "$1" "$2" "$profiles/${3}video.prx" 0 "$4" 0 > /dev/null; }
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
larger() { awk -v a="$1" -v b="$2" 'BEGIN { print (a > b ? a : b) }'; }

max_error=0
for format in mp4 webm wmv; do
  for pairing in "bars-hd 320x240" "bars-hd 1280x720" "bars-sd601 320x240" "bars-sd601 1280x720" \
                 "bars-sd709 320x240" "bars-sd709 1280x720"; do
    read -r source size <<< "$pairing"
    ours "$fixtures/$source.mp4" "$work/bars.$format" "$size" 0.2
    error=$(bars error "$fixtures/$source.mp4" "$work/bars.$format")
    echo "bars $source -> $size $format: worst channel $error"
    max_error=$(larger "$max_error" "$error")
  done
done

# FFmpeg's own chain with the engine's curve, the reference the issue measured against
chain="zscale=t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,tonemap=mobius:desat=0,zscale=t=bt709:m=bt709:r=tv,format=yuv420p"
saturation=1
for hdr in hlg pq; do
  ours "$fixtures/$hdr.mp4" "$work/$hdr.mp4" 1280x720 0.2
  ff -i "$fixtures/$hdr.mp4" -vf "$chain,scale=1280:720" -c:v libx264 -crf 5 -colorspace bt709 \
     -color_primaries bt709 -color_trc bt709 -color_range tv "$work/$hdr-reference.mp4"
  read -r our_saturation our_grey <<< "$(bars look "$work/$hdr.mp4")"
  read -r their_saturation their_grey <<< "$(bars look "$work/$hdr-reference.mp4")"
  error=$(bars error "$work/$hdr-reference.mp4" "$work/$hdr.mp4")
  fraction=$(awk -v a="$our_saturation" -v b="$their_saturation" 'BEGIN { printf "%.3f", a / b }')
  awk -v h="$hdr" -v s="$our_saturation" -v r="$their_saturation" -v g="$our_grey" -v q="$their_grey" \
      -v e="$error" 'BEGIN { printf "%s: saturation %.3f against %.3f (%.3f), grey %.1f against %.1f (%.3f), worst channel %s\n", h, s, r, s / r, g, q, g / q, e }'
  saturation=$(awk -v a="$saturation" -v b="$fraction" 'BEGIN { d = (a - 1) ^ 2; e = (b - 1) ^ 2; print (e > d ? b : a) }')
done

run() { python3 - "$1" <<'PY'
import subprocess, sys
data = subprocess.run(['ffmpeg', '-v', 'error', '-i', sys.argv[1], '-vf', 'extractplanes=y', '-frames:v', '1',
                       '-f', 'rawvideo', '-'], check=True, capture_output=True).stdout
width = 640
longest = 0
for y in range(100, 400, 50):
    row, run = data[y * width:(y + 1) * width], 1
    for x in range(1, width):
        run = run + 1 if row[x] == row[x - 1] else 1
        longest = max(longest, run)
print(longest)
PY
}
ours "$fixtures/gradient10.mp4" "$work/ramp.mp4" 640x480 0.2
ff -i "$fixtures/gradient10.mp4" -vf scale=640:480,format=yuv420p -c:v libx264 -preset veryfast -b:v 1000k \
   "$work/ramp-theirs.mp4"
echo "10-bit ramp (8-bit steps 32 columns wide): longest run ours $(run "$work/ramp.mp4"), ffmpeg $(run "$work/ramp-theirs.mp4")"

# 1080p HLG as phones record it, 20 s at 30 fps
seconds=20
ff -f lavfi -i "testsrc2=s=1920x1080:r=30:d=$seconds" -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$seconds" \
   -vf "zscale=tin=bt709:min=bt709:pin=bt709:t=arib-std-b67:p=bt2020:m=bt2020nc:r=tv,format=yuv420p10le" \
   -c:v libx265 -preset ultrafast -x265-params log-level=error:colorprim=bt2020:transfer=arib-std-b67:colormatrix=bt2020nc \
   -c:a aac "$work/phone-hlg.mp4"
# the engine's own filters and the plain 1280x720 profile's encoder settings
filters="zscale=w=1280:h=720:f=bicubic:t=linear:npl=100:p=bt709,format=gbrpf32le,tonemap=mobius:desat=0,zscale=t=bt709:m=bt709:r=tv:d=ordered,format=yuv420p"
codecs=(-c:v libx264 -preset veryfast -profile:v high -level 3.1 -b:v 2500k -maxrate 3750k -bufsize 5000k -g 240
        -colorspace bt709 -color_primaries bt709 -color_trc bt709 -color_range tv -c:a aac -b:a 128k -ar 44100)
timed() { /usr/bin/time -f '%e' -o "$work/time" "$@" > /dev/null; cat "$work/time"; }
ratios=()
for r in $(seq "$runs"); do
  our_s=$(timed "$build/vv_bench" convert "$work/phone-hlg.mp4" "$work/phone.mp4" "$profiles/1280x720video.prx" 0 "$seconds" 0)
  their_s=$(timed ffmpeg -hide_banner -loglevel fatal -y -i "$work/phone-hlg.mp4" -vf "$filters" "${codecs[@]}" "$work/phone-theirs.mp4")
  ratio=$(awk -v a="$our_s" -v b="$their_s" 'BEGIN { printf "%.3f", a / b }')
  ratios+=("$ratio")
  awk -v r="$r" -v a="$our_s" -v b="$their_s" -v s="$seconds" -v q="$ratio" \
      'BEGIN { printf "hdr run %d: ours %.2fs (%.2fx real time), ffmpeg %.2fs, ratio %s\n", r, a, s / a, b, q }'
done
speed=$(printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END { print r[int((NR + 1) / 2)] }')
echo "colour max error $max_error, hdr saturation $saturation of reference, hdr speed ratio $speed"
