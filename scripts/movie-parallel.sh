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

# Over SSH each host gets the target and sends its keyframe's files back.
remote=()
for option in "$@"; do
  case $option in
    -S | --sshlogin | --slf | --sshloginfile | -S* | --sshlogin=* | --slf=* | --sshloginfile=*)
      remote=(--basefile "$target" --cleanup)
      ;;
  esac
done
if ((${#remote[@]})); then
  keyframe="$dir/keyframe-{=\$_=sprintf('%05d',\$_)=}"
  remote+=(--return "$keyframe.png")
  for option in "${movie_options[@]}"; do
    if [[ $option == --dtl ]]; then remote+=(--return "$keyframe.pmf" --return "$keyframe.DTL"); fi
  done
fi

mkdir -p "$dir"
"$render" --movie "$dir" --list "${movie_options[@]}" "$target" |
  parallel --halt soon,fail=1 "$@" "${remote[@]}" -q \
    "$render" --movie "$dir" --frames {} --threads 1 "${movie_options[@]}" "$target"
