#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "status/byte_source.h"

namespace kelvary {
namespace {

constexpr const char* kNotAFile = "not a regular file";

class PosixFile final : public ByteSource {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  std::ptrdiff_t ReadAt(std::uint64_t offset, char* dst, std::size_t capacity) override {
    for (;;) {
      const ssize_t n = ::pread(fd_, dst, capacity, static_cast<off_t>(offset));
      if (n >= 0 || errno != EINTR) return n < 0 ? -1 : n;
    }
  }

 private:
  int fd_;
};

}  // namespace

OpenedLog OpenLogForReading(const std::string& path) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer forever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {nullptr, std::strerror(errno)};
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return {nullptr, std::strerror(error)};
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return {nullptr, S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : kNotAFile, true};
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  const std::time_t now = std::time(nullptr);
  OpenedLog opened{std::make_unique<PosixFile>(fd), {}};
  if (now >= info.st_mtime) opened.age_seconds = now - info.st_mtime;
  return opened;
}

}  // namespace kelvary
