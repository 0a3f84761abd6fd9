#include "base/case_map.h"

namespace kelvary {
namespace {

constexpr unsigned char kWindows1252Pairs[][2] = {
    {0x8A, 0x9A},  // S with caron
    {0x8C, 0x9C},  // ligature OE
    {0x8E, 0x9E},  // Z with caron
    {0x9F, 0xFF},  // Y with diaeresis
};
constexpr unsigned char kAccentedUpperFirst = 0xC0;  // the block of accented capitals
constexpr unsigned char kAccentedUpperLast = 0xDE;
constexpr unsigned char kMultiplicationSign = 0xD7;  // sits in that block, has no case
constexpr unsigned char kAccentedCaseDistance = 0x20;

CaseMap MakeWindows1252() {
  CaseMap::Table upper{};
  CaseMap::Table lower{};
  for (int c = 0; c < 256; ++c) {
    upper[c] = lower[c] = static_cast<unsigned char>(c);
  }
  auto pair = [&](unsigned char capital, unsigned char small) {
    upper[small] = capital;
    lower[capital] = small;
  };
  for (unsigned char c = 'A'; c <= 'Z'; ++c) pair(c, static_cast<unsigned char>(c + ('a' - 'A')));
  for (int c = kAccentedUpperFirst; c <= kAccentedUpperLast; ++c) {
    if (c != kMultiplicationSign) {
      pair(static_cast<unsigned char>(c), static_cast<unsigned char>(c + kAccentedCaseDistance));
    }
  }
  for (const auto& p : kWindows1252Pairs) pair(p[0], p[1]);
  return CaseMap(upper, lower);
}

void MapInPlace(std::string& text, const CaseMap::Table& table) {
  for (char& c : text) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
}

}  // namespace

const CaseMap& CaseMap::Windows1252() {
  static const CaseMap map = MakeWindows1252();
  return map;
}

void CaseMap::UpperInPlace(std::string& text) const { MapInPlace(text, upper_); }
void CaseMap::LowerInPlace(std::string& text) const { MapInPlace(text, lower_); }

std::string CaseMap::Upper(std::string_view text) const {
  std::string result(text);
  UpperInPlace(result);
  return result;
}

std::string CaseMap::Lower(std::string_view text) const {
  std::string result(text);
  LowerInPlace(result);
  return result;
}

}  // namespace kelvary
