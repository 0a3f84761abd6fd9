"""Small faults planted one at a time in the portable core: a flipped or
shifted comparison, an off-by-one bound, a check dropped. Each is (file, text
as it stands, text with the fault); the text must occur once in its file.
A fault whose text no longer occurs is reported as stale and skipped.

Five are not caught, and cannot be by any behaviour: 3 (a copy's name always
ends in ".log", never "." alone), 21 (no calculation running takes an
earlier branch), 26 (a calculation's notices never go down), 37 (reads the
string's terminator, which is no continuation byte) and 48 (a summary never
has no runs)."""
FAULTS = [
 ("src/status/check_driver.cpp", "if (time - last_ < kScanYieldInterval) return true;", "if (time - last_ <= kScanYieldInterval) return true;"),
 ("src/status/check_driver.cpp", "if (scanned == ScanResult::Abandoned) return CheckOutcome::Abandoned;", "if (scanned == ScanResult::ReadError) return CheckOutcome::Abandoned;"),
 ("src/status/plain_name.cpp", "bool IsControl(char c) { return static_cast<unsigned char>(c) < kFirstPrintable; }", "bool IsControl(char c) { return static_cast<unsigned char>(c) < kFirstPrintable - 1; }"),
 ("src/status/plain_name.cpp", "if (name.empty() || name == kCurrentFolder || name == kParentFolder) return false;", "if (name.empty() || name == kParentFolder) return false;"),
 ("src/status/report.cpp", "if (size.lines == 0) size = {1, kNothingRunning.size()};", "if (size.lines == 0) size = {0, kNothingRunning.size()};"),
 ("src/status/calc_history.cpp", "return count % 2 == 1 ? sorted[count / 2] : (sorted[count / 2 - 1] + sorted[count / 2]) / 2.0;", "return count % 2 == 1 ? sorted[count / 2] : sorted[count / 2];"),
 ("src/status/calc_history.cpp", "return a.latest_finished < b.latest_finished;", "return a.latest_finished > b.latest_finished;"),
 ("src/status/calc_history.cpp", "if (finished && (!pair.latest_finished || *finished > *pair.latest_finished)) pair.latest_finished = finished;", "if (finished) pair.latest_finished = finished;"),
 ("src/status/calc_estimate.cpp", "if (so_far < 0) return std::nullopt;", "if (so_far < -1) return std::nullopt;"),
 ("src/status/calc_estimate.cpp", "if (latest_stamp && *latest_stamp >= *place.StartedAt) estimate.elapsed_seconds", "if (latest_stamp && *latest_stamp > *place.StartedAt) estimate.elapsed_seconds"),
 ("src/status/calc_estimate.cpp", "if (seconds < kSecondsPerMinute) return", "if (seconds <= kSecondsPerMinute) return"),
 ("src/status/calc_estimate.cpp", "(rest < 10 ? \"0\" : \"\")", "(rest < 9 ? \"0\" : \"\")"),
 ("src/servers/registry_file_format.cpp", "for (std::size_t at = 1; at < text.size(); ++at) {", "for (std::size_t at = 1; at + 1 < text.size(); ++at) {"),
 ("src/servers/registry_file_format.cpp", "if (digits.size() != kByteDigits || !ParseHex(digits, &byte)) {", "if (digits.size() > kByteDigits || !ParseHex(digits, &byte)) {"),
 ("src/servers/server_definition.cpp", "if (name.empty() || name.size() > kLongestServerName) return false;", "if (name.empty() || name.size() >= kLongestServerName) return false;"),
 ("src/ui/settings_file.cpp", "while (pos < content.size() && content[pos] == kBlank) ++pos;", "while (pos + 1 < content.size() && content[pos] == kBlank) ++pos;"),
 ("src/ui/settings_file.cpp", "if (end == kCarriageReturn && pos < content.size() && content[pos] == kLineFeed) ++pos;", "if (pos < content.size() && content[pos] == kLineFeed) ++pos;"),
 ("src/ui/settings_file.cpp", "return !program || *per_user > *program;", "return !program || *per_user >= *program;"),
 ("src/ui/settings_file.cpp", "for (std::size_t at = 0; at + 1 < out.size(); at += 2) std::swap(out[at], out[at + 1]);", "for (std::size_t at = 0; at + 2 < out.size(); at += 2) std::swap(out[at], out[at + 1]);"),
 ("src/cli/duration_option.cpp", "count > kLongestSeconds / unit) {", "count > kLongestSeconds) {"),
 ("src/cli/monitor_status.cpp", "if (thresholds.crit_after && *longest >= *thresholds.crit_after) return kPluginCritical;", "if (thresholds.crit_after && *longest > *thresholds.crit_after) return kPluginCritical;"),
 ("src/cli/monitor_status.cpp", "line += running == 1 ? \" calculation running in \" : \" calculations running in \";", "line += running <= 1 ? \" calculation running in \" : \" calculations running in \";"),
 ("src/cli/watch_tracker.cpp", "if (failing_ != why) lines.push_back(", "if (true) lines.push_back("),
 ("src/status/log_header.cpp", "if (hour > kNoonText) {", "if (hour >= kNoonText) {"),
 ("src/status/log_header.cpp", "fields.user_begin = fields.database_end + 1;", "fields.user_begin = fields.database_end;"),
 ("src/status/log_stamp.cpp", "return value >= min && value <= max ? value : -1;", "return value >= min && value < max ? value : -1;"),
 ("src/status/calc_changes.cpp", "} else if (calc.notices_done > earlier->notices_done) {", "} else if (calc.notices_done != earlier->notices_done) {"),
 ("src/ui/command_line.cpp", "return closing == std::string_view::npos ? command_line.size() : closing + 1;", "return closing == std::string_view::npos ? command_line.size() : closing;"),
 ("src/status/log_scanner.cpp", "if (s_.intCalcCount == kCalcPlaces) return true;", "if (s_.intCalcCount == kCalcPlaces - 1) return true;"),
 ("src/status/log_scanner.cpp", "if (latest < 2 * kLatestDetailEntries) return;", "if (latest <= 2 * kLatestDetailEntries) return;"),
 ("src/status/log_scanner.cpp", "if (steps > kMaxNoticeSteps) return std::nullopt;", "if (steps >= kMaxNoticeSteps) return std::nullopt;"),
 ("src/status/log_scanner.cpp", "if (!elapsed && place.StartedAt && finished && *finished >= *place.StartedAt) {", "if (!elapsed && place.StartedAt && finished && *finished > *place.StartedAt) {"),
 ("src/status/log_scanner.cpp", "if (keys_[k] == key && s_.arrCalcs[k].Database == s_.strDatabase && s_.arrCalcs[k].StartedBy == s_.strUser) {", "if (keys_[k] == key && s_.arrCalcs[k].Database == s_.strDatabase) {"),
 ("src/status/log_scanner.cpp", "for (int k = 0; k < s_.intCalcCount; ++k) {\n      if (keys_[k] == key", "for (int k = 0; k + 1 < s_.intCalcCount; ++k) {\n      if (keys_[k] == key"),
 ("src/status/log_chunk.cpp", "  } else if (before == kCr && b[begin] == kLf) {", "  } else if (before == kCr && b[begin] == kCr) {"),
 ("src/status/remote_log.cpp", "if (download != kStatusOk) {", "if (download < kStatusOk) {"),
 ("src/status/remote_log.cpp", "return status == kStatusUnknownServer || status == kStatusWrongPassword ||", "return status == kStatusUnknownServer ||"),
 ("src/base/utf8.cpp", "if (text.size() - *at < form.length) return std::nullopt;", "if (text.size() - *at < form.length - 1) return std::nullopt;"),
 ("src/base/utf8.cpp", "if (character < form.smallest || character > kLastCharacter || (surrogate && !surrogates)) {", "if (character > kLastCharacter || (surrogate && !surrogates)) {"),
 ("src/base/case_map.cpp", "if (letter >= from && (letter - from) % range.step == 0 && (letter - from) / range.step < range.count) {", "if (letter >= from && (letter - from) % range.step == 0 && (letter - from) / range.step <= range.count) {"),
 ("src/base/case_map.cpp", "if (c != kMultiplicationSign) {", "if (true) {"),
 ("src/base/windows1252_text.cpp", "const bool latin1 = unit <= kLastLatin1 && (unit < kFirstSpecial || unit > kLastSpecial);", "const bool latin1 = unit <= kLastLatin1;"),
 ("src/servers/utf16_text.cpp", "bool IsLowSurrogate(char32_t unit) { return unit >= kFirstLowSurrogate && unit <= kLastLowSurrogate; }", "bool IsLowSurrogate(char32_t unit) { return unit >= kFirstLowSurrogate && unit < kLastLowSurrogate; }"),
 ("src/servers/utf16_text.cpp", "if (bytes.size() % kUnitSize != 0) {", "if (false) {"),
 ("src/servers/registry_tree.cpp", "return place != parent.subkeys.end() && place->folded_name == folded ? &*place : nullptr;", "return place != parent.subkeys.end() ? &*place : nullptr;"),
 ("src/servers/registry_store.cpp", "static_cast<std::uint32_t>(data.size() + 1));", "static_cast<std::uint32_t>(data.size()));"),
 ("src/status/finish_watch.cpp", "const bool same_query = server_ && *server_ == server && application_ == application;", "const bool same_query = server_ && *server_ == server;"),
 ("src/status/scan_state.cpp", "for (std::int64_t n = std::max<std::int64_t>(1, NoticesDone - kKept + 1); n <= NoticesDone; ++n) {", "for (std::int64_t n = std::max<std::int64_t>(1, NoticesDone - kKept + 2); n <= NoticesDone; ++n) {"),
 ("src/cli/history_text.cpp", "(s.runs == 1 ? \" run\" : \" runs\")", "(s.runs <= 1 ? \" run\" : \" runs\")"),
 ("src/status/all_apps_scan.cpp", "scan.log_found = opened.source != nullptr;", "scan.log_found = true;"),
]
