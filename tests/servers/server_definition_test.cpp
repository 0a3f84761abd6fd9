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

struct PathCase {
  const char* typed;
  const char* stored;
};

class StoredPathOf : public ::testing::TestWithParam<PathCase> {};

TEST_P(StoredPathOf, DropsOneTrailingBackslashOnly) { EXPECT_EQ(StoredPath(GetParam().typed), GetParam().stored); }

INSTANTIATE_TEST_SUITE_P(Paths, StoredPathOf,
                         ::testing::Values(PathCase{"d:\\essbase\\", "d:\\essbase"},
                                           PathCase{"d:\\essbase\\\\", "d:\\essbase\\"},
                                           PathCase{"d:\\essbase", "d:\\essbase"},
                                           PathCase{"\\\\fs01\\ess\\", "\\\\fs01\\ess"},
                                           PathCase{"\\", ""}, PathCase{"", ""},
                                           PathCase{" d:\\e \\", " d:\\e "}));

TEST(ServerName, EmptyOrWithABackslashSlashOrTwoDotsIsNotAcceptable) {
  for (const char* name : {"PROD", " prod east 2 ", "prod.east", "."}) EXPECT_TRUE(IsAcceptableServerName(name)) << name;
  for (const char* name : {"", "a\\b", "PROD\\", "east/2", "/", "..", "../../ESCAPE", "a..b"}) {
    EXPECT_FALSE(IsAcceptableServerName(name)) << name;
  }
}

// Added again as the other kind, under another case of its name, a server
// keeps one key and the values of the first kind.
TEST(AddServer, WritesTheKindsValuesThenAccessIntoOneKeyAndRefusedNamesNothing) {
  SetStoreKeyPaths();
  MemoryRegistry memory;
  RecordingRegistry reg(memory);
  EXPECT_TRUE(AddDirectServer(reg, "PROD", "d:\\essbase\\"));
  EXPECT_TRUE(AddRemoteServer(reg, "prod", {"ess01", "admin", ""}));
  EXPECT_FALSE(AddDirectServer(reg, "", "d:\\essbase"));
  EXPECT_FALSE(AddRemoteServer(reg, "a\\b", {"ess01", "admin", "pw"}));
  EXPECT_EQ(reg.Changes(),
            (Lines{"set Path", "set Access", "set DNS", "set UserName", "set Password", "set Access"}));
  EXPECT_EQ(RegListSubkeys(reg, RegRoot::CurrentUser, strServersKey), Lines{"PROD"});
  const auto read = [&](std::string_view value) {
    return RegReadText(memory, RegRoot::CurrentUser, ServerKeyPath("PROD"), value, "(missing)");
  };
  EXPECT_EQ(read(kPathValue), "d:\\essbase");
  EXPECT_EQ(read(kDnsValue), "ess01");
  EXPECT_EQ(read(kUserNameValue), "admin");
  EXPECT_EQ(read(kPasswordValue), "");  // an empty box is an empty text
  EXPECT_EQ(read(kAccessValue), "1");
}

}  // namespace
}  // namespace kelvary
