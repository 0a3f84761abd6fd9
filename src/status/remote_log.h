#pragma once
// Fetching an application's log from a server reached over the network: one
// API instance and one login per check, the log downloaded into a local copy
// in the executable's directory.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "status/check_driver.h"

namespace kelvary {

inline constexpr std::size_t kInitRecordSize = 372;
using EssbaseInitRecord = std::array<unsigned char, kInitRecordSize>;

// The record EsbInit is given, built afresh for every check.
EssbaseInitRecord BuildInitRecord();

// Statuses of a refused login that have their own message.
inline constexpr std::int32_t kStatusLoginOk = 0;
inline constexpr std::int32_t kStatusUnknownServer = 1042003;
inline constexpr std::int32_t kStatusWrongPassword = 1051005;
inline constexpr std::int32_t kStatusUnknownUser = 1051015;

// The message box text for a refused login.
std::string LoginRefusedMessage(std::int32_t status);

// The executable's directory, the separator, server, "_", application,
// ".log", where every character of the server name that a file name cannot
// hold is replaced; path text. Empty when the result would not lie directly
// in the executable's directory.
std::string LocalCopyPath(const CheckDependencies& deps, std::string_view server,
                          std::string_view application);

enum class RemoteFetch {
  LogReady,     // local_path names the copy; whether it is there shows when it is opened
  CheckEnded,   // the login was refused; the message and the controls are done
  Failed,       // no safe copy name; failure says why
  LibraryUnavailable,  // the library could not be loaded; failure says why
  DownloadFailed,  // the library reported a failed download of local_path; failure says why
  Abandoned,    // the window went away while the message was open
};

struct RemoteLogResult {
  RemoteFetch outcome;
  std::string local_path;
  std::string failure;
};

RemoteLogResult FetchRemoteLog(CheckView& view, const CheckDependencies& deps,
                               std::string_view server, std::string_view application);

}  // namespace kelvary
