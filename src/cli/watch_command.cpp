#include "cli/watch_command.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "cli/check_command.h"
#include "cli/exit_codes.h"
#include "cli/watch_tracker.h"

namespace kelvary::cli {
namespace {

constexpr int kDefaultIntervalSeconds = 30;
constexpr int kShortestIntervalSeconds = 5;
constexpr int kLongestIntervalSeconds = 24 * 60 * 60;
// How soon Ctrl-C is noticed while the watch waits.
constexpr auto kWakeInterval = std::chrono::milliseconds(100);
// The exit code of a program ended by Ctrl-C, as shells report it.
constexpr int kExitInterrupted = 130;
constexpr const char* kLocalTimeFormat = "%Y-%m-%dT%H:%M:%S";
constexpr std::size_t kLocalTimeSize = 32;

struct WatchOptions {
  CheckRequest request;
  int interval_seconds = kDefaultIntervalSeconds;
  bool until_done = false;
  bool json = false;
};

volatile std::sig_atomic_t interrupted = 0;

extern "C" void NoteInterrupt(int) { interrupted = 1; }

std::string LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[kLocalTimeSize];
  return std::string(text, std::strftime(text, sizeof text, kLocalTimeFormat, &local));
}

// False when Ctrl-C came meanwhile.
bool WaitUnlessInterrupted(int seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!interrupted && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(kWakeInterval);
  return !interrupted;
}

// A line that cannot be written (a closed pipe) ends the watch.
bool Printed(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

int Watch(WatchOptions options) {
  options.request.quiet = true;
  WatchTracker tracker(options.json);
  std::signal(SIGINT, NoteInterrupt);
  for (;;) {
    std::optional<ScanState> reported;
    std::string application = options.request.application;
    const ScanPrinter keep = [&](const ScanState& state, std::string_view checked) {
      reported = state;
      application = checked;
    };
    const int code = CheckStoredServer(options.request, &keep);
    const ScanState* state = code == kExitOk && reported ? &*reported : nullptr;
    if (!Printed(tracker.AfterCheck(LocalTimeNow(), code, state, application))) return kExitOutputFailed;
    if (options.until_done && tracker.NothingRunning()) return kExitOk;
    if (!WaitUnlessInterrupted(options.interval_seconds)) return kExitInterrupted;
  }
}

}  // namespace

void AddWatchCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<WatchOptions>();
  CLI::App* watch = app.add_subcommand(
      "watch", "Check again and again and print a line for each change, until Ctrl-C (or --until-done)");
  watch->add_option("--server", options->request.server, "The server's name in the store")->required();
  watch->add_option("--app", options->request.application, "Application name")->required();
  watch->add_option("--interval", options->interval_seconds, "Seconds between checks (default 30, at least 5)")
      ->check(CLI::Range(kShortestIntervalSeconds, kLongestIntervalSeconds));
  watch->add_flag("--until-done", options->until_done, "End (exit 0) once nothing is running");
  watch->add_flag("--json", options->json, "One JSON object a line instead of text");
  watch->callback([options, &exit_code] { exit_code = Watch(*options); });
}

}  // namespace kelvary::cli
