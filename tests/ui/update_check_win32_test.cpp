// The update check in the real main window, asking a server of the test on
// 127.0.0.1: each answer gives its exact message, and the window is
// disabled with the hourglass shown while the request runs and usable again
// afterwards. Also the version record the check reads from the executable.
#include <atomic>

#include "form1_fixture.h"
#include "loopback_http_server_win32.h"
#include "support/message_box_watcher_win32.h"
#include "ui/resource_ids.h"
#include "ui/update_check.h"
#include "ui/version_record_win32.h"

namespace kelvary::test {
namespace {

constexpr const char* kVersionPath = "/kelvary/version.txt";
constexpr const char* kUpdateTitle = "Update Available";
constexpr const char* kFailureTitle = "Kelvary";
constexpr const char* kCurrentText =
    "The version of Kelvary is current.  There are no updates available.";
constexpr const char* kNewerText =
    "A more recent version of Kelvary is available.  Please visit www.brennic.com for more "
    "details.";
constexpr const char* kUnreadableText =
    "The version information could not be read from www.brennic.com.";
constexpr WORD kHourglassPointer = 32514;  // IDC_WAIT

struct AnswerCase {
  const char* name;
  HttpResponse response;
  const char* title;
  const char* text;
  bool error_icon;
};

const AnswerCase kAnswers[] = {
    {"own version exactly", {200, "1.65.167"}, kUpdateTitle, kCurrentText, false},
    {"own version and CR LF", {200, "1.65.167\r\n"}, kUpdateTitle, kNewerText, false},
    {"own version and a line feed", {200, "1.65.167\n"}, kUpdateTitle, kNewerText, false},
    {"older version", {200, "1.64.150"}, kUpdateTitle, kNewerText, false},
    {"newer version", {200, "1.66.1"}, kUpdateTitle, kNewerText, false},
    {"own version and a blank", {200, "1.65.167 "}, kUpdateTitle, kNewerText, false},
    {"empty body", {200, ""}, kUpdateTitle, kNewerText, false},
    {"long body", {200, std::string(kVersionFileLimit + 1, '7')}, kUpdateTitle, kNewerText, false},
    {"not found, whatever the body", {404, "1.65.167"}, kFailureTitle, kUnreadableText, true},
    {"server error", {500, ""}, kFailureTitle, kUnreadableText, true},
};

class UpdateCheckTest : public Form1Test {
 protected:
  void SetUp() override { Open(); }
  ~UpdateCheckTest() override { SetEnvironmentVariableA(kUpdateUrlVariable, nullptr); }

  void AskAt(const std::string& url) { SetEnvironmentVariableA(kUpdateUrlVariable, url.c_str()); }

  // The menu command, with every box it shows answered and kept.
  std::vector<SeenMessageBox> CheckForNewerVersion() {
    MessageBoxWatcher watcher;
    Menu(IDM_HELP_VERSION);
    return watcher.Seen();
  }

  void ExpectOneBox(const std::vector<SeenMessageBox>& seen, const std::string& title,
                    const std::string& text, bool error_icon, const char* name) {
    ASSERT_EQ(seen.size(), 1u) << name;
    EXPECT_EQ(seen[0].title, title) << name;
    EXPECT_EQ(seen[0].text, text) << name;
    EXPECT_EQ(seen[0].error_icon, error_icon) << name;
    EXPECT_EQ(seen[0].information_icon, !error_icon) << name;
  }

