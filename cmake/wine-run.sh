#!/bin/bash
# Runs a Windows test program under Wine in the project's test prefix.
# scripts/wine-env.sh prepares the prefix and display; this only runs.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$here/scripts/wine-env.sh"
exec /usr/lib/wine/wine64 "$@"
