#pragma once
// The store kept as a Windows registry export (.reg, "Windows Registry
// Editor Version 5.00"), so that `reg export` on Windows and this file
// carry the same server definitions:
//
//   [HKEY_CURRENT_USER\Software\Brennic\Kelvary\Servers\PROD]
//   "Path"="d:\\essbase"
//
// Text values are quoted with \\ and \" escaped; dword: and hex(N): values
// are kept as written. Read: 8-bit text or UTF-16LE with a byte-order mark
// (regedit's export), CR LF or LF line ends. Written: CR LF, in the file's
// own encoding: a UTF-16 file is read into UTF-8 text and written back as
// UTF-16, so that no character is lost on the way.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "servers/registry_tree.h"

namespace kelvary {

// What makes a file unreadable as a store, and on which line (from 1).
struct RegFileProblem {
  std::size_t line = 0;
  std::string reason;
};

enum class RegFileEncoding { EightBit, Utf16Le };

struct ParsedRegFile {
  RegistryTree tree;
  std::optional<RegFileProblem> problem;  // then `tree` is empty
  RegFileEncoding encoding = RegFileEncoding::EightBit;
};

// An empty file is an empty store.
ParsedRegFile ParseRegFile(std::string_view bytes, const CaseMap& cases);

// The whole file for `tree`; nothing when a key or value name holds a line
// break, which the format cannot carry, or when UTF-16 is asked for and a
// text is not UTF-8.
std::optional<std::string> FormatRegFile(const RegistryTree& tree,
                                         RegFileEncoding encoding = RegFileEncoding::EightBit);

}  // namespace kelvary
