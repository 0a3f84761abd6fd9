#include "servers/registry_file_format.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <vector>

#include "servers/utf16_text.h"

namespace kelvary {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kBinaryPrefix = "hex:";
constexpr std::string_view kTypedHexPrefix = "hex(";
constexpr std::string_view kTypedHexEnd = "):";
constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kLineBreaks = "\r\n";
constexpr char kDefaultValueName = '@';
constexpr char kQuote = '"';
constexpr char kEscape = '\\';
constexpr char kKeySeparator = '\\';
constexpr char kSectionStart = '[';
constexpr char kSectionEnd = ']';
constexpr char kComment = ';';
constexpr char kRemoval = '-';
constexpr char kContinuation = '\\';
constexpr char kByteSeparator = ',';
constexpr int kHexBase = 16;
constexpr std::size_t kDwordDigits = 8;
constexpr std::size_t kDwordBytes = 4;
constexpr std::size_t kByteDigits = 2;
constexpr char kHexDigits[] = "0123456789abcdef";

constexpr std::string_view kBadHeader = "the first line must be \"Windows Registry Editor Version 5.00\"";
constexpr std::string_view kUnknownLine = "a line must be a [key], a \"name\"=value, a ; comment or empty";
constexpr std::string_view kBadSection = "a [key] line must end with ]";
constexpr std::string_view kKeyRemoval = "[-key] removes a key on import; the store file holds keys, not removals";
constexpr std::string_view kOtherRoot = "only keys of HKEY_CURRENT_USER can be kept here";
constexpr std::string_view kValueOutsideKey = "a value must follow a [key] line";
constexpr std::string_view kMissingEquals = "a value name must be followed by =";
constexpr std::string_view kOpenQuote = "a quoted text must end with a quote on the same line";
constexpr std::string_view kBadEscape = "inside quotes a backslash must be written \\\\ and a quote \\\"";
constexpr std::string_view kTextAfterQuote = "nothing may follow the closing quote";
constexpr std::string_view kValueRemoval = "=- removes a value on import; the store file holds values, not removals";
constexpr std::string_view kUnknownType = "a value must be \"text\", dword:, hex: or hex(N):";
constexpr std::string_view kBadDword = "dword: must be followed by up to 8 hexadecimal digits";
constexpr std::string_view kBadHexType = "hex( must be followed by a hexadecimal type number and ):";
constexpr std::string_view kBadBytes = "hex data must be two-digit hexadecimal bytes separated by commas";
constexpr std::string_view kHalfCharacter = "the file is UTF-16 and ends in half a character";

std::string_view TrimLeft(std::string_view text) {
  const std::size_t start = text.find_first_not_of(kBlanks);
  return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

std::string_view TrimRight(std::string_view text) {
  const std::size_t end = text.find_last_not_of(kBlanks);
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view Trim(std::string_view text) { return TrimLeft(TrimRight(text)); }

template <typename Number>
bool ParseHex(std::string_view digits, Number* number) {
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, *number, kHexBase);
  return !digits.empty() && error == std::errc() && stop == end;
}

bool IsUtf16(std::string_view bytes) { return bytes.starts_with(kUtf16LeMark); }

// The text of the file: regedit's UTF-16LE export brought to UTF-8.
std::optional<std::string> DecodeText(std::string_view bytes) {
  if (IsUtf16(bytes)) {
    return Utf16LeToUtf8(bytes.substr(kUtf16LeMark.size()));
  }
  return std::string(bytes);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    lines.push_back(line);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return lines;
}

// A quoted text starting at `text[0]` (the opening quote): its unescaped
// content, and in `rest` what follows the closing quote.
std::optional<std::string> ParseQuoted(std::string_view text, std::string_view* rest, std::string_view* problem) {
  std::string content;
  for (std::size_t at = 1; at < text.size(); ++at) {
    if (text[at] == kQuote) {
      *rest = text.substr(at + 1);
      return content;
    }
    if (text[at] == kEscape) {
      ++at;
      if (at == text.size() || (text[at] != kEscape && text[at] != kQuote)) {
        *problem = kBadEscape;
        return std::nullopt;
      }
    }
    content.push_back(text[at]);
  }
  *problem = kOpenQuote;
  return std::nullopt;
}

std::optional<std::string> ParseHexBytes(std::string_view list) {
  std::string bytes;
  if (Trim(list).empty()) {
    return bytes;
  }
  while (true) {
    const std::size_t comma = list.find(kByteSeparator);
    const std::string_view digits = Trim(list.substr(0, comma));
    std::uint8_t byte = 0;
    if (digits.size() != kByteDigits || !ParseHex(digits, &byte)) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<char>(byte));
    if (comma == std::string_view::npos) {
      return bytes;
    }
    list = list.substr(comma + 1);
  }
}

class RegFileParser {
 public:
  RegFileParser(std::string_view text, const CaseMap& cases) : lines_(SplitLines(text)), tree_(cases) {}

