// TxUtils: what the system learns once per process about its host (whether it runs inside
// the Tarnix simulator, and which version) and the compound list "TxpCASnos.txt" that
// lies beside the DLL.
#pragma once
#include <windows.h>
#include <oleauto.h>

class TxUtils {
 public:
  static const int kSlotCount = 1768;  // slots 1 to 1768; slot 0 stays empty
  static const int kExpectedCompounds = 1764;

  // True when "tarnix.exe" is loaded with a readable version. The first call also reads
  // the compound list.
  static bool isTarnixHost();
  // major * 100 + minor * 10 of the host executables' file versions; 0 when not loaded.
  static int tarnixVersion();
  static int sketchVersion();

  // Slot of a compound identifier (1..999 -> 1..999, 3000..3768 -> 1000..1768), or 0.
  static int slotOf(int identifier);
  // The stored texts of a slot; null when the slot holds none.
  static BSTR compoundName(int slot);
  static BSTR casNumber(int slot);
  static int casCount();

  // Empties the tables and reads "TxpCASnos.txt" from the DLL's folder again, with the
  // reports of the first reading.
  static void readCompoundList();

 private:
  static void initialize();
};
