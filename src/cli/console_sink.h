#pragma once
// Report lines to standard output, one a line, bytes as they stand.
#include <cstdio>

#include "status/report.h"

namespace kelvary::cli {

class ConsoleSink final : public ReportSink {
 public:
  void ClearLines() override {}
  void AppendLine(std::string_view line) override {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
};

}  // namespace kelvary::cli
