#!/usr/bin/env bash
# Builds the catalogue benchmark and runs it in a Wine prefix of its own (never the test
# prefix: its tens of thousands of registry keys would slow every test). The synthetic
# classes are registered once and found again by later runs.
#   scripts/bench.sh [catalogue_bench options, e.g. --sizes 100,1000,5000 --rounds 5]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTX_BUILD_TESTS=OFF -DTX_BUILD_SAMPLES=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target catalogue_bench >/dev/null
prefix="${BENCH_PREFIX:-$build/bench-prefix}"
"$root/scripts/prepare-prefix.sh" "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -p 2>/dev/null || true  # fails harmlessly when the server still runs
trap 'wineserver -k 2>/dev/null || true' EXIT
# Prime the server: without one finished program, Wine's helpers keep output pipes open.
wine cmd /c exit </dev/null >/dev/null 2>&1
echo "Host: $(nproc) cores, $(wine --version)"
wine "$build/bench/catalogue_bench.exe" "$@" </dev/null
