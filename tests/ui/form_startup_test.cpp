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
  int selected = -1;
  std::string application;

  void AddServer(std::string_view name) override { events.push_back("add:" + std::string(name)); }
  void SelectServerAt(int index) override {
    selected = index;
    events.push_back("select:" + std::to_string(index));
  }
  void SetApplicationName(std::string_view text) override {
    application = text;
    events.push_back("app:" + application);
  }
};

// One start-up over a store of `servers` and a settings file holding
// `content` (none when null).
struct StartUp {
  StartUp(std::initializer_list<const char*> servers, const char* content, std::string_view argument = {}) {
    SetStoreKeyPaths();
    for (const char* name : servers) {
      RegWriteText(registry, RegRoot::CurrentUser, ServerKeyPath(name), "Path", "C:\\Hyperion\\Essbase");
    }
    if (content) files.files[kIniPath] = content;
    SettingsFile settings(files, kIniPath);
    LoadMainWindow(view, registry, settings, argument);
  }
  bool KeyExists(std::string_view path) {
    RegistryBackend::Key key = 0;
    const bool found = registry.OpenKey(RegRoot::CurrentUser, path, &key) == kRegSuccess;
    if (found) registry.CloseKey(key);
    return found;
  }

  MemoryRegistry registry;
  test::MemorySettingsAccess files;
  RecordingStartUpView view;
};

TEST(LoadMainWindowTest, EmptyStoreMakesBothStoreKeysAndEndsWithoutTouchingTheSettingsFile) {
  StartUp start({}, "Demo,SAMPLE\r\n", "BUDGET");
  EXPECT_TRUE(start.KeyExists("Software\\Brennic\\Kelvary"));
  EXPECT_TRUE(start.KeyExists("Software\\Brennic\\Kelvary\\Servers"));
  EXPECT_TRUE(start.view.events.empty());
  EXPECT_TRUE(start.files.journal.empty());
}

TEST(LoadMainWindowTest, ListsServersInStoreOrderSelectsTheFirstThenAppliesTheFile) {
  StartUp start({"Zeta", "alpha", "Demo"}, "Zeta,SAMPLE\r\n");
  EXPECT_EQ(start.view.events, (std::vector<std::string>{"add:alpha", "add:Demo", "add:Zeta", "select:0",
                                                          "app:SAMPLE", "select:2"}));
}

struct RememberedCase {
  const char* content;
  int selected;
  const char* application;
};

const RememberedCase kRemembered[] = {
    {"Prod,SAMPLE\r\n", 1, "SAMPLE"},
    {"Prod;\r\nSAMPLE\r\n", 0, "SAMPLE"},  // the two-line record of older versions: "Prod;" is no server
    {"prod,SAMPLE\r\n", 0, "SAMPLE"},
    {"Gone,SAMPLE\r\n", 0, "SAMPLE"},
    {nullptr, 0, ""},  // a missing file is created, and the first server stays
    {"a,b,SAMPLE\r\n", 0, "b"},  // a server name with a comma reads as two fields
};

TEST(LoadMainWindowTest, RememberedServerIsSelectedOnlyWhenListedExactly) {
  for (const RememberedCase& c : kRemembered) {
    StartUp start({"Demo", "Prod"}, c.content);
    EXPECT_EQ(start.view.selected, c.selected) << (c.content ? c.content : "no file");
    EXPECT_EQ(start.view.application, c.application) << (c.content ? c.content : "no file");
  }
  EXPECT_EQ(StartUp({"Demo"}, nullptr).files.files.at(kIniPath), " , \r\n");
  const StartUp with_argument({"Demo", "Prod"}, "Prod,SAMPLE\r\n", "budget app");
  EXPECT_EQ(with_argument.view.application, "budget app");
  EXPECT_EQ(with_argument.view.selected, 1);  // the remembered server still counts
}

}  // namespace
}  // namespace kelvary
