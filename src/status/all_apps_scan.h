#pragma once
// Every application of a server reached by path at once: the folders under
// its Essbase directory's "app" folder, each one's log scanned, several at a
// time.
#include <string>
#include <string_view>
#include <vector>

#include "base/case_map.h"
#include "status/log_scanner.h"
#include "status/scan_state.h"

namespace kelvary {

struct ApplicationScan {
  std::string application;  // the folder's name, upper-cased as a check does
  bool log_found = false;   // false: the folder holds no log of its name
  ScanResult result = ScanResult::Complete;
  ScanState state;
};

struct AllApplications {
  bool app_folder_found = false;  // false: no "app" folder under the directory
  std::vector<ApplicationScan> applications;  // in the order of their names
};

// `essbase_path` is path text. Applications are scanned on at most
// `workers` threads at once (at least one).
AllApplications ScanAllApplications(std::string_view essbase_path, const CaseMap& cases, unsigned workers);

}  // namespace kelvary