  ParsedRegFile Parse() {
    if (std::optional<RegFileProblem> problem = ParseLines()) {
      return {RegistryTree(tree_.Cases()), std::move(problem)};
    }
    return {std::move(tree_), std::nullopt};
  }

 private:
  std::optional<RegFileProblem> ParseLines() {
    if (lines_.empty()) {
      return std::nullopt;
    }
    if (TrimRight(lines_[0]) != kHeader) {
      return RegFileProblem{1, std::string(kBadHeader)};
    }
    for (next_ = 1; next_ < lines_.size();) {
      const std::size_t line_number = next_ + 1;
      const std::string_view line = TrimLeft(lines_[next_++]);
      std::string_view problem;
      if (line.empty() || line.front() == kComment) {
        continue;
      }
      if (line.front() == kSectionStart) {
        problem = ParseSection(TrimRight(line));
      } else if (line.front() == kQuote || line.front() == kDefaultValueName) {
        problem = ParseValue(line);
      } else {
        problem = kUnknownLine;
      }
      if (!problem.empty()) {
        return RegFileProblem{line_number, std::string(problem)};
      }
    }
    return std::nullopt;
  }

  std::string_view ParseSection(std::string_view line) {
    if (!line.ends_with(kSectionEnd)) {
      return kBadSection;
    }
    const std::string_view name = line.substr(1, line.size() - 2);
    if (name.starts_with(kRemoval)) {
      return kKeyRemoval;
    }
    const std::string_view root = name.substr(0, name.find(kKeySeparator));
    if (tree_.Cases().Upper(root) != kRootName) {
      return kOtherRoot;
    }
    bool created = false;
    section_ = &tree_.CreateKey(SplitKeyPath(name.substr(root.size())), &created);
    return {};
  }

  std::string_view ParseValue(std::string_view line) {
    if (!section_) {
      return kValueOutsideKey;
    }
    RegistryValue value;
    std::string_view rest = line.substr(1);
    std::string_view problem;
    if (line.front() == kQuote) {
      std::optional<std::string> name = ParseQuoted(line, &rest, &problem);
      if (!name) {
        return problem;
      }
      value.name = std::move(*name);
    }
    rest = TrimLeft(rest);
    if (!rest.starts_with('=')) {
      return kMissingEquals;
    }
    problem = ParseData(TrimLeft(rest.substr(1)), &value);
    if (problem.empty()) {
      tree_.SetValue(*section_, std::move(value));
    }
    return problem;
  }

  std::string_view ParseData(std::string_view data, RegistryValue* value) {
    if (data.starts_with(kQuote)) {
      return ParseText(data, value);
    }
    if (data.starts_with(kRemoval)) {
      return kValueRemoval;
    }
    if (data.starts_with(kDwordPrefix)) {
      return ParseDword(TrimRight(data), value);
    }
    if (data.starts_with(kBinaryPrefix) || data.starts_with(kTypedHexPrefix)) {
      return ParseHexValue(data, value);
    }
    return kUnknownType;
  }

