#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
# A compiler cache, where the machine has one, serves several work trees of one checkout.
launch=()
if command -v ccache >/dev/null 2>&1; then
  launch=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launch[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"
