#include "status/essbase_entry_points.h"

#include <string>
#include <utility>

namespace kelvary {
namespace {

constexpr const char* kEsbInitName = "EsbInit";
constexpr const char* kEsbLoginName = "EsbLogin";
constexpr const char* kEsbGetLogFileName = "EsbGetLogFile";
constexpr const char* kEsbLogoutName = "EsbLogout";
constexpr const char* kEsbTermName = "EsbTerm";
constexpr std::string_view kMissingExport = "the Essbase library has no entry point ";

class BoundEssbaseLibrary final : public EssbaseLibrary {
 public:
  BoundEssbaseLibrary(const EssbaseEntryPoints& entry, std::function<void()> release)
      : entry_(entry), release_(std::move(release)) {}
  ~BoundEssbaseLibrary() override { release_(); }
  BoundEssbaseLibrary(const BoundEssbaseLibrary&) = delete;
  BoundEssbaseLibrary& operator=(const BoundEssbaseLibrary&) = delete;

  std::int32_t EsbInit(void* init_record, std::uint32_t* instance) override {
    return entry_.EsbInit(init_record, instance);
  }
  std::int32_t EsbLogin(std::uint32_t instance, const char* server, const char* user,
                        const char* password, std::uint16_t* count,
                        std::uint32_t* context) override {
    return entry_.EsbLogin(instance, server, user, password, count, context);
  }
  std::int32_t EsbGetLogFile(std::uint32_t context, const char* application, std::uint32_t zero,
                             const char* local_path) override {
    return entry_.EsbGetLogFile(context, application, zero, local_path);
  }
  std::int32_t EsbLogout(std::uint32_t context) override { return entry_.EsbLogout(context); }
  std::int32_t EsbTerm(std::uint32_t instance) override { return entry_.EsbTerm(instance); }

 private:
  EssbaseEntryPoints entry_;
  std::function<void()> release_;
};

// Looks up one export; records the first name that is missing.
template <typename Fn>
void Resolve(const FindExport& find, const char* name, Fn& slot, std::string& missing) {
  if (!missing.empty()) return;
  void* address = find(name);
  if (address == nullptr) {
    missing = name;
    return;
  }
  slot = reinterpret_cast<Fn>(address);
}

}  // namespace

LoadedEssbase BindEssbaseLibrary(const FindExport& find, std::function<void()> release) {
  EssbaseEntryPoints entry;
  std::string missing;
  Resolve(find, kEsbInitName, entry.EsbInit, missing);
  Resolve(find, kEsbLoginName, entry.EsbLogin, missing);
  Resolve(find, kEsbGetLogFileName, entry.EsbGetLogFile, missing);
  Resolve(find, kEsbLogoutName, entry.EsbLogout, missing);
  Resolve(find, kEsbTermName, entry.EsbTerm, missing);
  if (!missing.empty()) {
    release();
    return {nullptr, std::string(kMissingExport) + missing};
  }
  return {std::make_unique<BoundEssbaseLibrary>(entry, std::move(release)), {}};
}

}  // namespace kelvary
