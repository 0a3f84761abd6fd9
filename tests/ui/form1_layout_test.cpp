// What the user sees of Form1 before doing anything: its controls with their
// classes, captions and places at 96 DPI, its frame, menu bar and icon, the
// order Tab walks, and the layout again after a move to a 150 % screen.
#include "form1_fixture.h"

namespace kelvary::test {
namespace {

struct ControlCase {
  int id;
  const char* window_class;
  const char* caption;
  PixelRect at_96_dpi;
};

// Twips / 15 at 96 DPI.
const ControlCase kControls[] = {
    {form1::Label1, "Static", "Server:", {8, 8, 41, 17}},
    {form1::cboServers, "ComboBox", "Demo", {56, 8, 209, 21}},  // the one server, selected
    {form1::Label2, "Static", "Application:", {8, 40, 81, 17}},
    {form1::txtApp, "Edit", "", {96, 40, 233, 19}},
    {form1::chkCheck, "Button", "Automatically Re-Check Kelvary Every 30 Seconds", {8, 64, 326, 16}},
    {form1::chkDetail, "Button", "Show Detail on Calculation Intervals", {8, 88, 289, 13}},
    {form1::lstCalcs, "ListBox", "", {8, 112, 329, 69}},
    {form1::cmdNewWindow, "Button", "Open New Window", {8, 192, 113, 25}},
    {form1::cmdExit, "Button", "Close", {144, 192, 73, 25}},
    {form1::cmdOK, "Button", "Check Calculation", {224, 192, 113, 25}},
};

class Form1LayoutTest : public Form1Test {
 protected:
  void SetUp() override {
    AddDemoServer();
    Open();
    ASSERT_EQ(GetDpiForWindow(Window()), 96u) << "the test prefix runs at 100 %";
  }
};

TEST_F(Form1LayoutTest, ControlsHaveTheirClassCaptionAndPlaceAt96Dpi) {
  for (const ControlCase& expected : kControls) {
    HWND control = Control(expected.id);
    ASSERT_NE(control, nullptr) << expected.caption;
    EXPECT_EQ(lstrcmpiA(ClassNameOf(control).c_str(), expected.window_class), 0)
        << ClassNameOf(control) << " for " << expected.caption;
    EXPECT_EQ(TextOf(control), expected.caption);
    EXPECT_EQ(ChildRect(control), expected.at_96_dpi) << expected.caption;
  }
}

TEST_F(Form1LayoutTest, ClientAreaIs5265By3405Twips) {
  EXPECT_EQ(ClientSize(Window()), (PixelRect{0, 0, 351, 227}));
}

TEST_F(Form1LayoutTest, IsAFixedWindowTitledKelvaryWithAMinimizeButtonOnly) {
  const LONG_PTR style = GetWindowLongPtrA(Window(), GWL_STYLE);
  EXPECT_EQ(TextOf(Window()), "Kelvary");
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
}

TEST_F(Form1LayoutTest, CarriesOurIconInBothSizes) {
  const auto big = reinterpret_cast<HICON>(GetClassLongPtrA(Window(), GCLP_HICON));
  const auto small = reinterpret_cast<HICON>(GetClassLongPtrA(Window(), GCLP_HICONSM));
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(small, &info));
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 16);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
}

TEST_F(Form1LayoutTest, MenuBarHoldsItsItemsInOrderWithTheUnbuiltOnesGreyed) {
  HMENU bar = GetMenu(Window());
  EXPECT_EQ(MenuItems(bar), (std::vector<MenuItem>{{"Servers", false}, {"Edit", false}, {"Help", false}}));
  EXPECT_EQ(MenuItems(GetSubMenu(bar, 0)),
            (std::vector<MenuItem>{{"Add A New Server", false}, {"Remove An Existing Server", false}}));
  EXPECT_EQ(MenuItems(GetSubMenu(bar, 1)),
            (std::vector<MenuItem>{{"Copy Contents of Kelvary ListBox", false}}));
  EXPECT_EQ(MenuItems(GetSubMenu(bar, 2)),
            (std::vector<MenuItem>{{"About", false},
                                   {"Check For More Recent Version", false},
                                   {"Online Help", false},
                                   {"Help", false}}));
}

