// esbapin.dll, found where Windows looks for a DLL: the program's own
// folder first, then the system folders and PATH, where the Essbase client
// installs it.
#include <windows.h>

#include <string>

#include "status/essbase_entry_points.h"

namespace kelvary {
namespace {

constexpr const char* kEssbaseDll = "esbapin.dll";
constexpr std::string_view kLoadFailed = "esbapin.dll cannot be loaded, error ";

}  // namespace

LoadedEssbase LoadEssbaseLibrary() {
  HMODULE module = LoadLibraryA(kEssbaseDll);
  if (module == nullptr) return {nullptr, std::string(kLoadFailed) + std::to_string(GetLastError())};
  return BindEssbaseLibrary(
      [module](const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); },
      [module] { FreeLibrary(module); });
}

}  // namespace kelvary
