#pragma once
// Settings-file access kept in memory, with folders that can be missing and
// files that cannot be read or written, and a journal of every call.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ui/settings_file.h"

namespace kelvary::test {

// What a disk holds, as a test sets it up.
struct SettingsDisk {
  std::map<std::string, std::string> files = {};
  // Each write is one tick later than the last; a file not listed was
  // written at tick 0.
  std::map<std::string, std::uint64_t> written_at = {};
  std::set<std::string> missing_folders = {};  // paths whose folder is missing
  std::set<std::string> unreadable = {};       // paths that fail to open
  std::set<std::string> read_only = {};        // paths where nothing can be written
};

class MemorySettingsAccess final : public SettingsFileAccess, public SettingsDisk {
 public:
  MemorySettingsAccess() = default;
  explicit MemorySettingsAccess(const SettingsDisk& disk) : SettingsDisk(disk) {}

  std::vector<std::string> journal;  // "read:PATH", "create:PATH", "replace:PATH", "make:FOLDER"

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
    if (Writable(path) && files.emplace(path, content).second) Written(path);
  }
  bool Replace(const std::string& path, std::string_view content) override {
    journal.push_back("replace:" + path);
    if (!Writable(path)) return false;
    files[path] = content;
    Written(path);
    return true;
  }
  std::optional<std::uint64_t> LastWriteTime(const std::string& path) override {
    if (files.count(path) == 0) return std::nullopt;
    const auto tick = written_at.find(path);
    return tick == written_at.end() ? 0 : tick->second;
  }
  // The files of the folder have it from now on.
  void MakeFolder(const std::string& folder) override {
    journal.push_back("make:" + folder);
    std::erase_if(missing_folders, [&](const std::string& path) { return path.starts_with(folder + "\\"); });
  }

 private:
  bool Writable(const std::string& path) const {
    return missing_folders.count(path) == 0 && read_only.count(path) == 0;
  }
  void Written(const std::string& path) {
    std::uint64_t latest = 0;
    for (const auto& [name, tick] : written_at) latest = std::max(latest, tick);
    written_at[path] = latest + 1;
  }
};

}  // namespace kelvary::test
