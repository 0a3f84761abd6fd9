#include "status/plain_name.h"

#include <cstdio>

namespace kelvary {
namespace {

// Besides the control characters, what a Windows file name cannot hold.
constexpr std::string_view kNotInFileNames = "\\/:*?\"<>|";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr char kReplacement = '_';
constexpr std::string_view kCurrentFolder = ".";
constexpr std::string_view kParentFolder = "..";
constexpr std::string_view kRefusalStart = "The application name must not ";

bool IsControl(char c) { return static_cast<unsigned char>(c) < kFirstPrintable; }

bool IsNotInFileNames(char c) { return IsControl(c) || kNotInFileNames.find(c) != std::string_view::npos; }

std::string CharacterRefusal(char c) {
  if (IsControl(c)) {
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
    return std::string(kRefusalStart) + "contain a control character (" + code + ").";
  }
  return std::string(kRefusalStart) + "contain the character '" + c + "'.";
}

}  // namespace

std::string ApplicationNameRefusal(std::string_view name) {
  for (const char c : name) {
    if (IsNotInFileNames(c)) return CharacterRefusal(c);
  }
  if (name == kCurrentFolder || name == kParentFolder) {
    return std::string(kRefusalStart) + "be \"" + std::string(name) + "\".";
  }
  return {};
}

std::string FileNamePart(std::string_view text) {
  std::string part(text);
  for (char& c : part) {
    if (IsNotInFileNames(c)) c = kReplacement;
  }
  return part;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == kCurrentFolder || name == kParentFolder) return false;
  for (const char c : name) {
    if (IsNotInFileNames(c)) return false;
  }
  return true;
}

}  // namespace kelvary
