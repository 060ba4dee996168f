#!/bin/bash
#SBATCH --job-name=zirn-movie
#SBATCH --output=zirn-movie-%A_%a.log
# Renders one share of a zoom movie's keyframes as one task of a Slurm job
# array (README: Zoom movies): task i of n renders the keyframes k with
# k mod n = i, so every task gets shallow and deep ones alike.
#
#   sbatch --array=0-15 --cpus-per-task=4 scripts/movie-slurm.sh TARGET.PMF DIR [movie options]
#
# DIR must be on a file system every node sees. zirn-render is $ZIRN_RENDER
# (sbatch passes the environment on), or zirn-render on the PATH. Tasks that
# are run again skip the keyframes already present.
set -euo pipefail

if (($# < 2)); then
  sed -n '4,/^set /p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
  exit 2
fi
: "${SLURM_ARRAY_TASK_ID:?run as a task of a job array: sbatch --array=0-N}"
: "${SLURM_ARRAY_TASK_COUNT:?run as a task of a job array: sbatch --array=0-N}"
target=$1
dir=$2
shift 2
task=$(((SLURM_ARRAY_TASK_ID - ${SLURM_ARRAY_TASK_MIN:-0}) / ${SLURM_ARRAY_TASK_STEP:-1}))
threads=()
if [[ -n ${SLURM_CPUS_PER_TASK:-} ]]; then threads=(--threads "$SLURM_CPUS_PER_TASK"); fi
exec "${ZIRN_RENDER:-zirn-render}" --movie "$dir" --share "$task/$SLURM_ARRAY_TASK_COUNT" \
  "${threads[@]}" "$@" "$target"
