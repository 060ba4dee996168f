#!/bin/bash
# Zoom movies end to end: the keyframes of one process, of GNU Parallel with
# two jobs and of a Slurm job array's tasks are the same bytes; a resumed run
# renders only what is missing; the video has the frames and size asked for;
# failures are one line and a non-zero exit.
#   movie_test.sh ZIRN-RENDER SCRIPTS-DIR
set -euo pipefail
render=$1
scripts=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

# 1e-30 high in seahorse valley: twelve keyframes at factor 1000.
cat > deep.pmf <<'PMF'
%Zirn parameter file
 x-0.74364388703715870475219150611545
 y0.131825904205311970493132056384639
 w1e-30
 m4 X48 Y36 n2000
 p16
 000000 000007 000700 000707 070000 070007 070700 070707
 040404 00000F 000F00 000F0F 0F0000 0F000F 0F0F00 0F0F0F
%end
PMF
movie=(--factor 1000)
[[ $("$render" --movie one --list "${movie[@]}" deep.pmf | wc -l) == 12 ]] || fail "keyframe count"
# A target 1e-1000 high, far below the doubles: 4, 4e-100 ... 4e-1000 and the target.
printf '%%Zirn parameter file\n x-0.75\n y0.1\n w1e-1000\n X32 Y32 n100\n%%end\n' > deeper.pmf
[[ $("$render" --movie one --list --factor 1e100 deeper.pmf | wc -l) == 12 ]] ||
  fail "keyframe count of a view 1e-1000 high"

"$render" --movie one "${movie[@]}" --quiet deep.pmf
[[ $(ls one | wc -l) == 12 ]] || fail "one process: $(ls one)"

ZIRN_RENDER=$render bash "$scripts/movie-parallel.sh" deep.pmf two "${movie[@]}" -- -j2 2>/dev/null
diff -r one two || fail "GNU Parallel's keyframes differ"

for task in 1 0 2; do
  SLURM_ARRAY_TASK_ID=$((task + 4)) SLURM_ARRAY_TASK_MIN=4 SLURM_ARRAY_TASK_COUNT=3 \
    ZIRN_RENDER=$render bash "$scripts/movie-slurm.sh" deep.pmf slurm "${movie[@]}" --quiet
  if [[ $task == 1 ]]; then
    [[ $(ls slurm | tr '\n' ' ') == "keyframe-00001.png keyframe-00004.png keyframe-00007.png keyframe-00010.png " ]] ||
      fail "Slurm task 1 of 3 rendered $(ls slurm)"
  fi
done
diff -r one slurm || fail "the Slurm tasks' keyframes differ"

mkdir kept
mv one/keyframe-00003.png one/keyframe-00011.png kept/
"$render" --movie one "${movie[@]}" deep.pmf 2> resumed.log
[[ $(grep -c ' high, ' resumed.log) == 2 && $(grep -c ', present$' resumed.log) == 10 ]] ||
  fail "resumed run: $(cat resumed.log)"
cmp one/keyframe-00003.png kept/keyframe-00003.png && cmp one/keyframe-00011.png kept/keyframe-00011.png

# log(4e30) / log(1000) keyframes of 0.2 s at 30 frames a second, and the last frame.
"$render" --movie one "${movie[@]}" --quiet --video movie.mp4 --seconds 0.2 --video-size 32x24 deep.pmf
frames=$(awk 'BEGIN { printf "%d", log(4e30) / log(1000) * 6 + 0.5 + 1 }')
probed=$(ffprobe -v error -count_frames -select_streams v:0 \
  -show_entries stream=codec_name,width,height,nb_read_frames -of csv=p=0 movie.mp4)
[[ $probed == "h264,32,24,$frames" ]] || fail "video: $probed, expected $frames frames"

touch blocked
if "$render" --movie blocked "${movie[@]}" deep.pmf 2> blocked.log; then fail "blocked folder accepted"; fi
[[ $(wc -l < blocked.log) == 1 ]] && grep -q '^zirn-render: blocked: cannot be created$' blocked.log ||
  fail "blocked folder: $(cat blocked.log)"
if "$render" --movie three "${movie[@]}" missing.pmf 2> missing.log; then fail "missing target accepted"; fi
[[ $(wc -l < missing.log) == 1 ]] && grep -q 'missing.pmf' missing.log || fail "missing target: $(cat missing.log)"
echo "movie: all checks passed"
