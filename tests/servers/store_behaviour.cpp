#include "store_behaviour.h"

#include <string>
#include <vector>

#include "servers/registry_store.h"
#include "support/registry_test_helpers.h"

namespace kelvary {

namespace {
constexpr RegRoot kUser = RegRoot::CurrentUser;
constexpr char kTestsKey[] = "Software\\Brennic\\KelvaryTests";
using Names = std::vector<std::string>;
}  // namespace

void StoreBehaviour::SetUp() {
  reg_ = GetParam().open();
  std::string test_name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  for (char& c : test_name) {
    c = c == '/' ? '.' : c;
  }
  test_key_ = std::string(kTestsKey) + "\\" + test_name;
  RemoveKeyTree(*reg_, test_key_);  // left over from an interrupted run
}

void StoreBehaviour::TearDown() {
  RemoveKeyTree(*reg_, test_key_);
  reg_->DeleteKey(kUser, kTestsKey);  // refused while another test's key is there
}

TEST_P(StoreBehaviour, AnEmptyServersKeyListsNoNames) {
  RegEnsureKey(*reg_, kUser, ServersKey());
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{});
}

TEST_P(StoreBehaviour, AMissingKeyListsNoNames) {
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{});
}

TEST_P(StoreBehaviour, EnsuringAKeyCreatesTheKeysAboveItAndKeepsWhatIsThere) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\essbase");
  RegEnsureKey(*reg_, kUser, test_key_);
  RegEnsureKey(*reg_, kUser, ServersKey());
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{"PROD"});
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Path"), "d:\\essbase");
}

TEST_P(StoreBehaviour, ServersListInCaseInsensitiveAlphabeticalOrder) {
  for (const char* name : {"gamma", "Alpha", "BETA", "delta"}) {
    RegWriteText(*reg_, kUser, ServerKey(name), "Access", "0");
  }
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), (Names{"Alpha", "BETA", "delta", "gamma"}));
}

TEST_P(StoreBehaviour, WritingIntoAMissingServerKeyCreatesIt) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\essbase");
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{"PROD"});
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Path"), "d:\\essbase");
}

TEST_P(StoreBehaviour, AddingProdWherePRODExistsWritesIntoPROD) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\essbase");
  RegWriteText(*reg_, kUser, ServerKey("prod"), "Access", "0");
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{"PROD"});
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Access"), "0");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("Prod"), "Path"), "d:\\essbase");
}

TEST_P(StoreBehaviour, ValueNamesCompareWithoutRegardToCase) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\old");
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "PATH", "d:\\new");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "path"), "d:\\new");
}

TEST_P(StoreBehaviour, AMissingKeyReadsTheDefault) {
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("NOSUCH"), "Path", "fallback"), "fallback");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("NOSUCH"), "Path"), "");
}

TEST_P(StoreBehaviour, AMissingValueReadsTheDefault) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\essbase");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Access", "fallback"), "fallback");
}

TEST_P(StoreBehaviour, AnEmptyTextReadsAsEmptyNotAsTheDefault) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Access", "");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Access", "fallback"), "");
}

TEST_P(StoreBehaviour, ANumberValueReadsAsTheDefault) {
  PutRawValue(*reg_, ServerKey("PROD"), "Access", kRegDword, std::string("\1\0\0\0", 4));
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Access"), "");
}

TEST_P(StoreBehaviour, AnExpandableTextReadsAsTheDefault) {
  PutRawValue(*reg_, ServerKey("PROD"), "Path", kRegExpandSz, std::string("%HOMEDRIVE%\\essbase\0", 20));
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Path", "fallback"), "fallback");
}

TEST_P(StoreBehaviour, ATextStoredWithoutItsNulReadsBackWhole) {
  PutRawValue(*reg_, ServerKey("PROD"), "DNS", kRegSz, "essbase.example.com");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "DNS"), "essbase.example.com");
}

TEST_P(StoreBehaviour, TextsKeepQuotesBackslashesAndEightBitCharacters) {
  const std::string text = "\\\\fs01\\ess base\\\"q\" caf\xE9\\";
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", text);
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Path"), text);
}

TEST_P(StoreBehaviour, RemovingAServerDeletesItsKeyAndValues) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\essbase");
  RegWriteText(*reg_, kUser, ServerKey("DEV"), "Path", "e:\\essbase");
  RegRemoveKey(*reg_, kUser, ServerKey("prod"));
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{"DEV"});
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Path"), "");
}

TEST_P(StoreBehaviour, RemovingAKeyThatHasSubkeysLeavesIt) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\essbase");
  RegRemoveKey(*reg_, kUser, ServersKey());
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{"PROD"});
}

TEST_P(StoreBehaviour, AServerAddedAgainAsTheOtherKindKeepsItsOldValues) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\essbase");
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Access", "0");
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "DNS", "ess01");
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Access", "1");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Path"), "d:\\essbase");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "DNS"), "ess01");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Access"), "1");
}

}  // namespace kelvary
