// The help and about windows as the Help menu opens them over the real main
// window: their text, layout, keys and modality. Each look happens inside
// the window's modal run, from a probe posted before the menu command.
#include <functional>

#include "form1_fixture.h"
#include "support/posted_probe_win32.h"
#include "ui/help_windows_win32.h"
#include "ui/info_texts.h"
#include "ui/resource_ids.h"

namespace kelvary::test {
namespace {

using info_window::Command1;
using info_window::txtInfo;

struct ControlCase {
  int id;
  const char* window_class;
  const char* caption;
  PixelRect at_96_dpi;  // twips / 15
};

const ControlCase kHelpControls[] = {
    {txtInfo, "Edit", nullptr, {8, 8, 337, 185}},
    {Command1, "Button", "Close", {136, 208, 57, 25}},
};

const ControlCase kAboutControls[] = {
    {txtInfo, "Edit", nullptr, {8, 24, 337, 169}},
    {Command1, "Button", "Close", {216, 208, 57, 25}},
};

struct WindowCase {
  const char* name;
  int menu_id;
  const char* class_name;
  const char* caption;
  PixelRect client;
  std::vector<ControlCase> controls;
  int first_focus;
  int second_focus;
};

const WindowCase kWindows[] = {
    {"help", IDM_HELP_HELP, frm_help::kClassName, "Help", {0, 0, 355, 247},
     {std::begin(kHelpControls), std::end(kHelpControls)}, txtInfo, Command1},
    {"about", IDM_HELP_ABOUT, frm_about::kClassName, "About Kelvary", {0, 0, 357, 246},
     {std::begin(kAboutControls), std::end(kAboutControls)}, Command1, txtInfo},
};

HWND ThreadWindowOfClass(const char* class_name) {
  struct Search {
    const char* class_name;
    HWND found;
  } search{class_name, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM search_address) -> BOOL {
        auto* s = reinterpret_cast<Search*>(search_address);
        if (ClassNameOf(window) != s->class_name) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

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
      found = ThreadWindowOfClass(class_name);
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

  std::string HelpTextShown() {
    std::string text;
    WhileOpen(IDM_HELP_HELP, frm_help::kClassName,
              [&](HWND help) { text = TextOf(GetDlgItem(help, txtInfo)); });
    return text;
  }
};

TEST_F(HelpWindowsTest, HelpShowsTheGuideByteForByte) {
  const std::string shown = HelpTextShown();
  EXPECT_EQ(shown, HelpText());
  EXPECT_EQ(shown.size(), HelpText().size());
  EXPECT_TRUE(shown.starts_with("Adding Server To Kelvary\r\nTo add a server to Kelvary"));
  EXPECT_TRUE(shown.ends_with("click the delete button."));
}

TEST_F(HelpWindowsTest, HelpShowsTheGuideAgainAfterTheUserEditedIt) {
  std::string edited;
  WhileOpen(IDM_HELP_HELP, frm_help::kClassName, [&](HWND help) {
    HWND text = GetDlgItem(help, txtInfo);
    SendMessageA(text, EM_SETSEL, 0, -1);
    SendMessageA(text, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("my own notes"));
    edited = TextOf(text);
  });
  EXPECT_EQ(edited, "my own notes");
  EXPECT_EQ(HelpTextShown(), HelpText());
}

TEST_F(HelpWindowsTest, AboutNamesTheProductItsVersionAndWhatItDoes) {
  std::string shown;
  WhileOpen(IDM_HELP_ABOUT, frm_about::kClassName,
            [&](HWND about) { shown = TextOf(GetDlgItem(about, txtInfo)); });
  EXPECT_TRUE(shown.starts_with("Kelvary\r\nVersion 1.65.167\r\n\r\n")) << shown;
  EXPECT_EQ(shown, AboutText({1, 65, 0, 167, "Kelvary"}));
}

TEST_F(HelpWindowsTest, EachWindowHasItsControlsInPlaceAt96Dpi) {
  for (const WindowCase& c : kWindows) {
    WhileOpen(c.menu_id, c.class_name, [&](HWND window) {
      EXPECT_EQ(TextOf(window), c.caption);
      EXPECT_EQ(ClientSize(window), c.client) << c.name;
      for (const ControlCase& control : c.controls) {
        HWND child = GetDlgItem(window, control.id);
        ASSERT_NE(child, nullptr) << c.name;
        EXPECT_EQ(lstrcmpiA(ClassNameOf(child).c_str(), control.window_class), 0) << c.name;
        if (control.caption) {
          EXPECT_EQ(TextOf(child), control.caption) << c.name;
        }
        EXPECT_EQ(ChildRect(child), control.at_96_dpi) << c.name << " " << control.id;
      }
    });
  }
}

TEST_F(HelpWindowsTest, TextBoxesWrapScrollAndCanBeEdited) {
  for (const WindowCase& c : kWindows) {
    WhileOpen(c.menu_id, c.class_name, [&](HWND window) {
      const LONG_PTR style = StyleOf(GetDlgItem(window, txtInfo));
      EXPECT_TRUE(style & ES_MULTILINE) << c.name;
      EXPECT_TRUE(style & WS_VSCROLL) << c.name;
      EXPECT_FALSE(style & (ES_AUTOHSCROLL | WS_HSCROLL)) << c.name << ": no word wrap";
      EXPECT_FALSE(style & ES_READONLY) << c.name;
    });
  }
}

TEST_F(HelpWindowsTest, FocusStartsOnTheFirstControlAndTabWalksBothAndBack) {
  for (const WindowCase& c : kWindows) {
    WhileOpen(c.menu_id, c.class_name, [&](HWND window) {
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.first_focus) << c.name;
      PressKeyIn(window, GetFocus(), VK_TAB);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.second_focus) << c.name;
      PressKeyIn(window, GetFocus(), VK_TAB);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.first_focus) << c.name;
    });
  }
}

