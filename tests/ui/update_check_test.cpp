// The update check's rules: the version file's URL, the body limit, the
// comparison with the own version text, and the boxes the user sees.
#include <gtest/gtest.h>

#include <string>

#include "ui/update_check.h"
#include "ui/version_record.h"

namespace kelvary {
namespace {

constexpr const char* kOwnVersion = "1.65.167";

FetchedVersionFile Received(const std::string& body) {
  FetchedVersionFile fetched;
  fetched.received = true;
  fetched.body.Append(body);
  return fetched;
}

TEST(VersionFileUrlTest, IsTheMakersHostAndThePathOverHttpUnlessReplacedWhole) {
  EXPECT_EQ(VersionFileUrl(""), "http://www.brennic.com/kelvary/version.txt");
  EXPECT_EQ(VersionFileUrl("http://127.0.0.1:8123/v.txt"), "http://127.0.0.1:8123/v.txt");
}

const std::string kLimitLong(kVersionFileLimit, '7');

struct ComparisonCase {
  const char* name;
  std::string body;
  std::string own;
  UpdateOutcome expected;
};

const ComparisonCase kComparisons[] = {
    {"exact own version", "1.65.167", kOwnVersion, UpdateOutcome::Current},
    {"line feed after the number", "1.65.167\n", kOwnVersion, UpdateOutcome::Different},
    {"CR LF after the number", "1.65.167\r\n", kOwnVersion, UpdateOutcome::Different},
    {"blank before the number", " 1.65.167", kOwnVersion, UpdateOutcome::Different},
    {"blank after the number", "1.65.167 ", kOwnVersion, UpdateOutcome::Different},
    {"older number", "1.64.150", kOwnVersion, UpdateOutcome::Different},
    {"newer number", "1.66.1", kOwnVersion, UpdateOutcome::Different},
    {"all four numbers", "1.65.0.167", kOwnVersion, UpdateOutcome::Different},
    {"empty body", "", kOwnVersion, UpdateOutcome::Different},
    {"own version with a trailing NUL", std::string("1.65.167\0", 9), kOwnVersion, UpdateOutcome::Different},
    {"a page of HTML", "<html><body>1.65.167</body></html>", kOwnVersion, UpdateOutcome::Different},
    {"other case", "v2", "V2", UpdateOutcome::Different},
    {"same case", "V2", "V2", UpdateOutcome::Current},
    // What was kept would match an own text as long as the limit; the cut
    // makes it different.
    {"body of the limit", kLimitLong, kLimitLong, UpdateOutcome::Current},
    {"body past the limit", kLimitLong + "7", kLimitLong, UpdateOutcome::Different},
};

TEST(CompareWithOwnVersionTest, OnlyTheExactTextIsCurrent) {
  for (const ComparisonCase& c : kComparisons) {
    EXPECT_EQ(CompareWithOwnVersion(Received(c.body), c.own), c.expected) << c.name;
  }
}

TEST(CompareWithOwnVersionTest, FailedFetchIsUnreadableWhateverItHeld) {
  FetchedVersionFile failed = Received(kOwnVersion);
  failed.received = false;
  EXPECT_EQ(CompareWithOwnVersion(failed, kOwnVersion), UpdateOutcome::Unreadable);
}

TEST(LimitedBodyTest, JoinsChunksUpToTheLimitThenSaysStop) {
  LimitedBody body;
  EXPECT_TRUE(body.Append("1.65"));
  EXPECT_TRUE(body.Append(""));
  EXPECT_TRUE(body.Append(".167"));
  EXPECT_EQ(body.Text(), "1.65.167");
  EXPECT_TRUE(body.Append(std::string(kVersionFileLimit - 9, 'a')));  // one byte short
  EXPECT_FALSE(body.Cut());
  EXPECT_FALSE(body.Append("xyz"));  // crosses the limit: only "x" fits
  EXPECT_TRUE(body.Cut());
  EXPECT_EQ(body.Text(), "1.65.167" + std::string(kVersionFileLimit - 9, 'a') + "x");
}

TEST(LimitedBodyTest, KeepsABodyOfExactlyTheLimitAndCutsOneByteMore) {
  LimitedBody body;
  EXPECT_TRUE(body.Append(std::string(kVersionFileLimit - 1, 'a')));
  EXPECT_TRUE(body.Append("b"));
  EXPECT_FALSE(body.Cut());
  EXPECT_FALSE(body.Append("c"));
  EXPECT_TRUE(body.Cut());
  EXPECT_EQ(body.Text(), std::string(kVersionFileLimit - 1, 'a') + "b");
}

struct MessageCase {
  UpdateOutcome outcome;
  const char* title;
  const char* text;
  MessageIcon icon;
};

const MessageCase kMessages[] = {
    {UpdateOutcome::Current, "Update Available",
     "The version of Kelvary is current.  There are no updates available.",
     MessageIcon::Information},
    {UpdateOutcome::Different, "Update Available",
     "A more recent version of Kelvary is available.  Please visit www.brennic.com for more "
     "details.",
     MessageIcon::Information},
    {UpdateOutcome::Unreadable, "Kelvary",
     "The version information could not be read from www.brennic.com.", MessageIcon::Error},
};

TEST(UpdateMessageForTest, EachOutcomeHasItsTitleTextAndIcon) {
  for (const MessageCase& c : kMessages) {
    const UpdateMessage message = UpdateMessageFor(c.outcome, "Kelvary");
    EXPECT_EQ(message.title, c.title) << c.text;
    EXPECT_EQ(message.text, c.text);
    EXPECT_EQ(message.icon, c.icon) << c.text;
  }
}

TEST(UpdateMessageForTest, NamesTheProductOfTheVersionRecord) {
  EXPECT_EQ(UpdateMessageFor(UpdateOutcome::Current, "Other").text,
            "The version of Other is current.  There are no updates available.");
  EXPECT_EQ(UpdateMessageFor(UpdateOutcome::Unreadable, "Other").title, "Other");
}

}  // namespace
}  // namespace kelvary
