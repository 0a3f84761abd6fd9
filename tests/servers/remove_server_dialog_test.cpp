// frmDeleteServer opened from the main window: what it lists, the question
// it asks, and what a Yes or a No does to the Windows registry, the main
// window's server box and the dialog's own list.
#include "server_dialog_fixture.h"
#include "support/message_box_watcher_win32.h"

namespace kelvary::test {
namespace {

using namespace remove_server;

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
  static void Select(HWND dialog, const std::string& name) {
    SendMessageA(Item(dialog, cboServers), LB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(name.c_str()));
  }

  // Presses Remove, answers the question with `answer` and returns what the
  // boxes shown said.
  static std::vector<SeenMessageBox> RemoveAnswering(HWND dialog, int answer) {
    MessageBoxWatcher watcher(GetCurrentProcessId(), answer);
    Press(dialog, cmdDelete);
    return watcher.Seen();
  }
};

// ---- What the dialog shows ----------------------------------------------------

TEST_F(RemoveServerDialogTest, ControlsHaveTheirClassCaptionAndPlaceAt96Dpi) {
  OpenWith({"DEV"});
  WithRemoveDialog([](HWND dialog) {
    struct ControlCase {
      int id;
      const char* window_class;
      const char* caption;
      PixelRect at_96_dpi;
    };
    const ControlCase controls[] = {
        {Label1, "Static", "Available Servers:", {8, 8, 209, 17}},
        {cboServers, "ListBox", "", {8, 24, 257, 95}},
        {cmdDelete, "Button", "Remove", {168, 128, 89, 25}},
        {cmdClose, "Button", "Close", {16, 128, 81, 25}},
    };
    for (const ControlCase& expected : controls) {
      HWND control = Item(dialog, expected.id);
      ASSERT_NE(control, nullptr) << expected.caption;
      EXPECT_EQ(lstrcmpiA(ClassNameOf(control).c_str(), expected.window_class), 0) << expected.caption;
      EXPECT_EQ(TextOf(control), expected.caption);
      EXPECT_EQ(ChildRect(control), expected.at_96_dpi) << expected.caption;
    }
    EXPECT_EQ(ClientSize(dialog), (PixelRect{0, 0, 277, 157}));
  });
}

TEST_F(RemoveServerDialogTest, IsAFixedToolWindowCaptionedRemoveAServerCentredOverTheMainWindow) {
  OpenWith({"DEV"});
  MoveMainWindowTo(300, 300);
  WithRemoveDialog([this](HWND dialog) {
    const LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
    EXPECT_EQ(TextOf(dialog), "Remove a Server");
    EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), Window());
    RECT over{}, shown{};
    GetWindowRect(Window(), &over);
    GetWindowRect(dialog, &shown);
    EXPECT_NEAR(shown.left + shown.right, over.left + over.right, 1);
    EXPECT_NEAR(shown.top + shown.bottom, over.top + over.bottom, 1);
    EXPECT_FALSE(IsWindowEnabled(Window()));
  });
  EXPECT_TRUE(IsWindowEnabled(Window()));
}

TEST_F(RemoveServerDialogTest, ListsTheStoresServersInItsOrderWithNoneSelected) {
  OpenWith({"gamma", "Alpha", "BETA"});
  WithRemoveDialog([](HWND dialog) {
    EXPECT_EQ(Listed(dialog), (Names{"Alpha", "BETA", "gamma"}));
    EXPECT_EQ(Selection(dialog), LB_ERR);
    const LONG_PTR style = GetWindowLongPtrA(Item(dialog, cboServers), GWL_STYLE);
    EXPECT_FALSE(style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
    EXPECT_EQ(GetFocus(), Item(dialog, cboServers));
  });
}

TEST_F(RemoveServerDialogTest, TabWalksListRemoveClose) {
  OpenWith({"DEV"});
  WithRemoveDialog([](HWND dialog) {
    for (int expected : {cmdDelete, cmdClose, cboServers}) {
      PressDialogKey(dialog, VK_TAB);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), expected);
    }
  });
}

TEST_F(RemoveServerDialogTest, AnEmptyStoreOpensAnEmptyList) {
  OpenWith({});
  WithRemoveDialog([](HWND dialog) { EXPECT_EQ(Listed(dialog), Names{}); });
}

TEST_F(RemoveServerDialogTest, ListsAServerAnotherCopyAddedSinceTheMainWindowStarted) {
  OpenWith({"DEV"});
  StoreServer("LATE");
  WithRemoveDialog([](HWND dialog) { EXPECT_EQ(Listed(dialog), (Names{"DEV", "LATE"})); });
}

// ---- Remove ---------------------------------------------------------------------

