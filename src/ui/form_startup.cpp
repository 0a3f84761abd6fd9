#include "ui/form_startup.h"

#include <algorithm>
#include <string>
#include <vector>

#include "servers/registry_store.h"

namespace kelvary {

void LoadMainWindow(StartUpView& view, RegistryBackend& registry, SettingsFile& settings,
                    std::string_view argument_tail) {
  SetStoreKeyPaths();
  RegEnsureKey(registry, RegRoot::CurrentUser, strProductKey);
  RegEnsureKey(registry, RegRoot::CurrentUser, strServersKey);

  const std::vector<std::string> servers =
      RegListSubkeys(registry, RegRoot::CurrentUser, strServersKey);
  if (servers.empty()) return;
  for (const std::string& name : servers) view.AddServer(name);
  view.SelectServerAt(0);

  const RememberedQuery remembered = settings.ReadAtStartUp();
  view.SetApplicationName(argument_tail.empty() ? std::string_view(remembered.strLastApp)
                                                : argument_tail);
  // Names compare exactly: the list is what the store holds.
  const auto found = std::find(servers.begin(), servers.end(), remembered.strLastServer);
  if (found != servers.end()) view.SelectServerAt(static_cast<int>(found - servers.begin()));
}

}  // namespace kelvary
