#!/usr/bin/env bash
# The main job: installs what is missing, builds, then sets up the embedded default - a
# private Wine prefix of its own with TxCOGUI.dll and the sample CAPE-OPEN components
# registered - and tours them with cohost, the command-line host, printing each step.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

if [ "${1:-}" != "--inside" ]; then
  "$root/scripts/install-deps.sh"
  BUILD_DIR="$build" "$root/scripts/build.sh"
  export TX_PREFIX="$build/demo-prefix"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$root/scripts/in-display.sh" "$build" \
    bash "$root/scripts/demo.sh" --inside
fi

# Inside the X display, WINEPREFIX is the demo's own prefix (in-display.sh).
cohost() {
  echo "\$ cohost $*"
  # Message boxes of the DLL are printed and answered: nobody has to be at the screen.
  # Wine builds the wide command line from the locale: a UTF-8 one passes every script.
  LC_ALL=C.UTF-8 wine "$build/tools/cohost.exe" "$@" --batch 2>&1 | tr -d '\r' | sed 's/^/    /'
  return "${PIPESTATUS[0]}"
}
step() { printf '\n== %s\n' "$*"; }
work="$build/demo"
mkdir -p "$work"

step "1. Register TxCOGUI.dll and the sample components in $WINEPREFIX"
# TxSamplePlanted.dll plants what users meet on real machines: a 32-bit build of a unit in
# the 32-bit registry view, servers of the wrong machine type, a .NET unit whose assembly moved.
for dll in TxCOGUI.dll samples/thermo/TxSampleThermo.dll samples/units/TxSampleUnits.dll samples/host/TxSampleHost.dll \
           samples/planted/TxSamplePlanted.dll; do
  wine regsvr32 /s "$(winepath -w "$build/$dll" 2>/dev/null)"
  echo "    registered $(basename "$dll")"
done

step "1a. The versions of cohost and of the DLL it drives"
cohost --version

step "2. The catalogue, as the Component Manager lists it (property systems, packages, unit operations)"
cohost list --filter 44

step "2a. The unit operations as a 32-bit simulator would list them (the 32-bit registry view)"
cohost list --view 32 --filter 32

step "2b. Search by name, ProgID, description or CLSID"
cohost list --match "light hydrocarbons"

step "3. What the registry says of one component"
cohost info TxSamples.Mixer.1

step "3a. Names in any script: a unit registered as 'Überhitzer ポンプ Насос 𠮷', found in Japanese and in"
printf '    Cyrillic of the other case; a name it does not hold finds nothing\n'
cohost info TxSamples.DualPersistUnit.1
cohost list --match ポンプ --filter 32
cohost list --match НАСОС --filter 32
cohost list --match Жук --filter 32

step "4. Create a property package through its property system, and a unit operation"
cohost create "Water-Ethanol NRTL" --parent TxSamples.ThermoSystem.1 --filter 8
cohost create TxSamples.StreamInitUnit.1 --filter 32

step "5. A unit registered as CAPE-OPEN 1.0 that lacks the 1.0 interface: the DLL says so, naming the interface"
cohost create TxSamples.UnitNo10.1 --filter 32 || echo "    (exit status $?: creation refused, as it should be)"

step "6. The interfaces a property system answers"
cohost probe TxSamples.ThermoSystem.1

step "7. Save a component into a compound file and load it back"
cohost roundtrip TxSamples.StorageUnit.1 --file "$(winepath -w "$work/case.stg" 2>/dev/null)"

step "8. Check every CAPE-OPEN registration of this prefix, in both registry views"
cohost check || echo "    (exit status $?: the samples include version faults, wrong machine types and a moved .NET assembly on purpose)"

printf '\n== Done. The same tool works on Windows: cohost.exe check, list, pick ...\n'
