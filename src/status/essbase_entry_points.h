#pragma once
// The Essbase API's five exports as C functions, and the EssbaseLibrary made
// of them once a platform loader has found them in a module. The stand-in
// libraries of our tests export the same declarations.
#include <cstdint>
#include <functional>
#include <string_view>

#include "status/essbase_library.h"

// The API's calling convention: stdcall on 32-bit Windows, where it differs
// from the C convention; the platform's C convention everywhere else.
#if defined(_WIN32) && !defined(_WIN64)
#define KELVARY_ESSBASE_CALL __stdcall
#else
#define KELVARY_ESSBASE_CALL
#endif

namespace kelvary {

struct EssbaseEntryPoints {
  using InitFn = std::int32_t(KELVARY_ESSBASE_CALL*)(void*, std::uint32_t*);
  using LoginFn = std::int32_t(KELVARY_ESSBASE_CALL*)(std::uint32_t, const char*, const char*,
                                                      const char*, std::uint16_t*, std::uint32_t*);
  using GetLogFileFn = std::int32_t(KELVARY_ESSBASE_CALL*)(std::uint32_t, const char*,
                                                           std::uint32_t, const char*);
  using HandleFn = std::int32_t(KELVARY_ESSBASE_CALL*)(std::uint32_t);

  InitFn EsbInit = nullptr;
  LoginFn EsbLogin = nullptr;
  GetLogFileFn EsbGetLogFile = nullptr;
  HandleFn EsbLogout = nullptr;
  HandleFn EsbTerm = nullptr;
};

// Finds an export by name in the loaded module; null when it is missing.
using FindExport = std::function<void*(const char* name)>;

// Resolves the five exports through `find`. On success the library owns the
// module through `release`, which it calls when it goes; on failure
// `release` is called at once and the error names the missing export.
LoadedEssbase BindEssbaseLibrary(const FindExport& find, std::function<void()> release);

}  // namespace kelvary
