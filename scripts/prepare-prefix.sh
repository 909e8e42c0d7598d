#!/usr/bin/env bash
# Makes the private Wine prefix given as $1 once (never the user's own ~/.wine).
set -euo pipefail
prefix="${1:?usage: prepare-prefix.sh PREFIX}"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$prefix"
  echo "Creating Wine prefix $prefix (about 10 s, once per build tree)"
  wineboot --init >/dev/null 2>&1 </dev/null
  wineserver -w
fi
# Wine draws the window captions itself, so screenshots show them; and its windows are
# not left to a window manager (Xvfb has none: closing a managed window waits 2 s for one).
for setting in Decorated Managed; do
  if ! grep -q "\"$setting\"=\"N\"" "$prefix/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v "$setting" /d N /f >/dev/null 2>&1 </dev/null
  fi
done
