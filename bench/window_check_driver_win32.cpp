// For the window's check benchmark: opens the real main window on a server
// whose Essbase directory is the first argument, presses "Check Calculation"
// for the application of the second, and prints the report on stdout and
// the time from the click to the finished report on stderr, in ms.
#include <windows.h>
#undef Yield

#include <chrono>
#include <cstdio>
#include <string>

#include "servers/registry_store.h"
#include "status/essbase_library.h"
#include "status/executable_directory.h"
#include "support/memory_registry.h"
#include "ui/form1_win32.h"
#include "ui/message_loop_win32.h"
#include "window_reading/window_reading_win32.h"

namespace {

constexpr int kExitUsage = 64;
constexpr int kExitNoWindow = 1;
constexpr const char* kServer = "Bench";

}  // namespace

int main(int argc, char** argv) {
  using namespace kelvary;
  if (argc != 3) {
    std::fprintf(stderr, "usage: kelvary-window-check-driver ESSBASE_DIR APPLICATION\n");
    return kExitUsage;
  }
  SetStoreKeyPaths();
  MemoryRegistry registry;
  RegWriteText(registry, RegRoot::CurrentUser, ServerKeyPath(kServer), "Path", argv[1]);
  const auto files = OpenSettingsFileAccess();
  Form1 form(Form1Services{registry, *files, ExecutableDirectory(), {}, LoadEssbaseLibrary});
  if (!form.Create()) return kExitNoWindow;
  form.Show(SW_SHOWNORMAL);
  ProcessPendingMessages(form.Window());
  SetWindowTextA(form.Control(form1::txtApp), argv[2]);

  const auto start = std::chrono::steady_clock::now();
  SendMessageA(form.Control(form1::cmdOK), BM_CLICK, 0, 0);
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;

  for (const std::string& line : test::ListBoxLines(form.Control(form1::lstCalcs))) {
    std::printf("%s\n", line.c_str());
  }
  std::fprintf(stderr, "%.1f\n", elapsed.count());
  return 0;
}
