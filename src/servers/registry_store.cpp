#include "servers/registry_store.h"

#include <cstdint>

namespace kelvary {

std::string strProductKey;
std::string strServersKey;

namespace {

constexpr std::string_view kProductKeyPath = "Software\\Brennic\\Kelvary";
constexpr std::string_view kServersKeyName = "Servers";
constexpr char kKeySeparator = '\\';

// The listing's name buffer: 254 characters and the terminating NUL fit the
// first try. A longer name is asked for again with a buffer twice as large,
// up to a size that no key name of the registry comes near; a name longer
// still (only a hand-edited store file could hold one) is left out, and the
// listing goes on with the next.
constexpr std::uint32_t kSubkeyNameBufferSize = 255;
constexpr std::uint32_t kLargestNameBufferSize = 65536;
constexpr char kBufferFill = ' ';

// A buffer's text ends at its first NUL; a buffer with none is text throughout.
std::string TextBeforeFirstNul(const std::string& buffer) {
  return buffer.substr(0, buffer.find('\0'));
}

unsigned char* AsBytes(std::string& text) {
  return reinterpret_cast<unsigned char*>(text.data());
}

}  // namespace

void SetStoreKeyPaths() {
  strProductKey = kProductKeyPath;
  strServersKey = strProductKey + kKeySeparator + std::string(kServersKeyName);
}

std::string ServerKeyPath(std::string_view server_name) {
  return strServersKey + kKeySeparator + std::string(server_name);
}

void RegEnsureKey(RegistryBackend& reg, RegRoot root, std::string_view key_path) {
  RegistryBackend::Key key = 0;
  reg.CreateKey(root, key_path, &key);
  reg.CloseKey(key);
}

std::vector<std::string> RegListSubkeys(RegistryBackend& reg, RegRoot root, std::string_view key_path) {
  RegistryBackend::Key key = 0;
  reg.OpenKey(root, key_path, &key);  // a failed open makes the first step fail
  std::vector<std::string> names;
  for (std::uint32_t index = 0;; ++index) {
    long status = kRegMoreData;
    std::string buffer;
    for (std::uint32_t size = kSubkeyNameBufferSize; status == kRegMoreData && size <= kLargestNameBufferSize;
         size *= 2) {
      buffer.assign(size, kBufferFill);
      status = reg.EnumKey(key, index, buffer.data(), size);
    }
    if (status == kRegSuccess) {
      names.push_back(TextBeforeFirstNul(buffer));
    } else if (status != kRegMoreData) {
      break;
    }
  }
  reg.CloseKey(key);
  return names;
}

std::string RegReadText(RegistryBackend& reg, RegRoot root, std::string_view key_path,
                        std::string_view value_name, std::string_view default_text) {
  std::string result(default_text);
  RegistryBackend::Key key = 0;
  reg.OpenKey(root, key_path, &key);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (reg.QueryValue(key, value_name, &type, nullptr, &size) == kRegSuccess && type == kRegSz) {
    std::string buffer(size, kBufferFill);
    reg.QueryValue(key, value_name, &type, AsBytes(buffer), &size);
    result = TextBeforeFirstNul(buffer);
  }
  reg.CloseKey(key);
  return result;
}

void RegWriteText(RegistryBackend& reg, RegRoot root, std::string_view key_path,
                  std::string_view value_name, std::string_view text) {
  RegistryBackend::Key key = 0;
  reg.CreateKey(root, key_path, &key);
  const std::string data(text);  // c_str() supplies the terminating NUL
  reg.SetValue(key, value_name, kRegSz, reinterpret_cast<const unsigned char*>(data.c_str()),
               static_cast<std::uint32_t>(data.size() + 1));
  reg.CloseKey(key);
}

void RegRemoveKey(RegistryBackend& reg, RegRoot root, std::string_view key_path) {
  reg.DeleteKey(root, key_path);
}

}  // namespace kelvary
