// Any bytes as the store file. Reading never crashes; a file that reads
// without a problem, written back in its own encoding, reads as the same
// tree, and writing that tree gives the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "servers/registry_file_format.h"

namespace {

bool SameKey(const kelvary::RegistryKey& a, const kelvary::RegistryKey& b) {
  if (a.name != b.name || a.values.size() != b.values.size() || a.subkeys.size() != b.subkeys.size()) return false;
  for (std::size_t k = 0; k < a.values.size(); ++k) {
    const kelvary::RegistryValue& x = a.values[k];
    const kelvary::RegistryValue& y = b.values[k];
    if (x.name != y.name || x.type != y.type || x.data != y.data) return false;
  }
  for (std::size_t k = 0; k < a.subkeys.size(); ++k) {
    if (!SameKey(a.subkeys[k], b.subkeys[k])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kelvary::CaseMap& cases = kelvary::CaseMap::Utf8();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const kelvary::ParsedRegFile read = kelvary::ParseRegFile(bytes, cases);
  if (read.problem) return 0;
  const std::optional<std::string> written = kelvary::FormatRegFile(read.tree, read.encoding);
  if (!written) return 0;
  const kelvary::ParsedRegFile reread = kelvary::ParseRegFile(*written, cases);
  if (reread.problem || reread.encoding != read.encoding || !SameKey(read.tree.Root(), reread.tree.Root())) {
    std::abort();
  }
  if (kelvary::FormatRegFile(reread.tree, reread.encoding) != written) std::abort();
  return 0;
}
