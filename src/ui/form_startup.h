#pragma once
// Form_Load: what the main window shows when it opens. The store's keys are
// made sure of, the servers listed, and with at least one server the
// remembered query and the command line's argument applied.
#include <string_view>

#include "servers/registry_backend.h"
#include "ui/settings_file.h"

namespace kelvary {

// The parts of the main window that start-up fills.
class StartUpView {
 public:
  virtual ~StartUpView() = default;
  virtual void AddServer(std::string_view name) = 0;           // appends to cboServers
  virtual void SelectServerAt(int index) = 0;                  // selects entry `index`
  virtual void SetApplicationName(std::string_view text) = 0;  // text of txtApp
};

// Start-up in its fixed order. With an empty store it ends after the empty
// list: the settings file is neither read nor created and the argument is
// not applied. A remembered server that is not listed selects nothing, so
// the first server stays selected.
void LoadMainWindow(StartUpView& view, RegistryBackend& registry, SettingsFile& settings,
                    std::string_view argument_tail);

}  // namespace kelvary
