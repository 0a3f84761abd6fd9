#include <windows.h>

#include "base/case_map.h"

namespace kelvary {
namespace {

// Asks the system how each byte of the ANSI code page changes case, once.
CaseMap MakeSystemCaseMap() {
  CaseMap::Table upper{};
  CaseMap::Table lower{};
  for (int c = 0; c < 256; ++c) {
    char up = static_cast<char>(c);
    char down = static_cast<char>(c);
    if (c != 0) {
      CharUpperBuffA(&up, 1);
      CharLowerBuffA(&down, 1);
    }
    upper[c] = static_cast<unsigned char>(up);
    lower[c] = static_cast<unsigned char>(down);
  }
  return CaseMap(upper, lower);
}

}  // namespace

const CaseMap& SystemCaseMap() {
  static const CaseMap map = MakeSystemCaseMap();
  return map;
}

}  // namespace kelvary
