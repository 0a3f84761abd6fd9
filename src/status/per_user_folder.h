#pragma once
// Where Kelvary writes when the folder it was installed in is not the
// user's to write (Program Files, a read-only share): the user's own folder
// for Kelvary.
#include <string>

namespace kelvary {

// %LOCALAPPDATA%\Kelvary on Windows, $XDG_DATA_HOME/kelvary (by default
// ~/.local/share/kelvary) elsewhere; not made here. Empty when the system
// names no such folder. Implemented by the platform layer.
std::string PerUserDirectory();

// The folder downloaded logs are copied to: `program_directory` when a file
// can be created there and the Essbase library can be handed a path in it
// (its 8-bit calls need a name in the system code page), else
// PerUserDirectory(), made if missing. The window and kelvary-cli choose it
// the same way. Paths are path text (base/path_text.h).
std::string LogCopyDirectory(const std::string& program_directory);

}  // namespace kelvary
