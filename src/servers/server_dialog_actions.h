#pragma once
// What the add and remove dialogs do when their buttons are pressed, apart
// from the windows themselves: the store is written or a server removed,
// and the main window's server box and the dialog's own list follow.
#include <optional>
#include <string>
#include <string_view>

#include "servers/registry_backend.h"
#include "servers/server_definition.h"

namespace kelvary {

// The main window's server box, as the two dialogs change it.
class MainServerBox {
 public:
  virtual ~MainServerBox() = default;
  // Appends `name` as a new entry and makes that entry the current one.
  virtual void AddAndSelectServer(std::string_view name) = 0;
  // Removes the first entry of `name`, compared without regard to case as
  // the store compares server names, if the box has one (another running
  // copy may have added the server); then selects the first entry left.
  virtual void RemoveServerAndSelectFirst(std::string_view name) = 0;
};

// The add dialog's boxes when Add is pressed.
struct AddServerForm {
  std::string name;
  bool direct_access;  // the first option: the Essbase directory is reachable
  std::string path;
  RemoteLogin login;
};

enum class AddOutcome { Added, NameRefused };

// Writes the server the form describes and adds its name to the main box.
// A name the store cannot hold is refused: nothing is written or added.
AddOutcome AddServerFromForm(RegistryBackend& registry, const AddServerForm& form,
                             MainServerBox& main_box);

// The remove dialog as its Remove button sees it.
class RemoveServerDialogView {
 public:
  virtual ~RemoveServerDialogView() = default;
  // The name of the selected entry of the dialog's list; none when no entry
  // is selected.
  virtual std::optional<std::string> SelectedServer() = 0;
  // Asks `question` with Yes and No; true when the answer is Yes.
  virtual bool ConfirmRemoval(std::string_view question) = 0;
  // Removes the selected entry, leaving none selected.
  virtual void RemoveSelectedEntry() = 0;
};

// "Are you sure you want to delete " + name + "?"
std::string RemovalQuestion(std::string_view server_name);

// Removes the selected server after a Yes: its key, its entry in the main
// box (whose first entry is then selected) and its entry in the dialog's
// list. With no entry selected, or a No, nothing changes.
void RemoveSelectedServer(RegistryBackend& registry, RemoveServerDialogView& dialog,
                          MainServerBox& main_box);

}  // namespace kelvary
