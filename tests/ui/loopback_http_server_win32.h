#pragma once
// A small HTTP server on 127.0.0.1 for the update check's tests, in a thread
// of the test: it gives every request one fixed response, or takes the
// request and never answers. It listens on the loopback address only.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kelvary::test {

struct HttpResponse {
  int status;
  std::string body;
};

class LoopbackHttpServer {
 public:
  // Answers every request with `response`; without one, takes every
  // request and keeps its connection open without a word.
  // With a pause, the response goes out one byte after each pause.
  explicit LoopbackHttpServer(std::optional<HttpResponse> response,
                              std::chrono::milliseconds pause_per_byte = std::chrono::milliseconds(0));
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(const std::string& path) const;

  // Runs in the server's thread each time a request has arrived, before
  // it is answered: a look at the client while it waits.
  void OnRequest(std::function<void()> probe);

  // The request line of every request so far ("GET /x HTTP/1.1").
  std::vector<std::string> RequestLines();

  // Responses sent to their last byte so far.
  int ResponsesSent() const { return responses_sent_; }

 private:
  void Serve();
  void Answer(SOCKET client);

  const std::optional<HttpResponse> response_;
  const std::chrono::milliseconds pause_per_byte_;
  std::atomic<int> responses_sent_{0};
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::function<void()> probe_;
  std::vector<std::string> request_lines_;
  std::thread thread_;
};

// A loopback port nothing listens on: connecting to it is refused at once.
int UnusedLoopbackPort();

}  // namespace kelvary::test
