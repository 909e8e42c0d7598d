#!/usr/bin/env bash
# Builds the catalogue benchmark and runs it in a Wine prefix of its own (never the test
# prefix: its tens of thousands of registry keys would slow every test), inside an X
# display of its own for the Component Manager. The synthetic classes are registered once
# and found again by later runs.
#   scripts/bench.sh [catalogue_bench options, e.g. --sizes 100,1000,5000 --rounds 5]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
prefix="${BENCH_PREFIX:-$build/bench-prefix}"
if [ "${1:-}" != "--inside" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTX_BUILD_TESTS=OFF -DTX_BUILD_SAMPLES=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)" --target catalogue_bench >/dev/null
  "$root/scripts/prepare-prefix.sh" "$prefix"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inside "$@"
fi
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k 2>/dev/null || true  # a server started without this display cannot show windows
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
# Prime the server: without one finished program, Wine's helpers keep output pipes open.
wine cmd /c exit </dev/null >/dev/null 2>&1
echo "Host: $(nproc) cores, $(wine --version)"
wine "$build/bench/catalogue_bench.exe" "$@" </dev/null
