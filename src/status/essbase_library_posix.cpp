// There is no standard place for the Essbase client library outside
// Windows, so the user names it; without a name, remote servers cannot be
// checked.
#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include "status/essbase_entry_points.h"

namespace kelvary {
namespace {

constexpr const char* kLibraryVariable = "KELVARY_ESSBASE_LIBRARY";
constexpr std::string_view kNoLibraryNamed =
    "KELVARY_ESSBASE_LIBRARY does not name the Essbase client library";
constexpr std::string_view kLoadFailed = "the Essbase library cannot be loaded: ";

}  // namespace

void KeepCurrentFolderOutOfLibrarySearch() {}  // dlopen never looks there for a bare name

LoadedEssbase LoadEssbaseLibrary() {
  const char* path = std::getenv(kLibraryVariable);
  if (path == nullptr || *path == '\0') return {nullptr, std::string(kNoLibraryNamed)};
  void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return {nullptr, std::string(kLoadFailed) + dlerror()};
  return BindEssbaseLibrary([module](const char* name) { return dlsym(module, name); },
                            [module] { dlclose(module); });
}

}  // namespace kelvary
