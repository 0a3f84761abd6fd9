#include "ui/estimates_choice.h"

#include "servers/registry_store.h"

namespace kelvary {
namespace {

constexpr std::string_view kShown = "1";
constexpr std::string_view kHidden = "0";

}  // namespace

bool ReadShowEstimates(RegistryBackend& registry) {
  return RegReadText(registry, RegRoot::CurrentUser, strProductKey, kShowEstimatesValue) == kShown;
}

void WriteShowEstimates(RegistryBackend& registry, bool shown) {
  RegWriteText(registry, RegRoot::CurrentUser, strProductKey, kShowEstimatesValue, shown ? kShown : kHidden);
}

}  // namespace kelvary