TEST_F(RemoveServerDialogTest, RemoveWithNothingSelectedAsksNothingAndChangesNothing) {
  OpenWith({"DEV", "PROD"});
  WithRemoveDialog([](HWND dialog) {
    EXPECT_EQ(RemoveAnswering(dialog, IDYES).size(), 0u);
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "PROD"}));
  });
  EXPECT_EQ(Writes(), Names{});
  EXPECT_EQ(StoredServers(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
}

TEST_F(RemoveServerDialogTest, AsksWhetherToDeleteTheServerWithYesAsTheDefaultAndNoIcon) {
  OpenWith({"DEV", "PROD east"});
  std::vector<SeenMessageBox> seen;
  WithRemoveDialog([&](HWND dialog) {
    Select(dialog, "PROD east");
    seen = RemoveAnswering(dialog, IDNO);
  });
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Kelvary");
  EXPECT_EQ(seen[0].text, "Are you sure you want to delete PROD east?");
  EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(seen[0].default_button, IDYES);
  EXPECT_FALSE(seen[0].shows_icon);
}

TEST_F(RemoveServerDialogTest, AnsweringNoChangesNothing) {
  OpenWith({"DEV", "PROD"});
  SelectServer("PROD");
  WithRemoveDialog([](HWND dialog) {
    Select(dialog, "PROD");
    RemoveAnswering(dialog, IDNO);
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "PROD"}));
  });
  EXPECT_EQ(Writes(), Names{});
  EXPECT_EQ(StoredServers(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(ServerText(), "PROD");
}

TEST_F(RemoveServerDialogTest, AnsweringYesRemovesTheServerFromTheStoreAndBothListsAndStaysOpen) {
  OpenWith({"DEV", "PROD", "TEST"});
  SelectServer("PROD");
  WithRemoveDialog([](HWND dialog) {
    Select(dialog, "PROD");
    RemoveAnswering(dialog, IDYES);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "TEST"}));
    EXPECT_EQ(Selection(dialog), LB_ERR);
  });
  EXPECT_EQ(Writes(), Names{"delete " + ServerKeyPath("PROD")});
  EXPECT_EQ(StoredServers(), (Names{"DEV", "TEST"}));
  EXPECT_EQ(MainBox(), (Names{"DEV", "TEST"}));
  EXPECT_EQ(ServerText(), "DEV");
}

TEST_F(RemoveServerDialogTest, TheMainBoxShowsItsFirstServerAlsoWhenAnotherOneWasRemoved) {
  OpenWith({"DEV", "PROD", "TEST"});
  SelectServer("PROD");
  WithRemoveDialog([](HWND dialog) {
    Select(dialog, "TEST");
    RemoveAnswering(dialog, IDYES);
  });
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(ServerText(), "DEV");
}

TEST_F(RemoveServerDialogTest, SeveralServersGoOneAfterAnotherInOneOpening) {
  OpenWith({"DEV", "PROD", "TEST"});
  WithRemoveDialog([](HWND dialog) {
    Select(dialog, "DEV");
    RemoveAnswering(dialog, IDYES);
    Select(dialog, "TEST");
    RemoveAnswering(dialog, IDYES);
    EXPECT_EQ(Listed(dialog), Names{"PROD"});
  });
  EXPECT_EQ(StoredServers(), Names{"PROD"});
  EXPECT_EQ(MainBox(), Names{"PROD"});
  EXPECT_EQ(ServerText(), "PROD");
}

TEST_F(RemoveServerDialogTest, RemovingTheLastServerEmptiesBothLists) {
  OpenWith({"PROD"});
  WithRemoveDialog([](HWND dialog) {
    Select(dialog, "PROD");
    RemoveAnswering(dialog, IDYES);
    EXPECT_EQ(Listed(dialog), Names{});
  });
  EXPECT_EQ(StoredServers(), Names{});
  EXPECT_EQ(MainBox(), Names{});
  EXPECT_EQ(ServerText(), "");
}

TEST_F(RemoveServerDialogTest, OfTwoIdenticalMainBoxEntriesOneStaysThoughTheKeyIsGone) {
  OpenWith({"DEV", "PROD"});
  AddThroughDialog(DirectServer{"PROD", "d:\\essbase"});
  ASSERT_EQ(MainBox(), (Names{"DEV", "PROD", "PROD"}));
  WithRemoveDialog([](HWND dialog) {
    Select(dialog, "PROD");
    RemoveAnswering(dialog, IDYES);
  });
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(ServerText(), "DEV");
}

TEST_F(RemoveServerDialogTest, AServerTheMainBoxNeverListedJustSelectsItsFirstEntry) {
  OpenWith({"DEV", "PROD"});
  SelectServer("PROD");
  StoreServer("LATE");  // added by another copy of the program
  WithRemoveDialog([](HWND dialog) {
    Select(dialog, "LATE");
    RemoveAnswering(dialog, IDYES);
    EXPECT_EQ(Listed(dialog), (Names{"DEV", "PROD"}));
  });
  EXPECT_EQ(StoredServers(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(MainBox(), (Names{"DEV", "PROD"}));
  EXPECT_EQ(ServerText(), "DEV");
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
  EXPECT_EQ(StoredServers(), Names{"DEV"});
  EXPECT_EQ(MainBox(), Names{"DEV"});
}

}  // namespace
}  // namespace kelvary::test
