// The clipboard text of "Copy Contents of Kelvary ListBox".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/report_copy.h"

namespace kelvary {
namespace {

struct CopyCase {
  std::vector<std::string> lines;
  std::string text;
};

class ReportClipboardTextTest : public ::testing::TestWithParam<CopyCase> {};

TEST_P(ReportClipboardTextTest, IsCrLfThenEachLineAndCrLf) {
  EXPECT_EQ(ReportClipboardText(GetParam().lines), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ReportClipboardTextTest,
    ::testing::Values(
        CopyCase{{}, "\r\n"}, CopyCase{{"a", "b"}, "\r\na\r\nb\r\n"},
        CopyCase{{"No calcs are currently processing"}, "\r\nNo calcs are currently processing\r\n"},
        CopyCase{{"BASIC (4 out of 10) - Started at 01:41 pm by admin", "  >> 1/10:  13:44", ""},
                 "\r\nBASIC (4 out of 10) - Started at 01:41 pm by admin\r\n  >> 1/10:  13:44\r\n\r\n"}));

}  // namespace
}  // namespace kelvary
