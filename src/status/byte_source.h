#pragma once
// A readable stream of bytes: the log as the scanner sees it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kelvary {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `capacity` bytes from `offset` on into `dst`. Returns the
  // count read, 0 at the end of the stream, or -1 when the read failed.
  // Several threads may read at once.
  virtual std::ptrdiff_t ReadAt(std::uint64_t offset, char* dst, std::size_t capacity) = 0;
};

struct OpenedLog {
  std::unique_ptr<ByteSource> source;  // null when the open failed
  std::string error;                   // why, for a person, when it failed
  bool not_a_file = false;             // it is there, but a pipe, socket, device or folder
  // Seconds since the file was last written, by the system's clock: how old
  // the log's latest entry is. Nothing when that write lies ahead of the
  // clock (a clock set wrong somewhere), which would make it young.
  std::optional<std::int64_t> age_seconds = {};
};

// Opens the log at `path` (path text) for reading in binary mode. On
// Windows the file is shared for reading, writing and deletion: the server
// keeps writing its log meanwhile. Implemented by the platform layer.
OpenedLog OpenLogForReading(const std::string& path);

}  // namespace kelvary
