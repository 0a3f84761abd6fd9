// Form_Load: the store's keys, the server list, the remembered query and the
// command line, in that order, and where start-up stops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_settings_access.h"
#include "servers/registry_store.h"
#include "support/memory_registry.h"
#include "ui/form_startup.h"

namespace kelvary {
namespace {

const std::string kIniPath = "C:\\Tools\\Kelvary.ini";

// What start-up did to the window, in order.
class RecordingStartUpView final : public StartUpView {
 public:
  std::vector<std::string> events;
  std::vector<std::string> servers;
  int selected = -1;
  std::string application;

  void AddServer(std::string_view name) override {
    servers.emplace_back(name);
    events.push_back("add:" + std::string(name));
  }
  void SelectServerAt(int index) override {
    selected = index;
    events.push_back("select:" + std::to_string(index));
  }
  void SetApplicationName(std::string_view text) override {
    application = text;
    events.push_back("app:" + application);
  }
};

class LoadMainWindowTest : public ::testing::Test {
 protected:
  void AddServers(std::initializer_list<const char*> names) {
    SetStoreKeyPaths();
    for (const char* name : names) {
      RegWriteText(registry_, RegRoot::CurrentUser, ServerKeyPath(name), "Path", "C:\\Hyperion\\Essbase");
    }
  }
  void Load(std::string_view argument_tail = {}) {
    SettingsFile settings(files_, kIniPath);
    LoadMainWindow(view_, registry_, settings, argument_tail);
  }
  bool KeyExists(std::string_view path) {
    RegistryBackend::Key key = 0;
    const bool found = registry_.OpenKey(RegRoot::CurrentUser, path, &key) == kRegSuccess;
    if (found) registry_.CloseKey(key);
    return found;
  }

  MemoryRegistry registry_;
  test::MemorySettingsAccess files_;
  RecordingStartUpView view_;
};

TEST_F(LoadMainWindowTest, MakesSureOfBothStoreKeysFirst) {
  Load();
  EXPECT_TRUE(KeyExists("Software\\Brennic\\Kelvary"));
  EXPECT_TRUE(KeyExists("Software\\Brennic\\Kelvary\\Servers"));
}

TEST_F(LoadMainWindowTest, EmptyStoreEndsAfterTheEmptyListWithoutTouchingTheSettingsFile) {
  files_.files[kIniPath] = "Demo,SAMPLE\r\n";
  Load("BUDGET");
  EXPECT_TRUE(view_.events.empty());
  EXPECT_TRUE(files_.journal.empty());
}

TEST_F(LoadMainWindowTest, EmptyStoreDoesNotCreateAMissingSettingsFile) {
  Load();
  EXPECT_TRUE(files_.files.empty());
}

TEST_F(LoadMainWindowTest, ListsServersInStoreOrderSelectsTheFirstThenAppliesTheFile) {
  AddServers({"Zeta", "alpha", "Demo"});
  files_.files[kIniPath] = "Zeta,SAMPLE\r\n";
  Load();
  EXPECT_EQ(view_.events, (std::vector<std::string>{"add:alpha", "add:Demo", "add:Zeta", "select:0",
                                                     "app:SAMPLE", "select:2"}));
}

TEST_F(LoadMainWindowTest, MissingSettingsFileIsCreatedAndTheFirstServerStays) {
  AddServers({"Demo", "Prod"});
  Load();
  EXPECT_EQ(files_.files.at(kIniPath), " , \r\n");
  EXPECT_EQ(view_.selected, 0);
  EXPECT_EQ(view_.application, "");
}

TEST_F(LoadMainWindowTest, ArgumentTakesThePlaceOfTheRememberedApplication) {
  AddServers({"Demo", "Prod"});
  files_.files[kIniPath] = "Prod,SAMPLE\r\n";
  Load("budget app");
  EXPECT_EQ(view_.application, "budget app");
  EXPECT_EQ(view_.selected, 1);  // the remembered server still counts
}

struct RememberedCase {
  const char* content;
  int selected;
  const char* application;
};

class RememberedServerTest : public LoadMainWindowTest,
                             public ::testing::WithParamInterface<RememberedCase> {};

TEST_P(RememberedServerTest, IsSelectedOnlyWhenListedExactly) {
  AddServers({"Demo", "Prod"});
  files_.files[kIniPath] = GetParam().content;
  Load();
  EXPECT_EQ(view_.selected, GetParam().selected);
  EXPECT_EQ(view_.application, GetParam().application);
}

INSTANTIATE_TEST_SUITE_P(
    FileShapes, RememberedServerTest,
    ::testing::Values(RememberedCase{"Prod,SAMPLE\r\n", 1, "SAMPLE"},
                      RememberedCase{"Prod, \r\n", 1, ""},
                      // the two-line record of older versions: "Prod;" is no server
                      RememberedCase{"Prod;\r\nSAMPLE\r\n", 0, "SAMPLE"},
                      RememberedCase{"prod,SAMPLE\r\n", 0, "SAMPLE"},
                      RememberedCase{"Gone,SAMPLE\r\n", 0, "SAMPLE"},
                      RememberedCase{" , \r\n", 0, ""}, RememberedCase{"", 0, ""},
                      // a server name with a comma reads as two fields
                      RememberedCase{"a,b,SAMPLE\r\n", 0, "b"}));

}  // namespace
}  // namespace kelvary
