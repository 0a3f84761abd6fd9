#pragma once
// Names that become part of a file name in a check: the application (in the
// log's folder and file name) and the server (in a remote log's local copy).
// Neither may lead a path out of the folder it is meant for.
#include <string>
#include <string_view>

namespace kelvary {

// Why an application name cannot be used, naming the character, or the
// empty text when it is a plain name. Essbase application names never hold
// these characters, so no real application is refused. The empty name is
// not refused here: it names no folder outside the Essbase directory.
std::string ApplicationNameRefusal(std::string_view name);

// The text with every character that a Windows file name cannot hold
// replaced by "_".
std::string FileNamePart(std::string_view text);

// True when `name` is one file name of a folder: no separator or other
// character a file name cannot hold, and neither "." nor "..".
bool IsPlainFileName(std::string_view name);

}  // namespace kelvary
