#include "ui/settings_file.h"

#include <utility>

namespace kelvary {
namespace {

constexpr char kBlank = ' ';
constexpr char kFieldSeparator = ',';
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr std::string_view kLineEnd = "\r\n";
// What start-up writes into a file it had to create: two empty fields.
constexpr std::string_view kEmptyRecord = " , \r\n";
constexpr std::string_view kEmptyApplicationSuffix = ", ";

// Reads one field from `pos` on and leaves `pos` where the next one starts.
// CR LF, a lone LF and a lone CR each end a line, so a file edited by hand
// on any system reads the same.
std::string ReadField(std::string_view content, std::size_t& pos) {
  while (pos < content.size() && content[pos] == kBlank) ++pos;
  const std::size_t start = pos;
  while (pos < content.size() && content[pos] != kFieldSeparator &&
         content[pos] != kCarriageReturn && content[pos] != kLineFeed) {
    ++pos;
  }
  std::string field(content.substr(start, pos - start));
  if (pos < content.size()) {
    const char end = content[pos++];
    if (end == kCarriageReturn && pos < content.size() && content[pos] == kLineFeed) ++pos;
  }
  return field;
}

}  // namespace

std::string SettingsPathIn(std::string_view executable_directory) {
  std::string path(executable_directory);
  path += '\\';
  path += kSettingsFileName;
  return path;
}

RememberedQuery ReadRememberedQuery(std::string_view content) {
  std::size_t pos = 0;
  RememberedQuery query;
  query.strLastServer = ReadField(content, pos);
  query.strLastApp = ReadField(content, pos);
  return query;
}

std::string SettingsLine(std::string_view server, std::string_view application) {
  std::string line(server);
  if (application.empty()) {
    line += kEmptyApplicationSuffix;
  } else {
    line += kFieldSeparator;
    line += application;
  }
  line += kLineEnd;
  return line;
}

SettingsFile::SettingsFile(SettingsFileAccess& files, std::string path)
    : files_(files), strIniPathAndFile_(std::move(path)) {}

RememberedQuery SettingsFile::ReadAtStartUp() {
  // Each path gets one creation and the fallback is taken once, so this
  // ends after at most four reads whatever the disk answers.
  bool created_here = false;
  bool fallback_taken = false;
  for (;;) {
    std::string content;
    switch (files_.ReadAll(strIniPathAndFile_, content)) {
      case SettingsFileAccess::ReadStatus::Read:
        return ReadRememberedQuery(content);
      case SettingsFileAccess::ReadStatus::FileMissing:
        if (created_here) return {};
        files_.CreateNew(strIniPathAndFile_, kEmptyRecord);
        created_here = true;
        break;
      case SettingsFileAccess::ReadStatus::FolderMissing:
        if (fallback_taken) return {};
        strIniPathAndFile_ = kFallbackSettingsPath;
        fallback_taken = true;
        created_here = false;
        break;
      case SettingsFileAccess::ReadStatus::Failed:
        return {};
    }
  }
}

void SettingsFile::WriteQuery(std::string_view server, std::string_view application) {
  files_.Replace(strIniPathAndFile_, SettingsLine(server, application));
}

}  // namespace kelvary
