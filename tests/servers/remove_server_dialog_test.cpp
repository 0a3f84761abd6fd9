// frmDeleteServer opened from the main window: what it lists, the question
// it asks, and what a Yes or a No does to the Windows registry, the main
// window's server box and the dialog's own list.
#include "server_dialog_fixture.h"
#include "support/message_box_watcher_win32.h"

namespace kelvary::test {
namespace {

using namespace remove_server;

const ExpectedControl kControls[] = {
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
};

// Another copy of the program may have added a server since this one started.
TEST_F(RemoveServerDialogTest, IsAModalToolWindowListingTheStoresServersNowWithNoneSelected) {
  OpenWith({"gamma", "Alpha"});
  StoreServer("LATE");
  MoveMainWindowTo(300, 300);
  WithRemoveDialog([this](HWND dialog) {
    ExpectControls(dialog, kControls);
    EXPECT_EQ(ClientSize(dialog), (PixelRect{0, 0, 277, 157}));
    ExpectModalToolWindowOver(dialog, Window(), "Remove a Server");
    EXPECT_EQ(Listed(dialog), (Names{"Alpha", "gamma", "LATE"}));
    EXPECT_EQ(SendMessageA(Item(dialog, cboServers), LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(GetFocus(), Item(dialog, cboServers));
    ExpectTabOrder(dialog, {cmdDelete, cmdClose, cboServers});
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(dialog)) << "the close box closes it";
  });
}

TEST_F(RemoveServerDialogTest, NothingSelectedAsksNothingAndANoChangesNothing) {
  OpenWith({"DEV", "PROD east"});
  SelectServer("PROD east");
  std::vector<SeenMessageBox> seen;
  WithRemoveDialog([&](HWND dialog) {
    EXPECT_EQ(Remove(dialog, "").size(), 0u);
    seen = Remove(dialog, "PROD east", IDNO);
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "PROD east"}));
    Press(dialog, cmdClose);
  });
  EXPECT_EQ(Writes(), Names{});
  EXPECT_EQ(StoredServers(), (Names{"DEV", "PROD east"}));
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
  AddThroughDialog(DirectServer{"PROD", "d:\\essbase"});
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

}  // namespace
}  // namespace kelvary::test
