#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "status/log_line_filter.h"
#include "string_source.h"
#include "status/candidate_scan.h"

namespace kelvary::test {
namespace {

// A candidate as handed over: its header, its text, and what the text says
// (the message it begins with; whether it holds the interval text).
struct Handed {
  std::string header;
  std::string line;
  LineStart start = LineStart::None;
  bool holds_interval = false;
  bool operator==(const Handed&) const = default;
};

LineStart StartByHand(std::string_view line) {
  if (line.starts_with("Calculating in")) return LineStart::None;
  const std::pair<std::string_view, LineStart> starts[] = {
      {"Calculating ", LineStart::CalculationStarted},
      {"Calculator Information Message: Completion Notice", LineStart::CompletionNotice},
      {"Total Calc Elapsed Time :", LineStart::CalculationFinished},
      {"Starting Essbase Server", LineStart::ServerStarted}};
  for (const auto& [text, start] : starts) {
    if (line.starts_with(text)) return start;
  }
  return LineStart::None;
}

bool HoldsIntervalByHand(std::string_view line) {
  return line.find("Completion Notice For Every: [") != std::string_view::npos;
}

std::ostream& operator<<(std::ostream& out, const Handed& handed) {
  return out << "{" << handed.header << " | " << handed.line << " | " << static_cast<int>(handed.start) << ", "
             << handed.holds_interval << "}";
}

// The plain reading of a log: every line with its predecessor, split at
// CR LF, LF or CR; the candidates are those a scan would look at. The last
// line, without its ending, is carried to the next check. Lines are kept
// to their first max_line bytes.
std::vector<Handed> CandidatesByHand(const std::string& log, std::string header, std::size_t max_line,
                                     std::optional<std::string>* last_line) {
  std::vector<Handed> pairs;
  std::string line;
  auto finish = [&] {
    line.resize(std::min(line.size(), max_line));
    const Handed handed{header, line, StartByHand(line), HoldsIntervalByHand(line)};
    if (handed.start != LineStart::None || handed.holds_interval) pairs.push_back(handed);
    *last_line = header = line;
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

struct Filtered {
  std::vector<Handed> pairs;
  std::optional<std::string> last_line;
  LogLineFilter::End end;
};

Filtered ByFilter(StringSource& source, std::string header, const FilterShape& shape) {
  LogLineFilter filter(source, std::move(header), shape);
  Filtered filtered;
  filtered.end = filter.Run([&](std::string_view h, std::string_view l, LineFacts facts) {
    filtered.pairs.push_back({std::string(h), std::string(l), facts.start, facts.holds_interval});
    return true;
  });
  filtered.last_line = filter.LastLine();
  return filtered;
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

// Chunks of every size from one byte to more than the log, read in pieces,
// by the caller alone or with a helper; lines cut anywhere; a read that
// fails ends the log where it stands, and what was read still counts.
TEST(LogLineFilter, HandsOverExactlyTheCandidatesWithTheirHeadersAndTheLastLine) {
  std::mt19937 random(20030108);
  std::uniform_int_distribution<std::size_t> piece(1, 200);
  std::uniform_int_distribution<std::size_t> chunk(1, 300);
  std::uniform_int_distribution<std::size_t> kept(1, 120);
  for (int round = 0; round < 3000; ++round) {
    const std::string log = RandomLog(random);
    const std::size_t size = piece(random);
    const FilterShape shape{{chunk(random), round % 5 == 0 ? kMaxLineBytes : kept(random)}, round % 2u};
    const std::size_t fail_from = round % 3 == 0 ? random() % (log.size() + 1) : SIZE_MAX;
    StringSource source(log, size, fail_from);
    const Filtered filtered = ByFilter(source, "carried", shape);
    std::optional<std::string> last_by_hand;
    const std::string readable = log.substr(0, fail_from);
    const std::vector<Handed> by_hand =
        CandidatesByHand(readable, "carried", shape.chunks.max_line_bytes, &last_by_hand);
    const auto context = ::testing::Message() << "round " << round << ", pieces of " << size << ", chunks of "
                                              << shape.chunks.chunk_bytes << ", lines of "
                                              << shape.chunks.max_line_bytes << ", helpers " << shape.helpers
                                              << ", failing from " << fail_from;
    ASSERT_EQ(filtered.pairs, by_hand) << context;
    ASSERT_EQ(filtered.last_line, last_by_hand) << context;
    EXPECT_EQ(filtered.end, fail_from <= log.size() ? LogLineFilter::End::ReadError : LogLineFilter::End::LogEnd)
        << context;
  }
}

// A line crowded with positions that pass the search but hold no message
// fills the search's batch; the interval text after them still counts,
// unless the line is cut before it.
TEST(LogLineFilter, SeesTheIntervalTextBehindAFullBatchOfPositions) {
  std::string crowded = "Calculating [";
  for (int k = 0; k < 300; ++k) crowded += "Co" + std::string(27, 'x') + "[";
  const std::string interval = "Completion Notice For Every: [";
  const std::string line = crowded + interval + " 5%] Of Blocks";
  const std::string log = "[header]\n" + line + "\nCalculating [ Year]\n";
  for (const std::size_t kept : {kMaxLineBytes, crowded.size() + interval.size() - 1}) {
    StringSource source(log, log.size());
    const Filtered filtered = ByFilter(source, "carried", {{ChunkShape{}.chunk_bytes, kept}, 0});
    ASSERT_EQ(filtered.pairs.size(), 2u);
    EXPECT_EQ(filtered.pairs[0].holds_interval, kept == kMaxLineBytes) << "lines kept to " << kept;
  }
}

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
}  // namespace kelvary::test
