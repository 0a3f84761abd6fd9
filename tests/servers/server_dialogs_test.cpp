// The add and remove dialogs opened from the real main window's Servers
// menu, over the Windows registry of the test prefix: what they show at two
// DPIs, what Add and a Yes write (read back from there, in the order seen on
// its way) and what Cancel, the close box, a No and refused names leave
// alone. Each test owns the store's Servers key, emptied before and after it.
#include <windows.h>

#include <commctrl.h>
#include <imm.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "servers/add_server_dialog_win32.h"
#include "servers/registry_store.h"
#include "servers/remove_server_dialog_win32.h"
#include "servers/server_definition.h"
#include "support/message_box_watcher_win32.h"
#include "support/recording_registry.h"
#include "support/registry_test_helpers.h"
#include "ui/form1_fixture.h"
#include "ui/resource_ids.h"

namespace kelvary::test {
namespace {

namespace add = add_server;
namespace rm = remove_server;
using Names = std::vector<std::string>;

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
void Type(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }
void Press(HWND dialog, int id) { SendMessageA(Item(dialog, id), BM_CLICK, 0, 0); }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Looks at a window from inside its own message handling: an action posted
// now runs when the thread next handles its queue, for instance inside the
// modal loop of a dialog a menu item opened.
class PostedProbe {
 public:
  PostedProbe() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &PostedProbe::ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // refused, harmlessly, once registered
    window_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~PostedProbe() { DestroyWindow(window_); }
  PostedProbe(const PostedProbe&) = delete;
  PostedProbe& operator=(const PostedProbe&) = delete;

  // Queues `action`, behind every message already queued.
  void Post(std::function<void()> action) {
    action_ = std::move(action);
    ran_ = false;
    PostMessageA(window_, kRunAction, 0, 0);
  }
  bool Ran() const { return ran_; }

 private:
  static constexpr const char* kClass = "KelvaryTestProbe";
  static constexpr UINT kRunAction = WM_APP + 1;

  static LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* probe = reinterpret_cast<PostedProbe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != kRunAction || !probe) return DefWindowProcA(window, message, wparam, lparam);
    probe->ran_ = true;
    if (probe->action_) probe->action_();
    return 0;
  }

  HWND window_ = nullptr;
  std::function<void()> action_;
  bool ran_ = false;
};

// A key as the keyboard delivers it to the control with the focus, handled
// as the modal loop would: the dialog keys go to `dialog`.
void PressDialogKey(HWND dialog, UINT key) {
  PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
  PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void ExpectTabOrder(HWND dialog, std::initializer_list<int> order) {
  for (int expected : order) {
    PressDialogKey(dialog, VK_TAB);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), expected);
  }
}

// A fixed tool window (small title bar, no taskbar button) owned by
// `owner`, centred over it (centres compared as sums, to the pixel an odd
// difference rounds away), with `owner` disabled while it is up.
void ExpectModalToolWindowOver(HWND dialog, HWND owner, const char* caption) {
  const LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
  EXPECT_EQ(TextOf(dialog), caption);
  EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
  RECT over{}, shown{};
  GetWindowRect(owner, &over);
  GetWindowRect(dialog, &shown);
  EXPECT_NEAR(shown.left + shown.right, over.left + over.right, 1);
  EXPECT_NEAR(shown.top + shown.bottom, over.top + over.bottom, 1);
  EXPECT_FALSE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), dialog);
}

// The add dialog's boxes for one server: a path for one read directly, else
// a remote one's DNS, user name and password.
struct Server {
  std::string name;
  std::string path;
  std::string dns = {};
  std::string user_name = {};
  std::string password = {};
};

void FillIn(HWND dialog, const Server& server) {
  Type(dialog, add::txtName, server.name);
  Press(dialog, add::opt1[server.path.empty() ? 1 : 0]);
  const std::pair<int, std::string> boxes[] = {{add::txtPath, server.path}, {add::txtDns, server.dns},
                                               {add::txtUserName, server.user_name}, {add::txtPassword, server.password}};
  for (const auto& [id, text] : boxes) {
    if (!text.empty()) Type(dialog, id, text);
  }
}