TEST_F(Form1LayoutTest, StartsWithBothBoxesUncheckedAndTimer1Off) {
  EXPECT_EQ(IsDlgButtonChecked(Window(), form1::chkCheck), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(Window(), form1::chkDetail), BST_UNCHECKED);
  EXPECT_FALSE(form_->Timer1Enabled());
}

TEST_F(Form1LayoutTest, FocusStartsOnTheServerList) { EXPECT_EQ(FocusId(), form1::cboServers); }

TEST_F(Form1LayoutTest, FocusComesBackToWhereItWasAfterAnotherWindowWasActive) {
  SetFocus(Control(form1::lstCalcs));
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  SetActiveWindow(other);
  Pump();
  SetActiveWindow(Window());
  Pump();
  EXPECT_EQ(FocusId(), form1::lstCalcs);
  DestroyWindow(other);
}

TEST_F(Form1LayoutTest, TabWalksTheFocusOrderAndComesBackAround) {
  SetFocus(Control(form1::cboServers));
  const int order[] = {form1::txtApp, form1::chkCheck, form1::lstCalcs, form1::cmdExit,
                       form1::cmdOK, form1::cmdNewWindow, form1::chkDetail, form1::cboServers};
  for (int expected : order) {
    PressKey(VK_TAB);
    EXPECT_EQ(FocusId(), expected);
  }
}

TEST_F(Form1LayoutTest, ServerListTakesNoTypedName) {
  const LONG_PTR style = GetWindowLongPtrA(Control(form1::cboServers), GWL_STYLE);
  EXPECT_EQ(style & 0x3, CBS_DROPDOWNLIST);
}

TEST_F(Form1LayoutTest, AppBoxSelectsItsWholeTextWhenTabbedInto) {
  SetAppText("SAMPLE");
  SetFocus(Control(form1::cboServers));
  PressKey(VK_TAB);
  DWORD start = 1, end = 0;
  SendMessageA(Control(form1::txtApp), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 6u);
}

TEST_F(Form1LayoutTest, AppBoxSelectsItsWholeTextWhenClickedInto) {
  SetAppText("SAMPLE");
  SetFocus(Control(form1::cboServers));
  HWND box = Control(form1::txtApp);
  const LPARAM inside = MAKELPARAM(20, 5);
  PostMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, inside);
  PostMessageA(box, WM_LBUTTONUP, 0, inside);
  Pump();
  DWORD start = 1, end = 0;
  SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(GetFocus(), box);
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 6u);
}

TEST_F(Form1LayoutTest, MovingTo150PercentLaysOutControlsAndFontAgain) {
  RECT suggested{};
  GetWindowRect(Window(), &suggested);
  SendMessageA(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  // Twips / 10 at 144 DPI, halves rounded up.
  EXPECT_EQ(ChildRect(Control(form1::Label1)), (PixelRect{12, 12, 62, 26}));
  EXPECT_EQ(ChildRect(Control(form1::cboServers)), (PixelRect{84, 12, 314, 32}));
  EXPECT_EQ(ChildRect(Control(form1::chkDetail)), (PixelRect{12, 132, 434, 20}));
  EXPECT_EQ(ChildRect(Control(form1::cmdOK)), (PixelRect{336, 288, 170, 38}));
  EXPECT_EQ(ClientSize(Window()), (PixelRect{0, 0, 527, 341}));
  const auto font = reinterpret_cast<HFONT>(SendMessageA(Control(form1::cmdOK), WM_GETFONT, 0, 0));
  LOGFONTA logfont{};
  GetObjectA(font, sizeof logfont, &logfont);
  EXPECT_EQ(logfont.lfHeight, -16);
  EXPECT_STREQ(logfont.lfFaceName, "MS Shell Dlg 2");
}

TEST_F(Form1LayoutTest, UsesTheDialogFontAt96Dpi) {
  const auto font = reinterpret_cast<HFONT>(SendMessageA(Control(form1::Label1), WM_GETFONT, 0, 0));
  LOGFONTA logfont{};
  GetObjectA(font, sizeof logfont, &logfont);
  EXPECT_EQ(logfont.lfHeight, -11);
  EXPECT_STREQ(logfont.lfFaceName, "MS Shell Dlg 2");
}

}  // namespace
}  // namespace kelvary::test
