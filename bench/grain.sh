# Shared by the benchmark scripts (sourced, not run): the grainy 1280x720 source and
# the picture scores of an output against it.

# grainy_source OUT SECONDS: testsrc2 with noise and a 440 Hz tone, nearly lossless.
grainy_source() {
  ffmpeg -hide_banner -loglevel error -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=$2" \
    -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$2" \
    -vf noise=alls=6 -c:v libx264 -crf 16 -preset ultrafast -c:a flac "$1"
}

# picture_scores OUT SOURCE WxH: "PSNR SSIM" of OUT against SOURCE scaled to WxH, both
# timed from their first picture (containers start their pictures differently).
picture_scores() {
  local scores
  scores=$(ffmpeg -hide_banner -nostats -i "$1" -i "$2" -lavfi \
    "[0:v]setpts=PTS-STARTPTS,split[a][b];[1:v]scale=${3/x/:}:flags=bicubic,setsar=1,setpts=PTS-STARTPTS,split[r1][r2];[a][r1]psnr;[b][r2]ssim" \
    -f null - 2>&1)
  echo "$(grep -o 'average:[0-9.inf]*' <<< "$scores" | head -1 | cut -d: -f2)" \
    "$(grep -o 'All:[0-9.]*' <<< "$scores" | head -1 | cut -d: -f2)"
}