  void ExpectWindowBack(const char* name) {
    EXPECT_TRUE(IsWindowEnabled(Window())) << name;
    EXPECT_EQ(GetCapture(), nullptr) << name;
    EXPECT_NE(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(kHourglassPointer))) << name;
  }
};

TEST_F(UpdateCheckTest, EachAnswerGivesItsMessageAndTheWindowBack) {
  for (const AnswerCase& c : kAnswers) {
    LoopbackHttpServer server(c.response);
    AskAt(server.Url(kVersionPath));
    ExpectOneBox(CheckForNewerVersion(), c.title, c.text, c.error_icon, c.name);
    ExpectWindowBack(c.name);
  }
}

TEST_F(UpdateCheckTest, AsksWithOneGetOfTheVersionFile) {
  LoopbackHttpServer server({200, "1.65.167"});
  AskAt(server.Url(kVersionPath));
  CheckForNewerVersion();
  EXPECT_EQ(server.RequestLines(), std::vector<std::string>{"GET /kelvary/version.txt HTTP/1.1"});
}

TEST_F(UpdateCheckTest, AsksAgainAtEveryCheck) {
  LoopbackHttpServer server({200, "1.65.167"});
  AskAt(server.Url(kVersionPath));
  CheckForNewerVersion();
  ExpectOneBox(CheckForNewerVersion(), kUpdateTitle, kCurrentText, false, "second check");
  EXPECT_EQ(server.RequestLines().size(), 2u);
}

TEST_F(UpdateCheckTest, WindowTakesNoInputAndShowsTheHourglassWhileTheRequestRuns) {
  std::atomic<bool> asked{false}, enabled{true}, mouse_held{false}, hourglass{false};
  const DWORD window_thread = GetCurrentThreadId();
  HWND window = Window();
  LoopbackHttpServer server({200, "1.65.167"});
  server.OnRequest([&] {
    asked = true;
    enabled = IsWindowEnabled(window) != FALSE;
    GUITHREADINFO thread_info{};
    thread_info.cbSize = sizeof thread_info;
    GetGUIThreadInfo(window_thread, &thread_info);
    mouse_held = thread_info.hwndCapture == window;
    CURSORINFO pointer{};
    pointer.cbSize = sizeof pointer;
    GetCursorInfo(&pointer);
    hourglass = pointer.hCursor == LoadCursorA(nullptr, MAKEINTRESOURCEA(kHourglassPointer));
  });
  AskAt(server.Url(kVersionPath));
  CheckForNewerVersion();
  ASSERT_TRUE(asked);
  EXPECT_FALSE(enabled);
  EXPECT_TRUE(mouse_held);
  EXPECT_TRUE(hourglass);
  ExpectWindowBack("after the check");
}

// The request gives up after its time-out; this test takes that long.
TEST_F(UpdateCheckTest, ServerThatNeverAnswersEndsInTheFailureMessage) {
  LoopbackHttpServer server = LoopbackHttpServer::Silent();
  AskAt(server.Url(kVersionPath));
  ExpectOneBox(CheckForNewerVersion(), kFailureTitle, kUnreadableText, true, "silent server");
  ExpectWindowBack("silent server");
  EXPECT_EQ(server.RequestLines().size(), 1u);
}

TEST_F(UpdateCheckTest, NothingListeningEndsInTheFailureMessage) {
  AskAt("http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + kVersionPath);
  ExpectOneBox(CheckForNewerVersion(), kFailureTitle, kUnreadableText, true, "refused");
  ExpectWindowBack("refused");
}

TEST_F(UpdateCheckTest, AddressThatIsNotHttpEndsInTheFailureMessage) {
  AskAt("file:///C:/windows/win.ini");
  ExpectOneBox(CheckForNewerVersion(), kFailureTitle, kUnreadableText, true, "file address");
  ExpectWindowBack("file address");
}

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// This test program carries the program's resources, VERSIONINFO included.
TEST(VersionRecordTest, ReadsTheFourNumbersAndTheProductName) {
  const std::optional<VersionRecord> record = ReadVersionRecord(ThisProgram());
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->major, 1u);
  EXPECT_EQ(record->minor, 65u);
  EXPECT_EQ(record->patch, 0u);
  EXPECT_EQ(record->build, 167u);
  EXPECT_EQ(record->product_name, "Kelvary");
  EXPECT_EQ(OwnVersionText(OwnVersionRecord()), "1.65.167");
}

TEST(VersionRecordTest, FileWithoutOneHasNone) {
  TempFolder folder;
  WriteWholeFile(folder.path() / "plain.txt", "1.65.0.167");
  EXPECT_FALSE(ReadVersionRecord((folder.path() / "plain.txt").string()).has_value());
  EXPECT_FALSE(ReadVersionRecord((folder.path() / "missing.exe").string()).has_value());
}

}  // namespace
}  // namespace kelvary::test
