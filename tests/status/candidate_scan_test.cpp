#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "status/candidate_scan.h"

namespace kelvary {
namespace {

// The positions a search must report, by the plain definition.
std::vector<std::uint32_t> PassingByHand(const std::string& buffer, std::size_t from, std::size_t end) {
  std::vector<std::uint32_t> passing;
  for (std::size_t i = from; i < end; ++i) {
    const std::string_view pair(buffer.data() + i, 2);
    const bool line_start = buffer[i - 1] == '\n' || buffer[i - 1] == '\r';
    const bool message = pair == "Ca" || pair == "To" || pair == "St";
    const bool interval = pair == "Co" && buffer[i + 29] == '[';
    if ((message && line_start) || interval) passing.push_back(static_cast<std::uint32_t>(i));
  }
  return passing;
}

std::vector<std::uint32_t> PassingBySearch(CandidateSearch search, const std::string& buffer, std::size_t from,
                                           std::size_t end, std::size_t batch) {
  std::vector<std::uint32_t> passing;
  std::vector<std::uint32_t> positions(batch);
  while (from < end) {
    std::size_t stopped_at = from;
    const std::size_t found = search(buffer.data(), from, end, positions.data(), batch, &stopped_at);
    passing.insert(passing.end(), positions.begin(), positions.begin() + static_cast<std::ptrdiff_t>(found));
    EXPECT_GT(stopped_at, from) << "the search must make progress";
    from = stopped_at;
  }
  return passing;
}

TEST(CandidateSearch, EverySearchFindsExactlyThePassingPositions) {
  NamedCandidateSearch searches[4];
  const std::size_t count = AvailableCandidateSearches(searches, 4);
  ASSERT_GE(count, 1u);
  std::mt19937 random(42);
  const std::string alphabet = "CTSaot[\r\nx C";
  std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
  std::uniform_int_distribution<std::size_t> length(0, 400);
  for (int round = 0; round < 500; ++round) {
    std::string buffer(kCandidateScanBefore + length(random) + kCandidateScanAfter, 'x');
    for (char& c : buffer) c = alphabet[letter(random)];
    const std::size_t from = kCandidateScanBefore + round % 7;
    const std::size_t end = std::max(from, buffer.size() - kCandidateScanAfter);
    const auto expected = PassingByHand(buffer, from, end);
    for (std::size_t k = 0; k < count; ++k) {
      for (std::size_t batch : {kCandidateBatchRoom, std::size_t{1000}}) {
        EXPECT_EQ(PassingBySearch(searches[k].search, buffer, from, end, batch), expected)
            << searches[k].name << ", round " << round << ", batch " << batch;
      }
    }
  }
}

}  // namespace
}  // namespace kelvary
