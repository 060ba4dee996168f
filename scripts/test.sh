#!/bin/bash
# Installs what is missing, builds every configuration and runs every test:
# native unit tests, the same under AddressSanitizer/UBSan, short fuzz runs,
# the Windows x86_64 build's unit and end-to-end tests under Wine, and the
# Windows i686 build (which cannot run on this machine).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh

step() { printf '\n==== %s ====\n' "$*"; }
build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }
# The test programs are independent (each works in its own temporary folder),
# so CTest runs as many at once as there are cores; the end-to-end tests,
# which share one display, still run one at a time.
jobs=$(nproc)

step "native"
build native
ctest --preset native -j "$jobs"

step "sanitizers (ASan + UBSan)"
build asan
ctest --preset asan -j "$jobs"

if [[ -f tools/fuzz/CMakeLists.txt ]]; then
  step "fuzzing (short runs)"
  build fuzz
  ctest --preset fuzz -j "$jobs"
fi

if [[ -f bench/CMakeLists.txt ]] && grep -q tsan CMakePresets.json && ls tests/engine/*/thread_test.cpp >/dev/null 2>&1; then
  step "ThreadSanitizer"
  # Only the engine's tests, and of them those that plot on worker threads:
  # the rest runs single-threaded and is covered by the other builds.
  cmake --preset tsan >/dev/null && cmake --build --preset tsan --target engine_tests
  GTEST_FILTER='*Thread*:FastPlotters*:DeepThread*' ctest --preset tsan -R engine
fi

step "Windows i686 (build only)"
build win32

step "Windows x86_64"
build win64
source scripts/wine-env.sh
bash scripts/wine-setup.sh
bash scripts/with-display.sh ctest --preset win64 -j "$jobs"
