// frmDeleteServer opened from the main window: what it lists, the question
// it asks, and what a Yes or a No does to the Windows registry, the main
// window's server box and the dialog's own list.
#include "server_dialog_fixture.h"
#include "support/message_box_watcher_win32.h"

namespace kelvary::test {
namespace {

using namespace remove_server;

const ControlCase kControls[] = {
    {Label1, "Static", "Available Servers:", {8, 8, 209, 17}},
    {cboServers, "ListBox", "", {8, 24, 257, 95}},
    {cmdDelete, "Button", "Remove", {168, 128, 89, 25}},
    {cmdClose, "Button", "Close", {16, 128, 81, 25}},
};

class RemoveServerDialogTest : public ServerDialogTest {
 protected:
  // The store's servers, listed by the main window at its start.
  void OpenWith(const Names& servers) {
    for (const std::string& name : servers) StoreServer(name);
    Open();
  }

  static Names Listed(HWND dialog) { return ListBoxLines(Item(dialog, cboServers)); }
  static int Selection(HWND dialog) {
    return static_cast<int>(SendMessageA(Item(dialog, cboServers), LB_GETCURSEL, 0, 0));
  }

  // Selects `name` (none when empty), presses Remove, answers the question
  // with `answer` and returns what the boxes shown said.
  static std::vector<SeenMessageBox> Remove(HWND dialog, const std::string& name, int answer = IDYES) {
    if (!name.empty()) {
      SendMessageA(Item(dialog, cboServers), LB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(name.c_str()));
    }
    MessageBoxWatcher watcher(GetCurrentProcessId(), answer);
    Press(dialog, cmdDelete);
    return watcher.Seen();
  }

  void ExpectUnchanged(const Names& servers, const char* shown) {
    EXPECT_EQ(Writes(), Names{});
    EXPECT_EQ(StoredServers(), servers);
    EXPECT_EQ(MainBox(), servers);
    EXPECT_EQ(ServerText(), shown);
  }
};

// ---- What the dialog shows ----------------------------------------------------

TEST_F(RemoveServerDialogTest, IsAFixedToolWindowLaidOutAsDesignedAndCentredOverTheMainWindow) {
  OpenWith({"DEV"});
  MoveMainWindowTo(300, 300);
  WithRemoveDialog([this](HWND dialog) {
    ExpectLayout(dialog, kControls, {0, 0, 277, 157});
    ExpectFixedToolWindow(dialog, Window(), "Remove a Server");
    ExpectCentredOver(dialog, Window());
    EXPECT_FALSE(IsWindowEnabled(Window()));
  });
}

// Another copy of the program may have added a server since this one started.
TEST_F(RemoveServerDialogTest, ListsTheStoresServersNowInItsOrderWithNoneSelected) {
  OpenWith({"gamma", "Alpha", "BETA"});
  StoreServer("LATE");
  WithRemoveDialog([](HWND dialog) {
    EXPECT_EQ(Listed(dialog), (Names{"Alpha", "BETA", "gamma", "LATE"}));
    EXPECT_EQ(Selection(dialog), LB_ERR);
    const LONG_PTR style = GetWindowLongPtrA(Item(dialog, cboServers), GWL_STYLE);
    EXPECT_FALSE(style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
    EXPECT_EQ(GetFocus(), Item(dialog, cboServers));
    ExpectTabOrder(dialog, {cmdDelete, cmdClose, cboServers});
  });
}

// ---- Remove ---------------------------------------------------------------------

TEST_F(RemoveServerDialogTest, NothingSelectedAsksNothingAndANoChangesNothing) {
  OpenWith({"DEV", "PROD east"});
  SelectServer("PROD east");
  std::vector<SeenMessageBox> seen;
  WithRemoveDialog([&](HWND dialog) {
    EXPECT_EQ(Remove(dialog, "").size(), 0u);
    seen = Remove(dialog, "PROD east", IDNO);
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "PROD east"}));
  });
  ExpectUnchanged({"DEV", "PROD east"}, "PROD east");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Kelvary");
  EXPECT_EQ(seen[0].text, "Are you sure you want to delete PROD east?");
  EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(seen[0].default_button, IDYES);
  EXPECT_FALSE(seen[0].shows_icon);
}

// The main box then shows its first server, also when it showed another one
// than the server removed.
TEST_F(RemoveServerDialogTest, AYesRemovesTheServerFromTheStoreAndBothListsAndTheDialogStaysOpen) {
  OpenWith({"DEV", "PROD", "TEST"});
  SelectServer("PROD");
  WithRemoveDialog([this](HWND dialog) {
    Remove(dialog, "TEST");
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "PROD"}));
    EXPECT_EQ(Selection(dialog), LB_ERR);
    EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
    EXPECT_EQ(ServerText(), "DEV");
    Remove(dialog, "DEV");
    EXPECT_EQ(Listed(dialog), Names{"PROD"});
  });
  EXPECT_EQ(Writes(), (Names{"delete " + ServerKeyPath("TEST"), "delete " + ServerKeyPath("DEV")}));
  EXPECT_EQ(StoredServers(), Names{"PROD"});
  EXPECT_EQ(MainBox(), Names{"PROD"});
  EXPECT_EQ(ServerText(), "PROD");
}

TEST_F(RemoveServerDialogTest, RemovingTheLastServerEmptiesBothListsAndTheDialogOpensEmpty) {
  OpenWith({"PROD"});
  WithRemoveDialog([](HWND dialog) {
    Remove(dialog, "PROD");
    EXPECT_EQ(Listed(dialog), Names{});
  });
  EXPECT_EQ(StoredServers(), Names{});
  EXPECT_EQ(MainBox(), Names{});
  EXPECT_EQ(ServerText(), "");
  WithRemoveDialog([](HWND dialog) { EXPECT_EQ(Listed(dialog), Names{}); });
}

TEST_F(RemoveServerDialogTest, OfTwoIdenticalMainBoxEntriesOneStaysThoughTheKeyIsGone) {
  OpenWith({"DEV", "PROD"});
  AddThroughDialog(DirectServer{"PROD", "d:\\essbase"});
  ASSERT_EQ(MainBox(), (Names{"DEV", "PROD", "PROD"}));
  WithRemoveDialog([](HWND dialog) { Remove(dialog, "PROD"); });
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(ServerText(), "DEV");
}

// Another copy of the program added LATE, and removed PROD, meanwhile.
TEST_F(RemoveServerDialogTest, AServerTheMainBoxNeverListedOrWhoseKeyIsGoneStillLeavesTheLists) {
  OpenWith({"DEV", "PROD"});
  SelectServer("PROD");
  StoreServer("LATE");
  WithRemoveDialog([this](HWND dialog) {
    Remove(dialog, "LATE");
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "PROD"}));
    EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
    EXPECT_EQ(ServerText(), "DEV");
    RegRemoveKey(*wine_registry_, RegRoot::CurrentUser, ServerKeyPath("PROD"));
    Remove(dialog, "PROD");
    EXPECT_EQ(Listed(dialog), Names{"DEV"});
  });
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(MainBox(), Names{"DEV"});
}

TEST_F(RemoveServerDialogTest, CloseAndTheCloseBoxEndTheDialog) {
  OpenWith({"DEV"});
  WithRemoveDialog([](HWND dialog) {
    Press(dialog, cmdClose);
    EXPECT_FALSE(IsWindow(dialog));
  });
  WithRemoveDialog([](HWND dialog) {
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(dialog));
  });
  ExpectUnchanged({"DEV"}, "DEV");
}

}  // namespace
}  // namespace kelvary::test
