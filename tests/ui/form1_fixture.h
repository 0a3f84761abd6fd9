#pragma once
// The real main window, in this test's process: a store in memory, the
// settings file on disk in a folder of its own standing in for the
// executable's directory, and the window's messages run through the
// program's own message handling.
#include <windows.h>
#undef Yield

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "servers/registry_store.h"
#include "status/essbase_library.h"
#include "support/memory_registry.h"
#include "support/temp_folder.h"
#include "ui/form1_win32.h"
#include "ui/message_loop_win32.h"
#include "ui/settings_file.h"
#include "window_reading/window_reading_win32.h"

namespace kelvary::test {

// The bundled demo data, as the program sees the path.
inline std::string DemoEssbasePath() { return ProgramPath(KELVARY_SOURCE_DIR "/samples/essbase"); }

// A control as the user sees it: class, caption (null: not compared) and
// place at 96 DPI (twips / 15).
struct ExpectedControl {
  int id;
  const char* window_class;
  const char* caption;
  PixelRect at_96_dpi;
};

inline void ExpectControls(HWND parent, std::span<const ExpectedControl> controls) {
  for (const ExpectedControl& expected : controls) {
    HWND control = GetDlgItem(parent, expected.id);
    ASSERT_NE(control, nullptr) << expected.id;
    EXPECT_EQ(lstrcmpiA(ClassNameOf(control).c_str(), expected.window_class), 0) << expected.id;
    if (expected.caption) {
      EXPECT_EQ(TextOf(control), expected.caption);
    }
    EXPECT_EQ(ChildRect(control), expected.at_96_dpi) << expected.id;
  }
}

inline LOGFONTA FontOf(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() { SetStoreKeyPaths(); }
  ~Form1Test() override { CloseAndForget(); }

  // Destroys the window and drops the WM_QUIT that posted: it would end the
  // next window's message boxes and loops at once.
  void CloseAndForget() {
    form_.reset();
    while (QuitPosted()) {
    }
  }

  void AddServer(const std::string& name, const std::string& path) {
    RegWriteText(registry_, RegRoot::CurrentUser, ServerKeyPath(name), "Path", path);
    RegWriteText(registry_, RegRoot::CurrentUser, ServerKeyPath(name), "Access", "0");
  }
  void AddDemoServer() { AddServer("Demo", DemoEssbasePath()); }

  // Creates and shows the window, as if run from `executable_directory`;
  // Form_Load runs.
  void Open(const std::string& executable_directory = {}) {
    const std::string directory = executable_directory.empty() ? folder_.Text() : executable_directory;
    form_ = std::make_unique<Form1>(Form1Services{*store_, *files_, directory, "", LoadEssbaseLibrary});
    ASSERT_TRUE(form_->Create());
    form_->Show(SW_SHOWNORMAL);
    Pump();
  }

  void Reopen(const std::string& executable_directory = {}) {
    CloseAndForget();
    Open(executable_directory);
  }
  HWND Window() const { return form_->Window(); }
  HWND Control(int id) const { return form_->Control(id); }
  std::vector<std::string> Report() const { return ListBoxLines(Control(form1::lstCalcs)); }
  std::string ServerText() const { return TextOf(Control(form1::cboServers)); }
  int FocusId() const { return GetDlgCtrlID(GetFocus()); }
  void SetAppText(const char* text) { SetWindowTextA(Control(form1::txtApp), text); }
  void SelectServer(const char* name) {
    SendMessageA(Control(form1::cboServers), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(name));
  }
  void Click(int id) { SendMessageA(Control(id), BM_CLICK, 0, 0); }
  void Menu(int id) { SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  // A key as the keyboard delivers it: to the control with the focus,
  // through the window's message handling (IsDialogMessage included).
  void PressKey(UINT key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
    Pump();
  }
  void Pump() { ProcessPendingMessages(form_ ? form_->Window() : nullptr); }
  std::string Ini() const { return FileContent(folder_.path() / "Kelvary.ini"); }
  bool QuitPosted() {
    MSG quit{};
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
  }

  MemoryRegistry registry_;
  RegistryBackend* store_ = &registry_;  // the window's store; a fixture may give it another
  std::unique_ptr<SettingsFileAccess> files_ = OpenSettingsFileAccess();
  TempFolder folder_;
  std::unique_ptr<Form1> form_;
};

}  // namespace kelvary::test