  static std::string_view ParseText(std::string_view data, RegistryValue* value) {
    std::string_view rest;
    std::string_view problem;
    std::optional<std::string> text = ParseQuoted(data, &rest, &problem);
    if (!text) {
      return problem;
    }
    if (!Trim(rest).empty()) {
      return kTextAfterQuote;
    }
    value->type = kRegSz;
    value->data = std::move(*text) + '\0';
    return {};
  }

  static std::string_view ParseDword(std::string_view data, RegistryValue* value) {
    const std::string_view digits = data.substr(kDwordPrefix.size());
    std::uint32_t number = 0;
    if (digits.size() > kDwordDigits || !ParseHex(digits, &number)) {
      return kBadDword;
    }
    value->type = kRegDword;
    value->data.clear();
    for (std::size_t place = 0; place < kDwordBytes; ++place) {
      value->data.push_back(static_cast<char>((number >> (8 * place)) & 0xFF));
    }
    value->file_text = data;
    return {};
  }

  // hex:aa,bb or hex(N):aa,bb, whose line may end in a backslash that
  // continues the list on the next line.
  std::string_view ParseHexValue(std::string_view data, RegistryValue* value) {
    std::string_view list = data.substr(kBinaryPrefix.size());
    value->type = kRegBinary;
    if (data.starts_with(kTypedHexPrefix)) {
      const std::size_t end = data.find(kTypedHexEnd);
      const std::size_t digits_start = kTypedHexPrefix.size();
      if (end == std::string_view::npos ||
          !ParseHex(data.substr(digits_start, end - digits_start), &value->type)) {
        return kBadHexType;
      }
      list = data.substr(end + kTypedHexEnd.size());
    }
    std::string joined_list;
    value->file_text = data;
    while (TrimRight(list).ends_with(kContinuation) && next_ < lines_.size()) {
      const std::string_view before = TrimRight(list);
      joined_list += before.substr(0, before.size() - 1);
      list = TrimLeft(lines_[next_]);
      value->file_text += std::string(kLineEnd) + std::string(lines_[next_++]);
    }
    joined_list += list;
    std::optional<std::string> bytes = ParseHexBytes(joined_list);
    if (!bytes) {
      return kBadBytes;
    }
    value->data = std::move(*bytes);
    return {};
  }

  std::vector<std::string_view> lines_;
  std::size_t next_ = 0;  // index of the next line to read
  RegistryTree tree_;
  // The key the values read belong to; only the next section's CreateKey
  // can move it, and that replaces it.
  RegistryKey* section_ = nullptr;
};

std::string Quoted(std::string_view text) {
  std::string quoted(1, kQuote);
  for (const char c : text) {
    if (c == kQuote || c == kEscape) {
      quoted.push_back(kEscape);
    }
    quoted.push_back(c);
  }
  quoted.push_back(kQuote);
  return quoted;
}

bool HoldsLineBreak(std::string_view text) { return text.find_first_of(kLineBreaks) != std::string_view::npos; }

// A text value written "as text" must come back the same: its bytes end in
// one NUL and hold no other NUL and no line break.
bool IsPlainText(const RegistryValue& value) {
  if (value.type != kRegSz || !value.data.ends_with('\0')) {
    return false;
  }
  const std::string_view text(value.data.data(), value.data.size() - 1);
  return text.find('\0') == std::string_view::npos && !HoldsLineBreak(text);
}

std::string HexByte(unsigned char byte) {
  return {kHexDigits[byte / kHexBase], kHexDigits[byte % kHexBase]};
}

std::string HexBytes(std::string_view bytes) {
  std::string list;
  for (const char byte : bytes) {
    if (!list.empty()) {
      list.push_back(kByteSeparator);
    }
    list += HexByte(static_cast<unsigned char>(byte));
  }
  return list;
}

std::string HexNumber(std::uint32_t number) {
  char digits[kDwordDigits];
  const auto [end, error] = std::to_chars(digits, digits + kDwordDigits, number, kHexBase);
  return std::string(digits, end);
}

std::string DwordText(std::string_view bytes) {
  std::uint32_t number = 0;
  for (std::size_t place = 0; place < kDwordBytes; ++place) {
    number |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[place])) << (8 * place);
  }
  const std::string digits = HexNumber(number);
  return std::string(kDwordPrefix) + std::string(kDwordDigits - digits.size(), '0') + digits;
}

