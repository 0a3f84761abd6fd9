#include "ui/update_check.h"

#include <algorithm>

#include "ui/maker_site.h"

namespace kelvary {
namespace {

std::string NewerVersionText(std::string_view product_name) {
  std::string text("A more recent version of ");
  text += product_name;
  text += " is available.  Please visit ";
  text += kMakerHost;
  text += " for more details.";
  return text;
}

std::string CurrentVersionText(std::string_view product_name) {
  std::string text("The version of ");
  text += product_name;
  text += " is current.  There are no updates available.";
  return text;
}

std::string UnreadableVersionText() {
  std::string text("The version information could not be read from ");
  text += kMakerHost;
  text += ".";
  return text;
}

}  // namespace

std::string VersionFileUrl(std::string_view replacement) {
  if (!replacement.empty()) return std::string(replacement);
  std::string url(kVersionFileScheme);
  url += kMakerHost;
  url += kVersionFilePath;
  return url;
}

bool LimitedBody::Append(std::string_view chunk) {
  const std::size_t room = kVersionFileLimit - text_.size();
  text_.append(chunk.substr(0, std::min(room, chunk.size())));
  if (chunk.size() > room) cut_ = true;
  return !cut_;
}

UpdateOutcome CompareWithOwnVersion(const FetchedVersionFile& fetched,
                                    std::string_view own_version) {
  if (!fetched.received) return UpdateOutcome::Unreadable;
  if (fetched.body.Cut() || fetched.body.Text() != own_version) return UpdateOutcome::Different;
  return UpdateOutcome::Current;
}

UpdateMessage UpdateMessageFor(UpdateOutcome outcome, std::string_view product_name) {
  switch (outcome) {
    case UpdateOutcome::Current:
      return {std::string(kUpdateTitle), CurrentVersionText(product_name), MessageIcon::Information};
    case UpdateOutcome::Different:
      return {std::string(kUpdateTitle), NewerVersionText(product_name), MessageIcon::Information};
    case UpdateOutcome::Unreadable:
      break;
  }
  return {std::string(product_name), UnreadableVersionText(), MessageIcon::Error};
}

}  // namespace kelvary
