#!/usr/bin/env bash
# Installs what is missing, builds, then registers TxCOGUI.dll in the build's private Wine
# prefix and drives one CCAPEGUI object from a script, printing each step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

if [ "${1:-}" != "--inside" ]; then
  "$root/scripts/install-deps.sh"
  BUILD_DIR="$build" "$root/scripts/build.sh"
  BUILD_DIR="$build" exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$root/scripts/in-display.sh" "$build" bash "$root/scripts/demo.sh" --inside
fi

# Inside the X display, with WINEPREFIX set to the build's own prefix by in-display.sh.
dll="$(winepath -w "$build/TxCOGUI.dll" 2>/dev/null)"
work="$build/demo"
mkdir -p "$work"

echo "== 1. Register the DLL: regsvr32 /s $dll"
wine regsvr32 /s "$dll"
echo "   registered in $WINEPREFIX"

echo "== 2. What the registry now says about the class"
for key in 'HKCR\TxShowCOCATIDs.CCAPEGUI\CLSID' \
           'HKCR\CLSID\{B086B465-F0EA-11D2-9710-00A0C98C26CE}\InprocServer32' \
           'HKCR\TypeLib\{F3E12363-E6AD-11D2-9702-00A0C98C26CE}\1.0\409\win64'; do
  wine reg query "$key" 2>/dev/null | tr -d '\r' | sed -e '/^$/d' -e 's/^/   /' || true
done

echo "== 3. Drive one object from JScript (cscript), late-bound by name"
cat >"$work/demo.js" <<'EOF'
function show(what, value) { WScript.Echo("   " + what + " = " + (value === "" ? "(empty)" : value)); }
try {
  var gui = new ActiveXObject("TxShowCOCATIDs.CCAPEGUI");
  WScript.Echo("   created TxShowCOCATIDs.CCAPEGUI");
  show("compCOversion of a new object", gui.compCOversion);
  show("GetCATID() of a new object", gui.GetCATID());
  gui.serverName = "\\\\plant-server";
  show("serverName after setting it", gui.serverName);
  gui.compCOversion = 100;
  show("compCOversion after setting it", gui.compCOversion);
  gui.setAlias("Steam tables", "Demo property system");
  show("GetItemAlias() after setAlias", gui.GetItemAlias());
  show("GetParentAlias() after setAlias", gui.GetParentAlias());
  gui.enableWarnings = true;
  WScript.Echo("   enableWarnings set; releasing the object");
  gui = null;
} catch (e) {
  WScript.Echo("   FAILED: " + e.message + " (0x" + (e.number >>> 0).toString(16) + ")");
  WScript.Quit(1);
}
WScript.Quit(0);
EOF
wine cscript //nologo "$(winepath -w "$work/demo.js" 2>/dev/null)" | tr -d '\r'
echo "== Done: the DLL is registered and answered every call."
