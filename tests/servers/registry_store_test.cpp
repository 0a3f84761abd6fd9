// The store operations' own rules, pinned against a scripted backend that
// records each registry call: the order of calls, the listing's 255-byte
// blank-filled buffer and its first-NUL rule. What each kind of value reads
// as is pinned over every real backend in store_behaviour.cpp.
#include "servers/registry_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kelvary {
namespace {

constexpr RegistryBackend::Key kOpenedKey = 42;
using Names = std::vector<std::string>;

struct ScriptedValue {
  std::uint32_t type;
  std::string bytes;
};

class ScriptedRegistry final : public RegistryBackend {
 public:
  std::vector<std::string> calls;
  long open_status = kRegSuccess;
  // What each enumeration step writes into the buffer: the bytes and status.
  std::vector<std::pair<std::string, long>> enum_steps;
  std::vector<std::string> enum_buffers_seen;
  std::optional<ScriptedValue> value;
  std::vector<std::uint32_t> query_sizes_offered;
  std::string set_bytes;
  std::uint32_t set_type = 0;

  long CreateKey(RegRoot, std::string_view path, Key* key) override {
    calls.push_back("RegCreateKeyA " + std::string(path));
    *key = kOpenedKey;
    return kRegSuccess;
  }
  long OpenKey(RegRoot, std::string_view path, Key* key) override {
    calls.push_back("RegOpenKeyA " + std::string(path));
    *key = open_status == kRegSuccess ? kOpenedKey : 0;
    return open_status;
  }
  long EnumKey(Key key, std::uint32_t index, char* name, std::uint32_t size) override {
    calls.push_back("RegEnumKeyA " + std::to_string(index) + " size " + std::to_string(size));
    enum_buffers_seen.emplace_back(name, size);
    if (key != kOpenedKey || index >= enum_steps.size()) {
      return key != kOpenedKey ? kRegInvalidHandle : kRegNoMoreItems;
    }
    const auto& [bytes, status] = enum_steps[index];
    if (bytes.size() > size) {
      return kRegMoreData;
    }
    std::copy(bytes.begin(), bytes.end(), name);
    return status;
  }
  long QueryValue(Key key, std::string_view name, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* size) override {
    calls.push_back("RegQueryValueExA " + std::string(name) + (data == nullptr ? " sizing" : " data"));
    if (key != kOpenedKey || !value) {
      return kRegFileNotFound;
    }
    *type = value->type;
    if (data != nullptr) {
      query_sizes_offered.push_back(*size);
      std::copy(value->bytes.begin(), value->bytes.end(), data);
    }
    *size = static_cast<std::uint32_t>(value->bytes.size());
    return kRegSuccess;
  }
  long SetValue(Key, std::string_view name, std::uint32_t type, const unsigned char* data,
                std::uint32_t size) override {
    calls.push_back("RegSetValueExA " + std::string(name));
    set_type = type;
    set_bytes.assign(reinterpret_cast<const char*>(data), size);
    return kRegSuccess;
  }
  long DeleteKey(RegRoot, std::string_view path) override {
    calls.push_back("RegDeleteKeyA " + std::string(path));
    return kRegSuccess;
  }
  long CloseKey(Key key) override {
    calls.push_back("RegCloseKey " + std::to_string(key));
    return kRegSuccess;
  }
};

constexpr RegRoot kUser = RegRoot::CurrentUser;
const std::string kServerKey = "Software\\Brennic\\Kelvary\\Servers\\PROD";

TEST(StoreKeyPaths, AreTheProductKeyAndItsServersSubkey) {
  SetStoreKeyPaths();
  EXPECT_EQ(strProductKey, "Software\\Brennic\\Kelvary");
  EXPECT_EQ(strServersKey, "Software\\Brennic\\Kelvary\\Servers");
  EXPECT_EQ(ServerKeyPath("prod east"), "Software\\Brennic\\Kelvary\\Servers\\prod east");
}

TEST(RegEnsureKey, CreatesThenClosesTheKey) {
  ScriptedRegistry reg;
  RegEnsureKey(reg, kUser, "Software\\Brennic\\Kelvary");
  EXPECT_EQ(reg.calls, (Names{"RegCreateKeyA Software\\Brennic\\Kelvary", "RegCloseKey 42"}));
}

TEST(RegListSubkeys, EnumeratesFromIndexZeroInAFresh255ByteBlankBufferUntilTheFirstFailureThenCloses) {
  ScriptedRegistry reg;
  reg.enum_steps = {{std::string("PROD\0", 5), kRegSuccess}, {std::string("dev\0", 4), kRegSuccess}};
  EXPECT_EQ(RegListSubkeys(reg, kUser, "Servers"), (Names{"PROD", "dev"}));
  EXPECT_EQ(reg.calls, (Names{"RegOpenKeyA Servers", "RegEnumKeyA 0 size 255", "RegEnumKeyA 1 size 255",
                              "RegEnumKeyA 2 size 255", "RegCloseKey 42"}));
  EXPECT_EQ(reg.enum_buffers_seen, Names(3, std::string(255, ' ')));
}

// A name that does not fit is asked for again with a buffer twice as large;
// one that fits no buffer is left out, and the listing goes on.
TEST(RegListSubkeys, KeepsEachBufferUpToItsFirstNulOrWholeAndGrowsTheBufferForALongName) {
  ScriptedRegistry reg;
  const std::string registry_longest = std::string(255, 'L') + '\0';
  reg.enum_steps = {{std::string("AB\0CD\0", 6), kRegSuccess}, {"XY", kRegSuccess}, {registry_longest, kRegSuccess},
                    {std::string(70000, 'H'), kRegSuccess}, {std::string("C\0", 2), kRegSuccess}};
  EXPECT_EQ(RegListSubkeys(reg, kUser, "Servers"),
            (Names{"AB", "XY" + std::string(253, ' '), std::string(255, 'L'), "C"}));
  EXPECT_EQ(reg.calls[3], "RegEnumKeyA 2 size 255");
  EXPECT_EQ(reg.calls[4], "RegEnumKeyA 2 size 510");
}

TEST(RegListSubkeys, AKeyThatCannotBeOpenedListsNothingYetIsStillEnumeratedAndClosed) {
  ScriptedRegistry reg;
  reg.open_status = kRegFileNotFound;
  reg.enum_steps = {{std::string("A\0", 2), kRegSuccess}};
  EXPECT_TRUE(RegListSubkeys(reg, kUser, "Missing").empty());
  EXPECT_EQ(reg.calls, (Names{"RegOpenKeyA Missing", "RegEnumKeyA 0 size 255", "RegCloseKey 0"}));
}

TEST(RegReadText, SizesThenReadsIntoABufferOfTheReportedSizeThenCloses) {
  ScriptedRegistry reg;
  reg.value = ScriptedValue{kRegSz, std::string("d:\\essbase\0", 11)};
  EXPECT_EQ(RegReadText(reg, kUser, kServerKey, "Path"), "d:\\essbase");
  EXPECT_EQ(reg.calls, (Names{"RegOpenKeyA " + kServerKey, "RegQueryValueExA Path sizing",
                              "RegQueryValueExA Path data", "RegCloseKey 42"}));
  EXPECT_EQ(reg.query_sizes_offered, std::vector<std::uint32_t>{11});
}

TEST(RegReadText, ANonTextValueIsNotReadASecondTime) {
  ScriptedRegistry reg;
  reg.value = ScriptedValue{kRegDword, std::string("\1\0\0\0", 4)};
  RegReadText(reg, kUser, kServerKey, "Access");
  EXPECT_EQ(reg.calls, (Names{"RegOpenKeyA " + kServerKey, "RegQueryValueExA Access sizing", "RegCloseKey 42"}));
}

TEST(RegWriteText, CreatesSetsTextWithItsNulThenCloses) {
  ScriptedRegistry reg;
  RegWriteText(reg, kUser, kServerKey, "Path", "d:\\essbase");
  EXPECT_EQ(reg.calls, (Names{"RegCreateKeyA " + kServerKey, "RegSetValueExA Path", "RegCloseKey 42"}));
  EXPECT_EQ(reg.set_type, kRegSz);
  EXPECT_EQ(reg.set_bytes, std::string("d:\\essbase\0", 11));
  RegWriteText(reg, kUser, kServerKey, "Password", "");
  EXPECT_EQ(reg.set_bytes, std::string("\0", 1));
}

TEST(RegRemoveKey, DeletesTheKeyWithOneCall) {
  ScriptedRegistry reg;
  RegRemoveKey(reg, kUser, kServerKey);
  EXPECT_EQ(reg.calls, Names{"RegDeleteKeyA " + kServerKey});
}

}  // namespace
}  // namespace kelvary
