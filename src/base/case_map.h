#pragma once
// Upper- and lower-casing of 8-bit text in one code page. Logs, registry
// values and the application name are all bytes of the system's ANSI code
// page; a CaseMap says how those bytes change case. Windows builds one from
// the system (CharUpperBuffA/CharLowerBuffA); elsewhere it is Windows-1252.
#include <array>
#include <string>
#include <string_view>

namespace kelvary {

class CaseMap {
 public:
  using Table = std::array<unsigned char, 256>;
  CaseMap(const Table& upper, const Table& lower, bool utf8 = false);

  // ASCII letters plus the accented pairs of Windows-1252; sharp s stays.
  static const CaseMap& Windows1252();
  // Text in UTF-8: a text that is well-formed UTF-8 changes the case of
  // its Latin, Greek and Cyrillic letters; in any other text only ASCII
  // letters change, so that two texts that differ in more than case never
  // become equal (a code page's table applied to UTF-8 bytes would turn
  // one letter into another).
  static const CaseMap& Utf8();

  void UpperInPlace(std::string& text) const;
  void LowerInPlace(std::string& text) const;
  // `out` becomes `text` upper-cased, in one pass over it.
  void AssignUpper(std::string& out, std::string_view text) const;
  std::string Upper(std::string_view text) const;
  std::string Lower(std::string_view text) const;

  // Whether upper-casing `text` changes each byte on its own: always in a
  // code page, and in UTF-8 when the text is all ASCII.
  bool UppersByteByByte(std::string_view text) const;
  // Whether ASCII changes case as in ASCII (letters alone) and no byte
  // beyond ASCII upper-cases into ASCII: in an upper-cased text, every
  // ASCII byte but a letter then stands where it stood.
  bool UppersAsciiAlone() const { return ascii_alone_; }

 private:
  Table upper_;
  Table lower_;
  bool utf8_;
  // The tables change ASCII letters, and nothing else below 0x80, as ASCII
  // does: ASCII text can then be mapped eight bytes at a time.
  bool ascii_as_usual_;
  bool ascii_alone_;
};

// The map of the machine's ANSI code page: the system's own on Windows,
// Windows-1252 elsewhere. Implemented by the platform layer.
const CaseMap& SystemCaseMap();

}  // namespace kelvary
