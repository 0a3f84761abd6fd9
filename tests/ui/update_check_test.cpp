// The update check's rules: the version file's URL, the body limit and the
// comparison with the own version text. The boxes the user sees are pinned
// in the real window, against a server on 127.0.0.1.
#include <gtest/gtest.h>

#include <string>

#include "ui/update_check.h"

namespace kelvary {
namespace {

constexpr const char* kOwnVersion = "1.65.167";

FetchedVersionFile Received(const std::string& body) {
  FetchedVersionFile fetched;
  fetched.received = true;
  fetched.body.Append(body);
  return fetched;
}

// The maker's host and the path over http, unless replaced whole.
TEST(VersionFileUrlTest, IsTheMakersFileUnlessReplaced) {
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
    {"CR LF after the number", "1.65.167\r\n", kOwnVersion, UpdateOutcome::Different},
    {"blank before the number", " 1.65.167", kOwnVersion, UpdateOutcome::Different},
    {"older number", "1.64.150", kOwnVersion, UpdateOutcome::Different},
    {"empty body", "", kOwnVersion, UpdateOutcome::Different},
    {"own version with a trailing NUL", std::string("1.65.167\0", 9), kOwnVersion, UpdateOutcome::Different},
    {"other case", "v2", "V2", UpdateOutcome::Different},
    // What was kept would match an own text as long as the limit; the cut
    // makes it different.
    {"body of the limit", kLimitLong, kLimitLong, UpdateOutcome::Current},
    {"body past the limit", kLimitLong + "7", kLimitLong, UpdateOutcome::Different},
};

// A failed fetch is unreadable whatever it held.
TEST(CompareWithOwnVersionTest, OnlyTheExactTextIsCurrent) {
  for (const ComparisonCase& c : kComparisons) {
    EXPECT_EQ(CompareWithOwnVersion(Received(c.body), c.own), c.expected) << c.name;
  }
  FetchedVersionFile failed = Received(kOwnVersion);
  failed.received = false;
  EXPECT_EQ(CompareWithOwnVersion(failed, kOwnVersion), UpdateOutcome::Unreadable);
}

// Chunks join up to the limit; the one that crosses it is cut and says stop.
TEST(LimitedBodyTest, KeepsABodyOfExactlyTheLimitAndCutsOneByteMore) {
  LimitedBody body;
  EXPECT_TRUE(body.Append("1"));
  EXPECT_TRUE(body.Append(""));
  EXPECT_TRUE(body.Append(std::string(kVersionFileLimit - 2, 'a')));
  EXPECT_TRUE(body.Append("b"));
  EXPECT_FALSE(body.Cut());
  EXPECT_FALSE(body.Append("c"));
  EXPECT_TRUE(body.Cut());
  EXPECT_EQ(body.Text(), "1" + std::string(kVersionFileLimit - 2, 'a') + "b");
}

}  // namespace
}  // namespace kelvary
