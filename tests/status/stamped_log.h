#pragma once
// Small logs of application SAMPLE with known stamps, scanned as a check
// scans them, and the report's lines as a window's list would hold them.
#include <initializer_list>
#include <string>
#include <vector>

#include "status/log_scanner.h"
#include "status/report.h"
#include "string_source.h"

namespace kelvary::test {

using Lines = std::vector<std::string>;

inline std::string At(const std::string& clock, const std::string& database = "Basic",
                      const std::string& user = "admin") {
  return "[Wed Jan 08 " + clock + " 2003]Local/Sample/" + database + "/" + user + "/Info(1012555)";
}
inline Lines Started(const std::string& clock, const std::string& database = "Basic",
                     const std::string& user = "admin") {
  return {At(clock, database, user), "Calculating [ Measures(Sales)]"};
}
inline Lines Notice(const std::string& clock, const std::string& database = "Basic") {
  return {At(clock, database), "Calculator Information Message: Completion Notice"};
}
inline Lines Finished(const std::string& clock, const std::string& seconds) {
  return {At(clock), "Total Calc Elapsed Time : [" + seconds + "] seconds"};
}

inline Lines Joined(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class LinesSink final : public ReportSink {
 public:
  void ClearLines() override { lines.clear(); }
  void AppendLine(std::string_view line) override { lines.emplace_back(line); }
  Lines lines;
};

inline ScanState Scanned(const Lines& log) {
  StringSource source(CrLfLog(log));
  ScanState state;
  ScanLog(state, source, ScanInputs{"SAMPLE", CaseMap::Windows1252(), [] { return true; }});
  return state;
}

}  // namespace kelvary::test
