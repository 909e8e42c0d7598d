#!/usr/bin/env bash
# The README's pictures: builds the screenshot program and runs it against the DLL and the
# sample property system, registered in a prefix of their own inside Xvfb. The PNGs land in
# $build/screenshots (copy them to docs/screenshots to publish them).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
if [ "${1:-}" = "--in-display" ]; then
  winpath() { echo "Z:${1//\//\\}"; }
  for dll in "$build/TxCOGUI.dll" "$build/samples/thermo/TxSampleThermo.dll"; do
    wine regsvr32 /s "$(winpath "$dll")" </dev/null
  done
  wine "$build/tools/screenshots.exe" "$(winpath "$build/screenshots")" </dev/null
  exit
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target screenshots TxSampleThermo >/dev/null
TX_PREFIX="$build/screenshots-prefix" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/scripts/in-display.sh" "$build" bash "$0" --in-display
