#include "ui/version_record.h"

#include "kelvary_version.h"

namespace kelvary {

VersionRecord BuiltVersionRecord() {
  return {KELVARY_VERSION_MAJOR, KELVARY_VERSION_MINOR, KELVARY_VERSION_PATCH,
          KELVARY_VERSION_BUILD, KELVARY_PRODUCT_NAME};
}

std::string OwnVersionText(const VersionRecord& record) {
  return std::to_string(record.major) + "." + std::to_string(record.minor) + "." +
         std::to_string(record.build);
}

}  // namespace kelvary
