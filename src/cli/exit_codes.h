#pragma once
// kelvary-cli's exit codes, shared by its commands.
namespace kelvary::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;      // e.g. an unknown server
inline constexpr int kExitUnreadable = 2;   // a log that is not a file or cannot be read to its end
inline constexpr int kExitCheckFailed = 3;  // check: the application's log was not found
inline constexpr int kExitLoginRefused = 4; // check: the server refused the login
inline constexpr int kExitDownloadFailed = 5;  // check: the server could not send the log
inline constexpr int kExitLibraryUnavailable = 6;  // check: the Essbase client library cannot be loaded
inline constexpr int kExitUsage = 64;       // bad arguments, an application name that is not plain
inline constexpr int kExitOutputFailed = 74;   // standard output could not be written

}  // namespace kelvary::cli
