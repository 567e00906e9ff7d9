#!/usr/bin/env bash
# Regenerates the fuzzers' seed and regression inputs with Debian's ffmpeg CLI: a few
# tiny clips and files broken from them in media/, the real profiles and hostile
# variants of them in profile/. Fixed seeds and bit-exact encodes, so regenerating
# does not churn the repository. Usage: tools/make-fuzz-corpus.sh [output folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$here/tests/fuzz/corpus}"
mkdir -p "$out/media" "$out/profile"

ff() { ffmpeg -hide_banner -loglevel error -y -fflags +bitexact -flags +bitexact "$@"; }
video() { echo "testsrc2=size=64x48:rate=$1:duration=$2"; }
tone() { echo "sine=frequency=440:sample_rate=22050:duration=$1"; }
# N pseudo-random bytes from a fixed seed
noise() { LC_ALL=C awk -v seed="$1" -v n="$2" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }'; }
# overwrites bytes of a file in place: patch FILE OFFSET < bytes
patch() { dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

cd "$out/media"
ff -f lavfi -i "$(video 25 1)" -f lavfi -i "$(tone 1)" \
   -c:v mpeg1video -b:v 60k -c:a mp2 -b:a 64k -f mpeg clip.mpg
ff -f lavfi -i "$(video 15 1)" -f lavfi -i "$(tone 1)" \
   -c:v msmpeg4 -b:v 60k -c:a wmav1 -ac 1 -b:a 32k -f asf clip.asf
ff -f lavfi -i "$(video 15 1)" -f lavfi -i "$(tone 1)" \
   -c:v wmv2 -b:v 60k -c:a wmav2 -ac 1 -b:a 32k clip.wmv
ff -f lavfi -i "$(video 15 2)" -f lavfi -i "$(tone 2)" \
   -c:v msmpeg4 -c:a wmav1 -f asf twoseconds.asf

: > empty.bin
head -c $(( $(stat -c %s twoseconds.asf) / 2 )) twoseconds.asf > truncated.asf
cp clip.mpg scrambled.mpg
noise 13 1024 | patch scrambled.mpg $(( $(stat -c %s clip.mpg) / 2 - 512 ))
# The header's play duration (offset 94 in a file made this way) claims ~1.8e12 s.
mv twoseconds.asf duration-lie.asf
printf '\xff%.0s' 1 2 3 4 5 6 7 8 | patch duration-lie.asf 94
claimed="$(ffprobe -v error -show_entries format=duration -of csv=p=0 duration-lie.asf)"
[ "${claimed%%.*}" -gt 1000000000000 ] || { echo "duration-lie.asf claims $claimed s" >&2; exit 1; }
# The headers of MP4, MOV, WebM and Matroska files that claim far more or far less than
# their data holds, from the test fixtures (which make them).
for name in overclaim.mp4 overclaim.mov overclaim.webm overclaim.mkv underclaim.mp4; do
  cp "$here/tests/fixtures/$name" "$name"
done

cd "$out/profile"
cp "$here"/res/Profiles/*.prx .
base="$here/res/Profiles/320x240video.prx"
derive() { sed "$1" "$base" > "$2"; }
# a stream without its own bit rate takes the sound's byte rate times eight
derive 's/ bitrate="32000"/ bitrate="0"/; s/nAvgBytesPerSec="4000"/nAvgBytesPerSec="9223372036854775807"/' \
  byterate-int64max.prx
derive 's/ bitrate="32000"/ bitrate="0"/; s/nAvgBytesPerSec="4000"/nAvgBytesPerSec="4294967296"/' \
  byterate-2pow32.prx
derive 's/biheight="240"/biHeight="-9223372036854775808"/' height-int64min.prx
derive 's/quality="75"/quality="4294967346"/' quality-wraps.prx
derive 's/avgtimeperframe="333333"/avgtimeperframe="0"/' frametime-zero.prx
derive 's/biwidth="320"/biwidth="-320"/' width-negative.prx
derive 's/biwidth="320"/biwidth="99999999999999999"/' width-huge.prx
head -c 1000 "$base" > malformed.prx
# thousands of elements and attributes where real profiles have one or a few
props="$(printf '<videomediaprops/>%.0s' $(seq 5000))"
derive "s|<videomediaprops |$props<videomediaprops |" repeated-elements.prx
attributes="$(seq -f 'a%g="0"' 5000 | tr '\n' ' ')"
derive "s|<waveformatex |<waveformatex $attributes|" repeated-attributes.prx
du -ab "$out" | sort -k2
