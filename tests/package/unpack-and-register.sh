#!/usr/bin/env bash
# The download as a user gets it: cpack's zips unpacked elsewhere; the binaries stripped and
# small, their debug information in the symbols zip; the DLL registered from there and driven
# by its own cohost; the example host built from the zip's include/ alone and run against a
# sample unit. Then the build's DLL is registered again for the others.
# Arguments: the build folder, answerboxes.exe (runs a program and answers its boxes).
set -euo pipefail
build="$1"
answer="$2"
wine="$build/wine-run"
fail() { echo "$*"; exit 1; }
rm -rf "$build/package" "$build/package-test" && mkdir -p "$build/package-test/symbols"
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)
zip=$(ls "$build"/package/TxCOGUI-*-win64.zip)
version=$(basename "$zip" | sed -E 's/^TxCOGUI-(.*)-win64\.zip$/\1/')
(cd "$build/package-test" && cmake -E tar xf "$zip")
(cd "$build/package-test/symbols" && cmake -E tar xf "${zip%.zip}-symbols.zip")
folder="$build/package-test/$(basename "$zip" .zip)"
symbols="$build/package-test/symbols/$(basename "$zip" .zip)"  # unzipped over the download, beside the binaries
[ -z "$(find "$folder" -name '*.debug')" ] || fail "debug information in the download itself"
for f in TxCOGUI.dll cohost.exe TxCOGUI.tlb INSTALL.txt CHANGELOG.md include/TxCOGUI.h include/TxCOGUI_i.c \
         include/ExtnContainer.h include/TxCOGUIHost.h examples/minimal_host.cpp; do
  [ -s "$folder/$f" ] || fail "missing in the zip: $f"
done
newest=$(grep -m1 '^## ' "$folder/CHANGELOG.md")
[[ "$newest" == "## $version "* ]] || fail "the zip is $version, CHANGELOG.md's newest heading: $newest"

# Stripped, within the limits, each with the link to its .debug file in the symbols zip.
for f in TxCOGUI.dll:2500000 cohost.exe:4000000; do
  name=${f%:*} limit=${f#*:}
  size=$(stat -c %s "$folder/$name")
  echo "$name: $size bytes (limit $limit), $name.debug: $(stat -c %s "$symbols/$name.debug") bytes"
  [ "$size" -le "$limit" ] || fail "$name is over its limit"
  sections=$(x86_64-w64-mingw32-objdump -h "$folder/$name")
  ! grep -q '\.debug_info' <<<"$sections" || fail "$name still carries debug information"
  grep -q '\.gnu_debuglink' <<<"$sections" || fail "$name has no link to $name.debug"
  x86_64-w64-mingw32-objdump -h "$symbols/$name.debug" | grep -q '\.debug_info' || fail "$name.debug has no debug information"
done

windows() { local path="Z:$1"; echo "${path//\//\\}"; }
register() { "$wine" regsvr32 /s "$(windows "$1")"; }
restore() { register "$build/TxCOGUI.dll"; }
trap restore EXIT

# The example, built from the zip's headers alone, meanwhile.
example="$build/package-test/minimal_host.exe"
x86_64-w64-mingw32-g++ -Wall -Wextra -Werror -I "$folder/include" "$folder/examples/minimal_host.cpp" \
  "$folder/include/TxCOGUI_i.c" -municode -static -lole32 -loleaut32 -luuid -o "$example" &
compiling=$!
# And the second compiler reads it as an integrator's clang would (MinGW's C++ library).
reading=""
if command -v clang++ >/dev/null; then
  cxxdirs=$(x86_64-w64-mingw32-g++ -v -E -x c++ - </dev/null 2>&1 | grep -E '^ .*include/c\+\+' | sed 's/^ /-isystem /')
  # shellcheck disable=SC2086
  clang++ --target=x86_64-w64-mingw32 -fsyntax-only -nostdinc++ $cxxdirs -Wall -Wextra -Werror \
    -I "$folder/include" "$folder/examples/minimal_host.cpp" &
  reading=$!
fi

register "$folder/TxCOGUI.dll"
server=$("$wine" reg query 'HKCR\CLSID\{B086B465-F0EA-11D2-9710-00A0C98C26CE}\InprocServer32' /ve | tr -d '\r')
echo "$server" | grep -qi 'package-test.*TxCOGUI.dll' || fail "not registered from the zip: $server"
"$wine" "$folder/cohost.exe" info TxSamples.Mixer.1 --batch | tr -d '\r' | grep -q 'Sample Mixer'

# cohost check from the zip: the samples load, the planted registrations are errors (exit 1).
status=0
report=$("$wine" "$folder/cohost.exe" check 2>/dev/null | tr -d '\r') || status=$?
[ "$status" -eq 1 ] || fail "cohost check exited $status, not 1 for the planted errors"
grep -Eq '^OK +TxSamples\.StreamInitUnit\.1 ' <<<"$report" || fail "check did not pass the sample unit: $report"
grep -Eq '^ERROR +TxSamples\.Zoo\.NoServer\.1 +no server is registered' <<<"$report" || fail "check missed a planted error"
grep -Eq '^[0-9]+ components checked: [1-9][0-9]* errors' <<<"$report" || fail "no summary with the errors: $report"

wait $compiling || fail "the example does not build from the zip's include/"
[ -z "$reading" ] || wait "$reading" || fail "clang++ does not read the example cleanly"
run_example() {  # PROGID CASEFILE: its exit status in 'status', its output in 'out'
  status=0
  out=$("$wine" "$(windows "$answer")" "$(windows "$example")" "$1" "$(windows "$2")" 2>&1 | tr -d '\r') || status=$?
  echo "$out"
}
case_file="$build/package-test/case.cof"
run_example TxSamples.StreamInitUnit.1 "$case_file"
[ "$status" -eq 0 ] || fail "the example failed ($status)"
! grep -q '^box:' <<<"$out" || fail "the example's DLL showed a box"
[ "$(head -c 8 "$case_file" | od -An -tx1 | tr -d ' \n')" = d0cf11e0a1b11ae1 ] || fail "the case is no compound file"
# The component's stream, named in the file's directory (UTF-16).
grep -qaP 'C\x00A\x00P\x00E\x00O\x00P\x00E\x00N\x00' "$case_file" || fail "no CAPEOPEN stream in the case"

run_example TxSamples.NotRegistered.1 "$build/package-test/unregistered.cof"
[ "$status" -eq 1 ] || fail "the example with an unregistered ProgID exited $status, not 1"
grep -q "^box: .*ProgID .* is not correctly registered" <<<"$out" || fail "the DLL did not report the ProgID"
grep -Eq '^createComp failed: 0x8[0-9A-F]{7}$' <<<"$out" || fail "no failed call with its HRESULT"
echo "registered and used from $folder; the example built from it and run"
