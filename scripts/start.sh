#!/bin/bash
# Starts Zirn on your display: installs what is missing, builds the Windows
# x86_64 program, prepares the project's Wine prefix and runs
# build/win64/src/zirn.exe under Wine. Arguments go to zirn.exe as its command
# line (a parameter file to open, as a Windows path such as Z:\home\me\a.pmf).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [[ -z "${DISPLAY:-}" ]]; then
  echo "start.sh: no DISPLAY; run it in a graphical session." >&2
  exit 1
fi

bash scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target zirn
bash scripts/wine-setup.sh
source scripts/wine-env.sh
exec "$WINE" build/win64/src/zirn.exe "$@"
