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

TEST(VersionFileUrlTest, IsTheMakersHostAndThePathOverHttp) {
  EXPECT_EQ(VersionFileUrl(""), "http://www.brennic.com/kelvary/version.txt");
}

TEST(VersionFileUrlTest, ReplacementTakesItsPlaceWhole) {
  EXPECT_EQ(VersionFileUrl("http://127.0.0.1:8123/v.txt"), "http://127.0.0.1:8123/v.txt");
}

struct ComparisonCase {
  const char* name;
  std::string body;
  UpdateOutcome expected;
};

const ComparisonCase kComparisons[] = {
    {"exact own version", "1.65.167", UpdateOutcome::Current},
    {"line feed after the number", "1.65.167\n", UpdateOutcome::Different},
    {"CR LF after the number", "1.65.167\r\n", UpdateOutcome::Different},
    {"blank before the number", " 1.65.167", UpdateOutcome::Different},
    {"blank after the number", "1.65.167 ", UpdateOutcome::Different},
    {"older number", "1.64.150", UpdateOutcome::Different},
    {"newer number", "1.66.1", UpdateOutcome::Different},
    {"all four numbers", "1.65.0.167", UpdateOutcome::Different},
    {"empty body", "", UpdateOutcome::Different},
    {"own version with a trailing NUL", std::string("1.65.167\0", 9), UpdateOutcome::Different},
    {"a page of HTML", "<html><body>1.65.167</body></html>", UpdateOutcome::Different},
};

TEST(CompareWithOwnVersionTest, OnlyTheExactTextIsCurrent) {
  for (const ComparisonCase& c : kComparisons) {
    EXPECT_EQ(CompareWithOwnVersion(Received(c.body), kOwnVersion), c.expected) << c.name;
  }
}

TEST(CompareWithOwnVersionTest, ComparisonIsCaseSensitive) {
  EXPECT_EQ(CompareWithOwnVersion(Received("v2"), "V2"), UpdateOutcome::Different);
  EXPECT_EQ(CompareWithOwnVersion(Received("V2"), "V2"), UpdateOutcome::Current);
}

TEST(CompareWithOwnVersionTest, FailedFetchIsUnreadableWhateverItHeld) {
  FetchedVersionFile failed = Received(kOwnVersion);
  failed.received = false;
  EXPECT_EQ(CompareWithOwnVersion(failed, kOwnVersion), UpdateOutcome::Unreadable);
}

TEST(LimitedBodyTest, KeepsABodyOfExactlyTheLimitWhole) {
  LimitedBody body;
  EXPECT_TRUE(body.Append(std::string(kVersionFileLimit - 1, 'a')));
  EXPECT_TRUE(body.Append("b"));
  EXPECT_EQ(body.Text().size(), kVersionFileLimit);
  EXPECT_EQ(body.Text().back(), 'b');
  EXPECT_FALSE(body.Cut());
}

TEST(LimitedBodyTest, OneByteMoreIsCutAndTheReaderToldToStop) {
  LimitedBody body;
  EXPECT_TRUE(body.Append(std::string(kVersionFileLimit, 'a')));
  EXPECT_FALSE(body.Append("b"));
  EXPECT_EQ(body.Text().size(), kVersionFileLimit);
  EXPECT_EQ(body.Text().back(), 'a');
  EXPECT_TRUE(body.Cut());
}

TEST(LimitedBodyTest, AChunkCrossingTheLimitKeepsWhatFits) {
  LimitedBody body;
  body.Append(std::string(kVersionFileLimit - 2, 'a'));
  EXPECT_FALSE(body.Append("xyz"));
  EXPECT_EQ(body.Text().substr(kVersionFileLimit - 3), "axy");
}

TEST(LimitedBodyTest, ChunksAreJoinedInOrder) {
  LimitedBody body;
  body.Append("1.65");
  body.Append("");
  body.Append(".167");
  EXPECT_EQ(body.Text(), "1.65.167");
}

// A body past the limit is different even when what was kept would match:
// here the own version text itself is as long as the limit.
TEST(CompareWithOwnVersionTest, BodyPastTheLimitIsDifferent) {
  const std::string long_version(kVersionFileLimit, '7');
  FetchedVersionFile fetched = Received(long_version);
  EXPECT_EQ(CompareWithOwnVersion(fetched, long_version), UpdateOutcome::Current);
  fetched.body.Append("7");
  EXPECT_EQ(CompareWithOwnVersion(fetched, long_version), UpdateOutcome::Different);
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
