#include "store_behaviour.h"

#include <string>
#include <vector>

#include "servers/registry_store.h"

namespace kelvary {

namespace {
constexpr RegRoot kUser = RegRoot::CurrentUser;
using Names = std::vector<std::string>;

// Sets a value of any type to `bytes` exactly as given (no NUL added), as
// another program could have stored it.
void PutRawValue(RegistryBackend& reg, std::string_view key_path, std::string_view value_name, std::uint32_t type,
                 std::string_view bytes) {
  RegistryBackend::Key key = 0;
  reg.CreateKey(RegRoot::CurrentUser, key_path, &key);
  reg.SetValue(key, value_name, type, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<std::uint32_t>(bytes.size()));
  reg.CloseKey(key);
}
}  // namespace

TEST_F(StoreBehaviour, ServersListInCaseInsensitiveAlphabeticalOrder) {
  for (const char* name : {"gamma", "Alpha", "BETA", "delta", "1st", "Zeta"}) {
    RegWriteText(*reg_, kUser, ServerKey(name), "Access", "0");
  }
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), (Names{"1st", "Alpha", "BETA", "delta", "gamma", "Zeta"}));
}

// A write creates the missing key, and ensuring the keys above keeps it;
// "prod" writes into "PROD", value names alike, and the values already there stay.
TEST_F(StoreBehaviour, WritingCreatesTheServerKeyAndProdWritesIntoPROD) {
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{});
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\old");
  RegEnsureKey(*reg_, kUser, test_key_);
  RegEnsureKey(*reg_, kUser, ServersKey());
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Path"), "d:\\old");
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "DNS", "ess01");
  RegWriteText(*reg_, kUser, ServerKey("prod"), "PATH", "d:\\essbase");
  RegWriteText(*reg_, kUser, ServerKey("prod"), "Access", "1");
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{"PROD"});
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Access"), "1");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("Prod"), "path"), "d:\\essbase");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "DNS"), "ess01");
}

struct StoredValue {
  const char* behaviour;
  std::uint32_t type;
  std::string bytes;  // exactly as stored, NUL included or not
  std::string read;   // with "fallback" as the default
};

TEST_F(StoreBehaviour, OnlyTextValuesReadAsTextAndWhatIsMissingReadsTheDefault) {
  const StoredValue values[] = {
      {"Number", kRegDword, std::string("\1\0\0\0", 4), "fallback"},
      {"ExpandableText", kRegExpandSz, std::string("%HOMEDRIVE%\\essbase\0", 20), "fallback"},
      {"TextWithoutNul", kRegSz, "essbase.example.com", "essbase.example.com"},
      {"TextWithANulInside", kRegSz, std::string("ess01\0old\0", 10), "ess01"},
      {"EmptyText", kRegSz, std::string("\0", 1), ""},
      {"TextWithQuotesBackslashesAndEightBits", kRegSz, std::string("\\\\fs\\\"q\" caf\xE9\\\0", 15),
       "\\\\fs\\\"q\" caf\xE9\\"},
  };
  for (const StoredValue& value : values) {
    PutRawValue(*reg_, ServerKey("PROD"), value.behaviour, value.type, value.bytes);
    EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), value.behaviour, "fallback"), value.read)
        << value.behaviour;
  }
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Missing", "fallback"), "fallback");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("NOSUCH"), "Path", "fallback"), "fallback");
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("NOSUCH"), "Path"), "");
}

TEST_F(StoreBehaviour, RemovingAServerDeletesItsKeyAndValuesButAKeyWithSubkeysStays) {
  RegWriteText(*reg_, kUser, ServerKey("PROD"), "Path", "d:\\essbase");
  RegWriteText(*reg_, kUser, ServerKey("DEV"), "Path", "e:\\essbase");
  RegRemoveKey(*reg_, kUser, ServerKey("prod"));
  RegRemoveKey(*reg_, kUser, ServersKey());
  EXPECT_EQ(RegListSubkeys(*reg_, kUser, ServersKey()), Names{"DEV"});
  EXPECT_EQ(RegReadText(*reg_, kUser, ServerKey("PROD"), "Path"), "");
}

}  // namespace kelvary
