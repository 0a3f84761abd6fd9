#pragma once
// What the help and about windows show. Both are rebuilt at every showing,
// so an edit the user made in the window is gone the next time.
#include <string>

#include "ui/version_record.h"

namespace kelvary {

// The short guide: three titled sections with their uneven spacing, lines
// ending in CR LF, and no line break after the last sentence.
std::string HelpText();

// The product, its version text, its maker, copyright and licence, and a
// line on what it is for.
std::string AboutText(const VersionRecord& record);

}  // namespace kelvary
