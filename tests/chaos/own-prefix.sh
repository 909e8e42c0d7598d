#!/usr/bin/env bash
# The chaos smoke's own Wine prefix and X display: its populations and its component's
# registration would show in every other test's catalogue, and two Wine servers on one
# display disturb each other's windows, so the smoke runs beside the other tests with a
# prefix, a server and a display of its own.
#   own-prefix.sh setup BUILD     make the prefix once, start its display and server, register the DLLs
#   own-prefix.sh teardown BUILD  stop that server and display
#   own-prefix.sh run BUILD PROGRAM [ARGUMENTS]   run a Windows program there (the tests' emulator)
set -euo pipefail
action="$1" build="$2"
shift 2
export WINEPREFIX="$build/chaos-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
state="$build/chaos-display"
stop_display() {
  if [ -s "$state.pid" ]; then kill "$(cat "$state.pid")" 2>/dev/null || true; fi
  rm -f "$state" "$state.pid"
}
case "$action" in
  run)
    # (Listing the tests, with no display of its own yet, uses the caller's.)
    if [ -s "$state" ]; then export DISPLAY=":$(cat "$state")"; fi
    TX_WINEPREFIX="$WINEPREFIX" exec "$build/wine-run" "$@" ;;
  teardown)
    DISPLAY=":$(cat "$state" 2>/dev/null)" wineserver -k 2>/dev/null || true
    stop_display
    exit 0 ;;
esac
stop_display
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state" </dev/null >/dev/null 2>&1 &
echo $! >"$state.pid"
for _ in $(seq 100); do [ -s "$state" ] && break; sleep 0.1; done
[ -s "$state" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$state")"
"$(dirname "$0")/../../scripts/prepare-prefix.sh" "$WINEPREFIX"
# Started (once the one that made the prefix has ended) and primed without the test's
# output: Wine's helper processes outlive the test.
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
for dll in "$build/TxCOGUI.dll" "$build/samples/host/TxSampleHost.dll"; do
  wine regsvr32 /s "$(wine winepath -w "$dll" | tr -d '\r')" </dev/null
done
