#!/usr/bin/env bash
# Regenerates the small media files the engine tests read, with Debian's ffmpeg CLI.
# Each clip is 3 seconds of a moving colour pattern with a tone; the bad files are
# derived from them. Usage: tools/make-fixtures.sh [output folder]
set -euo pipefail
out="${1:-$(dirname "$0")/../tests/fixtures}"
mkdir -p "$out"
cd "$out"

ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
seconds=3

# picture: a bright pattern filling the whole frame (no black edges of its own)
video() { echo "testsrc2=size=$1:rate=$2:duration=$seconds,eq=brightness=0.15"; }
tone() { echo "sine=frequency=$1:sample_rate=$2:duration=$seconds"; }

# MPEG-1 programme stream: starts at about 0.5 s like camera files do
ff -f lavfi -i "$(video 160x120 25)" -f lavfi -i "$(tone 440 44100)" \
   -c:v mpeg1video -b:v 90k -c:a mp2 -ac 2 -b:a 64k -f mpeg clip.mpg
# MPEG-2 in a DVD-style stream, anamorphic 16:9 on 176x144 pixels, mono 48 kHz
ff -f lavfi -i "$(video 176x144 25)" -f lavfi -i "$(tone 660 48000)" \
   -c:v mpeg2video -b:v 90k -aspect 16:9 -c:a mp2 -ac 1 -b:a 64k -f vob clip.mpeg
# MPEG-4 (DivX-style) at NTSC rate with 5.1 sound (must be mixed down)
ff -f lavfi -i "$(video 160x120 30000/1001)" -f lavfi -i "$(tone 550 48000)" \
   -c:v mpeg4 -b:v 90k -c:a ac3 -ac 6 -b:a 96k clip.avi
# Windows Media, square-pixel 16:9
ff -f lavfi -i "$(video 192x108 25)" -f lavfi -i "$(tone 330 22050)" \
   -c:v wmv2 -b:v 90k -c:a wmav2 -ac 2 -b:a 32k clip.wmv
# ASF with an older codec pair
ff -f lavfi -i "$(video 160x120 15)" -f lavfi -i "$(tone 880 22050)" \
   -c:v msmpeg4 -b:v 70k -c:a wmav1 -ac 1 -b:a 32k -f asf clip.asf

# a camera-style file whose sound stops half-way through the picture
ff -f lavfi -i "$(video 160x120 25)" -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=1.5" \
   -c:v mpeg4 -b:v 90k -c:a mp2 -b:a 64k shortsound.avi
# an AVI longer than the stretch read at a file's end to find where its data ends
# (over 1 MiB, in plain bytes that pack small); AVI counts its packets' times
ff -f lavfi -i "color=gray:size=16x16:rate=10:duration=110" -f lavfi -i "anullsrc=sample_rate=8000:channel_layout=mono" \
   -t 110 -pix_fmt gray -c:v rawvideo -c:a pcm_u8 long.avi

# today's files, a second each: one per family the Add dialog offers, with the codecs
# phones, cameras, screen recorders and downloads use
short() { echo "testsrc2=size=$1:rate=$2:duration=1,eq=brightness=0.15"; }
beep() { echo "sine=frequency=440:sample_rate=$1:duration=1"; }
ff -f lavfi -i "$(short 128x96 30)" -f lavfi -i "$(beep 44100)" -c:v libx264 -preset ultrafast \
   -c:a aac -b:a 32k -movflags +faststart phone.mp4
ff -f lavfi -i "$(short 128x96 25)" -f lavfi -i "$(beep 48000)" -c:v libx265 -preset ultrafast \
   -x265-params log-level=error -tag:v hvc1 -c:a aac -b:a 32k camera.mov
ff -f lavfi -i "$(short 128x96 25)" -f lavfi -i "$(beep 48000)" -c:v libvpx-vp9 -threads 1 -deadline realtime \
   -cpu-used 8 -b:v 100k -c:a libopus -b:a 32k -fflags +bitexact screen.mkv
ff -f lavfi -i "$(short 128x96 25)" -f lavfi -i "$(beep 44100)" -c:v libvpx -threads 1 -deadline realtime \
   -cpu-used 8 -b:v 100k -c:a libvorbis -b:a 48k -fflags +bitexact clip.webm
ff -f lavfi -i "$(short 128x96 25)" -f lavfi -i "$(beep 44100)" -c:v flv1 -b:v 100k \
   -c:a libmp3lame -b:a 48k clip.flv
ff -f lavfi -i "$(short 128x96 25)" -f lavfi -i "$(beep 48000)" -c:v mpeg2video -b:v 200k \
   -c:a ac3 -b:a 96k clip.ts
