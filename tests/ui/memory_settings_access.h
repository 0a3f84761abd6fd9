#pragma once
// Settings-file access kept in memory, with folders that can be missing and
// files that cannot be read or written, and a journal of every call.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ui/settings_file.h"

namespace kelvary::test {

class MemorySettingsAccess final : public SettingsFileAccess {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> missing_folders;  // paths whose folder is missing
  std::set<std::string> unreadable;       // paths that fail to open
  std::set<std::string> read_only;        // paths where nothing can be written
  std::vector<std::string> journal;       // "read:PATH", "create:PATH", "replace:PATH"

  ReadStatus ReadAll(const std::string& path, std::string& content) override {
    journal.push_back("read:" + path);
    if (missing_folders.count(path) != 0) return ReadStatus::FolderMissing;
    if (unreadable.count(path) != 0) return ReadStatus::Failed;
    const auto file = files.find(path);
    if (file == files.end()) return ReadStatus::FileMissing;
    content = file->second;
    return ReadStatus::Read;
  }
  void CreateNew(const std::string& path, std::string_view content) override {
    journal.push_back("create:" + path);
    if (Writable(path)) files.emplace(path, content);
  }
  void Replace(const std::string& path, std::string_view content) override {
    journal.push_back("replace:" + path);
    if (Writable(path)) files[path] = content;
  }

 private:
  bool Writable(const std::string& path) const {
    return missing_folders.count(path) == 0 && read_only.count(path) == 0;
  }
};

}  // namespace kelvary::test
