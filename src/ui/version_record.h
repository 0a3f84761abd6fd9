#pragma once
// The program's version record, as its executable's VERSIONINFO carries it:
// the four file-version numbers and the product name. The update check
// compares the short version text with the one the maker publishes, and the
// about window shows it.
#include <string>

namespace kelvary {

struct VersionRecord {
  unsigned major;
  unsigned minor;
  unsigned patch;  // the third number, which the short text leaves out
  unsigned build;
  std::string product_name;
};

// The record this build writes into its executable; stands in when the
// executable's own cannot be read.
VersionRecord BuiltVersionRecord();

// The first, second and fourth numbers in decimal, joined by ".":
// file version 1.65.0.167 gives "1.65.167".
std::string OwnVersionText(const VersionRecord& record);

}  // namespace kelvary
