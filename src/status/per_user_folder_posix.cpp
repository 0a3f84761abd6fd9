#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "status/per_user_folder.h"

namespace kelvary {
namespace {

constexpr const char* kKelvaryFolder = "/kelvary";
constexpr const char* kDefaultDataHome = "/.local/share";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string PerUserDirectory() {
  const std::string data_home = Environment("XDG_DATA_HOME");
  if (!data_home.empty()) return data_home + kKelvaryFolder;
  const std::string home = Environment("HOME");
  return home.empty() ? home : home + kDefaultDataHome + kKelvaryFolder;
}

std::string LogCopyDirectory(const std::string& program_directory) {
  if (access(program_directory.c_str(), W_OK) == 0) return program_directory;
  const std::string per_user = PerUserDirectory();
  if (per_user.empty()) return program_directory;
  // ~/.local/share may not exist yet on a fresh account.
  std::error_code ignored;
  std::filesystem::create_directories(per_user, ignored);
  return per_user;
}

}  // namespace kelvary