TEST_F(HelpWindowsTest, HelpIsAFixedToolWindowAndAboutAFixedDialog) {
  WhileOpen(IDM_HELP_HELP, frm_help::kClassName, [&](HWND help) {
    EXPECT_TRUE(ExStyleOf(help) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(StyleOf(help) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(StyleOf(help) & WS_SYSMENU);
  });
  WhileOpen(IDM_HELP_ABOUT, frm_about::kClassName, [&](HWND about) {
    EXPECT_FALSE(ExStyleOf(about) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ExStyleOf(about) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(StyleOf(about) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(StyleOf(about) & WS_SYSMENU);
  });
}

TEST_F(HelpWindowsTest, AboutHasAnIconOfItsOwn) {
  const std::vector<DWORD> main_icon =
      IconPixels(reinterpret_cast<HICON>(GetClassLongPtrA(Window(), GCLP_HICONSM)));
  WhileOpen(IDM_HELP_ABOUT, frm_about::kClassName, [&](HWND about) {
    const auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(about, GCLP_HICONSM));
    ASSERT_NE(icon, nullptr);
    const std::vector<DWORD> about_icon = IconPixels(icon);
    EXPECT_NE(about_icon, main_icon);
    EXPECT_NE(about_icon, std::vector<DWORD>(about_icon.size(), 0)) << "an empty picture";
  });
}

TEST_F(HelpWindowsTest, WindowsAreModalOverTheMainWindowAndGiveItBack) {
  for (const WindowCase& c : kWindows) {
    HWND owner = nullptr;
    bool main_enabled = true;
    WhileOpen(c.menu_id, c.class_name, [&](HWND window) {
      owner = GetWindow(window, GW_OWNER);
      main_enabled = IsWindowEnabled(Window()) != FALSE;
      EXPECT_EQ(GetActiveWindow(), window) << c.name;
    });
    EXPECT_EQ(owner, Window()) << c.name;
    EXPECT_FALSE(main_enabled) << c.name;
    EXPECT_TRUE(IsWindowEnabled(Window())) << c.name;
    EXPECT_EQ(GetActiveWindow(), Window()) << c.name;
  }
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

TEST_F(HelpWindowsTest, CloseBoxClosesTheWindow) {
  for (const WindowCase& c : kWindows) {
    bool open_after_close_box = true;
    WhileOpen(c.menu_id, c.class_name, [&](HWND window) {
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      ProcessPendingMessages(window);
      open_after_close_box = IsWindow(window) != FALSE;
    });
    EXPECT_FALSE(open_after_close_box) << c.name;
    EXPECT_TRUE(IsWindowEnabled(Window())) << c.name;
  }
}

TEST_F(HelpWindowsTest, EachShowingCreatesANewWindow) {
  const HWND first = WhileOpen(IDM_HELP_ABOUT, frm_about::kClassName, [](HWND) {});
  const HWND second = WhileOpen(IDM_HELP_ABOUT, frm_about::kClassName, [](HWND) {});
  EXPECT_NE(first, second);
}

}  // namespace
}  // namespace kelvary::test
