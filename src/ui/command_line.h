#pragma once
// The program's own command line: the argument text it starts with, and the
// command line it starts a second instance with.
#include <string>
#include <string_view>

namespace kelvary {

inline constexpr std::string_view kProgramFileName = "Kelvary.exe";

// Everything after the program's name and the blanks that follow it, as one
// text and otherwise untouched: quotes and trailing blanks stay. The name
// runs to its closing quote when it starts with one, else to the first blank.
std::string ArgumentTail(std::string_view command_line);

// The executable's directory and "\Kelvary.exe" in double quotes, a blank,
// then the application text as typed; path text, as the directory is (the
// new instance reads its command line through the 8-bit call, which gives
// the application back in the system code page). Quoted, because Windows reads an
// unquoted "C:\Program Files\..." as C:\Program.exe first, which would let
// another program run in our place.
std::string NewInstanceCommandLine(std::string_view executable_directory,
                                   std::string_view application_text);

}  // namespace kelvary
