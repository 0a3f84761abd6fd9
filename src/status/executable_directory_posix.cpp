#include <unistd.h>

#include <string>

#include "status/executable_directory.h"

namespace kelvary {
namespace {

constexpr const char* kSelfLink = "/proc/self/exe";
constexpr std::size_t kFirstBufferSize = 256;
constexpr char kSeparator = '/';
// Where a program that cannot find itself looks instead.
constexpr const char* kCurrentDirectory = ".";

}  // namespace

std::string ExecutableDirectory() {
  std::string path(kFirstBufferSize, '\0');
  for (;;) {
    const ssize_t length = readlink(kSelfLink, path.data(), path.size());
    if (length < 0) return kCurrentDirectory;
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t last = path.find_last_of(kSeparator);
  if (last == std::string::npos) return kCurrentDirectory;
  path.resize(last == 0 ? 1 : last);  // the root keeps its "/"
  return path;
}

}  // namespace kelvary
