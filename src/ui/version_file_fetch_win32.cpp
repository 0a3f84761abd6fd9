#include "ui/version_file_fetch_win32.h"

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "kelvary_version.h"

namespace kelvary {
namespace {

constexpr const char* kUserAgent = KELVARY_PRODUCT_NAME;
constexpr const char* kGetVerb = "GET";
constexpr DWORD kChunkSize = 4096;
constexpr DWORD kFirstSuccessStatus = 200;
constexpr DWORD kLastSuccessStatus = 299;

// Always from the site, never from a cache, and never a dialog: the window
// waits for this call. A site that moved to https is followed there.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;

// Set on the request handle: Wine ignores time-outs given to the session.
constexpr DWORD kTimeoutOptions[] = {INTERNET_OPTION_CONNECT_TIMEOUT,
                                     INTERNET_OPTION_SEND_TIMEOUT,
                                     INTERNET_OPTION_RECEIVE_TIMEOUT};

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

struct UrlParts {
  std::string host;
  INTERNET_PORT port;
  std::string object;  // path and query, as the request line names it
  bool secure;
};

std::optional<UrlParts> SplitUrl(const std::string& url) {
  char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  char path[INTERNET_MAX_PATH_LENGTH + 1] = {};
  char extra[INTERNET_MAX_PATH_LENGTH + 1] = {};
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = sizeof extra;
  if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts)) return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
    return std::nullopt;
  }
  return UrlParts{host, parts.nPort, std::string(path) + extra,
                  parts.nScheme == INTERNET_SCHEME_HTTPS};
}

void SetTimeouts(HINTERNET request, DWORD timeout_ms) {
  for (DWORD option : kTimeoutOptions) {
    InternetSetOptionA(request, option, &timeout_ms, sizeof timeout_ms);
  }
}

bool HasSuccessStatus(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr)) {
    return false;
  }
  return status >= kFirstSuccessStatus && status <= kLastSuccessStatus;
}

// Reads until the body ends or passes the limit. False when reading fails.
bool ReadBody(HINTERNET request, LimitedBody& body) {
  char chunk[kChunkSize];
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request, chunk, sizeof chunk, &read)) return false;
    if (read == 0 || !body.Append(std::string_view(chunk, read))) return true;
  }
}

// The request itself; each of its waits may take up to `timeout_ms`.
FetchedVersionFile FetchWithWaitsOf(const std::string& url, unsigned timeout_ms) {
  FetchedVersionFile fetched;
  const std::optional<UrlParts> parts = SplitUrl(url);
  if (!parts) return fetched;
  const InternetHandle session(
      InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return fetched;
  const InternetHandle connection(InternetConnectA(session.get(), parts->host.c_str(), parts->port,
                                                   nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return fetched;
  const DWORD flags = kRequestFlags | (parts->secure ? INTERNET_FLAG_SECURE : 0);
  const InternetHandle request(HttpOpenRequestA(connection.get(), kGetVerb, parts->object.c_str(),
                                                nullptr, nullptr, nullptr, flags, 0));
  if (!request) return fetched;
  SetTimeouts(request.get(), timeout_ms);
  if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0) || !HasSuccessStatus(request.get())) {
    return fetched;
  }
  fetched.received = ReadBody(request.get(), fetched.body);
  return fetched;
}

// What the request's thread hands back, kept alive by whichever of the two
// threads ends last.
struct PendingFetch {
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  FetchedVersionFile fetched;
};

}  // namespace

// WinINet's time-outs bound each wait, not the whole: a server that sends a
// byte now and then could hold the window for minutes. The request runs in
// a thread of its own; past the deadline it is left to end by itself, and
// its answer no longer counts.
FetchedVersionFile FetchVersionFile(const std::string& url, unsigned timeout_ms) {
  const auto pending = std::make_shared<PendingFetch>();
  std::thread([pending, url, timeout_ms] {
    FetchedVersionFile fetched = FetchWithWaitsOf(url, timeout_ms);
    const std::lock_guard<std::mutex> lock(pending->mutex);
    pending->fetched = std::move(fetched);
    pending->done = true;
    pending->ended.notify_one();
  }).detach();
  std::unique_lock<std::mutex> lock(pending->mutex);
  if (!pending->ended.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return pending->done; })) {
    return {};
  }
  return std::move(pending->fetched);
}

}  // namespace kelvary
