// Any bytes as the settings file. Reading never fails, a field never holds
// a separator or a line end, and what is read, written back as the one line
// every write leaves, reads the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ui/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const kelvary::RememberedQuery read = kelvary::ReadRememberedQuery(content);
  for (const std::string& field : {read.strLastServer, read.strLastApp}) {
    if (field.find_first_of(",\r\n") != std::string::npos || field.starts_with(' ')) std::abort();
  }
  const kelvary::RememberedQuery again =
      kelvary::ReadRememberedQuery(kelvary::SettingsLine(read.strLastServer, read.strLastApp));
  if (again.strLastServer != read.strLastServer || again.strLastApp != read.strLastApp) std::abort();
  return 0;
}
