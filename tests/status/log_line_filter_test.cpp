#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "status/log_line_filter.h"
#include "string_source.h"

namespace kelvary {
namespace {

using test::StringSource;
using Pair = std::pair<std::string, std::string>;  // header, line

// The lines a scan acts on, by their texts.
bool IsCandidate(std::string_view line) {
  if (line.find("Completion Notice For Every: [") != std::string_view::npos) return true;
  if (line.starts_with("Calculating in")) return false;
  for (std::string_view start : {"Calculating ", "Calculator Information Message: Completion Notice",
                                 "Total Calc Elapsed Time :", "Starting Essbase Server"}) {
    if (line.starts_with(start)) return true;
  }
  return false;
}

// The plain reading of a log: every line with its predecessor, split at
// CR LF, LF or CR; the candidates are those a scan would look at.
std::vector<Pair> CandidatesByHand(const std::string& log, std::string header) {
  std::vector<Pair> pairs;
  std::string line;
  auto finish = [&] {
    line.resize(std::min(line.size(), kMaxLineBytes));
    if (IsCandidate(line)) pairs.emplace_back(header, line);
    header = line;
    line.clear();
  };
  for (std::size_t i = 0; i < log.size(); ++i) {
    if (log[i] == '\r' || log[i] == '\n') {
      if (log[i] == '\r' && i + 1 < log.size() && log[i + 1] == '\n') ++i;
      finish();
    } else {
      line.push_back(log[i]);
    }
  }
  if (!line.empty()) finish();
  return pairs;
}

std::vector<Pair> CandidatesByFilter(const std::string& log, std::string header, std::size_t piece,
                                     std::optional<std::string>* last_line = nullptr) {
  StringSource source(log, piece);
  LogLineFilter filter(source, std::move(header));
  std::vector<Pair> pairs;
  filter.Run([&](std::string_view h, std::string_view l) {
    pairs.emplace_back(h, l);
    return true;
  });
  if (last_line) *last_line = filter.LastLine();
  return pairs;
}

// Logs made of pieces that put message texts at line starts, in the middle
// of lines and across block boundaries, with every kind of line ending.
std::string RandomLog(std::mt19937& random) {
  static const std::vector<std::string> pieces = {
      "[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Basic/admin/Info(1012555)", "Calculating [ Measures(Sales)]",
      "Calculating in parallel", "Calculator Information Message: Completion Notice",
      "Calculator Information Message: Executing Block", "Completion Notice For Every: [ 10%] Of Blocks",
      "Total Calc Elapsed Time : [2.4] seconds", "Starting Essbase Server", "Completion Notice For Every: ",
      "Ca", "S", "T", "C", "x", "", "\r", "\n", "\r\n", "\r\n", "\n"};
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> count(0, 60);
  std::string log;
  for (int n = count(random); n > 0; --n) log += pieces[pick(random)];
  return log;
}

TEST(LogLineFilter, HandsOverExactlyTheCandidatesWithTheirHeaders) {
  std::mt19937 random(20030108);
  std::uniform_int_distribution<std::size_t> piece(1, 200);
  for (int round = 0; round < 3000; ++round) {
    const std::string log = RandomLog(random);
    const std::size_t size = piece(random);
    ASSERT_EQ(CandidatesByFilter(log, "carried", size), CandidatesByHand(log, "carried"))
        << "round " << round << ", pieces of " << size;
  }
}

TEST(LogLineFilter, LastLineIsTheFinalLineWithoutItsEnding) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"", std::nullopt}, {"\n", ""}, {"a\r\nlast", "last"}, {"a\r\nlast\r\n", "last"}, {"a\rlast\r", "last"},
      {"a\r\r\n", ""}};
  for (const auto& [log, expected] : cases) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, SIZE_MAX}) {
      std::optional<std::string> last;
      CandidatesByFilter(log, "", piece, &last);
      EXPECT_EQ(last, expected) << "pieces of " << piece;
    }
  }
}

}  // namespace
}  // namespace kelvary
