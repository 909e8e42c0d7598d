// Identifiers of the synthetic classes that the catalogue benchmark registers: one GUID
// family per kind, the index in the last four bytes, so that every run finds the classes
// of the previous one again.
#pragma once
#include <windows.h>
#include <string>
#include "framework/GuidText.h"

namespace bench {

enum class Kind : unsigned long { Unit = 1, System = 2, Unrelated = 3 };

const int kSystemCount = 20;
const int kPackagesPerSystem = 10;

inline GUID syntheticClsid(Kind kind, unsigned long index) {
  GUID g = {0x5E1C7000UL + static_cast<unsigned long>(kind), 0xB3A7, 0x4C4E,
            {0x9F, 0x51, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
  g.Data4[4] = static_cast<unsigned char>(index >> 24);
  g.Data4[5] = static_cast<unsigned char>(index >> 16);
  g.Data4[6] = static_cast<unsigned char>(index >> 8);
  g.Data4[7] = static_cast<unsigned char>(index);
  return g;
}

// The index of a synthetic property system's CLSID, or -1 for any other class.
inline int systemIndex(REFCLSID clsid) {
  GUID base = syntheticClsid(Kind::System, 0);
  if (clsid.Data1 != base.Data1 || clsid.Data2 != base.Data2 || clsid.Data3 != base.Data3) return -1;
  for (int i = 0; i < 7; ++i)
    if (clsid.Data4[i] != base.Data4[i]) return -1;
  return clsid.Data4[7] < kSystemCount ? clsid.Data4[7] : -1;
}

// The name a synthetic system gives its package 'j' (also its registry key).
inline std::string packageName(int j) { return "Bench Package " + std::to_string(j); }

}  // namespace bench
