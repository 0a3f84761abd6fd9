#pragma once
// A fresh folder under the system's temporary folder, removed with
// everything in it when the test is done.
#include <filesystem>
#include <string>

namespace kelvary::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as text, without a trailing separator.
  std::string Text() const { return path_.string(); }
  // A file or folder inside it, as text.
  std::string File(const std::string& relative) const { return (path_ / relative).string(); }
  // Writes `content` to `relative`, making its folders; returns the full path.
  std::string Write(const std::string& relative, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file, bytes as they are; empty when it is missing.
std::string FileContent(const std::filesystem::path& file);
void WriteWholeFile(const std::filesystem::path& file, const std::string& content);

}  // namespace kelvary::test
