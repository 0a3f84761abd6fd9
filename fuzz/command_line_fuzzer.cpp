// Any bytes as a command line, two ways. The window's: its argument text is
// a tail of the line that starts with no blank, and the line it builds for a
// second window gives the application text back. kelvary-cli's: the bytes
// split at NULs into arguments, parsed with every command's real options
// but without running the commands.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_app.h"
#include "ui/command_line.h"

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kExecutableDirectory = "C:\\Program Files\\Kelvary";

// Built once: building it costs far more than a parse.
CLI::App& CliApp() {
  static int exit_code = 0;
  static CLI::App app{"kelvary-cli", "kelvary-cli"};
  static const bool defined = [] {
    kelvary::cli::DefineCommandLine(app, exit_code);
    // Runs once the arguments are parsed and checked, before any command:
    // stopping there keeps the commands from running.
    app.parse_complete_callback([] { throw CLI::Success(); });
    return true;
  }();
  static_cast<void>(defined);
  return app;
}

void CheckWindowCommandLine(std::string_view line) {
  const std::string tail = kelvary::ArgumentTail(line);
  if (!line.ends_with(tail) || (!tail.empty() && kBlanks.find(tail.front()) != std::string_view::npos)) {
    std::abort();
  }
  const std::size_t typed = line.find_first_not_of(kBlanks);
  const std::string application(typed == std::string_view::npos ? std::string_view() : line.substr(typed));
  if (kelvary::ArgumentTail(kelvary::NewInstanceCommandLine(kExecutableDirectory, line)) != application) {
    std::abort();
  }
}

void ParseCliArguments(std::string_view bytes) {
  std::vector<std::string> arguments;
  for (std::size_t start = 0; start <= bytes.size();) {
    const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
    arguments.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  // CLI11 takes its arguments last first.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    CliApp().parse(reversed);
  } catch (const CLI::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckWindowCommandLine(bytes);
  ParseCliArguments(bytes);
  return 0;
}
