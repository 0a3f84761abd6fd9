// The .reg file: what reads as which keys and values, what is refused and on
// which line, the exact text written back, and regedit's UTF-16 export read
// as UTF-8 and written back as UTF-16 without losing a character.
#include "servers/registry_file_format.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "servers/registry_file_location.h"
#include "servers/utf16_text.h"

namespace kelvary {
namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
const std::string kProd = "[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\PROD]\r\n";
const KeyPath kProdPath = {"Software", "Brennic", "Kelvary", "Servers", "PROD"};

ParsedRegFile Parse(const std::string& text) { return ParseRegFile(text, CaseMap::Windows1252()); }

std::string Utf16Le(const std::u16string& text) {
  std::string bytes;
  for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return bytes;
}

const RegistryValue* ValueOf(const ParsedRegFile& parsed, const KeyPath& path, const std::string& name) {
  const RegistryKey* key = parsed.tree.FindKey(path);
  return key == nullptr ? nullptr : parsed.tree.FindValue(*key, name);
}

// What each line reads as: its behaviour, the line, the value's name, type and data.
TEST(RegFileRead, ReadsTheValueOfEachLine) {
  const std::tuple<const char*, std::string, std::string, std::uint32_t, std::string> cases[] = {
      {"escaped backslashes", R"("Path"="d:\\essbase")", "Path", kRegSz, std::string("d:\\essbase\0", 11)},
      {"escaped quote", R"("Password"="a\"b")", "Password", kRegSz, std::string("a\"b\0", 4)},
      {"trailing backslash", R"("Path"="d:\\")", "Path", kRegSz, std::string("d:\\\0", 4)},
      {"empty text", R"("Access"="")", "Access", kRegSz, std::string("\0", 1)},
      {"= and ; inside text", R"("Password"="a=b;c")", "Password", kRegSz, std::string("a=b;c\0", 6)},
      {"eight-bit text", "\"Path\"=\"caf\xE9\"", "Path", kRegSz, std::string("caf\xE9\0", 5)},
      {"default value", R"(@="x")", "", kRegSz, std::string("x\0", 2)},
      {"dword", "\"Access\"=dword:00000001", "Access", kRegDword, std::string("\1\0\0\0", 4)},
      {"short dword", "\"Access\"=dword:1f", "Access", kRegDword, std::string("\x1f\0\0\0", 4)},
      {"binary", "\"Blob\"=hex:01,ff", "Blob", kRegBinary, "\x01\xff"},
      {"expandable text", "\"Path\"=hex(2):25,00,00,00", "Path", kRegExpandSz, std::string("%\0\0\0", 4)},
      {"typed hex is text only for type 1", "\"DNS\"=hex(1):65,73,73", "DNS", kRegSz, "ess"},
      {"name's case ignored", R"("PATH"="d:")", "path", kRegSz, std::string("d:\0", 3)},
      {"hex list over backslash-ended lines", "\"Blob\"=hex(7):61,00,\\\r\n  62,00,\\\r\n  00,00", "Blob", 7,
       std::string("a\0b\0\0\0", 6)}};
  for (const auto& [behaviour, line, name, type, data] : cases) {
    const ParsedRegFile parsed = Parse(kHeader + kProd + line + "\r\n");
    ASSERT_FALSE(parsed.problem) << behaviour << ": " << parsed.problem->reason;
    const RegistryValue* value = ValueOf(parsed, kProdPath, name);
    ASSERT_NE(value, nullptr) << behaviour;
    EXPECT_EQ(value->type, type) << behaviour;
    EXPECT_EQ(value->data, data) << behaviour;
  }
}

TEST(RegFileRead, SectionsAndRootCompareWithoutRegardToCaseAndMerge) {
  const ParsedRegFile parsed = Parse(kHeader + kProd + "\"Path\"=\"a\"\r\n" +
                                     "[hkey_current_user\\software\\brennic\\kelvary\\servers\\prod]\r\n" +
                                     "\"Access\"=\"0\"\r\n");
  ASSERT_FALSE(parsed.problem);
  const RegistryKey* servers = parsed.tree.FindKey({"Software", "Brennic", "Kelvary", "Servers"});
  ASSERT_EQ(servers->subkeys.size(), 1u);
  EXPECT_EQ(servers->subkeys[0].name, "PROD");
  EXPECT_EQ(servers->subkeys[0].values.size(), 2u);
}

