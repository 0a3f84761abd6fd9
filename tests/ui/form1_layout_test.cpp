// What the user sees of Form1 before doing anything: its controls with their
// classes, captions and places at 96 DPI, its frame, where Tab and Enter go,
// and the layout again after a move to a 150 % screen.
#include "form1_fixture.h"

namespace kelvary::test {
namespace {

// Twips / 15 at 96 DPI.
const ExpectedControl kControls[] = {
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

LOGFONTA FontOf(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

class Form1LayoutTest : public Form1Test {
 protected:
  void SetUp() override {
    AddDemoServer();
    Open();
    ASSERT_EQ(GetDpiForWindow(Window()), 96u) << "the test prefix runs at 100 %";
  }

};

// A fixed window with a minimize button; the focus starts on the server list,
// a drop-down list that takes no typed names.
TEST_F(Form1LayoutTest, ControlsHaveTheirClassCaptionPlaceAndFontAt96Dpi) {
  ExpectControls(Window(), kControls);
  EXPECT_EQ(TextOf(Window()), "Kelvary");
  EXPECT_FALSE(GetWindowLongPtrA(Window(), GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongPtrA(Window(), GWL_STYLE) & WS_MINIMIZEBOX);
  EXPECT_EQ(FocusId(), form1::cboServers);
  EXPECT_EQ(GetWindowLongPtrA(Control(form1::cboServers), GWL_STYLE) & 0x3, CBS_DROPDOWNLIST);
  EXPECT_EQ(ClientSize(Window()), (PixelRect{0, 0, 351, 227}));  // 5265 by 3405 twips
  EXPECT_EQ(FontOf(Control(form1::Label1)).lfHeight, -11);
  EXPECT_STREQ(FontOf(Control(form1::Label1)).lfFaceName, "MS Shell Dlg 2");
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

// The thick border is on the button Enter presses, wherever the focus goes.
TEST_F(Form1LayoutTest, DefaultButtonLookFollowsTheFocusAsEnterDoes) {
  const struct {
    int focus, default_button;
  } moves[] = {{form1::cmdExit, form1::cmdExit},   {form1::txtApp, form1::cmdOK},
               {form1::cmdNewWindow, form1::cmdNewWindow}, {form1::cmdExit, form1::cmdExit},
               {form1::lstCalcs, form1::cmdOK},    {form1::cmdOK, form1::cmdOK}};
  for (const auto& move : moves) {
    SetFocus(Control(move.focus));
    Pump();
    for (int button : {form1::cmdNewWindow, form1::cmdExit, form1::cmdOK}) {
      const LONG_PTR type = GetWindowLongPtrA(Control(button), GWL_STYLE) & BS_TYPEMASK;
      EXPECT_EQ(type, button == move.default_button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)
          << "focus " << move.focus << ", button " << button;
    }
    EXPECT_EQ(LOWORD(SendMessageA(Window(), DM_GETDEFID, 0, 0)), move.default_button);
  }
}

TEST_F(Form1LayoutTest, MovingTo150PercentLaysOutControlsAndFontAgain) {
  RECT suggested{};
  GetWindowRect(Window(), &suggested);
  SendMessageA(Window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  // Twips / 10 at 144 DPI, halves rounded up.
  EXPECT_EQ(ChildRect(Control(form1::cboServers)), (PixelRect{84, 12, 314, 32}));
  EXPECT_EQ(ChildRect(Control(form1::chkDetail)), (PixelRect{12, 132, 434, 20}));
  EXPECT_EQ(ChildRect(Control(form1::cmdOK)), (PixelRect{336, 288, 170, 38}));
  EXPECT_EQ(ClientSize(Window()), (PixelRect{0, 0, 527, 341}));
  EXPECT_EQ(FontOf(Control(form1::cmdOK)).lfHeight, -16);
}

}  // namespace
}  // namespace kelvary::test
