// A stand-in for the Essbase client library with the real one's five
// exports. It knows a few fixture servers and users, answers a login with the
// status a real server would give them, "downloads" a log by copying a
// fixture file, and appends every call with its arguments to the file named
// by KELVARY_STANDIN_RECORD, so tests see what our loader really passed.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "essbase_standin.h"
#include "status/essbase_entry_points.h"

#ifdef _WIN32
#include <windows.h>
// Exported by essbase_standin.def, under the names without decoration.
#define STANDIN_EXPORT extern "C"
#else
#include <cstdlib>
#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace standin = kelvary::test::standin;

namespace {

// Read through the operating system, not a C runtime's copy of the
// environment: the tests set these after this library's runtime started.
std::string Environment(const char* name) {
#ifdef _WIN32
  char value[1024];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
#else
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
#endif
}

void Record(const std::string& line) {
  const std::string path = Environment(standin::kRecordVariable);
  if (path.empty()) return;
  if (std::FILE* file = std::fopen(path.c_str(), "ab")) {
    std::fputs((line + "\n").c_str(), file);
    std::fclose(file);
  }
}

std::int32_t LoginStatus(const std::string& server, const std::string& user,
                         const std::string& password) {
  if (server == standin::kRefusingServer) return standin::kOtherStatus;
  if (server == standin::kFailingServer) return standin::kNegativeStatus;
  if (server != standin::kServer) return standin::kUnknownServer;
  if (user != standin::kUser) return standin::kUnknownUser;
  if (password != standin::kPassword) return standin::kWrongPassword;
  return 0;
}

// A missing fixture leaves the destination as it was, as a failed download does.
bool CopyFile(const std::string& from, const std::string& to) {
  std::error_code error;
  return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
}

}  // namespace

STANDIN_EXPORT std::int32_t KELVARY_ESSBASE_CALL EsbInit(void* init_record, std::uint32_t* instance) {
  Record("EsbInit|" + standin::Hex(static_cast<const unsigned char*>(init_record), standin::kInitRecordBytes));
  *instance = standin::kInstance;
  return 0;
}

STANDIN_EXPORT std::int32_t KELVARY_ESSBASE_CALL EsbLogin(std::uint32_t instance, const char* server,
                                                         const char* user, const char* password,
                                                         std::uint16_t* count, std::uint32_t* context) {
  Record("EsbLogin|" + std::to_string(instance) + "|" + server + "|" + user + "|" + password);
  const std::int32_t status = LoginStatus(server, user, password);
  if (status == 0) {
    *count = standin::kApplicationCount;
    *context = standin::kContext;
  }
  return status;
}

STANDIN_EXPORT std::int32_t KELVARY_ESSBASE_CALL EsbGetLogFile(std::uint32_t context, const char* application,
                                                              std::uint32_t zero, const char* local_path) {
  Record("EsbGetLogFile|" + std::to_string(context) + "|" + application + "|" + std::to_string(zero) + "|" +
         local_path);
  if (context != standin::kContext) return standin::kBadContext;
  const std::string fixtures = Environment(standin::kLogsVariable);
  const std::string fixture = fixtures + standin::kSeparator + application + ".log";
  return CopyFile(fixture, local_path) ? 0 : standin::kNoSuchLog;
}

STANDIN_EXPORT std::int32_t KELVARY_ESSBASE_CALL EsbLogout(std::uint32_t context) {
  Record("EsbLogout|" + std::to_string(context));
  return 0;
}

#ifndef STANDIN_WITHOUT_TERM
STANDIN_EXPORT std::int32_t KELVARY_ESSBASE_CALL EsbTerm(std::uint32_t instance) {
  Record("EsbTerm|" + std::to_string(instance));
  return 0;
}
#endif
