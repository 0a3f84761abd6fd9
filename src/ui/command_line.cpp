#include "ui/command_line.h"

namespace kelvary {
namespace {

constexpr char kQuote = '"';
constexpr char kPathSeparator = '\\';
constexpr std::string_view kBlanks = " \t";

// Where the program's name ends: after its closing quote, or at the first
// blank; the end of the text when neither comes.
std::size_t ProgramNameEnd(std::string_view command_line) {
  if (!command_line.empty() && command_line.front() == kQuote) {
    const std::size_t closing = command_line.find(kQuote, 1);
    return closing == std::string_view::npos ? command_line.size() : closing + 1;
  }
  const std::size_t blank = command_line.find_first_of(kBlanks);
  return blank == std::string_view::npos ? command_line.size() : blank;
}

}  // namespace

std::string ArgumentTail(std::string_view command_line) {
  const std::size_t start = command_line.find_first_not_of(kBlanks, ProgramNameEnd(command_line));
  if (start == std::string_view::npos) return {};
  return std::string(command_line.substr(start));
}

std::string NewInstanceCommandLine(std::string_view executable_directory,
                                   std::string_view application_text) {
  std::string line(1, kQuote);
  line += executable_directory;
  line += kPathSeparator;
  line += kProgramFileName;
  line += kQuote;
  line += ' ';
  line += application_text;
  return line;
}

}  // namespace kelvary
