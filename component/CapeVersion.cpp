#include "component/CapeVersion.h"
#include <cstdlib>
#include "TxCOGUI.h"
#include "external/CapeOpen.h"

namespace CapeVersion {

long parseCOVersion(const std::string& registered) {
  std::string text = registered;
  // Trailing blanks go only when nothing but blanks follows the first blank.
  size_t blank = text.find(' ');
  if (blank != std::string::npos && text.find_first_not_of(' ', blank) == std::string::npos) text.resize(blank);

  if (!text.empty()) {
    char* end = nullptr;
    double number = strtod(text.c_str(), &end);
    if (end == text.c_str() + text.size()) {
      long hundredths = static_cast<long>(number * 100);
      if (hundredths == 90 || hundredths == 93 || hundredths == 100 || hundredths == 110) return hundredths;
    }
  }

  // Not a plain number: guess from the digits that the known versions show.
  size_t stop = text.find('.');
  std::string tail = stop == std::string::npos ? text : text.substr(stop + 1);
  if (tail.find('9') != std::string::npos) return tail.find('3') != std::string::npos ? 93 : 90;
  if (text.find(".1") != std::string::npos) return 110;
  return 100;
}

CTxBSTR versionText(long version) {
  switch (version) {
    case 0: return CTxBSTR("none");
    case 90: return CTxBSTR("0.9");
    case 93: return CTxBSTR("0.93");
    case 100: return CTxBSTR("1.0");
    case 110: return CTxBSTR("1.1");
    case 1000: return CTxBSTR("not supported");
    default: return CTxBSTR(static_cast<double>(version) / 100.0);
  }
}

bool isVersionSupported(long version, long category) {
  if (version == 90) return category != catf_UnitOperation;
  return version != 0 && version != 110 && version != 1000;
}

const IID& iidFor(long category, long version) {
  if (category == catf_ThermoSystem) return IID_ICapeThermoSystem;
  if (category == catf_PropertyPackage) return IID_ICapeThermoPropertyPackage;
  if (category == catf_UnitOperation && version == 100) return IID_ICapeUnit;
  return IID_IDispatch;
}

}  // namespace CapeVersion