ff -f lavfi -i "$(short 128x96 25)" -f lavfi -i "$(beep 8000)" -c:v mpeg4 -b:v 100k \
   -c:a aac -ac 1 -b:a 12k clip.3gp
ff -f lavfi -i "$(short 128x96 25)" -f lavfi -i "$(beep 48000)" -c:v libaom-av1 -threads 1 -cpu-used 8 -b:v 100k \
   -c:a pcm_s16le -ac 1 -fflags +bitexact av1.mkv
# 10-bit HEVC, as HDR phones record it
ff -f lavfi -i "$(short 128x96 25)" -f lavfi -i "$(beep 48000)" -c:v libx265 -preset ultrafast \
   -x265-params log-level=error -pix_fmt yuv420p10le -c:a aac -b:a 32k tenbit.mp4
# a white flash and a beep together at 1 s, to see that picture and sound stay in step
ff -f lavfi -i "color=c=black:s=160x120:r=25:d=3,drawbox=c=white:t=fill:enable='between(t,1,1.07)'" \
   -f lavfi -i "aevalsrc='if(between(t,1,1.1),0.8*sin(2*PI*1000*t),0)':s=48000:d=3" \
   -c:v libx264 -preset ultrafast -c:a aac -b:a 64k -movflags +faststart sync.mp4
# the same at 2 s, with pictures 40 ms apart for a second and 80 ms apart after it
ff -f lavfi -i "color=c=black:s=160x120:r=25:d=3,setpts='if(lt(N,25),N*0.04,1+(N-25)*0.08)/TB',drawbox=c=white:t=fill:enable='between(t,2,2.07)'" \
   -f lavfi -i "aevalsrc='if(between(t,2,2.1),0.8*sin(2*PI*1000*t),0)':s=48000:d=4" -fps_mode passthrough \
   -c:v libx264 -preset ultrafast -c:a aac -b:a 64k -t 3.5 -fflags +bitexact syncvfr.mkv
# a portrait phone clip: landscape pixels with a display matrix that turns them a
# quarter clockwise (the track header's matrix, which ffmpeg 5.1 cannot set itself)
cp phone.mp4 portrait.mp4
python3 - portrait.mp4 <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
tkhd = data.find(b'tkhd')
matrix = tkhd + 4 + 4 + (20 if data[tkhd + 4] == 0 else 32) + 16
data[matrix:matrix + 36] = struct.pack('>9i', 0, 65536, 0, -65536, 0, 0, 0, 0, 1 << 30)
open(sys.argv[1], 'wb').write(data)
PY

# colour bars a fifth of a second long: HD untagged (players take BT.709), SD tagged BT.601
# and SD tagged BT.709
bars() { ff -f lavfi -i "$1=s=$2:r=25:d=0.2" -c:v libx264 -preset medium -crf 12 -pix_fmt yuv420p "${@:4}" "$3"; }
bars smptehdbars 1920x1080 bars-hd.mp4
# HD bars in Windows Media, which its players read as BT.601 at every size
ff -f lavfi -i "smptehdbars=s=1280x720:r=25:d=0.2" -c:v wmv2 -q:v 2 bars-hd.wmv
bars smptebars 640x480 bars-sd601.mp4 -colorspace smpte170m -color_primaries smpte170m -color_trc smpte170m -color_range tv
bars smptebars 640x480 bars-sd709.mp4 -colorspace bt709 -color_primaries bt709 -color_trc bt709 -color_range tv
# HDR bars as phones record them (10-bit HEVC, BT.2020, HLG or PQ), and each tone-mapped
# by FFmpeg's own chain into 1280x720 BT.709, the curve the engine uses
for transfer in arib-std-b67 smpte2084; do
  name=$([ "$transfer" = smpte2084 ] && echo pq || echo hlg)
  ff -f lavfi -i "smptehdbars=s=1920x1080:r=25:d=0.2" \
     -vf "zscale=tin=bt709:min=bt709:pin=bt709:t=$transfer:p=bt2020:m=bt2020nc:r=tv,format=yuv420p10le" \
     -c:v libx265 -x265-params "log-level=error:crf=12:colorprim=bt2020:transfer=$transfer:colormatrix=bt2020nc" \
     -tag:v hvc1 "$name.mp4"
  ff -i "$name.mp4" -vf "zscale=t=linear:npl=100,format=gbrpf32le,zscale=p=bt709,tonemap=mobius:desat=0,zscale=t=bt709:m=bt709:r=tv,format=yuv420p,scale=1280:720" \
     -c:v libx264 -crf 5 -colorspace bt709 -color_primaries bt709 -color_trc bt709 -color_range tv "$name-reference.mp4"
