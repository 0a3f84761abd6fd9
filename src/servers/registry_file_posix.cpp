// The .reg store's file on POSIX systems: flock() on a lock file beside it
// (the store file itself is replaced by rename, so a lock on it would be
// lost with the old inode), a temporary file in the same directory renamed
// over it, and the file's place from the environment. A store file that is
// a symbolic link is written through it: the link's target is replaced, and
// the link stays.
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "servers/registry_file_location.h"
#include "servers/registry_file_store.h"

namespace kelvary {

namespace {

constexpr char kLockSuffix[] = ".lock";
constexpr char kTemporarySuffix[] = ".XXXXXX";
constexpr mode_t kPrivateFileMode = 0600;  // it holds passwords
constexpr mode_t kPrivateDirectoryMode = 0700;
constexpr std::size_t kReadChunk = 65536;
constexpr char kRegistryFileVariable[] = "KELVARY_REGISTRY_FILE";
constexpr char kConfigHomeVariable[] = "XDG_CONFIG_HOME";
constexpr char kHomeVariable[] = "HOME";
constexpr int kMostLinksFollowed = 40;  // as the kernel's own limit
constexpr char kReadOnly[] = "is read-only (its owner may not write it)";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string HomeDirectory() {
  std::string home = Variable(kHomeVariable);
  if (home.empty()) {
    if (const passwd* user = getpwuid(getuid())) {
      home = user->pw_dir;
    }
  }
  return home;
}

std::string ParentDirectory(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates the directory and any missing one above it.
void MakeDirectories(const std::string& directory) {
  if (directory.empty() || directory == "/" || directory == "." || access(directory.c_str(), F_OK) == 0) {
    return;
  }
  MakeDirectories(ParentDirectory(directory));
  mkdir(directory.c_str(), kPrivateDirectoryMode);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The mode the file has now, so that a rewrite keeps it; private for a new file.
mode_t ModeToKeep(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? (status.st_mode & 07777) : kPrivateFileMode;
}

// The file a chain of symbolic links ends at (which need not exist yet);
// the path itself when it is no link.
std::string LinkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path target(path);
  std::error_code error;
  for (int followed = 0; followed < kMostLinksFollowed && fs::is_symlink(fs::symlink_status(target, error));
       ++followed) {
    const fs::path next = fs::read_symlink(target, error);
    if (error) {
      break;
    }
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target.string();
}

// Makes the rename itself survive a crash.
void FlushDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

class PosixRegistryFile final : public RegistryFileAccess {
 public:
  explicit PosixRegistryFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const override { return path_; }

  std::optional<std::string> ReadAll(std::string* error) override {
    const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT) {
        return std::string();
      }
      *error = std::strerror(errno);
      return std::nullopt;
    }
    std::string bytes;
    char chunk[kReadChunk];
    ssize_t got = 0;
    while ((got = read(fd, chunk, sizeof chunk)) != 0) {
      if (got < 0 && errno == EINTR) {
        continue;
      }
      if (got < 0) {
        *error = std::strerror(errno);
        close(fd);
        return std::nullopt;
      }
      bytes.append(chunk, static_cast<std::size_t>(got));
    }
    close(fd);
    return bytes;
  }

  void WithWriteLock(const std::function<void()>& work) override {
    MakeDirectories(ParentDirectory(path_));
    // O_CLOEXEC: a lock inherited by a child (Wine's server) would outlive us.
    const int fd = open((path_ + kLockSuffix).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kPrivateFileMode);
    if (fd < 0) {
      return;
    }
    int locked = -1;
    do {
      locked = flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked == 0) {
      work();
    }
    close(fd);  // also releases the lock
  }

  // Even root could replace a read-only file by rename: its owner's
  // read-only mode is taken as a wish, not left to the system.
  std::optional<std::string> ChangeRefusal() override {
    struct stat status {};
    if (stat(path_.c_str(), &status) == 0 && (status.st_mode & S_IWUSR) == 0) {
      return std::string(kReadOnly);
    }
    return std::nullopt;
  }

  bool Replace(std::string_view bytes) override {
    const std::string target = LinkTarget(path_);
    std::string temporary = target + kTemporarySuffix;
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
      return false;
    }
    const bool written = fchmod(fd, ModeToKeep(target)) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || rename(temporary.c_str(), target.c_str()) != 0) {
      unlink(temporary.c_str());
      return false;
    }
    FlushDirectory(ParentDirectory(target));
    return true;
  }

 private:
  std::string path_;
};

std::string UserRegistryFilePath() {
  return RegistryFilePath({Variable(kRegistryFileVariable), Variable(kConfigHomeVariable), HomeDirectory()});
}

}  // namespace

const CaseMap& StoreCaseMap() { return CaseMap::Utf8(); }

std::unique_ptr<RegistryBackend> OpenRegistryFile(const std::string& path) {
  return std::make_unique<RegistryTreeBackend>(
      std::make_unique<RegistryFileStore>(std::make_unique<PosixRegistryFile>(path), StoreCaseMap()));
}

std::unique_ptr<RegistryBackend> OpenUserRegistry() { return OpenRegistryFile(UserRegistryFilePath()); }

std::optional<std::string> UserRegistryProblem() {
  PosixRegistryFile file(UserRegistryFilePath());
  return DescribeRegistryFileProblem(file, StoreCaseMap());
}

std::optional<std::string> UserRegistryChangeProblem() {
  PosixRegistryFile file(UserRegistryFilePath());
  return DescribeRegistryFileChangeProblem(file, StoreCaseMap());
}

}  // namespace kelvary
