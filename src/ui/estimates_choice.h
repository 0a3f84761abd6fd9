#pragma once
// Whether the main window shows an estimate line under each calculation:
// the menu item "Show Estimates", remembered in the store's product key so
// that the settings file keeps the one-line shape that older copies read.
#include "servers/registry_backend.h"

namespace kelvary {

inline constexpr std::string_view kShowEstimatesValue = "ShowEstimates";

// Off unless the value is "1": a store written by an older copy has none.
bool ReadShowEstimates(RegistryBackend& registry);
void WriteShowEstimates(RegistryBackend& registry, bool shown);

}  // namespace kelvary
