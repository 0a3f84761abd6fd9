#include "loopback_http_server_win32.h"

#include <ws2tcpip.h>

#include <chrono>

namespace kelvary::test {
namespace {

constexpr const char* kLoopbackAddress = "127.0.0.1";
constexpr WORD kWinsockVersion = MAKEWORD(2, 2);
constexpr int kBacklog = 4;
constexpr long kPollMicroseconds = 50000;
constexpr auto kSilentPoll = std::chrono::milliseconds(50);
constexpr std::size_t kReadChunk = 1024;
constexpr const char* kEndOfHead = "\r\n\r\n";
constexpr const char* kLineEnd = "\r\n";

// Winsock for as long as any server lives; WSAStartup counts its callers.
struct Winsock {
  Winsock() {
    WSADATA data{};
    WSAStartup(kWinsockVersion, &data);
  }
  ~Winsock() { WSACleanup(); }
};

sockaddr_in LoopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  inet_pton(AF_INET, kLoopbackAddress, &address.sin_addr);
  return address;
}

// A socket bound to a free loopback port, and that port.
SOCKET BindLoopback(int& port) {
  SOCKET socket_handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = LoopbackAddress(0);
  bind(socket_handle, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(socket_handle, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return socket_handle;
}

bool Readable(SOCKET socket_handle) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(socket_handle, &set);
  timeval wait{0, kPollMicroseconds};
  return select(0, &set, nullptr, nullptr, &wait) > 0;
}

std::string ResponseText(const HttpResponse& response) {
  // The client reads the status code; any reason phrase will do.
  return "HTTP/1.1 " + std::to_string(response.status) + " Test" + kLineEnd + "Content-Type: text/plain" + kLineEnd +
         "Content-Length: " + std::to_string(response.body.size()) + kLineEnd +
         "Connection: close" + kLineEnd + kLineEnd + response.body;
}

void SendAll(SOCKET client, const std::string& text) {
  std::size_t sent = 0;
  while (sent < text.size()) {
    const int now = send(client, text.data() + sent, static_cast<int>(text.size() - sent), 0);
    if (now <= 0) return;
    sent += static_cast<std::size_t>(now);
  }
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(std::optional<HttpResponse> response,
                                       std::chrono::milliseconds pause_per_byte)
    : response_(std::move(response)), pause_per_byte_(pause_per_byte) {
  static Winsock winsock;
  listener_ = BindLoopback(port_);
  listen(listener_, kBacklog);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  stop_ = true;
  thread_.join();
  closesocket(listener_);
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
  return std::string("http://") + kLoopbackAddress + ":" + std::to_string(port_) + path;
}

void LoopbackHttpServer::OnRequest(std::function<void()> probe) {
  std::lock_guard<std::mutex> lock(mutex_);
  probe_ = std::move(probe);
}

std::vector<std::string> LoopbackHttpServer::RequestLines() {
  std::lock_guard<std::mutex> lock(mutex_);
  return request_lines_;
}

void LoopbackHttpServer::Serve() {
  while (!stop_) {
    if (!Readable(listener_)) continue;
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    Answer(client);
    closesocket(client);
  }
}

// Reads the head up to the empty line that ends it (a GET has no body),
// then answers, or waits in silence until the server stops.
void LoopbackHttpServer::Answer(SOCKET client) {
  std::string head;
  char chunk[kReadChunk];
  while (!stop_ && head.find(kEndOfHead) == std::string::npos) {
    if (!Readable(client)) continue;
    const int read = recv(client, chunk, sizeof chunk, 0);
    if (read <= 0) break;
    head.append(chunk, static_cast<std::size_t>(read));
  }
  std::function<void()> probe;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    request_lines_.push_back(head.substr(0, head.find(kLineEnd)));
    probe = probe_;
  }
  if (probe) probe();
  while (!response_ && !stop_) std::this_thread::sleep_for(kSilentPoll);
  if (!response_) return;
  const std::string text = ResponseText(*response_);
  if (pause_per_byte_.count() == 0) {
    SendAll(client, text);
  } else {
    for (std::size_t sent = 0; sent < text.size(); ++sent) {
      std::this_thread::sleep_for(pause_per_byte_);
      if (stop_ || send(client, text.data() + sent, 1, 0) != 1) return;
    }
  }
  ++responses_sent_;
  shutdown(client, SD_SEND);
}

int UnusedLoopbackPort() {
  static Winsock winsock;
  int port = 0;
  closesocket(BindLoopback(port));
  return port;
}

}  // namespace kelvary::test
