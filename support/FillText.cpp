#include "support/FillText.h"

std::string fillText(const char* format, std::initializer_list<std::string> args) {
  std::string result;
  auto next = args.begin();
  for (const char* c = format; c && *c; ++c) {
    if (c[0] == '%' && c[1] == 's' && next != args.end()) {
      result += *next++;
      ++c;
    } else {
      result += *c;
    }
  }
  return result;
}
