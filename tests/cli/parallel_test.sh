#!/usr/bin/env bash
# GNU parallel runs vv-convert --json on six fixtures, two at a time, as the README shows
# for many machines (here all on this one). Every output is there and reads back as
# Windows Media, nothing else is left in the folder, and the joined JSON lines hold one
# run per file, each ending "done".
# Usage: parallel_test.sh VV-CONVERT FIXTURES PYTHON CHECK-EVENTS SCHEMA
set -euo pipefail
convert=$1 fixtures=$2 python=$3 check=$4 schema=$5
work=$(mktemp -d /tmp/vv-parallel.XXXXXX)
trap 'rm -rf "$work"' EXIT
export PARALLEL_HOME="$work/parallel"
mkdir "$work/out"

names=(clip.mpg phone.mp4 camera.mov screen.mkv shortsound.avi syncvfr.mkv)
parallel --will-cite -j2 "$convert" --json --output-dir "$work/out" {} ::: "${names[@]/#/$fixtures/}" \
  > "$work/events.jsonl"

failed=0
summary=$("$python" "$check" "$schema" < "$work/events.jsonl") || { echo "$summary"; exit 1; }
for name in "${names[@]}"; do
  grep -qx "$fixtures/$name 1 done" <<< "$summary" || { echo "no done event for $name"; failed=1; }
  output="$work/out/${name%.*}.wmv"
  streams=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$output" | sort | tr '\n' ' ')
  [ "$streams" = "wmav2 wmv2 " ] || { echo "$output holds: $streams"; failed=1; }
done
left=$(ls -A "$work/out" | wc -l)
[ "$left" -eq ${#names[@]} ] || { echo "the output folder holds $left entries:"; ls -A "$work/out"; failed=1; }
[ "$(wc -l <<< "$summary")" -eq ${#names[@]} ] || { echo "runs in the JSON lines: $summary"; failed=1; }
exit $failed
