#include <gtest/gtest.h>

#include <string>

#include "status/read_ahead_source.h"
#include "string_source.h"

namespace kelvary {
namespace {

// Everything a source hands out until it reports the end or an error.
std::pair<std::string, std::ptrdiff_t> Drain(ByteSource& source, std::size_t capacity) {
  std::string bytes;
  std::string buffer(capacity, '\0');
  for (;;) {
    const std::ptrdiff_t n = source.Read(buffer.data(), capacity);
    if (n <= 0) return {bytes, n};
    bytes.append(buffer, 0, static_cast<std::size_t>(n));
  }
}

std::string Numbers(std::size_t size) {
  std::string text;
  for (std::size_t i = 0; text.size() < size; ++i) text += std::to_string(i) + ",";
  return text.substr(0, size);
}

// Blocks smaller and larger than its own, and a source that fails midway.
TEST(ReadAheadSource, HandsOnEveryByteInOrderThenTheEndOrTheError) {
  const std::string data = Numbers(3 << 20);
  const std::pair<std::size_t, std::size_t> pieces_and_failures[] = {
      {1000, SIZE_MAX}, {std::size_t{1} << 20, SIZE_MAX}, {4096, 700000}};
  for (const auto& [piece, fail_after] : pieces_and_failures) {
    test::StringSource source(data, piece, fail_after);
    ReadAheadSource ahead(source);
    const auto [bytes, last] = Drain(ahead, 100000);
    EXPECT_EQ(bytes, data.substr(0, fail_after));
    EXPECT_EQ(last, fail_after == SIZE_MAX ? 0 : -1);
    char byte = 0;
    if (last == 0) {
      EXPECT_EQ(ahead.Read(&byte, 1), 0) << "the end stays the end";
    }
  }
}

TEST(ReadAheadSource, StopsWhenLeftEarly) {
  const std::string data = Numbers(8 << 20);
  test::StringSource source(data, 4096);
  {
    ReadAheadSource ahead(source);
    char byte = 0;
    ASSERT_EQ(ahead.Read(&byte, 1), 1);
  }  // must not wait for the rest of the source
  EXPECT_LT(source.position(), data.size()) << "reads only a few blocks ahead";
}

}  // namespace
}  // namespace kelvary
