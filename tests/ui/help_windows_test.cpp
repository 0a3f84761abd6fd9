// The help and about windows as the Help menu opens them over the real main
// window: their text, layout, keys and modality. Each look happens inside
// the window's modal run, from a probe posted before the menu command.
#include <functional>
#include <span>

#include "form1_fixture.h"
#include "support/posted_probe_win32.h"
#include "ui/help_windows_win32.h"
#include "ui/info_texts.h"
#include "ui/resource_ids.h"

namespace kelvary::test {
namespace {

using info_window::Command1;
using info_window::txtInfo;

const ExpectedControl kHelpControls[] = {
    {txtInfo, "Edit", nullptr, {8, 8, 337, 185}},
    {Command1, "Button", "Close", {136, 208, 57, 25}},
};

const ExpectedControl kAboutControls[] = {
    {txtInfo, "Edit", nullptr, {8, 24, 337, 169}},
    {Command1, "Button", "Close", {216, 208, 57, 25}},
};

struct WindowCase {
  const char* name;
  int menu_id;
  const char* class_name;
  const char* caption;
  PixelRect client;
  std::span<const ExpectedControl> controls;
  bool tool_window;  // else a dialog frame
  int first_focus;
  int second_focus;
};

const WindowCase kWindows[] = {
    {"help", IDM_HELP_HELP, frm_help::kClassName, "Help", {0, 0, 355, 247}, kHelpControls, true,
     txtInfo, Command1},
    {"about", IDM_HELP_ABOUT, frm_about::kClassName, "About Kelvary", {0, 0, 357, 246},
     kAboutControls, false, Command1, txtInfo},
};

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrA(window, GWL_STYLE); }
LONG_PTR ExStyleOf(HWND window) { return GetWindowLongPtrA(window, GWL_EXSTYLE); }

// The pixels of an icon drawn at 16 by 16 on black.
std::vector<DWORD> IconPixels(HICON icon) {
  constexpr int kSide = 16;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSide;
  info.bmiHeader.biHeight = -kSide;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  DrawIconEx(memory, 0, 0, icon, kSide, kSide, 0, nullptr, DI_NORMAL);
  GdiFlush();
  const auto* first = static_cast<const DWORD*>(bits);
  std::vector<DWORD> pixels(first, first + kSide * kSide);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

class HelpWindowsTest : public Form1Test {
 protected:
  void SetUp() override { Open(); }

  // Opens the window of `menu_id` and runs `look` on it inside its modal
  // run; then presses Close if the window is still open. Returns the window
  // as it was found (gone by now).
  HWND WhileOpen(int menu_id, const char* class_name, const std::function<void(HWND)>& look) {
    PostedProbe probe;
    HWND found = nullptr;
    probe.Post([&] {
      found = FindProcessWindow(class_name, GetCurrentProcessId());
      if (!found) return;
      look(found);
      if (IsWindow(found)) SendMessageA(GetDlgItem(found, Command1), BM_CLICK, 0, 0);
    });
    Menu(menu_id);
    EXPECT_TRUE(probe.Ran());
    EXPECT_NE(found, nullptr) << class_name;
    EXPECT_FALSE(IsWindow(found));
    return found;
  }

  // Keys as the keyboard would give them to `control`, handled before
  // the look goes on.
  void PressKeyIn(HWND window, HWND control, UINT key) {
    SetFocus(control);
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
    ProcessPendingMessages(window);
  }
};

TEST_F(HelpWindowsTest, HelpShowsTheGuideInAFreshWindowEachTimeEvenAfterAnEdit) {
  std::string first_shown, edited, second_shown;
  const HWND first = WhileOpen(IDM_HELP_HELP, frm_help::kClassName, [&](HWND help) {
    HWND text = GetDlgItem(help, txtInfo);
    first_shown = TextOf(text);
    SendMessageA(text, EM_SETSEL, 0, -1);
    SendMessageA(text, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("my own notes"));
    edited = TextOf(text);
  });
  const HWND second = WhileOpen(IDM_HELP_HELP, frm_help::kClassName,
                                [&](HWND help) { second_shown = TextOf(GetDlgItem(help, txtInfo)); });
  EXPECT_EQ(first_shown, HelpText());
  EXPECT_EQ(edited, "my own notes");
  EXPECT_EQ(second_shown, HelpText());
  EXPECT_NE(first, second);
}

TEST_F(HelpWindowsTest, AboutNamesTheProductItsVersionAndWhatItDoes) {
  std::string shown;
  WhileOpen(IDM_HELP_ABOUT, frm_about::kClassName,
            [&](HWND about) { shown = TextOf(GetDlgItem(about, txtInfo)); });
  EXPECT_EQ(shown, AboutText({1, 65, 0, 167, "Kelvary"}));
}

// Layout, frame, the text box's style, focus and Tab, modality and the close
// box, each seen inside the window's modal run.
TEST_F(HelpWindowsTest, EachWindowIsLaidOutFramedFocusedModalAndClosedByItsCloseBox) {
  for (const WindowCase& c : kWindows) {
    SCOPED_TRACE(c.name);
    HWND owner = nullptr;
    bool main_enabled = true;
    WhileOpen(c.menu_id, c.class_name, [&](HWND window) {
      EXPECT_EQ(TextOf(window), c.caption);
      EXPECT_EQ(ClientSize(window), c.client);
      ExpectControls(window, c.controls);
      EXPECT_EQ((ExStyleOf(window) & WS_EX_TOOLWINDOW) != 0, c.tool_window);
      EXPECT_TRUE(c.tool_window || (ExStyleOf(window) & WS_EX_DLGMODALFRAME));
      EXPECT_FALSE(StyleOf(window) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
      EXPECT_TRUE(StyleOf(window) & WS_SYSMENU);
      const LONG_PTR text_style = StyleOf(GetDlgItem(window, txtInfo));
      EXPECT_TRUE(text_style & ES_MULTILINE);
      EXPECT_TRUE(text_style & WS_VSCROLL);
      EXPECT_FALSE(text_style & (ES_AUTOHSCROLL | WS_HSCROLL)) << "no word wrap";
      EXPECT_FALSE(text_style & ES_READONLY);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.first_focus);
      PressKeyIn(window, GetFocus(), VK_TAB);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.second_focus);
      PressKeyIn(window, GetFocus(), VK_TAB);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.first_focus);
      owner = GetWindow(window, GW_OWNER);
      main_enabled = IsWindowEnabled(Window()) != FALSE;
      EXPECT_EQ(GetActiveWindow(), window);
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      ProcessPendingMessages(window);
      EXPECT_FALSE(IsWindow(window)) << "the close box closes it";
    });
    EXPECT_EQ(owner, Window());
    EXPECT_FALSE(main_enabled);
    EXPECT_TRUE(IsWindowEnabled(Window()));
    EXPECT_EQ(GetActiveWindow(), Window());
  }
}

