// Any bytes as the body of the version file, arriving in pieces. The body
// never keeps more than its limit, and the answer is "current" exactly when
// the whole body is the program's own version text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/update_check.h"

namespace {
constexpr std::string_view kOwnVersion = "1.65.0.167";
constexpr std::size_t kLongBodyPiece = 4096;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first byte picks the piece size, and with its high bit set the body
  // is repeated until it passes the limit.
  const bool long_body = (data[0] & 0x80) != 0;
  std::string body(reinterpret_cast<const char*>(data + 1), size - 1);
  while (long_body && body.size() <= kelvary::kVersionFileLimit) body += body;
  const std::size_t piece = (long_body ? kLongBodyPiece : 1) + (data[0] & 0x7F) * 97;
  kelvary::FetchedVersionFile fetched;
  fetched.received = true;
  for (std::size_t at = 0; at < body.size(); at += piece) {
    if (!fetched.body.Append(std::string_view(body).substr(at, piece))) break;
  }
  const std::string& kept = fetched.body.Text();
  if (kept.size() > kelvary::kVersionFileLimit) std::abort();
  if (fetched.body.Cut() != (body.size() > kelvary::kVersionFileLimit)) std::abort();
  if (!std::string_view(body).starts_with(kept)) std::abort();
  const bool current = kelvary::CompareWithOwnVersion(fetched, kOwnVersion) == kelvary::UpdateOutcome::Current;
  if (current != (body == kOwnVersion)) std::abort();
  return 0;
}
