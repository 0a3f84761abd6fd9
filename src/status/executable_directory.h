#pragma once
// The folder the running program lies in: where the settings file lives and
// where remote logs are copied to.
#include <string>

namespace kelvary {

// Without a trailing separator, except at the root of a drive ("C:\") or
// of the file system ("/"). Implemented by the platform layer.
std::string ExecutableDirectory();

}  // namespace kelvary
