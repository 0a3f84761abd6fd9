#include "ui/info_texts.h"

#include <array>
#include <string_view>

#include "kelvary_version.h"

namespace kelvary {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kEmptyLine = "\r\n\r\n";

// The guide's pieces in order. The wording, including its double blanks
// and slips, is the guide users know.
constexpr std::array<std::string_view, 11> kHelpPieces{
    "Adding Server To Kelvary",
    kLineBreak,
    "To add a server to Kelvary, first select the Server / Add A New Server menu option.  Then "
    "enter a the name of the server.  This will be the option displayed in the server drop down "
    "box in the main window, so make it something meaningful.  Enter the path to your Essbase "
    "directory (this includes the word Essbase - if it is d:\\essbase\\app..., then enter "
    "d:\\essbase).  Click the Add button.",
    kLineBreak,
    "Checking the status of a calculation",
    kEmptyLine,
    "Select the server the application and database resides. Enter the application (not the "
    "database) in the application input box. Click the Check Calculation button. For this to "
    "recognize that a calculation is running, the calculation script that is executed in Essbase "
    "must have the SET NOTICE HIGH|DEFAULT|LOW; in the calculation script.",
    kLineBreak,
    "Removing a server from Kelvary",
    kEmptyLine,
    "To remove a server from Kelvary, select the Servers / Remove An Existing Server menu option. "
    "Select the server you want to delete and click the delete button.",
};

constexpr std::string_view kAboutVersionLabel = "Version ";
constexpr std::string_view kAboutMakerLabel = "Made by ";
constexpr std::string_view kAboutLicence = "Released under the " KELVARY_LICENSE " licence.";

}  // namespace

std::string HelpText() {
  std::string text;
  for (std::string_view piece : kHelpPieces) text += piece;
  return text;
}

std::string AboutText(const VersionRecord& record) {
  std::string text(record.product_name);
  text += kLineBreak;
  text += kAboutVersionLabel;
  text += OwnVersionText(record);
  text += kLineBreak;
  text += kAboutMakerLabel;
  text += KELVARY_PUBLISHER;
  text += kLineBreak;
  text += KELVARY_COPYRIGHT;
  text += kLineBreak;
  text += kAboutLicence;
  text += kEmptyLine;
  text += KELVARY_DESCRIPTION;
  return text;
}

}  // namespace kelvary
