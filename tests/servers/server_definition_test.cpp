// Adding a server as the add dialog and `kelvary-cli servers add` store it.
#include "servers/server_definition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "servers/registry_store.h"
#include "support/memory_registry.h"
#include "support/recording_registry.h"

namespace kelvary {
namespace {

using Lines = std::vector<std::string>;

TEST(StoredPath, DropsOneTrailingBackslashOnly) {
  const std::pair<const char*, const char*> cases[] = {{"d:\\essbase\\", "d:\\essbase"},
      {"d:\\essbase\\\\", "d:\\essbase\\"}, {"d:\\essbase", "d:\\essbase"}, {"\\", ""}, {"", ""},
      {" d:\\e \\", " d:\\e "}};
  for (const auto& [typed, stored] : cases) EXPECT_EQ(StoredPath(typed), stored) << typed;
}

TEST(ServerName, EmptyLongerThan255OrWithABackslashSlashOrTwoDotsIsNotAcceptable) {
  using Names = std::initializer_list<std::string>;
  for (const std::string& name : Names{"PROD", " prod east 2 ", "prod.east", ".", std::string(255, 'x')}) {
    EXPECT_TRUE(IsAcceptableServerName(name)) << name;
  }
  for (const std::string& name : Names{"", "a\\b", "PROD\\", "east/2", "..", "../../ESCAPE", "a..b", std::string(256, 'x')}) {
    EXPECT_FALSE(IsAcceptableServerName(name)) << name;
  }
}

// Refused names write nothing; an accepted one writes its kind's values,
// then Access (a copy reading the store meanwhile sees no server half made).
TEST(AddServer, WritesTheKindsValuesThenAccessAndRefusedNamesNothing) {
  SetStoreKeyPaths();
  MemoryRegistry memory;
  RecordingRegistry reg(memory);
  EXPECT_FALSE(AddDirectServer(reg, "", "d:\\essbase"));
  EXPECT_FALSE(AddRemoteServer(reg, "a\\b", {"ess01", "admin", "pw"}));
  EXPECT_TRUE(AddDirectServer(reg, "PROD", "d:\\essbase\\"));
  EXPECT_TRUE(AddRemoteServer(reg, "prod", {"ess01", "admin", ""}));
  EXPECT_EQ(reg.Changes(), (Lines{"set Path", "set Access", "set DNS", "set UserName", "set Password", "set Access"}));
  EXPECT_EQ(RegReadText(memory, RegRoot::CurrentUser, ServerKeyPath("PROD"), kPathValue), "d:\\essbase");
  EXPECT_EQ(RegReadText(memory, RegRoot::CurrentUser, ServerKeyPath("PROD"), kAccessValue), "1");
}

}  // namespace
}  // namespace kelvary
