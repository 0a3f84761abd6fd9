#pragma once
#include <string_view>

namespace kelvary {

// Where a check that opened a log records its server and application, so
// that the next start offers them again. The main window hands it the
// settings file; the check knows nothing more of that file.
class QueryRecorder {
 public:
  virtual ~QueryRecorder() = default;
  virtual void WriteQuery(std::string_view server, std::string_view application) = 0;
};

}  // namespace kelvary
