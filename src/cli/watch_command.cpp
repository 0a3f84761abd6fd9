#include "cli/watch_command.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "cli/all_apps_check.h"
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
  bool all_apps = false;
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

// One application, checked as the window checks it.
class ApplicationWatch {
 public:
  explicit ApplicationWatch(WatchOptions options) : options_(std::move(options)), tracker_(options_.json) {
    options_.request.quiet = true;
  }

  // False when the output cannot be written.
  bool CheckOnce() {
    std::optional<ScanState> reported;
    std::string application = options_.request.application;
    const ScanPrinter keep = [&](const ScanState& state, std::string_view checked) {
      reported = state;
      application = checked;
    };
    const int code = CheckStoredServer(options_.request, &keep);
    const ScanState* state = code == kExitOk && reported ? &*reported : nullptr;
    return Printed(tracker_.AfterCheck(LocalTimeNow(), code, state, application));
  }
  bool Done() const { return tracker_.NothingRunning(); }

 private:
  WatchOptions options_;
  WatchTracker tracker_;
};

// Every application of a server reached by path; each line names its
// application. Done when no application with a log runs anything.
class ServerWatch {
 public:
  explicit ServerWatch(WatchOptions options) : options_(std::move(options)) {}

  bool CheckOnce() {
    const ServerApplications scanned = ScanServerApplications(options_.request.server);
    const std::string now = LocalTimeNow();
    if (scanned.exit_code != kExitOk) {
      return Printed(Tracker(options_.request.server).AfterCheck(now, scanned.exit_code, nullptr, options_.request.server));
    }
    done_ = true;
    std::vector<std::string> lines;
    for (const ApplicationScan& scan : scanned.all.applications) {
      const int code = scan.log_found ? kExitOk : kExitCheckFailed;
      WatchTracker& tracker = Tracker(scan.application);
      for (std::string& line : tracker.AfterCheck(now, code, scan.log_found ? &scan.state : nullptr, scan.application)) {
        lines.push_back(std::move(line));
      }
      if (scan.log_found && !tracker.NothingRunning()) done_ = false;
    }
    return Printed(lines);
  }
  bool Done() const { return done_; }

 private:
  WatchTracker& Tracker(const std::string& name) {
    return trackers_.try_emplace(name, options_.json, true).first->second;
  }

  WatchOptions options_;
  std::map<std::string, WatchTracker> trackers_;
  bool done_ = false;
};

template <typename Watched>
int Watch(Watched watched, const WatchOptions& options) {
  std::signal(SIGINT, NoteInterrupt);
  for (;;) {
    if (!watched.CheckOnce()) return kExitOutputFailed;
    if (options.until_done && watched.Done()) return kExitOk;
    if (!WaitUnlessInterrupted(options.interval_seconds)) return kExitInterrupted;
  }
}

}  // namespace

void AddWatchCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<WatchOptions>();
  CLI::App* watch = app.add_subcommand(
      "watch", "Check again and again and print a line for each change, until Ctrl-C (or --until-done)");
  watch->add_option("--server", options->request.server, "The server's name in the store")->required();
  CLI::Option* application = watch->add_option("--app", options->request.application, "Application name");
  watch->add_flag("--all-apps", options->all_apps, "Every application of a server reached by path at once")
      ->excludes(application);
  watch->add_option("--interval", options->interval_seconds, "Seconds between checks (default 30, at least 5)")
      ->check(CLI::Range(kShortestIntervalSeconds, kLongestIntervalSeconds));
  watch->add_flag("--until-done", options->until_done, "End (exit 0) once nothing is running");
  watch->add_flag("--json", options->json, "One JSON object a line instead of text");
  watch->callback([options, application, &exit_code] {
    if (options->all_apps) {
      exit_code = Watch(ServerWatch(*options), *options);
      return;
    }
    if (application->count() == 0) throw CLI::RequiredError("--app or --all-apps");
    exit_code = Watch(ApplicationWatch(*options), *options);
  });
}

}  // namespace kelvary::cli
