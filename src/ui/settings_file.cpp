#include "ui/settings_file.h"

#include <optional>
#include <utility>

#include "base/utf8.h"

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

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;  // for bytes that are not UTF-8
constexpr char32_t kFirstSupplementary = 0x10000;

void AppendUtf16Le(std::string& out, char32_t unit) {
  out.push_back(static_cast<char>(unit & 0xFF));
  out.push_back(static_cast<char>((unit >> 8) & 0xFF));
}

std::string Utf8ToUtf16Le(std::string_view text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    // A byte that does not start a well-formed sequence stands for one
    // replacement character, so the rest of the line still reads.
    const std::optional<char32_t> decoded = NextUtf8Character(text, &at);
    if (!decoded) ++at;
    const char32_t character = decoded.value_or(kReplacement);
    if (character < kFirstSupplementary) {
      AppendUtf16Le(out, character);
    } else {
      const char32_t offset = character - kFirstSupplementary;
      AppendUtf16Le(out, 0xD800 + (offset >> 10));
      AppendUtf16Le(out, 0xDC00 + (offset & 0x3FF));
    }
  }
  return out;
}

std::string SwappedPairs(std::string_view bytes) {
  std::string out(bytes);
  for (std::size_t at = 0; at + 1 < out.size(); at += 2) std::swap(out[at], out[at + 1]);
  return out;
}

}  // namespace

std::string SettingsText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) {
    return Utf16LeToSystemCodePage(Utf8ToUtf16Le(bytes.substr(kUtf8Mark.size())));
  }
  if (bytes.starts_with(kUtf16LeMark)) {
    return Utf16LeToSystemCodePage(bytes.substr(kUtf16LeMark.size()));
  }
  if (bytes.starts_with(kUtf16BeMark)) {
    return Utf16LeToSystemCodePage(SwappedPairs(bytes.substr(kUtf16BeMark.size())));
  }
  return std::string(bytes);
}

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

SettingsFile::SettingsFile(SettingsFileAccess& files, std::string path,
                           std::string per_user_directory)
    : files_(files),
      strIniPathAndFile_(std::move(path)),
      per_user_directory_(std::move(per_user_directory)),
      per_user_path_(per_user_directory_.empty() ? std::string() : SettingsPathIn(per_user_directory_)) {}

RememberedQuery SettingsFile::ReadAtStartUp() {
  std::optional<RememberedQuery> remembered = ReadProgramFile();
  if (remembered && !PerUserCopyIsNewer()) return *remembered;
  if (!per_user_path_.empty()) {
    std::string content;
    if (files_.ReadAll(per_user_path_, content) == SettingsFileAccess::ReadStatus::Read) {
      return ReadRememberedQuery(SettingsText(content));
    }
  }
  return remembered.value_or(RememberedQuery{});
}

std::optional<RememberedQuery> SettingsFile::ReadProgramFile() {
  // Each path gets one creation and the fallback is taken once, so this
  // ends after at most four reads whatever the disk answers.
  bool created_here = false;
  bool fallback_taken = false;
  for (;;) {
    std::string content;
    switch (files_.ReadAll(strIniPathAndFile_, content)) {
      case SettingsFileAccess::ReadStatus::Read:
        // A file just created remembers nothing the per-user copy could lose to.
        if (created_here) return std::nullopt;
        return ReadRememberedQuery(SettingsText(content));
      case SettingsFileAccess::ReadStatus::FileMissing:
        if (created_here) return std::nullopt;
        files_.CreateNew(strIniPathAndFile_, kEmptyRecord);
        created_here = true;
        break;
      case SettingsFileAccess::ReadStatus::FolderMissing:
        if (fallback_taken) return std::nullopt;
        strIniPathAndFile_ = kFallbackSettingsPath;
        fallback_taken = true;
        created_here = false;
        break;
      case SettingsFileAccess::ReadStatus::Failed:
        return std::nullopt;
    }
  }
}

bool SettingsFile::PerUserCopyIsNewer() {
  if (per_user_path_.empty()) return false;
  const std::optional<std::uint64_t> per_user = files_.LastWriteTime(per_user_path_);
  if (!per_user) return false;
  const std::optional<std::uint64_t> program = files_.LastWriteTime(strIniPathAndFile_);
  return !program || *per_user > *program;
}

void SettingsFile::WriteQuery(std::string_view server, std::string_view application) {
  const std::string line = SettingsLine(server, application);
  if (files_.Replace(strIniPathAndFile_, line) || per_user_path_.empty()) return;
  files_.MakeFolder(per_user_directory_);
  files_.Replace(per_user_path_, line);
}

}  // namespace kelvary
