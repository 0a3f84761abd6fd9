#pragma once
// What the stand-in Essbase library knows, shared by the library and the
// tests and scripts that drive it.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvary::test::standin {

// The file the library appends its calls to, and the folder holding the
// fixture logs it "downloads" (APPLICATION.log).
inline constexpr const char* kRecordVariable = "KELVARY_STANDIN_RECORD";
inline constexpr const char* kLogsVariable = "KELVARY_STANDIN_LOGS";
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// The one server, user and password that log in.
inline constexpr const char* kServer = "essbase.example.com";
inline constexpr const char* kUser = "admin";
inline constexpr const char* kPassword = "s3cret";
// Servers that answer with statuses the program has no message for.
inline constexpr const char* kRefusingServer = "busy.example.com";
inline constexpr const char* kFailingServer = "broken.example.com";

inline constexpr std::int32_t kUnknownServer = 1042003;
inline constexpr std::int32_t kWrongPassword = 1051005;
inline constexpr std::int32_t kUnknownUser = 1051015;
inline constexpr std::int32_t kOtherStatus = 1051004;
inline constexpr std::int32_t kNegativeStatus = -12;
inline constexpr std::int32_t kBadContext = 1030001;
inline constexpr std::int32_t kNoSuchLog = 1052003;

inline constexpr std::uint32_t kInstance = 0x2A51;
inline constexpr std::uint32_t kContext = 0xC0DE07;
inline constexpr std::uint16_t kApplicationCount = 3;
inline constexpr std::size_t kInitRecordBytes = 372;

// How the library records bytes, and the tests the bytes they expect.
inline std::string Hex(const unsigned char* bytes, std::size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < size; ++i) hex += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 0x0F]};
  return hex;
}

}  // namespace kelvary::test::standin
