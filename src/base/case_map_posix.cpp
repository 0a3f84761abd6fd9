#include "base/case_map.h"

namespace kelvary {

// Without a system code page to ask, text is taken as Windows-1252, the code
// page of the Windows machines that write the logs and stores we read.
const CaseMap& SystemCaseMap() { return CaseMap::Windows1252(); }

}  // namespace kelvary
