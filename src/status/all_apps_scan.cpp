#include "status/all_apps_scan.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <system_error>
#include <thread>

#include "status/byte_source.h"

namespace kelvary {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kAppFolder = "app";
constexpr std::string_view kLogExtension = ".log";

// Path text is UTF-8, which the file system library takes as char8_t.
fs::path PathOf(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string TextOf(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The application folders' names, sorted; none when the folder cannot be listed.
std::vector<std::string> ApplicationFolders(const fs::path& app_folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(app_folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_directory(error)) names.push_back(TextOf(it->path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ScanApplication(const fs::path& app_folder, const std::string& folder, const CaseMap& cases,
                     ApplicationScan& scan) {
  scan.application = cases.Upper(folder);
  const fs::path log = app_folder / PathOf(folder) / PathOf(folder + std::string(kLogExtension));
  OpenedLog opened = OpenLogForReading(TextOf(log));
  scan.log_found = opened.source != nullptr;
  if (!scan.log_found) return;
  // One thread a log already: no reading ahead on another.
  ScanInputs inputs{scan.application, cases, [] { return true; }, opened.age_seconds};
  inputs.reading.helpers = 0;
  scan.result = ScanLog(scan.state, *opened.source, inputs);
}

}  // namespace

AllApplications ScanAllApplications(std::string_view essbase_path, const CaseMap& cases, unsigned workers) {
  const fs::path app_folder = PathOf(essbase_path) / PathOf(kAppFolder);
  AllApplications all;
  std::error_code error;
  all.app_folder_found = fs::is_directory(app_folder, error);
  const std::vector<std::string> folders = ApplicationFolders(app_folder);
  all.applications.resize(folders.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t k = next++; k < folders.size(); k = next++) {
      ScanApplication(app_folder, folders[k], cases, all.applications[k]);
    }
  };
  std::vector<std::thread> threads;
  const std::size_t count = std::min<std::size_t>(std::max(workers, 1u), folders.size());
  for (std::size_t k = 1; k < count; ++k) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();
  return all;
}

}  // namespace kelvary
