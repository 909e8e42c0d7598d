#!/usr/bin/env bash
# Runs a command inside the X display of xvfb-run with one persistent wineserver for
# the build tree's prefix (or TX_PREFIX), and stops that server (and only it) afterwards.
set -uo pipefail
build="$1"; shift
export WINEPREFIX="${TX_PREFIX:-$build/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$(dirname "$0")/prepare-prefix.sh" "$WINEPREFIX"
wineserver -p
# Prime it: without one finished program, Wine's helper processes keep output pipes open.
wine cmd /c exit </dev/null >/dev/null 2>&1
"$@"
rc=$?
wineserver -k 2>/dev/null
exit $rc
