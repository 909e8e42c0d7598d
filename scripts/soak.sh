#!/usr/bin/env bash
# Builds the chaos driver and runs it in a Wine prefix of its own (never the test prefix:
# its populations and its trace would disturb the tests), inside Xvfb, with TxCOGUI.dll,
# the sample host container and the chaos component registered there.
#   scripts/soak.sh [chaos options]   e.g. --road 10000 --registry 1000 --bounds 50,50,50,50,64
#   scripts/soak.sh --smoke [options] the large smoke: 300 road seeds and 200 registry populations
#                                     (every tenth full), each seed limited to 60 s; the suite
#                                     runs a small one (tests/chaos)
# Failure lines also go to $SOAK_FAILURES ($build/soak-failures.txt); the figures to stdout.
# A crash or hang ends the driver naming its step; the soak goes on after that step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
# SOAK_NO_BUILD=1 runs what BUILD_DIR holds as it is (a copy of the binaries, say, so that
# a long soak is not disturbed by a rebuild).
if [ "${1:-}" != "--in-display" ] && [ -z "${SOAK_NO_BUILD:-}" ]; then
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
  local failures="${SOAK_FAILURES:-$build/soak-failures.txt}" after=() rc
  while :; do
    rc=0
    wine "$build/tools/chaos.exe" --failures "$(winpath "$failures")" "$@" "${after[@]}" </dev/null || rc=$?
    [ "$rc" -eq 3 ] || [ "$rc" -eq 4 ] || return "$rc"
    # "CRASH road 1234 (...)" or "HANG registry 56 (...)": go on after that step.
    read -r _ kind seed _ < <(grep -aE '^(CRASH|HANG) ' "$failures" | tail -1)
    after=(--after "$kind" "$seed")
  done
}
# Inside the display this script runs itself again to do the work.
if [ "${1:-}" = "--in-display" ]; then
  shift
  if [ "${1:-}" = "--smoke" ]; then
    shift
    for sizes in "--road 300 --from 100000" "--registry 200 --from 100000 --full-every 10"; do
      # shellcheck disable=SC2086 # the sizes are words
      run --limit 60 $sizes "$@" || exit
    done
    exit
  fi
  run "$@"
  exit
fi
TX_PREFIX="$prefix" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/scripts/in-display.sh" "$build" bash "$0" --in-display "$@"
