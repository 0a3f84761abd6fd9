#pragma once
// The settings file Kelvary.ini: the last server and application, remembered
// between runs. Read once at start-up; written by every check that opened a
// log and by every close of the main window, always as one line.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "status/query_recorder.h"

namespace kelvary {

// The file access the settings file needs, so its rules can be tested
// without touching a disk.
class SettingsFileAccess {
 public:
  enum class ReadStatus { Read, FileMissing, FolderMissing, Failed };

  virtual ~SettingsFileAccess() = default;
  // The content, bytes as they are, up to kSettingsReadLimit bytes: the
  // rest of a larger file is never read.
  virtual ReadStatus ReadAll(const std::string& path, std::string& content) = 0;
  // Creates the file only where none exists; a failure shows at the next read.
  virtual void CreateNew(const std::string& path, std::string_view content) = 0;
  // Replaces the whole content, creating the file if needed. False when
  // the file could not be written (a read-only file or folder, a lock).
  virtual bool Replace(const std::string& path, std::string_view content) = 0;
  // When the file was last written, in ticks that only compare with each
  // other; none when there is no such file.
  virtual std::optional<std::uint64_t> LastWriteTime(const std::string& path) = 0;
  // Makes the folder unless it is there; its parent must exist.
  virtual void MakeFolder(const std::string& folder) = 0;
};

// Binary-mode file access of this platform. Implemented by the platform layer.
std::unique_ptr<SettingsFileAccess> OpenSettingsFileAccess();

inline constexpr std::string_view kSettingsFileName = "Kelvary.ini";
// More than a settings line can hold (two names and a comma, even in UTF-16).
inline constexpr std::size_t kSettingsReadLimit = 8192;

// UTF-16LE text brought to the system's ANSI code page; a character it
// lacks becomes '?'. Implemented by the platform layer.
std::string Utf16LeToSystemCodePage(std::string_view bytes);

// The file's bytes as text of the system code page: a file saved by an
// editor in UTF-8 or UTF-16 (either byte order) with its byte-order mark is
// converted; anything else is taken as it is.
std::string SettingsText(std::string_view bytes);

inline constexpr std::string_view kFallbackSettingsPath = "C:\\Windows\\Kelvary.ini";

// The executable's directory, "\" and the file name. A drive's root already
// ends in "\"; the doubled separator is kept, as Windows accepts it.
std::string SettingsPathIn(std::string_view executable_directory);

struct RememberedQuery {
  std::string strLastServer;
  std::string strLastApp;
};

// The two comma-separated fields of the file's content. Blanks before a
// field are skipped; a field ends at a comma (consumed), a line end (reading
// goes on at the next line) or the end of the content.
RememberedQuery ReadRememberedQuery(std::string_view content);

// The one line every write leaves, CR LF included.
std::string SettingsLine(std::string_view server, std::string_view application);

// The file lives beside the program (or at the fallback path). Installed
// where its user cannot write, it would lose every choice, so a write that
// fails there goes to a copy in the user's own folder, which start-up then
// prefers while it is the newer of the two.
class SettingsFile : public QueryRecorder {
 public:
  // `path` is usually SettingsPathIn(the executable's directory);
  // `per_user_directory` the user's own folder for Kelvary, made when first
  // needed; empty when there is none.
  SettingsFile(SettingsFileAccess& files, std::string path, std::string per_user_directory = {});

  // Start-up read: creates a missing file with " , ", switches to the
  // fallback path once when the folder is missing, and never fails: what
  // cannot be read stays empty. The per-user copy is read instead when the
  // file there holds nothing readable or is older than the copy.
  RememberedQuery ReadAtStartUp();

  // One line: server, ",", application; or server and ", " when the
  // application is empty. Written at strIniPathAndFile(); when that fails,
  // at the per-user copy. A write that fails there too is ignored.
  void WriteQuery(std::string_view server, std::string_view application) override;

  const std::string& strIniPathAndFile() const { return strIniPathAndFile_; }
  // Empty when there is no per-user folder.
  const std::string& per_user_path() const { return per_user_path_; }

 private:
  // The start-up read of strIniPathAndFile_ alone; none when nothing could
  // be read or the file had to be created.
  std::optional<RememberedQuery> ReadProgramFile();
  bool PerUserCopyIsNewer();

  SettingsFileAccess& files_;
  std::string strIniPathAndFile_;
  std::string per_user_directory_;
  std::string per_user_path_;
};

}  // namespace kelvary
