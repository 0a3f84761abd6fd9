#pragma once
// Form1, the main window: the server list, the application box, the report
// list and the buttons of the status check, its menu bar and Timer1. It is
// the view of the check driver and of start-up; the handlers below carry
// the names of the events they answer.
#include <windows.h>
// winbase.h still defines Yield() as an empty macro for 16-bit code; it
// would rewrite CheckView::Yield below.
#undef Yield

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "servers/registry_backend.h"
#include "servers/server_dialog_actions.h"
#include "status/check_driver.h"
#include "status/essbase_library.h"
#include "status/finish_watch.h"
#include "ui/finish_notice_win32.h"
#include "ui/form_startup.h"
#include "ui/settings_file.h"
#include "win32/base_window.h"
#include "win32/window_layout_win32.h"

namespace kelvary {

// Control ids of Form1. The default and cancel buttons carry the ids the
// dialog keys send: Enter IDOK, Esc IDCANCEL.
namespace form1 {
inline constexpr int cmdOK = IDOK;
inline constexpr int cmdExit = IDCANCEL;
inline constexpr int Label1 = 1001;
inline constexpr int cboServers = 1002;
inline constexpr int Label2 = 1003;
inline constexpr int txtApp = 1004;
inline constexpr int chkCheck = 1005;
inline constexpr int lstCalcs = 1006;
inline constexpr int cmdNewWindow = 1007;
inline constexpr int chkDetail = 1008;

inline constexpr const char* kClassName = "KelvaryForm1";
inline constexpr const char* kTitle = "Kelvary";
inline constexpr UINT_PTR kTimer1Id = 1;
inline constexpr UINT kTimer1IntervalMs = 30000;
inline constexpr TwipsSize kClientSize{5265, 3405};
}  // namespace form1

// What Form1 reaches outside itself; main() passes the real ones, tests
// their own.
struct Form1Services {
  RegistryBackend& registry;
  SettingsFileAccess& settings_files;
  std::string executable_directory;
  std::string argument_tail;  // the command line after the program's name
  std::function<LoadedEssbase()> load_essbase;
  // Where the settings go when the program's folder cannot take them; empty:
  // nowhere else.
  std::string per_user_directory = {};
  // Where downloaded logs are copied to; empty: the program's folder.
  std::string log_copy_directory = {};
};

class Form1 final : public BaseWindow<Form1>,
                    public CheckView,
                    public StartUpView,
                    public MainServerBox {
 public:
  static constexpr const char* kClassName = form1::kClassName;

  explicit Form1(Form1Services services);
  ~Form1() override;

  // Creates the window, still hidden, and runs Form_Load. False when the
  // window cannot be created.
  bool Create();
  void Show(int show_command);

  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  bool Timer1Enabled() const { return timer1_enabled_; }
  const SettingsFile& settings_file() const { return settings_; }

  // The router: each case hands one message to one handler.
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  // CheckView and StartUpView: what the check and start-up see of the window.
  void ClearLines() override;
  void AppendLine(std::string_view line) override;
  void BeginReport(std::size_t lines, std::size_t bytes) override;
  void EndReport() override;
  std::string ServerName() override;
  std::string ApplicationName() override;
  void SetApplicationName(std::string_view text) override;
  bool DetailTicked() override;
  bool EstimatesShown() override;
  void SetOkEnabled(bool enabled) override;
  void SetExitEnabled(bool enabled) override;
  void SetAutoCheckEnabled(bool enabled) override;
  void SwitchAutoCheckOff() override;
  bool ShowError(std::string_view text) override;
  bool Yield() override;
  void AddServer(std::string_view name) override;
  void SelectServerAt(int index) override;

  // MainServerBox: what the add and remove dialogs change of cboServers.
  void AddAndSelectServer(std::string_view name) override;
  void RemoveServerAndSelectFirst(std::string_view name) override;

 private:
  // Message handlers.
  LRESULT OnCreate();
  LRESULT OnCommand(WPARAM wparam);
  LRESULT OnTimer(UINT_PTR timer_id);
  LRESULT OnActivate(bool active);
  LRESULT OnClose();
  LRESULT OnEndSession(bool ending);
  LRESULT OnDestroy();
  LRESULT OnDpiChanged(int dpi, const RECT& suggested);
  LRESULT OnGetDefaultId();

  // Event handlers of the window and its controls.
  void Form_Load();
  void Form_Unload();
  void cmdOK_Click();
  void cmdExit_Click();
  void chkCheck_Click();
  void Timer1_Timer();
  void cmdNewWindow_Click();
  void mnuEditCopy_Click();
  void mnuEditEstimates_Click();
  void txtApp_GotFocus();
  void cmdOK_GotFocus();
  void cmdExit_GotFocus();
  void cmdNewWindow_GotFocus();
  void PushButton_LostFocus();
  void mnuHelpOnline_Click();
  void mnuHelpAbout_Click();
  void mnuVersion_Click();
  void mnuHelpHelp_Click();
  void mnuServersAdd_Click();
  void mnuServersRemove_Click();

  static const CommandRoute<Form1> kRoutes[];

  void CloseForm();
  void ShowAsDefault(int id);
  void SetTimer1(bool enabled);
  bool ButtonEnabled(int id) const;
  std::string ControlText(int id) const;
  std::vector<std::string> ReportLines() const;
  void ShowFailure(const char* text);

  // The list as it stood when a check began: its lines, the first line in
  // view and the selection.
  struct ListPlace {
    std::vector<std::string> lines;
    LRESULT top;
    LRESULT selection;
  };
  void RunCheck();
  void TellFinishedCalculations(CheckOutcome outcome);
  ListPlace PlaceOfList() const;
  void KeepPlaceIfSameLines();
  void ShowEstimatesMark();

  Form1Services services_;
  SettingsFile settings_;
  CheckDriver check_;
  FinishWatch finish_watch_;
  FinishNotice finish_notice_;
  std::unique_ptr<DialogFont> font_;
  HWND last_focus_ = nullptr;
  bool timer1_enabled_ = false;
  const ListPlace* place_before_check_ = nullptr;  // while a check runs
  bool show_estimates_ = false;                     // "Show Estimates"
  bool report_shown_ = false;                       // the list holds the last check's report
};

}  // namespace kelvary
