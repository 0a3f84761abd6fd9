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

using Events = std::vector<std::string>;
const std::string kIniPath = "C:\\Tools\\Kelvary.ini";

// What start-up did to the window, in order.
class RecordingStartUpView final : public StartUpView {
 public:
  void AddServer(std::string_view name) override { events.push_back("add:" + std::string(name)); }
  void SelectServerAt(int index) override { events.push_back("select:" + std::to_string(index)); }
  void SetApplicationName(std::string_view text) override { events.push_back("app:" + std::string(text)); }
  Events events;
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

  MemoryRegistry registry;
  test::MemorySettingsAccess files;
  RecordingStartUpView view;
};

// An empty store gets both keys, and start-up ends before the settings file.
TEST(LoadMainWindowTest, EmptyStoreMakesBothStoreKeysAndEndsWithoutTouchingTheSettingsFile) {
  StartUp start({}, "Demo,SAMPLE\r\n", "BUDGET");
  EXPECT_EQ(RegListSubkeys(start.registry, RegRoot::CurrentUser, "Software\\Brennic\\Kelvary"),
            std::vector<std::string>{"Servers"});
  EXPECT_TRUE(start.view.events.empty());
  EXPECT_TRUE(start.files.journal.empty());
}

// Servers in store order, the first selected, then the remembered query: its
// server only when listed exactly. The two-line record of older versions
// ("Prod;") names no server; a server name with a comma reads as two fields;
// a missing file is created; the command line's application wins.
TEST(LoadMainWindowTest, ListsServersSelectsTheFirstThenAppliesTheFileAndTheArgument) {
  EXPECT_EQ(StartUp({"Zeta", "alpha", "Demo"}, "Zeta,SAMPLE\r\n").view.events,
            (Events{"add:alpha", "add:Demo", "add:Zeta", "select:0", "app:SAMPLE", "select:2"}));
  const Events listed = {"add:Demo", "add:Prod", "select:0"};
  const std::pair<const char*, Events> cases[] = {
      {"Prod,SAMPLE\r\n", {"app:SAMPLE", "select:1"}}, {"Prod;\r\nSAMPLE\r\n", {"app:SAMPLE"}},
      {"prod,SAMPLE\r\n", {"app:SAMPLE"}},             {"Gone,SAMPLE\r\n", {"app:SAMPLE"}},
      {nullptr, {"app:"}},                             {"a,b,SAMPLE\r\n", {"app:b"}}};
  for (const auto& [content, after] : cases) {
    Events expected = listed;
    expected.insert(expected.end(), after.begin(), after.end());
    EXPECT_EQ(StartUp({"Demo", "Prod"}, content).view.events, expected) << (content ? content : "no file");
  }
  EXPECT_EQ(StartUp({"Demo"}, nullptr).files.files.at(kIniPath), " , \r\n");
  EXPECT_EQ(StartUp({"Demo", "Prod"}, "Prod,SAMPLE\r\n", "budget app").view.events,
            (Events{"add:Demo", "add:Prod", "select:0", "app:budget app", "select:1"}));
}

}  // namespace
}  // namespace kelvary
