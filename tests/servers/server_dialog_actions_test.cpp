// What Add and Remove do to the store, the main window's server box and the
// remove dialog's list, seen through stand-ins for the two windows.
#include "servers/server_dialog_actions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "servers/registry_store.h"
#include "support/memory_registry.h"
#include "support/recording_registry.h"

namespace kelvary {
namespace {

constexpr RegRoot kUser = RegRoot::CurrentUser;
using Lines = std::vector<std::string>;

// Notes what the dialogs asked of the main window's box.
class BoxCalls final : public MainServerBox {
 public:
  Lines calls;
  void AddAndSelectServer(std::string_view name) override { calls.push_back("add " + std::string(name)); }
  void RemoveServerAndSelectFirst(std::string_view name) override {
    calls.push_back("remove " + std::string(name));
  }
};

// The remove dialog with its list, its selection and the user's answer.
class RemoveDialog final : public RemoveServerDialogView {
 public:
  Lines entries;
  std::optional<int> selected;
  bool answer_yes = true;
  Lines questions;

  std::optional<std::string> SelectedServer() override {
    if (!selected) return std::nullopt;
    return entries[static_cast<std::size_t>(*selected)];
  }
  bool ConfirmRemoval(std::string_view question) override {
    questions.emplace_back(question);
    return answer_yes;
  }
  void RemoveSelectedEntry() override {
    entries.erase(entries.begin() + *selected);
    selected.reset();
  }
};

class ServerDialogActions : public ::testing::Test {
 protected:
  ServerDialogActions() { SetStoreKeyPaths(); }

  std::string Stored(const std::string& server, std::string_view value) {
    return RegReadText(memory_, kUser, ServerKeyPath(server), value, "(missing)");
  }
  Lines Servers() { return RegListSubkeys(memory_, kUser, strServersKey); }
  void StoreDirect(const std::string& name) {
    RegWriteText(memory_, kUser, ServerKeyPath(name), kAccessValue, kDirectAccess);
  }

  static AddServerForm Direct(const std::string& name, const std::string& path) {
    return {name, true, path, {"dns", "user", "password"}};
  }
  static AddServerForm Remote(const std::string& name, const RemoteLogin& login) {
    return {name, false, "d:\\unused", login};
  }

