// The update check in the real main window, asking a server of the test on
// 127.0.0.1: each answer gives its exact message, and the window is
// disabled with the hourglass shown, yet painted, while the request runs and
// usable again afterwards.
#include <atomic>
#include <optional>

#include "form1_fixture.h"
#include "loopback_http_server_win32.h"
#include "support/message_box_watcher_win32.h"
#include "ui/resource_ids.h"
#include "ui/update_check.h"
#include "ui/version_file_fetch_win32.h"

namespace kelvary::test {
namespace {

// The message boxes `action` shows, each answered with OK.
std::vector<SeenMessageBox> BoxesShownBy(const std::function<void()>& action) {
  MessageBoxWatcher watcher;
  action();
  return watcher.Seen();
}

void ExpectOneBox(const std::vector<SeenMessageBox>& seen, const std::string& title, const std::string& text,
                  bool error_icon) {
  ASSERT_EQ(seen.size(), 1u) << text;
  EXPECT_EQ(seen[0].title, title);
  EXPECT_EQ(seen[0].text, text);
  EXPECT_EQ(seen[0].error_icon, error_icon) << text;
  EXPECT_EQ(seen[0].information_icon, !error_icon) << text;
}


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
constexpr UINT kProbeWaitMs = 3000;  // far inside the request's own time-out

// Where the test asks: a server that answers, one that never does, or
// nothing at all.
enum class Asked { Answering, Silent, Nobody, NotHttp };

struct AnswerCase {
  const char* name;
  Asked asked;
  HttpResponse response;
  const char* title;
  const char* text;
};

const AnswerCase kAnswers[] = {
    {"own version exactly", Asked::Answering, {200, "1.65.167"}, kUpdateTitle, kCurrentText},
    {"own version and CR LF", Asked::Answering, {200, "1.65.167\r\n"}, kUpdateTitle, kNewerText},
    {"long body", Asked::Answering, {200, std::string(kVersionFileLimit + 1, '7')}, kUpdateTitle, kNewerText},
    {"not found, whatever the body", Asked::Answering, {404, "1.65.167"}, kFailureTitle, kUnreadableText},
    // The request gives up after its time-out; this case takes that long.
    {"server that never answers", Asked::Silent, {}, kFailureTitle, kUnreadableText},
    {"nothing listening", Asked::Nobody, {}, kFailureTitle, kUnreadableText},
    {"address that is not http", Asked::NotHttp, {}, kFailureTitle, kUnreadableText},
};

class UpdateCheckTest : public Form1Test {
 protected:
  void SetUp() override { Open(); }
  ~UpdateCheckTest() override { SetEnvironmentVariableA(kUpdateUrlVariable, nullptr); }

  void AskAt(const std::string& url) { SetEnvironmentVariableA(kUpdateUrlVariable, url.c_str()); }
  std::vector<SeenMessageBox> CheckForNewerVersion() {
    return BoxesShownBy([this] { Menu(IDM_HELP_VERSION); });
  }

  void ExpectWindowBack(const char* name) {
    EXPECT_TRUE(IsWindowEnabled(Window())) << name;
    EXPECT_EQ(GetCapture(), nullptr) << name;
    EXPECT_NE(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(kHourglassPointer))) << name;
  }
};

TEST_F(UpdateCheckTest, EachAnswerGivesItsMessageAndTheWindowBack) {
  for (const AnswerCase& c : kAnswers) {
    SCOPED_TRACE(c.name);
    std::optional<LoopbackHttpServer> server;
    if (c.asked == Asked::Answering) server.emplace(c.response);
    if (c.asked == Asked::Silent) server.emplace(std::nullopt);
    if (server) AskAt(server->Url(kVersionPath));
    if (c.asked == Asked::Nobody) AskAt("http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + kVersionPath);
    if (c.asked == Asked::NotHttp) AskAt("file:///C:/windows/win.ini");
    ExpectOneBox(CheckForNewerVersion(), c.title, c.text, c.title == kFailureTitle);
    ExpectWindowBack(c.name);
    EXPECT_EQ(server ? server->RequestLines().size() : 1u, 1u);
  }
}

TEST_F(UpdateCheckTest, EachCheckAsksWithOneGetOfTheVersionFileWhileTheWindowTakesNoInputButPaints) {
  std::atomic<bool> enabled{true}, mouse_held{false}, hourglass{false}, handling{false}, painted{false};
  const DWORD window_thread = GetCurrentThreadId();
  HWND window = Window();
  LoopbackHttpServer server(HttpResponse{200, "1.65.167"});
  server.OnRequest([&] {
    enabled = IsWindowEnabled(window) != FALSE;
    GUITHREADINFO thread_info{};
    thread_info.cbSize = sizeof thread_info;
    GetGUIThreadInfo(window_thread, &thread_info);
    mouse_held = thread_info.hwndCapture == window;
    CURSORINFO pointer{};
    pointer.cbSize = sizeof pointer;
    GetCursorInfo(&pointer);
    hourglass = pointer.hCursor == LoadCursorA(nullptr, MAKEINTRESOURCEA(kHourglassPointer));
    // The window's thread still handles messages and repaints while the
    // answer is held back.
    InvalidateRect(window, nullptr, FALSE);
    handling = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kProbeWaitMs, nullptr) != 0;
    for (int i = 0; i < 100 && GetUpdateRect(window, nullptr, FALSE); ++i) Sleep(kProbeWaitMs / 100);
    painted = !GetUpdateRect(window, nullptr, FALSE);
  });
  AskAt(server.Url(kVersionPath));
  CheckForNewerVersion();
  EXPECT_EQ(server.RequestLines(), std::vector<std::string>{"GET /kelvary/version.txt HTTP/1.1"});
  EXPECT_FALSE(enabled);
  EXPECT_TRUE(mouse_held);
  EXPECT_TRUE(hourglass);
  EXPECT_TRUE(handling);
  EXPECT_TRUE(painted);
  ExpectWindowBack("after the check");
  ExpectOneBox(CheckForNewerVersion(), kUpdateTitle, kCurrentText, false);
  EXPECT_EQ(server.RequestLines().size(), 2u);
}

// A server that trickles its answer a byte at a time never lets a single
// wait run out; the whole fetch still ends at its deadline, as a failure.
TEST(VersionFileFetch, EndsAtItsDeadlineWhileTheServerStillTrickles) {
  LoopbackHttpServer server(HttpResponse{200, "1.65.167"}, std::chrono::milliseconds(20));
  const FetchedVersionFile fetched = FetchVersionFile(server.Url(kVersionPath), 300);
  EXPECT_FALSE(fetched.received);
  EXPECT_EQ(server.ResponsesSent(), 0);
}

}  // namespace
}  // namespace kelvary::test
