#pragma once
// The update check's one HTTP request, through WinINet, the system's own
// transfer library. wininet.h stays inside the .cpp: it cannot share a
// source file with winhttp.h.
#include <string>

#include "ui/update_check.h"

namespace kelvary {

// One synchronous GET of `url` (http or https). `timeout_ms` bounds the
// connection, the sending and each wait for the answer. The body is read up
// to kVersionFileLimit; anything but a 2xx status counts as not received.
FetchedVersionFile FetchVersionFile(const std::string& url, unsigned timeout_ms);

}  // namespace kelvary
