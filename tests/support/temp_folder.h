#pragma once
// A fresh folder under the system's temporary folder, removed with
// everything in it when the test is done.
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace kelvary::test {

// `path` as the program's path text: UTF-8.
inline std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The whole content of a file, bytes as they are; empty when it is missing.
inline std::string FileContent(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

inline void WriteWholeFile(const std::filesystem::path& file, const std::string& content) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

class TempFolder {
 public:
  TempFolder() {
    path_ = std::filesystem::temp_directory_path() / ("kelvary-test-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as path text, without a trailing separator.
  std::string Text() const { return PathText(path_); }
  // A file or folder inside it, as path text.
  std::string File(const std::string& relative) const { return PathText(path_ / relative); }
  // Writes `content` to `relative`, making its folders; returns the full path.
  std::string Write(const std::string& relative, const std::string& content) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    WriteWholeFile(file, content);
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace kelvary::test