class ServerDialogTest : public Form1Test {
 protected:
  ServerDialogTest() {
    store_ = &recorder_;
    RemoveKeyTree(*wine_registry_, strServersKey);
  }
  ~ServerDialogTest() override {
    CloseAndForget();
    RemoveKeyTree(*wine_registry_, strServersKey);
  }

  // The store as another program (or an earlier run) left it.
  void StoreServer(const std::string& name) {
    RegWriteText(*wine_registry_, RegRoot::CurrentUser, ServerKeyPath(name), kAccessValue, kDirectAccess);
  }
  std::string Stored(const std::string& name, std::string_view value) {
    return RegReadText(*wine_registry_, RegRoot::CurrentUser, ServerKeyPath(name), value, "(missing)");
  }
  Names StoredServers() { return RegListSubkeys(*wine_registry_, RegRoot::CurrentUser, strServersKey); }
  const std::vector<std::string>& Writes() const { return recorder_.Changes(); }

  void MoveMainWindowTo(int left, int top) {
    SetWindowPos(Window(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Names MainBox() const { return ComboBoxItems(Control(form1::cboServers)); }

  // Opens a dialog from the Servers menu and runs `while_open` inside its
  // modal loop, with the dialog's window. A dialog still open afterwards is
  // closed with its close box, so that a failing test cannot hang.
  void WithDialog(int menu_item, const char* class_name, const std::function<void(HWND)>& while_open) {
    recorder_.ForgetChanges();
    PostedProbe probe;
    probe.Post([&] {
      HWND dialog = FindProcessWindow(class_name, GetCurrentProcessId());
      EXPECT_NE(dialog, nullptr) << class_name;
      if (!dialog) return;
      while_open(dialog);
      if (IsWindow(dialog)) SendMessageA(dialog, WM_CLOSE, 0, 0);
    });
    Menu(menu_item);
    EXPECT_TRUE(probe.Ran()) << "the menu item opened no modal loop";
    EXPECT_EQ(FindProcessWindow(class_name, GetCurrentProcessId()), nullptr);
    EXPECT_TRUE(IsWindowEnabled(Window())) << "the main window takes input again";
  }
  void WithAddDialog(const std::function<void(HWND)>& while_open) {
    WithDialog(IDM_SERVERS_ADD, add_server::kClassName, while_open);
  }
  void WithRemoveDialog(const std::function<void(HWND)>& while_open) {
    WithDialog(IDM_SERVERS_REMOVE, remove_server::kClassName, while_open);
  }

  void AddThroughDialog(const Server& server) {
    WithAddDialog([&](HWND dialog) {
      FillIn(dialog, server);
      Press(dialog, add::cmdAdd);
      EXPECT_FALSE(IsWindow(dialog)) << "Add closes the dialog";
    });
  }

  std::unique_ptr<RegistryBackend> wine_registry_ = OpenUserRegistry();
  RecordingRegistry recorder_{*wine_registry_};
};

const ExpectedControl kAddControls[] = {
    {add::Label1[0], "Static", "Name of Server:", {8, 12, 113, 17}},
    {add::txtName, "Edit", "", {128, 8, 169, 25}},
    {add::opt1[0], "Button", "", {0, 40, 17, 17}},
    {add::Frame1, "Button", "", {8, 40, 313, 89}},
    {add::Label1[1], "Static", "The physical path of the essbase directory:", {16, 64, 289, 17}},
    {add::Label1[2], "Static", "ie - d:\\essbase OR \\\\servername\\drive d\\essbase", {24, 80, 289, 17}},
    {add::txtPath, "Edit", "", {16, 96, 265, 25}},
    {add::cmdBrowse, "Button", "1", {288, 96, 25, 25}},
    {add::opt1[1], "Button", "", {0, 136, 17, 17}},
    {add::Frame2, "Button", "", {8, 136, 313, 113}},
    {add::Label1[3], "Static", "DNS or IP:", {16, 160, 113, 17}},
    {add::txtDns, "Edit", "", {80, 160, 233, 19}},
    {add::Label1[4], "Static", "User Name:", {16, 192, 113, 17}},
    {add::txtUserName, "Edit", "", {80, 192, 233, 19}},
    {add::Label1[5], "Static", "Password:", {16, 224, 113, 17}},
    {add::txtPassword, "Edit", "", {80, 224, 233, 19}},
    {add::cmdcancel, "Button", "Cancel", {16, 256, 81, 25}},
    {add::cmdAdd, "Button", "Add", {208, 256, 89, 25}},
};

// The text a tooltip window of `dialog` shows for `control`, or empty.
std::string TooltipTextOf(HWND dialog, HWND control) {
  HWND tip = nullptr;
  while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) && GetWindow(tip, GW_OWNER) != dialog) {
  }
  char text[80] = {};
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.hwnd = dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  if (tip) SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  return text;
}

class AddServerDialogTest : public ServerDialogTest {
 protected:
  void SetUp() override {
    StoreServer("DEV");
    Open();
  }
};

// Each opening starts empty with remote access chosen and the focus on the
// name; one option is chosen at a time and Tab visits only that one. Browse
// shows a folder symbol, and says what it does in a tooltip; the password box
// masks with colons; both in Wingdings, at every DPI; the password box has no
// input method.
TEST_F(AddServerDialogTest, IsAModalToolWindowLaidOutAsDesignedAt96And144DpiThatOpensEmptyEveryTime) {
  MoveMainWindowTo(300, 300);
  for (int opening = 0; opening < 2; ++opening) {
    WithAddDialog([this, opening](HWND dialog) {
      ExpectControls(dialog, kAddControls);
      EXPECT_EQ(ClientSize(dialog), (PixelRect{0, 0, 327, 289}));
      ExpectModalToolWindowOver(dialog, Window(), "Add a Server");
      EXPECT_TRUE(Checked(dialog, add::opt1[1]));
      EXPECT_EQ(GetFocus(), Item(dialog, add::txtName));
      FillIn(dialog, Server{"TEST", "e:\\essbase"});
      EXPECT_FALSE(Checked(dialog, add::opt1[1]));
      Press(dialog, add::opt1[1]);
      EXPECT_FALSE(Checked(dialog, add::opt1[0]));
      SetFocus(Item(dialog, add::txtName));
      ExpectTabOrder(dialog, {add::cmdAdd, add::cmdcancel, add::cmdBrowse, add::txtPath, add::txtDns,
                              add::txtUserName, add::txtPassword, add::opt1[1], add::txtName});
      if (opening == 1) {
        EXPECT_EQ(TooltipTextOf(dialog, Item(dialog, add::cmdBrowse)), "Browse for the Essbase directory");
        EXPECT_STREQ(FontOf(Item(dialog, add::cmdBrowse)).lfFaceName, "Wingdings");
        EXPECT_EQ(FontOf(Item(dialog, add::cmdBrowse)).lfHeight, -13);  // 9.75 points
        EXPECT_EQ(SendMessageA(Item(dialog, add::txtPassword), EM_GETPASSWORDCHAR, 0, 0), ':');
        EXPECT_EQ(ImmGetContext(Item(dialog, add::txtPassword)), nullptr);
        RECT suggested{};
        GetWindowRect(dialog, &suggested);
        SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        // Twips / 10 at 144 DPI.
        EXPECT_EQ(ChildRect(Item(dialog, add::cmdBrowse)), (PixelRect{432, 144, 38, 38}));
        EXPECT_EQ(ChildRect(Item(dialog, add::txtPassword)), (PixelRect{120, 336, 350, 29}));
        EXPECT_EQ(ClientSize(dialog), (PixelRect{0, 0, 491, 434}));
        EXPECT_EQ(FontOf(Item(dialog, add::cmdBrowse)).lfHeight, -20);  // 19.5
        EXPECT_STREQ(FontOf(Item(dialog, add::txtPassword)).lfFaceName, "Wingdings");
        EXPECT_EQ(FontOf(Item(dialog, add::Label1[3])).lfHeight, -16);
      }
      Press(dialog, add::cmdcancel);
    });
  }
  EXPECT_EQ(GetActiveWindow(), Window());
}


// Path less one trailing backslash, then Access; or DNS, user name, the
// password as typed key by key into the masked box, then Access.
TEST_F(AddServerDialogTest, AddWritesTheKindsValuesThenAccessIntoOneKeyPerName) {
  AddThroughDialog(Server{"PROD", "\\\\fs01\\drive d\\essbase\\\\"});
  EXPECT_EQ(Writes(), (Names{"set Path", "set Access"}));
  EXPECT_EQ(Stored("PROD", kPathValue), "\\\\fs01\\drive d\\essbase\\");
  EXPECT_EQ(Stored("PROD", kAccessValue), "0");
  WithAddDialog([](HWND dialog) {
    FillIn(dialog, Server{"East Coast", "", "ess01.corp.example", "admin"});
    for (char typed : std::string("pa:ss word")) SendMessageA(Item(dialog, add::txtPassword), WM_CHAR, typed, 1);
    Press(dialog, add::cmdAdd);
    EXPECT_FALSE(IsWindow(dialog)) << "Add closes the dialog";
  });
  EXPECT_EQ(Writes(), (Names{"set DNS", "set UserName", "set Password", "set Access"}));
  EXPECT_EQ(Stored("East Coast", kDnsValue), "ess01.corp.example");
  EXPECT_EQ(Stored("East Coast", kUserNameValue), "admin");
  EXPECT_EQ(Stored("East Coast", kPasswordValue), "pa:ss word");
  EXPECT_EQ(Stored("East Coast", kAccessValue), "1");

  // A name the box lists already gets a second entry; the store keeps one
  // key per name, whatever its case, overwritten but for the other kind's values.
  AddThroughDialog(Server{"PROD", "", "ess02", "qa", "pw"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD", "East Coast", "PROD"}));
  EXPECT_EQ(SendMessageA(Control(form1::cboServers), CB_GETCURSEL, 0, 0), 3);  // the new entry
  EXPECT_EQ(Stored("PROD", kAccessValue), "1");
  EXPECT_EQ(Stored("PROD", kPathValue), "\\\\fs01\\drive d\\essbase\\");
  AddThroughDialog(Server{"dev", "d:\\dev"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD", "East Coast", "PROD", "dev"}));
  EXPECT_EQ(StoredServers(), (Names{"DEV", "East Coast", "PROD"}));
  EXPECT_EQ(Stored("DEV", kPathValue), "d:\\dev");
}

// No button is the default: Enter presses the button that has the focus and
// nothing else. A refused name is said in a box, and the dialog stays open.
TEST_F(AddServerDialogTest, CancelTheCloseBoxEnterAndRefusedNamesWriteNothing) {
  const std::pair<const char*, void (*)(HWND)> ways_out[] = {
      {"Cancel", [](HWND dialog) { Press(dialog, add::cmdcancel); }},
      {"close box", [](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Enter", [](HWND dialog) {
         SetFocus(Item(dialog, add::txtName));
         PressDialogKey(dialog, VK_RETURN);
         EXPECT_TRUE(IsWindow(dialog)) << "Enter in a box presses no button";
         SetFocus(Item(dialog, add::cmdcancel));
         PressDialogKey(dialog, VK_RETURN);
       }}};
  for (const auto& [way, leave] : ways_out) {
    WithAddDialog([&](HWND dialog) {
      FillIn(dialog, Server{"PROD", "", "ess01", "admin", "pw"});
      leave(dialog);
      EXPECT_FALSE(IsWindow(dialog)) << way;
    });
    EXPECT_EQ(Writes(), Names{}) << way;
  }
  for (const char* name : {"", "PROD\\", "a/b", ".."}) {
    std::vector<SeenMessageBox> seen;
    WithAddDialog([&](HWND dialog) {
      FillIn(dialog, Server{name, "d:\\essbase"});
      MessageBoxWatcher watcher;
      Press(dialog, add::cmdAdd);
      seen = watcher.Seen();
      EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open for another name";
    });
    ASSERT_EQ(seen.size(), 1u) << name;
    EXPECT_EQ(seen[0].text, std::string(kServerNameRefusal));
    EXPECT_TRUE(seen[0].error_icon);
    EXPECT_EQ(Writes(), Names{}) << name;
  }
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(MainBox(), Names{"DEV"});
}

const ExpectedControl kRemoveControls[] = {
    {rm::Label1, "Static", "Available Servers:", {8, 8, 209, 17}},
    {rm::cboServers, "ListBox", "", {8, 24, 257, 95}},
    {rm::cmdDelete, "Button", "Remove", {168, 128, 89, 25}},
    {rm::cmdClose, "Button", "Close", {16, 128, 81, 25}},
};

class RemoveServerDialogTest : public ServerDialogTest {
 protected:
  // The store's servers, listed by the main window at its start.
  void OpenWith(const Names& servers) {
    for (const std::string& name : servers) StoreServer(name);
    Open();
  }

  static Names Listed(HWND dialog) { return ListBoxLines(Item(dialog, rm::cboServers)); }

  // Selects `name` (none when empty), presses Remove, answers the question
  // with `answer` and returns what the boxes shown said.
  static std::vector<SeenMessageBox> Remove(HWND dialog, const std::string& name, int answer = IDYES) {
    if (!name.empty()) {
      SendMessageA(Item(dialog, rm::cboServers), LB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(name.c_str()));
    }
    MessageBoxWatcher watcher(answer);
    Press(dialog, rm::cmdDelete);
    return watcher.Seen();
  }
};

// Another copy of the program may have added a server since this one
// started. Remove with nothing selected asks nothing; a No changes nothing.
TEST_F(RemoveServerDialogTest, IsAModalToolWindowListingTheStoresServersNowAndANoChangesNothing) {
  OpenWith({"PROD east", "DEV"});
  StoreServer("LATE");
  MoveMainWindowTo(300, 300);
  SelectServer("PROD east");
  std::vector<SeenMessageBox> seen;
  WithRemoveDialog([&](HWND dialog) {
    ExpectControls(dialog, kRemoveControls);
    EXPECT_EQ(ClientSize(dialog), (PixelRect{0, 0, 277, 157}));
    ExpectModalToolWindowOver(dialog, Window(), "Remove a Server");
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "LATE", "PROD east"}));
    EXPECT_EQ(SendMessageA(Item(dialog, rm::cboServers), LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(GetFocus(), Item(dialog, rm::cboServers));
    ExpectTabOrder(dialog, {rm::cmdDelete, rm::cmdClose, rm::cboServers});
    EXPECT_EQ(Remove(dialog, "").size(), 0u);
    seen = Remove(dialog, "PROD east", IDNO);
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "LATE", "PROD east"}));
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(dialog)) << "the close box closes it";
  });
  EXPECT_EQ(Writes(), Names{});
  EXPECT_EQ(StoredServers(), (Names{"DEV", "LATE", "PROD east"}));
  EXPECT_EQ(ServerText(), "PROD east");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Kelvary");
  EXPECT_EQ(seen[0].text, "Are you sure you want to delete PROD east?");
  EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(seen[0].default_button, IDYES);
  EXPECT_FALSE(seen[0].shows_icon);
}

