// The update check in the real main window, asking a server of the test on
// 127.0.0.1: each answer gives its exact message, and the window is
// disabled with the hourglass shown, yet painted, while the request runs and
// usable again afterwards.
#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>

#include "form1_fixture.h"
#include "support/message_box_watcher_win32.h"
#include "ui/resource_ids.h"
#include "ui/update_check.h"
#include "ui/version_file_fetch_win32.h"

namespace kelvary::test {
namespace {

struct HttpResponse {
  int status;
  std::string body;
};

// A server of the test's own on 127.0.0.1, one connection at a time in a
// thread of its own: it gives every request `response` (a byte after each
// `pause` when one is given), or without one takes the request and never
// answers. `probe`, when given, runs in its thread each time a request has
// arrived, before the answer: a look at the client while it waits.
class LoopbackHttpServer {
 public:
  explicit LoopbackHttpServer(std::optional<HttpResponse> response,
                              std::chrono::milliseconds pause = std::chrono::milliseconds(0),
                              std::function<void()> probe = nullptr)
      : response_(std::move(response)), pause_(pause), probe_(std::move(probe)), listener_(BindLoopback(port_)) {
    listen(listener_, SOMAXCONN);
    thread_ = std::thread([this] {
      // Closing the listener ends the wait in accept.
      for (SOCKET client; (client = accept(listener_, nullptr, nullptr)) != INVALID_SOCKET;) Answer(client);
    });
  }
  ~LoopbackHttpServer() {
    stop_ = true;
    closesocket(listener_);
    thread_.join();
    for (SOCKET client : held_) closesocket(client);
  }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  std::vector<std::string> RequestLines() {
    std::lock_guard<std::mutex> lock(mutex_);
    return request_lines_;
  }

  // A socket bound to a free loopback port, and that port.
  static SOCKET BindLoopback(int& port) {
    static const bool started = [] {
      WSADATA data{};
      return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    SOCKET handle = started ? socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : INVALID_SOCKET;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return handle;
  }

 private:
  // Reads the head up to the empty line that ends it (a GET has no body).
  void Answer(SOCKET client) {
    std::string head;
    char chunk[1024];
    for (int read; head.find("\r\n\r\n") == std::string::npos && (read = recv(client, chunk, sizeof chunk, 0)) > 0;) {
      head.append(chunk, static_cast<std::size_t>(read));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      request_lines_.push_back(head.substr(0, head.find("\r\n")));
    }
    if (probe_) probe_();
    if (!response_) return held_.push_back(client);  // silent until the server ends
    const std::string text = "HTTP/1.1 " + std::to_string(response_->status) +
                             " Test\r\nContent-Type: text/plain\r\nContent-Length: " +
                             std::to_string(response_->body.size()) + "\r\nConnection: close\r\n\r\n" +
                             response_->body;
    const bool trickle = pause_.count() != 0;
    for (std::size_t sent = 0; sent < text.size() && !stop_;) {
      if (trickle) std::this_thread::sleep_for(pause_);
      const int result = send(client, text.data() + sent, trickle ? 1 : static_cast<int>(text.size() - sent), 0);
      if (result <= 0) break;
      sent += static_cast<std::size_t>(result);
    }
    closesocket(client);
  }

  const std::optional<HttpResponse> response_;
  const std::chrono::milliseconds pause_;
  const std::function<void()> probe_;
  int port_ = 0;
  const SOCKET listener_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> request_lines_;
  std::vector<SOCKET> held_;
  std::thread thread_;
};

// A loopback port nothing listens on: connecting to it is refused at once.
int UnusedLoopbackPort() {
  int port = 0;
  closesocket(LoopbackHttpServer::BindLoopback(port));
  return port;
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

// Name, where the test asks and what it answers; the box's title and text.
const std::tuple<const char*, Asked, HttpResponse, const char*, const char*> kAnswers[] = {
    {"own version exactly", Asked::Answering, {200, "1.65.167"}, kUpdateTitle, kCurrentText},
    {"another version", Asked::Answering, {200, "1.66.1"}, kUpdateTitle, kNewerText},
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
  // The message boxes the check shows, each answered with OK.
  std::vector<SeenMessageBox> CheckForNewerVersion() {
    MessageBoxWatcher watcher;
    Menu(IDM_HELP_VERSION);
    return watcher.Seen();
  }

  void ExpectWindowBack(const char* name) {
    EXPECT_TRUE(IsWindowEnabled(Window())) << name;
    EXPECT_EQ(GetCapture(), nullptr) << name;
    EXPECT_NE(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(kHourglassPointer))) << name;
  }
};

TEST_F(UpdateCheckTest, EachAnswerGivesItsMessageAndTheWindowBack) {
  for (const auto& [name, asked, response, title, text] : kAnswers) {
    SCOPED_TRACE(name);
    std::optional<LoopbackHttpServer> server;
    if (asked == Asked::Answering) server.emplace(response);
    if (asked == Asked::Silent) server.emplace(std::nullopt);
    if (server) AskAt(server->Url(kVersionPath));
    if (asked == Asked::Nobody) AskAt("http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + kVersionPath);
    if (asked == Asked::NotHttp) AskAt("file:///C:/windows/win.ini");
    ExpectOneBox(CheckForNewerVersion(), title, text, title == kFailureTitle);
    ExpectWindowBack(name);
    EXPECT_EQ(server ? server->RequestLines().size() : 1u, 1u);
  }

}

TEST_F(UpdateCheckTest, EachCheckAsksWithOneGetOfTheVersionFileWhileTheWindowTakesNoInputButPaints) {
  std::atomic<bool> enabled{true}, mouse_held{false}, hourglass{false}, handling{false}, painted{false};
  const DWORD window_thread = GetCurrentThreadId();
  HWND window = Window();
  LoopbackHttpServer server(HttpResponse{200, "1.65.167"}, std::chrono::milliseconds(0), [&] {
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
}

}  // namespace
}  // namespace kelvary::test