  MemoryRegistry memory_;
  RecordingRegistry registry_{memory_};
  BoxCalls box_;
  RemoveDialog dialog_;
};

// ---- Add --------------------------------------------------------------------

TEST_F(ServerDialogActions, DirectAccessWritesPathThenAccess0AndAddsTheName) {
  EXPECT_EQ(AddServerFromForm(registry_, Direct("PROD", "d:\\essbase\\"), box_), AddOutcome::Added);
  EXPECT_EQ(registry_.Changes(), (Lines{"set Path", "set Access"}));
  EXPECT_EQ(Stored("PROD", kPathValue), "d:\\essbase");
  EXPECT_EQ(Stored("PROD", kAccessValue), "0");
  EXPECT_EQ(Stored("PROD", kDnsValue), "(missing)");  // the other kind's boxes are not saved
  EXPECT_EQ(box_.calls, Lines{"add PROD"});
}

TEST_F(ServerDialogActions, RemoteAccessWritesDnsUserNamePasswordThenAccess1) {
  EXPECT_EQ(AddServerFromForm(registry_, Remote("east", {"ess01.corp", "admin", "p:w d"}), box_),
            AddOutcome::Added);
  EXPECT_EQ(registry_.Changes(), (Lines{"set DNS", "set UserName", "set Password", "set Access"}));
  EXPECT_EQ(Stored("east", kDnsValue), "ess01.corp");
  EXPECT_EQ(Stored("east", kUserNameValue), "admin");
  EXPECT_EQ(Stored("east", kPasswordValue), "p:w d");
  EXPECT_EQ(Stored("east", kAccessValue), "1");
  EXPECT_EQ(Stored("east", kPathValue), "(missing)");
  EXPECT_EQ(box_.calls, Lines{"add east"});
}

TEST_F(ServerDialogActions, EmptyBoxesAreStoredAsEmptyTexts) {
  AddServerFromForm(registry_, Direct("PROD", ""), box_);
  AddServerFromForm(registry_, Remote("east", {"", "", ""}), box_);
  EXPECT_EQ(Stored("PROD", kPathValue), "");
  EXPECT_EQ(Stored("east", kPasswordValue), "");
  EXPECT_EQ(Stored("east", kAccessValue), "1");
}

TEST_F(ServerDialogActions, AddingAgainOverwritesTheOneKeyAndAddsTheNameAgain) {
  AddServerFromForm(registry_, Direct("PROD", "d:\\old"), box_);
  AddServerFromForm(registry_, Remote("PROD", {"ess01", "admin", "pw"}), box_);
  EXPECT_EQ(Servers(), Lines{"PROD"});
  EXPECT_EQ(Stored("PROD", kAccessValue), "1");
  EXPECT_EQ(Stored("PROD", kPathValue), "d:\\old");  // the other kind's value stays
  EXPECT_EQ(box_.calls, (Lines{"add PROD", "add PROD"}));
}

struct RefusedName {
  const char* name;
  bool direct_access;
};

class RefusedNames : public ServerDialogActions, public ::testing::WithParamInterface<RefusedName> {};

TEST_P(RefusedNames, WriteNothingAndLeaveTheBoxAlone) {
  AddServerForm form = Direct(GetParam().name, "d:\\essbase");
  form.direct_access = GetParam().direct_access;
  EXPECT_EQ(AddServerFromForm(registry_, form, box_), AddOutcome::NameRefused);
  EXPECT_EQ(registry_.Changes(), Lines{});
  EXPECT_EQ(Servers(), Lines{});
  EXPECT_EQ(box_.calls, Lines{});
}

INSTANTIATE_TEST_SUITE_P(EmptyOrWithABackslash, RefusedNames,
                         ::testing::Values(RefusedName{"", true}, RefusedName{"", false},
                                           RefusedName{"prod\\east", true},
                                           RefusedName{"\\", false}, RefusedName{"PROD\\", true}));

// ---- Remove -----------------------------------------------------------------

TEST(RemovalQuestionText, NamesTheServer) {
  EXPECT_EQ(RemovalQuestion("PROD east"), "Are you sure you want to delete PROD east?");
  EXPECT_EQ(RemovalQuestion(""), "Are you sure you want to delete ?");
}

TEST_F(ServerDialogActions, RemoveWithNoEntrySelectedAsksNothingAndChangesNothing) {
  StoreDirect("PROD");
  dialog_.entries = {"PROD"};
  RemoveSelectedServer(registry_, dialog_, box_);
  EXPECT_EQ(dialog_.questions, Lines{});
  EXPECT_EQ(registry_.Changes(), Lines{});
  EXPECT_EQ(dialog_.entries, Lines{"PROD"});
  EXPECT_EQ(box_.calls, Lines{});
}

TEST_F(ServerDialogActions, AnsweringNoChangesNothing) {
  StoreDirect("PROD");
  dialog_.entries = {"PROD"};
  dialog_.selected = 0;
  dialog_.answer_yes = false;
  RemoveSelectedServer(registry_, dialog_, box_);
  EXPECT_EQ(dialog_.questions, Lines{"Are you sure you want to delete PROD?"});
  EXPECT_EQ(Servers(), Lines{"PROD"});
  EXPECT_EQ(dialog_.entries, Lines{"PROD"});
  EXPECT_EQ(dialog_.selected, 0);
  EXPECT_EQ(box_.calls, Lines{});
}

TEST_F(ServerDialogActions, AnsweringYesRemovesTheKeyThenTheBoxEntryThenTheListEntry) {
  StoreDirect("DEV");
  StoreDirect("PROD");
  StoreDirect("TEST");
  dialog_.entries = {"DEV", "PROD", "TEST"};
  dialog_.selected = 1;
  RemoveSelectedServer(registry_, dialog_, box_);
  EXPECT_EQ(registry_.Changes(), Lines{"delete " + ServerKeyPath("PROD")});
  EXPECT_EQ(Servers(), (Lines{"DEV", "TEST"}));
  EXPECT_EQ(box_.calls, Lines{"remove PROD"});
  EXPECT_EQ(dialog_.entries, (Lines{"DEV", "TEST"}));
  EXPECT_EQ(dialog_.selected, std::nullopt);
}

TEST_F(ServerDialogActions, AKeyAlreadyGoneStillLeavesBothLists) {
  dialog_.entries = {"GONE"};  // another copy of the program removed it meanwhile
  dialog_.selected = 0;
  RemoveSelectedServer(registry_, dialog_, box_);
  EXPECT_EQ(box_.calls, Lines{"remove GONE"});
  EXPECT_EQ(dialog_.entries, Lines{});
}

}  // namespace
}  // namespace kelvary
