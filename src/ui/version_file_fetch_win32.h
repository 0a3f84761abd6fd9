#pragma once
// The update check's one HTTP request, through WinINet, the system's own
// transfer library. wininet.h stays inside the .cpp: it cannot share a
// source file with winhttp.h.
#include <string>

#include "ui/update_check.h"

namespace kelvary {

// One GET of `url` (http or https) that the caller waits for. `timeout_ms`
// bounds the whole fetch, from the request to the last byte: past it, the
// fetch counts as not received. The body is read up to kVersionFileLimit;
// anything but a 2xx status counts as not received.
FetchedVersionFile FetchVersionFile(const std::string& url, unsigned timeout_ms);

}  // namespace kelvary
