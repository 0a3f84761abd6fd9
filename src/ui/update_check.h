#pragma once
// The rules of the update check: where the version file lies, how much of
// it is read, how it compares with the program's own version text, and
// what the user is told. The request itself is the platform's.
#include <cstddef>
#include <string>
#include <string_view>

namespace kelvary {

inline constexpr std::string_view kVersionFileScheme = "http://";
inline constexpr std::string_view kVersionFilePath = "/kelvary/version.txt";
// Names another URL for the version file, e.g. a local server in tests.
inline constexpr const char* kUpdateUrlVariable = "KELVARY_UPDATE_URL";
// How long the request may wait for the connection and for each answer.
inline constexpr unsigned kUpdateTimeoutMs = 10000;
// A version file is one short line; more than this is not a version.
inline constexpr std::size_t kVersionFileLimit = 64 * 1024;

inline constexpr std::string_view kUpdateTitle = "Update Available";

// `replacement` when it is not empty, else "http://", the maker's host and
// kVersionFilePath.
std::string VersionFileUrl(std::string_view replacement);

// A response body kept up to kVersionFileLimit bytes.
class LimitedBody {
 public:
  // Keeps what still fits. Returns false once the limit is passed, so the
  // reader can stop: the rest would not change the outcome.
  bool Append(std::string_view chunk);
  const std::string& Text() const { return text_; }
  // True when the body went on past the limit.
  bool Cut() const { return cut_; }

 private:
  std::string text_;
  bool cut_ = false;
};

struct FetchedVersionFile {
  // False when the request failed outright: no connection, no answer in
  // time, or an HTTP error status.
  bool received = false;
  LimitedBody body;
};

enum class UpdateOutcome { Current, Different, Unreadable };

// Exact, case-sensitive text comparison: a line break, a blank, an empty
// body, an older number or a body past the limit all count as different.
UpdateOutcome CompareWithOwnVersion(const FetchedVersionFile& fetched,
                                    std::string_view own_version);

enum class MessageIcon { Information, Error };

struct UpdateMessage {
  std::string title;
  std::string text;
  MessageIcon icon;
};

// The box the user sees for `outcome`; `product_name` from the version
// record. A fetch that failed gets an error box titled with the product.
UpdateMessage UpdateMessageFor(UpdateOutcome outcome, std::string_view product_name);

}  // namespace kelvary
