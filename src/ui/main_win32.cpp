// Kelvary.exe: shows Form1 and runs its messages until it closes.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "servers/registry_backend.h"
#include "status/essbase_library.h"
#include "status/executable_directory.h"
#include "status/per_user_folder.h"
#include "ui/command_line.h"
#include "ui/form1_win32.h"
#include "ui/message_loop_win32.h"
#include "ui/settings_file.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show_command) {
  using namespace kelvary;
  KeepCurrentFolderOutOfLibrarySearch();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  const std::unique_ptr<RegistryBackend> registry = OpenUserRegistry();
  const std::unique_ptr<SettingsFileAccess> files = OpenSettingsFileAccess();
  const std::string program_directory = ExecutableDirectory();
  // The 8-bit command line may have lost characters of the program's own
  // name, but the application after it is text of the system code page, as
  // the window takes it.
  Form1 form(Form1Services{*registry, *files, program_directory, ArgumentTail(GetCommandLineA()),
                           LoadEssbaseLibrary, PerUserDirectory(),
                           LogCopyDirectory(program_directory)});
  if (!form.Create()) return 1;
  form.Show(show_command);
  return RunMessageLoop(form.Window());
}