// The icons are the system's shared copies, loaded once however often the
// window opens: an icon of its own at each opening would never be freed.
TEST_F(HelpWindowsTest, AboutHasAnIconOfItsOwnLoadedOnce) {
  const std::vector<DWORD> main_icon =
      IconPixels(reinterpret_cast<HICON>(GetClassLongPtrA(Window(), GCLP_HICONSM)));
  const auto shared_icon = [](WORD id, int metric) {
    return LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, GetSystemMetrics(metric),
                      GetSystemMetrics(metric), LR_DEFAULTCOLOR | LR_SHARED);
  };
  EXPECT_EQ(reinterpret_cast<HANDLE>(GetClassLongPtrA(Window(), GCLP_HICONSM)), shared_icon(IDI_KELVARY, SM_CXSMICON));
  WhileOpen(IDM_HELP_ABOUT, frm_about::kClassName, [&](HWND about) {
    const auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(about, GCLP_HICONSM));
    ASSERT_NE(icon, nullptr);
    const std::vector<DWORD> about_icon = IconPixels(icon);
    EXPECT_NE(about_icon, main_icon);
    EXPECT_NE(about_icon, std::vector<DWORD>(about_icon.size(), 0)) << "an empty picture";
    EXPECT_EQ(reinterpret_cast<HANDLE>(GetClassLongPtrA(about, GCLP_HICON)), shared_icon(IDI_ABOUT, SM_CXICON));
    EXPECT_EQ(icon, shared_icon(IDI_ABOUT, SM_CXSMICON));
  });
}

struct KeyCase {
  const char* name;
  int focus_id;
  UINT key;
  bool closes;
};

// Esc closes nothing; Enter is a new line in the text and presses Close
// only when Close has the focus, as it does any push button.
const KeyCase kKeys[] = {
    {"Esc in the text", txtInfo, VK_ESCAPE, false},
    {"Esc on Close", Command1, VK_ESCAPE, false},
    {"Enter in the text", txtInfo, VK_RETURN, false},
    {"Enter on Close", Command1, VK_RETURN, true},
};

TEST_F(HelpWindowsTest, CloseButtonIsNeitherDefaultNorCancel) {
  for (const WindowCase& c : kWindows) {
    for (const KeyCase& k : kKeys) {
      bool open_after_key = false;
      WhileOpen(c.menu_id, c.class_name, [&](HWND window) {
        EXPECT_EQ(StyleOf(GetDlgItem(window, Command1)) & BS_TYPEMASK, BS_PUSHBUTTON) << c.name;
        PressKeyIn(window, GetDlgItem(window, k.focus_id), k.key);
        open_after_key = IsWindow(window) != FALSE;
      });
      EXPECT_EQ(open_after_key, !k.closes) << c.name << ": " << k.name;
    }
  }
}

TEST_F(HelpWindowsTest, EnterInTheTextStartsANewLine) {
  std::string text;
  WhileOpen(IDM_HELP_ABOUT, frm_about::kClassName, [&](HWND about) {
    HWND box = GetDlgItem(about, txtInfo);
    SetWindowTextA(box, "ab");
    SendMessageA(box, EM_SETSEL, 1, 1);
    PressKeyIn(about, box, VK_RETURN);
    text = TextOf(box);
  });
  EXPECT_EQ(text, "a\r\nb");
}

}  // namespace
}  // namespace kelvary::test