// regedit's own export: UTF-16LE with a byte-order mark. Names that no code
// page holds stay apart and come back unchanged.
TEST(RegFileRead, AUtf16FileReadsAsUtf8AndIsWrittenBackAsItWas) {
  const std::string file =
      "\xFF\xFE" + Utf16Le(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\S]\r\n\r\n"
                           u"[HKEY_CURRENT_USER\\S\\\u0411\u0435\u0440\u043b\u0438\u043d]\r\n\"Path\"=\"b\"\r\n"
                           u"\"DNS\"=\"caf\u00e9 \u20ac\U0001F600\"\r\n\r\n"
                           u"[HKEY_CURRENT_USER\\S\\\u041c\u043e\u0441\u043a\u0432\u0430]\r\n\"Path\"=\"a\"\r\n\r\n");
  const ParsedRegFile parsed = ParseRegFile(file, CaseMap::Utf8());
  ASSERT_FALSE(parsed.problem) << parsed.problem->reason;
  EXPECT_EQ(parsed.encoding, RegFileEncoding::Utf16Le);
  ASSERT_EQ(parsed.tree.Root().subkeys[0].subkeys.size(), 2u);
  EXPECT_EQ(ValueOf(parsed, {"S", "\u041c\u043e\u0441\u043a\u0432\u0430"}, "Path")->data, std::string("a\0", 2));
  EXPECT_EQ(ValueOf(parsed, {"S", "\u0411\u0435\u0440\u043b\u0438\u043d"}, "DNS")->data,
            std::string("caf\u00e9 \u20ac\U0001F600") + '\0');
  EXPECT_EQ(FormatRegFile(parsed.tree, parsed.encoding), file);
}

// Each names the wrong line, and the file reads as empty.
TEST(RegFileRead, DamageNamesItsLine) {
  const std::tuple<const char*, std::string, std::size_t> cases[] = {
      {"WrongHeader", "REGEDIT4\r\n\r\n" + kProd, 1},
      {"Utf8ByteOrderMark", "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n", 1},
      {"UnclosedQuote", kHeader + kProd + "\"Path\"=\"d:\\\\essbase\r\n", 4},
      {"SingleBackslash", kHeader + kProd + "\"Path\"=\"d:\\essbase\"\r\n", 4},
      {"TextAfterClosingQuote", kHeader + kProd + "\"Path\"=\"d:\" x\r\n", 4},
      {"MissingEquals", kHeader + kProd + "\"Path\" \"d:\"\r\n", 4},
      {"UnknownType", kHeader + kProd + "\"Path\"=qword:1\r\n", 4},
      {"BadDword", kHeader + kProd + "\"Access\"=dword:123456789\r\n", 4},
      {"BadHexByte", kHeader + kProd + "\"Blob\"=hex:01,zz\r\n", 4},
      {"OneDigitHexByte", kHeader + kProd + "\"Blob\"=hex:1,02\r\n", 4},
      {"BadHexType", kHeader + kProd + "\"Blob\"=hex(q):00\r\n", 4},
      {"ValueRemoval", kHeader + kProd + "\"Path\"=-\r\n", 4},
      {"KeyRemoval", kHeader + "[-HKEY_CURRENT_USER\\Software\\X]\r\n", 3},
      {"OtherRoot", kHeader + "[HKEY_LOCAL_MACHINE\\Software\\X]\r\n", 3},
      {"UnclosedSection", kHeader + "[HKEY_CURRENT_USER\\Software\\X\r\n", 3},
      {"ValueBeforeAnySection", kHeader + "\"Path\"=\"d:\"\r\n", 3},
      {"StrayText", kHeader + kProd + "Path=d:\r\n", 4},
      {"LineCountsFromOneAcrossLfEnds", "Windows Registry Editor Version 5.00\n\n\n\nbad\n", 5},
      {"Utf16EndingInHalfACharacter",
       "\xFF\xFE" + Utf16Le(u"Windows Registry Editor Version 5.00\r\n\r\n[X]") + "x", 3}};
  for (const auto& [behaviour, text, line] : cases) {
    const ParsedRegFile parsed = Parse(text);
    ASSERT_TRUE(parsed.problem) << behaviour;
    EXPECT_EQ(parsed.problem->line, line) << behaviour << ": " << parsed.problem->reason;
    EXPECT_FALSE(parsed.problem->reason.empty());
    EXPECT_TRUE(parsed.tree.Root().subkeys.empty()) << behaviour;
  }
}

