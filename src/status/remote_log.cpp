#include "status/remote_log.h"

#include <algorithm>
#include <string>

#include "base/path_text.h"
#include "servers/registry_store.h"
#include "servers/server_definition.h"
#include "status/plain_name.h"

namespace kelvary {
namespace {

// The initialisation record's layout: offsets and widths in bytes.
constexpr std::uint32_t kApiVersion = 0x65100;
constexpr std::uint16_t kMaxContextHandles = 10;
constexpr std::string_view kLocalPath = "C:\\ESSBASE";
constexpr std::uint16_t kClientErrorSwitch = 1;
constexpr std::uint16_t kErrorStackDepth = 100;
constexpr std::size_t kVersionOffset = 0;
constexpr std::size_t kMaxHandlesOffset = 4;
constexpr std::size_t kLocalPathOffset = 6;
constexpr std::size_t kMessageFileOffset = 126;
constexpr std::size_t kHelpFileOffset = 246;
constexpr std::size_t kTextFieldWidth = 120;
constexpr std::size_t kClientErrorOffset = 366;
constexpr std::size_t kStackDepthOffset = 368;
constexpr unsigned char kPadding = ' ';


constexpr std::string_view kUnknownServerMessage = "The server you have entered does not exist.  ";
constexpr std::string_view kWrongPasswordMessage = "The password you have entered is incorrect.  ";
constexpr std::string_view kUnknownUserMessage = "The user you have entered does not exist.  ";
constexpr std::string_view kCannotCheck = "The status of the calculation can not be checked.";
constexpr std::string_view kOtherStatusMessage = "Error:  ";

constexpr std::string_view kCopyNameJoint = "_";
constexpr std::string_view kLogExtension = ".log";
constexpr std::string_view kUnsafeCopyName = "the local copy's name would lie outside the program's folder";
// The library takes 8-bit paths; see LogCopyDirectory, which avoids such a folder.
constexpr std::string_view kCopyPathUnnamable = "the system code page has no name for the local copy's folder";
constexpr std::string_view kDownloadFailed = "the download of the log failed with status ";
constexpr std::int32_t kStatusOk = 0;
// EsbGetLogFile's third argument; the check always passes 0.
constexpr std::uint32_t kGetLogFileOption = 0;

template <typename Int>
void PutLittleEndian(EssbaseInitRecord& record, std::size_t offset, Int value) {
  for (std::size_t i = 0; i < sizeof(Int); ++i) {
    record[offset + i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
  }
}

// A fixed-width text field: left-aligned, padded with blanks, no terminator.
void PutPaddedText(EssbaseInitRecord& record, std::size_t offset, std::string_view text) {
  std::fill_n(record.begin() + offset, kTextFieldWidth, kPadding);
  std::copy(text.begin(), text.end(), record.begin() + offset);
}

bool IsKnownRefusal(std::int32_t status) {
  return status == kStatusUnknownServer || status == kStatusWrongPassword ||
         status == kStatusUnknownUser;
}

std::string ReadServerValue(const CheckDependencies& deps, std::string_view server,
                            std::string_view value_name) {
  return RegReadText(deps.registry, RegRoot::CurrentUser, ServerKeyPath(server), value_name);
}

// The message, then the controls: the list emptied and the buttons back.
// After a known refusal the same settings would be refused again, so
// automatic re-checking goes off rather than repeating the box every tick.
RemoteLogResult EndRefusedCheck(CheckView& view, std::int32_t status) {
  if (!view.ShowError(LoginRefusedMessage(status))) return {RemoteFetch::Abandoned, {}, {}};
  if (IsKnownRefusal(status)) {
    view.SetAutoCheckEnabled(false);
    view.SwitchAutoCheckOff();
  }
  view.ClearLines();
  view.SetOkEnabled(true);
  view.SetExitEnabled(true);
  return {RemoteFetch::CheckEnded, {}, {}};
}

}  // namespace

EssbaseInitRecord BuildInitRecord() {
  EssbaseInitRecord record{};  // the help file and the two spare bytes stay zero
  PutLittleEndian(record, kVersionOffset, kApiVersion);
  PutLittleEndian(record, kMaxHandlesOffset, kMaxContextHandles);
  PutPaddedText(record, kLocalPathOffset, kLocalPath);
  PutPaddedText(record, kMessageFileOffset, {});
  static_assert(kHelpFileOffset + kTextFieldWidth == kClientErrorOffset);
  PutLittleEndian(record, kClientErrorOffset, kClientErrorSwitch);
  PutLittleEndian(record, kStackDepthOffset, kErrorStackDepth);
  return record;
}

std::string LoginRefusedMessage(std::int32_t status) {
  switch (status) {
    case kStatusUnknownServer:
      return std::string(kUnknownServerMessage) + std::string(kCannotCheck);
    case kStatusWrongPassword:
      return std::string(kWrongPasswordMessage) + std::string(kCannotCheck);
    case kStatusUnknownUser:
      return std::string(kUnknownUserMessage) + std::string(kCannotCheck);
    default:
      return std::string(kOtherStatusMessage) + std::to_string(status);
  }
}

std::string LocalCopyPath(const CheckDependencies& deps, std::string_view server,
                          std::string_view application) {
  std::string name = FileNamePart(server);
  name += kCopyNameJoint;
  name += application;
  name += kLogExtension;
  if (!IsPlainFileName(name)) return {};
  std::string path = deps.executable_directory;
  path += deps.path_separator;
  path += PathFromSystemText(name);
  return path;
}

RemoteLogResult FetchRemoteLog(CheckView& view, const CheckDependencies& deps,
                               std::string_view server, std::string_view application) {
  // Checked before the login: nothing is written where it does not belong.
  std::string local_path = LocalCopyPath(deps, server, application);
  if (local_path.empty()) return {RemoteFetch::Failed, {}, std::string(kUnsafeCopyName)};
  const std::optional<std::string> library_path = PathInSystemText(local_path);
  if (!library_path) return {RemoteFetch::Failed, {}, std::string(kCopyPathUnnamable)};
  LoadedEssbase loaded = deps.load_essbase();
  if (!loaded.library) return {RemoteFetch::LibraryUnavailable, {}, loaded.error};
  EssbaseLibrary& api = *loaded.library;

  EssbaseInitRecord record = BuildInitRecord();
  std::uint32_t instance = 0;
  api.EsbInit(record.data(), &instance);  // its status tells nothing the login will not

  const std::string dns = ReadServerValue(deps, server, kDnsValue);
  const std::string user = ReadServerValue(deps, server, kUserNameValue);
  const std::string password = ReadServerValue(deps, server, kPasswordValue);
  std::uint16_t count = 0;
  std::uint32_t context = 0;
  const std::int32_t status =
      api.EsbLogin(instance, dns.c_str(), user.c_str(), password.c_str(), &count, &context);
  if (status != kStatusLoginOk) {
    // The instance is ended before the box: nothing is held while it waits.
    api.EsbTerm(instance);
    loaded.library.reset();
    return EndRefusedCheck(view, status);
  }

  // A failed download may leave a copy from an earlier check: it must not
  // be scanned as if it were current.
  const std::string app(application);
  const std::int32_t download = api.EsbGetLogFile(context, app.c_str(), kGetLogFileOption, library_path->c_str());
  api.EsbLogout(context);
  api.EsbTerm(instance);
  if (download != kStatusOk) {
    return {RemoteFetch::DownloadFailed, std::move(local_path), std::string(kDownloadFailed) + std::to_string(download)};
  }
  return {RemoteFetch::LogReady, std::move(local_path), {}};
}

}  // namespace kelvary
