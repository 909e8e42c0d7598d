#!/usr/bin/env bash
# Makes the download for Windows users: build/package/TxCOGUI-<version>-win64.zip (the
# DLL and cohost.exe stripped, the host's headers and IIDs, the example host, the type
# library, INSTALL.txt and CHANGELOG.md) and TxCOGUI-<version>-win64-symbols.zip (their
# .debug files). Installs what is missing and builds the two programs and their stripped
# copies first when the build tree lacks them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target TxCOGUI cohost ship
cd "$build"
cpack --config "$build/CPackConfig.cmake" >/dev/null
ls -l "$build"/package/TxCOGUI-*-win64*.zip