RegistryTree TreeWith(const KeyPath& path, std::vector<RegistryValue> values) {
  RegistryTree tree(CaseMap::Windows1252());
  bool created = false;
  RegistryKey& key = tree.CreateKey(path, &created);
  for (RegistryValue& value : values) {
    tree.SetValue(key, std::move(value));
  }
  return tree;
}

TEST(RegFileWrite, WritesEachValueAsItsLine) {
  const std::tuple<const char*, RegistryValue, std::string> cases[] = {
      {"QuotedTextWithEscapes", {"Pa\"th", kRegSz, std::string("\\\\s\\\"x\"\\\0", 9), {}},
       R"("Pa\"th"="\\\\s\\\"x\"\\")"},
      {"DefaultValueAsAt", {"", kRegSz, std::string("x\0", 2), {}}, R"(@="x")"},
      {"Dword", {"Access", kRegDword, std::string("\x2a\0\0\0", 4), {}}, "\"Access\"=dword:0000002a"},
      {"BinaryAsHex", {"B", kRegBinary, "\x01\xab", {}}, "\"B\"=hex:01,ab"},
      {"OtherTypesAsTypedHex", {"E", kRegExpandSz, std::string("%\0", 2), {}}, "\"E\"=hex(2):25,00"},
      {"TextWithoutNulAsTypedHex", {"DNS", kRegSz, "ab", {}}, "\"DNS\"=hex(1):61,62"},
      {"TextWithLineBreakAsTypedHex", {"P", kRegSz, std::string("a\nb\0", 4), {}},
       "\"P\"=hex(1):61,0a,62,00"},
      {"ValueFromTheFileAsItWasWritten", {"B", kRegBinary, "\x01", "hex:01,\\\r\n  02"},
       "\"B\"=hex:01,\\\r\n  02"}};
  for (const auto& [behaviour, value, line] : cases) {
    EXPECT_EQ(*FormatRegFile(TreeWith({"K"}, {value})), kHeader + "[HKEY_CURRENT_USER\\K]\r\n" + line + "\r\n\r\n")
        << behaviour;
  }
}

TEST(RegFileWrite, ANameWithALineBreakCannotBeWritten) {
  EXPECT_FALSE(FormatRegFile(TreeWith({"Servers", "a\nb"}, {})));
  EXPECT_FALSE(FormatRegFile(TreeWith({"K"}, {{"a\rb", kRegSz, std::string("x\0", 2), {}}})));
}

// A lone surrogate is kept as its three-byte form, both ways; half a unit,
// or text that is not UTF-8, is refused.
TEST(Utf16Text, ConvertsBothWaysUnchangedOrRefuses) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"d:\\essbase", "d:\\essbase"}, {u"caf\u00e9 \u20ac\u4e2d", "caf\xC3\xA9 \xE2\x82\xAC\xE4\xB8\xAD"},
      {u"a\U0001F600b", "a\xF0\x9F\x98\x80\x62"}, {u"\U000103FF", "\xF0\x90\x8F\xBF"},
      {u"\xd800x", "\xED\xA0\x80x"}, {u"\xdc00", "\xED\xB0\x80"}};
  for (const auto& [utf16, utf8] : cases) {
    EXPECT_EQ(Utf16LeToUtf8(Utf16Le(utf16)), utf8);
    EXPECT_EQ(Utf8ToUtf16Le(utf8), Utf16Le(utf16));
  }
  EXPECT_FALSE(Utf16LeToUtf8(std::string("a\0b", 3)));
  EXPECT_FALSE(Utf8ToUtf16Le("caf\xE9"));
}

// A relative XDG_CONFIG_HOME is ignored.
TEST(RegistryFileLocation, NamedFileThenXdgConfigHomeThenHome) {
  const std::pair<RegistryFileEnvironment, std::string> cases[] = {
      {{"/srv/s.reg", "/x/config", "/home/ann"}, "/srv/s.reg"},
      {{"", "/x/config", "/home/ann"}, "/x/config/kelvary/registry.reg"},
      {{"", "", "/home/ann"}, "/home/ann/.config/kelvary/registry.reg"},
      {{"", "config", "/home/ann"}, "/home/ann/.config/kelvary/registry.reg"}};
  for (const auto& [environment, path] : cases) EXPECT_EQ(RegistryFilePath(environment), path) << path;
}

}  // namespace
}  // namespace kelvary
