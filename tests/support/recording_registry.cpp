#include "support/recording_registry.h"

namespace kelvary {

long RecordingRegistry::CreateKey(RegRoot root, std::string_view path, Key* key) {
  return target_.CreateKey(root, path, key);
}

long RecordingRegistry::OpenKey(RegRoot root, std::string_view path, Key* key) {
  return target_.OpenKey(root, path, key);
}

long RecordingRegistry::EnumKey(Key key, std::uint32_t index, char* name, std::uint32_t size) {
  return target_.EnumKey(key, index, name, size);
}

long RecordingRegistry::QueryValue(Key key, std::string_view name, std::uint32_t* type,
                                   unsigned char* data, std::uint32_t* size) {
  return target_.QueryValue(key, name, type, data, size);
}

long RecordingRegistry::SetValue(Key key, std::string_view name, std::uint32_t type,
                                 const unsigned char* data, std::uint32_t size) {
  changes_.push_back("set " + std::string(name));
  return target_.SetValue(key, name, type, data, size);
}

long RecordingRegistry::DeleteKey(RegRoot root, std::string_view path) {
  changes_.push_back("delete " + std::string(path));
  return target_.DeleteKey(root, path);
}

long RecordingRegistry::CloseKey(Key key) { return target_.CloseKey(key); }

}  // namespace kelvary
