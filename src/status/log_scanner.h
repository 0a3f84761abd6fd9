#pragma once
// Reads an application log from its first line to its last and keeps the
// table of calculations that it shows as started and not yet finished.
#include "status/byte_source.h"
#include "status/scan_state.h"

namespace kelvary {

enum class ScanResult {
  Complete,   // the whole log was read
  ReadError,  // a read failed; the table holds what was read up to there
  Abandoned,  // the yield said the owner is gone
};

// Runs the tests over every line of the log, on the calling thread, while
// helper threads read and search the log ahead of them. The caller has
// emptied the table.
ScanResult ScanLog(ScanState& state, ByteSource& log, const ScanInputs& inputs);

}  // namespace kelvary