// Anything but a plain text or a four-byte number is written as hex bytes of
// its type, as regedit exports it.
std::string DataText(const RegistryValue& value) {
  if (!value.file_text.empty()) {
    return value.file_text;
  }
  if (IsPlainText(value)) {
    return Quoted(std::string_view(value.data).substr(0, value.data.size() - 1));
  }
  if (value.type == kRegDword && value.data.size() == kDwordBytes) {
    return DwordText(value.data);
  }
  const std::string prefix = value.type == kRegBinary
                                 ? std::string(kBinaryPrefix)
                                 : std::string(kTypedHexPrefix) + HexNumber(value.type) + std::string(kTypedHexEnd);
  return prefix + HexBytes(value.data);
}

class RegFileWriter {
 public:
  std::optional<std::string> Write(const RegistryTree& tree) {
    text_ = std::string(kHeader) + std::string(kLineEnd) + std::string(kLineEnd);
    const RegistryKey& root = tree.Root();
    if (!root.values.empty() && !WriteSection(std::string(kRootName), root)) {
      return std::nullopt;
    }
    for (const RegistryKey& key : root.subkeys) {
      if (!WriteKeyAndBelow(std::string(kRootName), key)) {
        return std::nullopt;
      }
    }
    return std::move(text_);
  }

 private:
  bool WriteKeyAndBelow(const std::string& parent_name, const RegistryKey& key) {
    const std::string name = parent_name + kKeySeparator + key.name;
    if (HoldsLineBreak(key.name) || !WriteSection(name, key)) {
      return false;
    }
    for (const RegistryKey& subkey : key.subkeys) {
      if (!WriteKeyAndBelow(name, subkey)) {
        return false;
      }
    }
    return true;
  }

  bool WriteSection(const std::string& name, const RegistryKey& key) {
    text_ += kSectionStart + name + kSectionEnd + std::string(kLineEnd);
    for (const RegistryValue& value : key.values) {
      if (HoldsLineBreak(value.name)) {
        return false;
      }
      const std::string value_name = value.name.empty() ? std::string(1, kDefaultValueName) : Quoted(value.name);
      text_ += value_name + '=' + DataText(value) + std::string(kLineEnd);
    }
    text_ += kLineEnd;
    return true;
  }

  std::string text_;
};

}  // namespace

ParsedRegFile ParseRegFile(std::string_view bytes, const CaseMap& cases) {
  const RegFileEncoding encoding = IsUtf16(bytes) ? RegFileEncoding::Utf16Le : RegFileEncoding::EightBit;
  const std::optional<std::string> text = DecodeText(bytes);
  if (!text) {
    const std::size_t lines = SplitLines(*Utf16LeToUtf8(bytes.substr(0, bytes.size() - 1))).size();
    return {RegistryTree(cases), RegFileProblem{std::max<std::size_t>(lines, 1), std::string(kHalfCharacter)},
            encoding};
  }
  ParsedRegFile parsed = RegFileParser(*text, cases).Parse();
  parsed.encoding = encoding;
  return parsed;
}

std::optional<std::string> FormatRegFile(const RegistryTree& tree, RegFileEncoding encoding) {
  std::optional<std::string> text = RegFileWriter().Write(tree);
  if (!text || encoding == RegFileEncoding::EightBit) {
    return text;
  }
  const std::optional<std::string> units = Utf8ToUtf16Le(*text);
  return units ? std::optional<std::string>(std::string(kUtf16LeMark) + *units) : std::nullopt;
}

}  // namespace kelvary
