#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine inside Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
BUILD_DIR="$build" "$root/scripts/build.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/scripts/in-display.sh" "$build" \
  ctest --test-dir "$build" --output-on-failure -j "${TEST_JOBS:-2}" "$@"
