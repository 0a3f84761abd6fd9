#pragma once
// What the check's tests share: a view that records every visible change in
// order, temporary folders, and the environment the stand-in library reads.
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "status/check_driver.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
// winbase.h defines Yield() as an empty macro for 16-bit code; it would
// rewrite CheckView::Yield.
#undef Yield
#else
#include <cstdlib>
#endif

namespace kelvary::test {

// Each change to the window as one text, e.g. "ok:off", "line:Searching...";
// lines holds what lstCalcs holds now.
class RecordingView final : public CheckView {
 public:
  std::vector<std::string> events;
  std::string server;
  std::string application;
  bool detail = false;
  // Called at each yield; returning false says the window is gone.
  std::function<bool()> on_yield = [] { return true; };
  bool box_answer = true;  // false: the window closed while the box was open

  std::string ServerName() override { return server; }
  std::string ApplicationName() override { return application; }
  void SetApplicationName(std::string_view text) override {
    application = text;
    events.push_back("app:" + application);
  }
  bool DetailTicked() override { return detail; }
  void SetOkEnabled(bool enabled) override { events.push_back(enabled ? "ok:on" : "ok:off"); }
  void SetExitEnabled(bool enabled) override { events.push_back(enabled ? "exit:on" : "exit:off"); }
  void SetAutoCheckEnabled(bool enabled) override {
    events.push_back(enabled ? "check:on" : "check:off");
  }
  void SwitchAutoCheckOff() override { events.push_back("timer:off"); }
  bool ShowError(std::string_view text) override {
    events.push_back("box:" + std::string(text));
    return box_answer;
  }
  bool Yield() override {
    events.push_back("yield");
    return on_yield();
  }
  void ClearLines() override {
    events.push_back("clear");
    lines.clear();
  }
  void AppendLine(std::string_view line) override {
    events.push_back("line:" + std::string(line));
    lines.emplace_back(line);
  }
  std::vector<std::string> lines;
};

inline std::vector<std::string> ReadLines(const std::string& path) {
  std::istringstream in(FileContent(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Set in the operating system's environment, where a loaded library (with a
// C runtime of its own on Windows) reads it too.
inline void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  SetEnvironmentVariableA(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

inline void UnsetEnvironment(const char* name) {
#ifdef _WIN32
  SetEnvironmentVariableA(name, nullptr);
#else
  unsetenv(name);
#endif
}

}  // namespace kelvary::test
