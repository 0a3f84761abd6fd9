#pragma once
// A program run through the shell as a user runs it: the environment set for
// the occasion, its standard streams in files of the test's folder.
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "../status/check_test_support.h"

namespace kelvary::test {

struct CliRun {
  int exit_code;
  std::string out;
  std::string err;
};

using Arguments = std::vector<std::string>;
using Environment = std::vector<std::pair<std::string, std::string>>;

inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

inline CliRun RunProgram(const TempFolder& dir, const std::string& program, const Environment& environment,
                         const Arguments& arguments, const std::string& input = "") {
  dir.Write("in", input);
  std::string command;
  for (const auto& [name, value] : environment) {
    command += name + "=" + ShellQuoted(value) + " ";
  }
  command += ShellQuoted(program);
  for (const std::string& argument : arguments) {
    command.append(1, ' ').append(ShellQuoted(argument));
  }
  command += " <" + ShellQuoted(dir.File("in")) + " >" + ShellQuoted(dir.File("out")) + " 2>" +
             ShellQuoted(dir.File("err"));
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileContent(dir.File("out")), FileContent(dir.File("err"))};
}

}  // namespace kelvary::test
