#include "cli/servers_command.h"

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/case_map.h"
#include "cli/exit_codes.h"
#include "servers/registry_store.h"
#include "servers/server_definition.h"

namespace kelvary::cli {
namespace {

constexpr RegRoot kUser = RegRoot::CurrentUser;
constexpr std::string_view kHiddenPassword = "********";
constexpr std::string_view kNoSuchServer = "kelvary-cli: no server named ";
constexpr std::string_view kNotWritten = "kelvary-cli: the server store could not be changed";
constexpr std::string_view kEmptyDefault;
constexpr std::string_view kOtherDefault = "\x01";

struct ServersOptions {
  std::string name;
  std::string path;
  std::string dns;
  std::string user;
  bool password_stdin = false;
  bool reveal = false;
  CLI::Option* path_option = nullptr;
  CLI::Option* dns_option = nullptr;
};

void PrintLine(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
}

// The name as the store spells it, matched without regard to case as the
// registry matches key names; nothing for a server that is not stored.
std::optional<std::string> StoredName(RegistryBackend& reg, std::string_view name) {
  const CaseMap& cases = StoreCaseMap();
  const std::string wanted = cases.Upper(name);
  for (std::string& stored : RegListSubkeys(reg, kUser, strServersKey)) {
    if (cases.Upper(stored) == wanted) {
      return stored;
    }
  }
  return std::nullopt;
}

// A value exists when reads with two different defaults agree: a missing or
// non-text value reads as whichever default is given.
std::optional<std::string> ExistingValue(RegistryBackend& reg, const std::string& key, std::string_view value) {
  std::string text = RegReadText(reg, kUser, key, value, kEmptyDefault);
  if (text.empty() && RegReadText(reg, kUser, key, value, kOtherDefault) == kOtherDefault) {
    return std::nullopt;
  }
  return text;
}

int ListServers(RegistryBackend& reg) {
  for (const std::string& name : RegListSubkeys(reg, kUser, strServersKey)) {
    PrintLine(stdout, name);
  }
  return kExitOk;
}

int UnknownServer(std::string_view name) {
  PrintLine(stderr, std::string(kNoSuchServer) + std::string(name));
  return kExitFailure;
}

int ShowServer(RegistryBackend& reg, const ServersOptions& options) {
  const std::optional<std::string> name = StoredName(reg, options.name);
  if (!name) {
    return UnknownServer(options.name);
  }
  const std::string key = ServerKeyPath(*name);
  for (const std::string_view value_name : kServerValues) {
    std::optional<std::string> text = ExistingValue(reg, key, value_name);
    if (text && value_name == kPasswordValue && !options.reveal) {
      text = std::string(kHiddenPassword);
    }
    if (text) {
      PrintLine(stdout, std::string(value_name) + "=" + *text);
    }
  }
  return kExitOk;
}

// The first line of standard input, without its line ending.
std::string PasswordFromStdin() {
  std::string password;
  std::getline(std::cin, password);
  if (password.ends_with('\r')) {
    password.pop_back();
  }
  return password;
}

// The store reports no failure, so a change is checked by reading it back.
bool AccessStored(RegistryBackend& reg, std::string_view name, std::string_view access) {
  return StoredName(reg, name) && RegReadText(reg, kUser, ServerKeyPath(name), kAccessValue) == access;
}

int AddServer(RegistryBackend& reg, const ServersOptions& options) {
  if (!IsAcceptableServerName(options.name)) {
    PrintLine(stderr, kServerNameRefusal);
    return kExitUsage;
  }
  std::string_view access = kDirectAccess;
  if (options.path_option->count() > 0) {
    AddDirectServer(reg, options.name, options.path);
  } else {
    AddRemoteServer(reg, options.name, RemoteLogin{options.dns, options.user, PasswordFromStdin()});
    access = kRemoteAccess;
  }
  if (!AccessStored(reg, options.name, access)) {
    PrintLine(stderr, kNotWritten);
    return kExitFailure;
  }
  return kExitOk;
}

int RemoveServer(RegistryBackend& reg, const ServersOptions& options) {
  const std::optional<std::string> name = StoredName(reg, options.name);
  if (!name) {
    return UnknownServer(options.name);
  }
  RegRemoveKey(reg, kUser, ServerKeyPath(*name));
  if (StoredName(reg, *name)) {
    PrintLine(stderr, kNotWritten);
    return kExitFailure;
  }
  return kExitOk;
}

// Every subcommand starts here: a store file that cannot be used (or, for
// a change, not changed) is said once, and nothing is done with it.
enum class StoreUse { Read, Change };

int WithStore(StoreUse use, const std::function<int(RegistryBackend&)>& command) {
  SetStoreKeyPaths();
  if (const std::optional<std::string> problem =
          use == StoreUse::Read ? UserRegistryProblem() : UserRegistryChangeProblem()) {
    PrintLine(stderr, "kelvary-cli: " + *problem);
    return kExitFailure;
  }
  return command(*OpenUserRegistry());
}

void AddListCommand(CLI::App& servers, int& exit_code) {
  servers.add_subcommand("list", "List the servers, one name a line, in store order")
      ->callback([&exit_code] { exit_code = WithStore(StoreUse::Read, ListServers); });
}

void AddShowCommand(CLI::App& servers, int& exit_code, const std::shared_ptr<ServersOptions>& options) {
  CLI::App* show = servers.add_subcommand("show", "Show a server's values, one Name=value a line");
  show->add_option("NAME", options->name, "The server's name")->required();
  show->add_flag("--reveal", options->reveal, "Print the password instead of ********");
  show->callback([options, &exit_code] {
    exit_code = WithStore(StoreUse::Read, [&](RegistryBackend& reg) { return ShowServer(reg, *options); });
  });
}

void AddAddCommand(CLI::App& servers, int& exit_code, const std::shared_ptr<ServersOptions>& options) {
  CLI::App* add = servers.add_subcommand(
      "add", "Add a server: --path DIR for direct access, or --dns HOST --user USER --password-stdin");
  add->add_option("NAME", options->name, "The server's name")->required();
  options->path_option = add->add_option("--path", options->path, "The server's Essbase directory");
  options->dns_option = add->add_option("--dns", options->dns, "The Essbase server's host name or address");
  CLI::Option* user = add->add_option("--user", options->user, "The Essbase user name");
  CLI::Option* password = add->add_flag("--password-stdin", options->password_stdin,
                                        "Read the password from the first line of standard input");
  options->dns_option->needs(user)->needs(password);
  user->needs(options->dns_option);
  password->needs(options->dns_option);
  options->path_option->excludes(options->dns_option)->excludes(user)->excludes(password);
  add->callback([options, &exit_code] {
    if (options->path_option->count() == 0 && options->dns_option->count() == 0) {
      throw CLI::RequiredError("--path or --dns");
    }
    exit_code = WithStore(StoreUse::Change, [&](RegistryBackend& reg) { return AddServer(reg, *options); });
  });
}

void AddRemoveCommand(CLI::App& servers, int& exit_code, const std::shared_ptr<ServersOptions>& options) {
  CLI::App* remove = servers.add_subcommand("remove", "Remove a server and its values");
  remove->add_option("NAME", options->name, "The server's name")->required();
  remove->callback([options, &exit_code] {
    exit_code = WithStore(StoreUse::Change, [&](RegistryBackend& reg) { return RemoveServer(reg, *options); });
  });
}

}  // namespace

void AddServersCommand(CLI::App& app, int& exit_code) {
  auto options = std::make_shared<ServersOptions>();
  CLI::App* servers = app.add_subcommand("servers", "List, show, add and remove the stored servers");
  servers->require_subcommand(1);
  AddListCommand(*servers, exit_code);
  AddShowCommand(*servers, exit_code, options);
  AddAddCommand(*servers, exit_code, options);
  AddRemoveCommand(*servers, exit_code, options);
}

}  // namespace kelvary::cli
