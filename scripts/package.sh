#!/usr/bin/env bash
# Makes the download for Windows users: build/package/TxCOGUI-<version>-win64.zip (the
# DLL, cohost.exe, the C++ header and IIDs, the type library and INSTALL.txt). Installs
# what is missing and builds the two programs first when the build tree lacks them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target TxCOGUI cohost
cd "$build"
cpack --config "$build/CPackConfig.cmake" >/dev/null
ls "$build"/package/TxCOGUI-*-win64.zip
