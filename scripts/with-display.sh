#!/bin/bash
# Runs a command with a private Xvfb display and one long-lived Wine server,
# so that Wine programs start quickly and nothing is left running afterwards.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

display=""
for n in $(seq 91 120); do
  if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 100); do
  [[ -e /tmp/.X11-unix/X${display#:} ]] && break
  sleep 0.1
done

"$WINESERVER" -p >/dev/null 2>&1
# Wine's service processes inherit the output of whatever starts them first;
# start them here with output discarded so no pipe of ours waits on them.
"$WINE" cmd /c exit </dev/null >/dev/null 2>&1
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

"$@"