done
# a smooth 10-bit grey ramp: 80 steps of 10 bits, 20 of 8 bits, across 640 columns
ff -f lavfi -i "nullsrc=s=640x480:r=25:d=0.2,format=yuv420p10le,geq=lum='400+X*80/W':cb=512:cr=512" \
   -c:v libx265 -x265-params log-level=error:lossless=1 -colorspace smpte170m -color_primaries smpte170m \
   -color_trc smpte170m -color_range tv gradient10.mp4
# what a phone's file says of itself: recording time, title, artist, comment, place,
# languages and three chapters of a second each
cat > facts.txt <<'META'
;FFMETADATA1
title=Beach day
artist=Ana Lima
comment=Low tide
location=+48.8584+002.2945/
creation_time=2024-05-01T10:00:00Z
[CHAPTER]
TIMEBASE=1/1000
START=0
END=1000
title=Arrival
[CHAPTER]
TIMEBASE=1/1000
START=1000
END=2000
title=Swim
[CHAPTER]
TIMEBASE=1/1000
START=2000
END=3000
title=Sunset
META
ff -f lavfi -i "$(video 160x120 25)" -f lavfi -i "$(tone 440 44100)" -i facts.txt -map 0 -map 1 \
   -map_metadata 2 -map_chapters 2 -metadata:s:v:0 language=eng -metadata:s:a:0 language=fra \
   -c:v libx264 -preset ultrafast -b:v 50k -c:a aac -b:a 32k facts.mp4
rm facts.txt

# bad files
: > empty.avi
echo "This is a text file, not a video." > text.avi
head -c 20000 clip.wmv > truncated.wmv
tail -c +2049 clip.asf > headercut.asf
# fixed pseudo-random bytes, so regenerating does not churn the repository
LC_ALL=C awk 'BEGIN { srand(7); for (i = 0; i < 8192; i++) printf "%c", int(rand() * 256) }' \
    > random.mpg
# an ASF whose header claims a play length of 2^64-1 units: only its data tells the truth
ff -f lavfi -i "$(video 160x120 15)" -f lavfi -i "$(tone 880 22050)" \
   -c:v msmpeg4 -b:v 70k -c:a wmav1 -ac 1 -b:a 32k -f asf lyingduration.asf
printf '\377\377\377\377\377\377\377\377' | dd of=lyingduration.asf bs=1 seek=94 conv=notrunc status=none
# sound far beyond full scale, as damaged AAC can decode to: every encoder gets it clipped
ff -f lavfi -i "testsrc2=size=64x48:rate=15:duration=1,eq=brightness=0.15" -f lavfi -i "aevalsrc=100*sin(2*PI*440*t):s=8000:d=1" \
   -c:v libx264 -preset ultrafast -c:a pcm_f32le loud.mkv
# a picture stream in a codec no decoder knows: its four-character code made up
ff -f lavfi -i "testsrc2=size=64x48:rate=15:duration=1" -f lavfi -i "sine=duration=1:sample_rate=8000" \
   -c:v mpeg4 -c:a pcm_u8 unknowncodec.avi
perl -0777 -pi -e 's/FMP4/ZZZZ/g' unknowncodec.avi
# headers that claim far more or far less than the data holds (1 s): the MP4/MOV movie
# header's duration, and the Matroska/WebM segment's Duration element
ff -i screen.mkv -c copy -f webm overclaim.webm
ff -i camera.mov -c copy overclaim.mkv
cp phone.mp4 overclaim.mp4
cp camera.mov overclaim.mov
cp phone.mp4 underclaim.mp4
python3 - <<'PY'
import struct
def mvhd(name, ticks):
    data = bytearray(open(name, 'rb').read())
    duration = data.find(b'mvhd') + 4 + 16  # version and flags, two times, the time scale
    data[duration:duration + 4] = struct.pack('>I', ticks)
    open(name, 'wb').write(data)
def segment_duration(name, milliseconds):
    data = bytearray(open(name, 'rb').read())
    element = data.find(b'\x44\x89')
    size = data[element + 2] & 0x7f
    data[element + 3:element + 3 + size] = struct.pack('>f' if size == 4 else '>d', milliseconds)
    open(name, 'wb').write(data)
mvhd('overclaim.mp4', 0x7FFFFFFF)
mvhd('overclaim.mov', 0x7FFFFFFF)
mvhd('underclaim.mp4', 3)
segment_duration('overclaim.webm', 3e9)
segment_duration('overclaim.mkv', 3e9)
PY
cp clip.wmv bitflip.wmv
LC_ALL=C awk 'BEGIN { srand(11); for (i = 0; i < 512; i++) printf "%c", int(rand() * 256) }' \
    | dd of=bitflip.wmv bs=1 seek=12000 conv=notrunc status=none
ls -l
