#pragma once
// The version record of an executable, read from its VERSIONINFO resource.
#include <optional>
#include <string>

#include "ui/version_record.h"

namespace kelvary {

// The file version's four numbers and the product name of `file` (path text). Empty
// when the file carries no version record or no product name in it.
std::optional<VersionRecord> ReadVersionRecord(const std::string& file);

// The running executable's record; the one this build writes into it when
// the executable's own cannot be read.
VersionRecord OwnVersionRecord();

}  // namespace kelvary
