// Outside Windows the system code page is Windows-1252, as the case map's.
#include "base/windows1252_text.h"
#include "ui/settings_file.h"

namespace kelvary {

std::string Utf16LeToSystemCodePage(std::string_view bytes) { return Utf16LeToWindows1252(bytes); }

}  // namespace kelvary
