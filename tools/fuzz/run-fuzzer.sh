#!/bin/bash
# run-fuzzer.sh FUZZER SEED_DIR SECONDS: a bounded libFuzzer run on a scratch
# copy of the seed corpus. Fails on any crash, leak or sanitizer report.
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
if [[ -d $seeds ]]; then cp -r "$seeds"/. "$work/corpus/"; fi
cd "$work"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 corpus 2>&1 | tail -n 20
