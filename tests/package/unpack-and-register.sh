#!/usr/bin/env bash
# The download as a user gets it: cpack's zip unpacked elsewhere, its DLL registered from
# there and driven by its own cohost; then the build's DLL registered again for the others.
set -euo pipefail
build="$1"
wine="$build/wine-run"
rm -rf "$build/package" "$build/package-test" && mkdir -p "$build/package-test"
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)
zip=$(ls "$build"/package/TxCOGUI-*-win64.zip)
(cd "$build/package-test" && cmake -E tar xf "$zip")
folder="$build/package-test/$(basename "$zip" .zip)"
for f in TxCOGUI.dll cohost.exe TxCOGUI.tlb INSTALL.txt include/TxCOGUI.h include/TxCOGUI_i.c; do
  [ -s "$folder/$f" ] || { echo "missing in the zip: $f"; exit 1; }
done
register() { "$wine" regsvr32 /s "$("$wine" winepath -w "$1" | tr -d '\r')"; }
restore() { register "$build/TxCOGUI.dll"; }
trap restore EXIT
register "$folder/TxCOGUI.dll"
server=$("$wine" reg query 'HKCR\CLSID\{B086B465-F0EA-11D2-9710-00A0C98C26CE}\InprocServer32' /ve | tr -d '\r')
echo "$server" | grep -qi 'package-test.*TxCOGUI.dll' || { echo "not registered from the zip: $server"; exit 1; }
"$wine" "$folder/cohost.exe" info TxSamples.Mixer.1 --batch | tr -d '\r' | grep -q 'Sample Mixer'
echo "registered and used from $folder"
