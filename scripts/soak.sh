#!/usr/bin/env bash
# Builds the chaos driver and runs it in a Wine prefix of its own (never the test prefix:
# its populations and its trace would disturb the tests), inside Xvfb, with TxCOGUI.dll,
# the sample host container and the chaos component registered there.
#   scripts/soak.sh [chaos options]   e.g. --road 10000 --registry 1000 --bounds 50,50,50,64
# Failure lines also go to $build/soak-failures.txt; the process figures to stdout.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
if [ "${1:-}" != "--in-display" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j "$(nproc)" --target chaos >/dev/null
fi
prefix="${SOAK_PREFIX:-$build/soak-prefix}"
winpath() { echo "Z:${1//\//\\}"; }
run() {
  for dll in "$build/TxCOGUI.dll" "$build/samples/host/TxSampleHost.dll" "$build/samples/zoo/TxSampleChaos.dll"; do
    wine regsvr32 /s "$(winpath "$dll")" </dev/null
  done
  echo "Host: $(nproc) cores, $(wine --version), load $(cut -d' ' -f1-3 /proc/loadavg)"
  wine "$build/tools/chaos.exe" --failures "$(winpath "$build/soak-failures.txt")" "$@" </dev/null
}
# Inside the display this script runs itself again to do the work.
if [ "${1:-}" = "--in-display" ]; then
  shift
  run "$@"
  exit
fi
TX_PREFIX="$prefix" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/scripts/in-display.sh" "$build" bash "$0" --in-display "$@"
