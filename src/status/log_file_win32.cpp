#include <windows.h>

#include "base/path_text_win32.h"
#include "status/byte_source.h"

namespace kelvary {
namespace {

constexpr const char* kNotAFile = "not a file on a disk";
// Reads are asked for in pieces a DWORD can count.
constexpr std::size_t kMaxReadBytes = 1u << 30;
constexpr std::uint64_t kFileTimeTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns

std::uint64_t Ticks(const FILETIME& time) {
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// Seconds since the file was last written, if that lies in the past.
std::optional<std::int64_t> AgeOf(HANDLE handle) {
  FILETIME written{}, now{};
  if (!GetFileTime(handle, nullptr, nullptr, &written)) return std::nullopt;
  GetSystemTimeAsFileTime(&now);
  if (Ticks(now) < Ticks(written)) return std::nullopt;
  return static_cast<std::int64_t>((Ticks(now) - Ticks(written)) / kFileTimeTicksPerSecond);
}

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD length = FormatMessageA(flags, nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message(text ? text : "", length);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message.empty() ? "error " + std::to_string(code) : message;
}

class Win32File final : public ByteSource {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { CloseHandle(handle_); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  std::ptrdiff_t ReadAt(std::uint64_t offset, char* dst, std::size_t capacity) override {
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(capacity < kMaxReadBytes ? capacity : kMaxReadBytes);
    // The offset goes with each read, so that reads on several threads do
    // not share the handle's file pointer.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    if (!ReadFile(handle_, dst, wanted, &read, &at)) return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return static_cast<std::ptrdiff_t>(read);
  }

 private:
  HANDLE handle_;
};

}  // namespace

OpenedLog OpenLogForReading(const std::string& path) {
  // The server keeps its log open and goes on writing it while we read.
  const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {nullptr, SystemMessage(GetLastError())};
  // A pipe or a device (NUL, CON, COM1) could block a read or never end.
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    return {nullptr, kNotAFile, true};
  }
  OpenedLog opened{std::make_unique<Win32File>(handle), {}};
  opened.age_seconds = AgeOf(handle);
  return opened;
}

}  // namespace kelvary