// The main box then shows its first server, also when it showed another one
// than the server removed; of two identical entries one stays. A server the
// main box never listed, or whose key is gone already, leaves the lists too.
TEST_F(RemoveServerDialogTest, AYesRemovesTheServerFromTheStoreAndBothListsAndTheDialogStaysOpen) {
  OpenWith({"DEV", "PROD", "TEST"});
  AddThroughDialog(Server{"PROD", "d:\\essbase"});
  SelectServer("TEST");
  StoreServer("LATE");
  WithRemoveDialog([this](HWND dialog) {
    Remove(dialog, "PROD");
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "LATE", "TEST"}));
    EXPECT_EQ(MainBox().size(), 3u);
    EXPECT_EQ(ServerText(), "DEV");
    Remove(dialog, "LATE");
    RegRemoveKey(*wine_registry_, RegRoot::CurrentUser, ServerKeyPath("TEST"));
    Remove(dialog, "TEST");
    EXPECT_EQ(Listed(dialog), Names{"DEV"});
  });
  EXPECT_EQ(Writes(), (Names{"delete " + ServerKeyPath("PROD"), "delete " + ServerKeyPath("LATE"),
                             "delete " + ServerKeyPath("TEST")}));
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
}


}  // namespace
}  // namespace kelvary::test
