#pragma once
// The five calls of the Essbase client API that a remote check makes, with
// fixed-width arguments so that the real library and our test stand-ins agree.
#include <cstdint>
#include <memory>
#include <string>

namespace kelvary {

class EssbaseLibrary {
 public:
  virtual ~EssbaseLibrary() = default;
  virtual std::int32_t EsbInit(void* init_record, std::uint32_t* instance) = 0;
  virtual std::int32_t EsbLogin(std::uint32_t instance, const char* server, const char* user,
                                const char* password, std::uint16_t* count,
                                std::uint32_t* context) = 0;
  virtual std::int32_t EsbGetLogFile(std::uint32_t context, const char* application,
                                     std::uint32_t zero, const char* local_path) = 0;
  virtual std::int32_t EsbLogout(std::uint32_t context) = 0;
  virtual std::int32_t EsbTerm(std::uint32_t instance) = 0;
};

struct LoadedEssbase {
  std::unique_ptr<EssbaseLibrary> library;  // null when loading failed
  std::string error;                        // why, for a person, when it failed
};

// Loads the library and its five entry points: esbapin.dll on Windows (never
// from the current folder), the
// shared library named by KELVARY_ESSBASE_LIBRARY elsewhere. The library is
// released when the returned object goes. Implemented by the platform layer.
LoadedEssbase LoadEssbaseLibrary();

// Takes the current folder out of the places where this process looks for
// the libraries it loads; called once at start-up. Nothing to do outside
// Windows.
void KeepCurrentFolderOutOfLibrarySearch();

}  // namespace kelvary
