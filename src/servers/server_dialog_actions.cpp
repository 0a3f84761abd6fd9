#include "servers/server_dialog_actions.h"

#include "servers/registry_store.h"

namespace kelvary {

namespace {
constexpr std::string_view kQuestionStart = "Are you sure you want to delete ";
constexpr std::string_view kQuestionEnd = "?";
}  // namespace

AddOutcome AddServerFromForm(RegistryBackend& registry, const AddServerForm& form,
                             MainServerBox& main_box) {
  const bool written = form.direct_access ? AddDirectServer(registry, form.name, form.path)
                                          : AddRemoteServer(registry, form.name, form.login);
  if (!written) {
    return AddOutcome::NameRefused;
  }
  main_box.AddAndSelectServer(form.name);
  return AddOutcome::Added;
}

std::string RemovalQuestion(std::string_view server_name) {
  std::string question(kQuestionStart);
  question += server_name;
  question += kQuestionEnd;
  return question;
}

void RemoveSelectedServer(RegistryBackend& registry, RemoveServerDialogView& dialog,
                          MainServerBox& main_box) {
  const std::optional<std::string> name = dialog.SelectedServer();
  if (!name || !dialog.ConfirmRemoval(RemovalQuestion(*name))) {
    return;
  }
  RegRemoveKey(registry, RegRoot::CurrentUser, ServerKeyPath(*name));
  main_box.RemoveServerAndSelectFirst(*name);
  dialog.RemoveSelectedEntry();
}

}  // namespace kelvary
