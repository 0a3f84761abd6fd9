#pragma once
// A fresh folder under the system's temporary folder, removed with
// everything in it when the test is done.
#include <filesystem>
#include <string>

namespace kelvary::test {

// `path` as the program's path text: UTF-8.
inline std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as path text, without a trailing separator.
  std::string Text() const { return PathText(path_); }
  // A file or folder inside it, as path text.
  std::string File(const std::string& relative) const { return PathText(path_ / relative); }
  // Writes `content` to `relative`, making its folders; returns the full path.
  std::string Write(const std::string& relative, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file, bytes as they are; empty when it is missing.
std::string FileContent(const std::filesystem::path& file);
void WriteWholeFile(const std::filesystem::path& file, const std::string& content);

}  // namespace kelvary::test
