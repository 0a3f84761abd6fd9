#pragma once
// kelvary-cli's exit codes, shared by its commands.
namespace kelvary::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;      // e.g. an unknown server
inline constexpr int kExitUnreadable = 2;   // a log that cannot be read
inline constexpr int kExitCheckFailed = 3;  // check: the application's log was not found
inline constexpr int kExitLoginRefused = 4; // check: the server refused the login
inline constexpr int kExitUsage = 64;       // bad arguments

}  // namespace kelvary::cli
