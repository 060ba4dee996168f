#!/bin/bash
# Renders the keyframes of a zoom movie with GNU Parallel, one keyframe a job:
# on this machine, or with --sshlogin on several (README: Zoom movies).
#
#   scripts/movie-parallel.sh TARGET.PMF DIR [movie options] [-- parallel options]
#
# The movie options (--factor, --size, --start, --dtl, --threads ...) go to
# every zirn-render --movie call; each job uses one thread unless they say
# otherwise. zirn-render is $ZIRN_RENDER, or zirn-render on the PATH; over SSH
# it must be there on every machine. Each machine gets the target and sends
# its keyframes back, so give TARGET and DIR relative to the current folder.
# Examples:
#   scripts/movie-parallel.sh deep.pmf frames -- -j 8
#   scripts/movie-parallel.sh deep.pmf frames --size 1600x1200 -- --sshlogin 8/alpha,8/beta,:
set -euo pipefail

if (($# < 2)); then
  sed -n '2,/^set /p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
  exit 2
fi
target=$1
dir=$2
shift 2
movie_options=()
while (($#)) && [[ $1 != -- ]]; do
  movie_options+=("$1")
  shift
done
(($#)) && shift
render=${ZIRN_RENDER:-zirn-render}

# Each job returns its keyframe's files; a job on this machine writes them in place.
returns=(--return "$dir/keyframe-{=\$_=sprintf('%05d',\$_)=}.png")
for option in "${movie_options[@]}"; do
  if [[ $option == --dtl ]]; then
    returns+=(--return "$dir/keyframe-{=\$_=sprintf('%05d',\$_)=}.pmf")
    returns+=(--return "$dir/keyframe-{=\$_=sprintf('%05d',\$_)=}.DTL")
  fi
done

mkdir -p "$dir"
"$render" --movie "$dir" --list "${movie_options[@]}" "$target" |
  parallel --halt soon,fail=1 "$@" --basefile "$target" "${returns[@]}" --cleanup -q \
    "$render" --movie "$dir" --frames {} --threads 1 "${movie_options[@]}" "$target"
