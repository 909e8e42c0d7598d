#!/usr/bin/env bash
# The chaos smoke's own Wine prefix: its populations and its component's registration would
# show in every other test's catalogue, so it runs beside them in a prefix of its own, with
# a server of its own for the run.
#   own-prefix.sh setup BUILD     make the prefix once, start its server, register the DLLs
#   own-prefix.sh teardown BUILD  stop that server
set -euo pipefail
build="$2"
export WINEPREFIX="$build/chaos-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$1" = "teardown" ]; then
  wineserver -k 2>/dev/null || true
  exit 0
fi
"$(dirname "$0")/../../scripts/prepare-prefix.sh" "$WINEPREFIX"
# Started (once the one that made the prefix has ended) and primed without the test's
# output: Wine's helper processes outlive the test.
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
for dll in "$build/TxCOGUI.dll" "$build/samples/host/TxSampleHost.dll"; do
  wine regsvr32 /s "$(wine winepath -w "$dll" | tr -d '\r')" </dev/null
done
