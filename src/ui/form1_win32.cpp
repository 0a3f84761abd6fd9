#include "ui/form1_win32.h"

#include <array>
#include <utility>

#include "base/case_map.h"
#include "base/path_text.h"
#include "servers/add_server_dialog_win32.h"
#include "servers/remove_server_dialog_win32.h"
#include "ui/command_line.h"
#include "ui/desktop_win32.h"
#include "ui/estimates_choice.h"
#include "ui/help_windows_win32.h"
#include "ui/maker_site.h"
#include "ui/message_loop_win32.h"
#include "ui/report_copy.h"
#include "ui/resource_ids.h"
#include "ui/update_check_win32.h"
#include "win32/control_text_win32.h"

namespace kelvary {
namespace {

// A fixed single border with a minimize button and no maximize button.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kTabStop = WS_TABSTOP;

constexpr const char* kNewWindowFailedText = "Kelvary could not start a new window.";
constexpr const char* kClipboardFailedText = "Kelvary could not open the clipboard.";
constexpr UINT kFailureStyle = MB_OK | MB_ICONERROR;

// The push buttons tell when they get and lose the focus, so that the
// default-button border can follow it.
constexpr DWORD kPushButton = BS_PUSHBUTTON | BS_NOTIFY | kTabStop;
constexpr std::array<int, 3> kPushButtons{form1::cmdNewWindow, form1::cmdExit, form1::cmdOK};

// The controls in the order Tab walks them; each label comes just before
// the box it names. Positions and sizes in twips of the client area.
constexpr std::array<ControlLayout, 10> kForm1Controls{{
    {form1::Label1, "STATIC", "Server:", {120, 120, 615, 255}, SS_LEFT, 0},
    {form1::cboServers, "COMBOBOX", "", {840, 120, 3135, 315},
     CBS_DROPDOWNLIST | WS_VSCROLL | kTabStop, 0},
    {form1::Label2, "STATIC", "Application:", {120, 600, 1215, 255}, SS_LEFT, 0},
    {form1::txtApp, "EDIT", "", {1440, 600, 3495, 285}, ES_LEFT | ES_AUTOHSCROLL | kTabStop,
     WS_EX_CLIENTEDGE},
    {form1::chkCheck, "BUTTON", "Automatically Re-Check Kelvary Every 30 Seconds",
     {120, 960, 4890, 240}, BS_AUTOCHECKBOX | kTabStop, 0},
    {form1::lstCalcs, "LISTBOX", "", {120, 1680, 4935, 1035},
     LBS_NOINTEGRALHEIGHT | WS_VSCROLL | kTabStop, WS_EX_CLIENTEDGE},
    {form1::cmdExit, "BUTTON", "Close", {2160, 2880, 1095, 375}, kPushButton, 0},
    {form1::cmdOK, "BUTTON", "Check Calculation", {3360, 2880, 1695, 375},
     BS_DEFPUSHBUTTON | BS_NOTIFY | kTabStop, 0},
    {form1::cmdNewWindow, "BUTTON", "Open New Window", {120, 2880, 1695, 375}, kPushButton, 0},
    {form1::chkDetail, "BUTTON", "Show Detail on Calculation Intervals", {120, 1320, 4335, 195},
     BS_AUTOCHECKBOX | kTabStop, 0},
}};

HICON LoadProgramIcon(int metric_x, int metric_y) {
  return static_cast<HICON>(LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(IDI_KELVARY),
                                       IMAGE_ICON, GetSystemMetrics(metric_x),
                                       GetSystemMetrics(metric_y), LR_DEFAULTCOLOR | LR_SHARED));
}

bool IsPushButton(HWND window) {
  const LRESULT code = SendMessageA(window, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

}  // namespace

const CommandRoute<Form1> Form1::kRoutes[] = {
    {form1::cmdOK, BN_CLICKED, &Form1::cmdOK_Click},
    {form1::cmdExit, BN_CLICKED, &Form1::cmdExit_Click},
    {form1::chkCheck, BN_CLICKED, &Form1::chkCheck_Click},
    {form1::cmdNewWindow, BN_CLICKED, &Form1::cmdNewWindow_Click},
    {form1::txtApp, EN_SETFOCUS, &Form1::txtApp_GotFocus},
    {form1::cmdOK, BN_SETFOCUS, &Form1::cmdOK_GotFocus},
    {form1::cmdExit, BN_SETFOCUS, &Form1::cmdExit_GotFocus},
    {form1::cmdNewWindow, BN_SETFOCUS, &Form1::cmdNewWindow_GotFocus},
    {form1::cmdOK, BN_KILLFOCUS, &Form1::PushButton_LostFocus},
    {form1::cmdExit, BN_KILLFOCUS, &Form1::PushButton_LostFocus},
    {form1::cmdNewWindow, BN_KILLFOCUS, &Form1::PushButton_LostFocus},
    {IDM_EDIT_COPY, 0, &Form1::mnuEditCopy_Click},
    {IDM_EDIT_ESTIMATES, 0, &Form1::mnuEditEstimates_Click},
    {IDM_HELP_ONLINE, 0, &Form1::mnuHelpOnline_Click},
    {IDM_HELP_ABOUT, 0, &Form1::mnuHelpAbout_Click},
    {IDM_HELP_VERSION, 0, &Form1::mnuVersion_Click},
    {IDM_HELP_HELP, 0, &Form1::mnuHelpHelp_Click},
    {IDM_SERVERS_ADD, 0, &Form1::mnuServersAdd_Click},
    {IDM_SERVERS_REMOVE, 0, &Form1::mnuServersRemove_Click},
};

Form1::Form1(Form1Services services)
    : services_(std::move(services)),
      settings_(services_.settings_files, SettingsPathIn(services_.executable_directory),
                services_.per_user_directory),
      check_(*this, CheckDependencies{services_.registry, SystemCaseMap(),
                                      services_.log_copy_directory.empty()
                                          ? services_.executable_directory
                                          : services_.log_copy_directory,
                                      '\\', &settings_, services_.load_essbase}) {}

Form1::~Form1() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool Form1::Create() {
  if (!RegisterWindowClass(LoadProgramIcon(SM_CXICON, SM_CYICON),
                           LoadProgramIcon(SM_CXSMICON, SM_CYSMICON))) {
    return false;
  }
  HMENU menu = LoadMenuA(ProgramInstance(), MAKEINTRESOURCEA(IDR_FORM1_MENU));
  if (!CreateWindowOfClass(form1::kTitle, kWindowStyle, 0, menu)) return false;
  Form_Load();
  return true;
}

void Form1::Show(int show_command) {
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_COMMAND: return OnCommand(wparam);
    case WM_TIMER: return OnTimer(wparam);
    case WM_ACTIVATE: return OnActivate(LOWORD(wparam) != WA_INACTIVE);
    case WM_CLOSE: return OnClose();
    case WM_QUERYENDSESSION: return TRUE;  // Windows may end the session; we save on the end
    case WM_ENDSESSION: return OnEndSession(wparam != FALSE);
    case WM_DESTROY: return OnDestroy();
    case WM_DPICHANGED: return OnDpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
    case DM_GETDEFID: return OnGetDefaultId();
    default: return DefWindowProcA(hwnd_, message, wparam, lparam);
  }
}

// ---- Message handlers -----------------------------------------------------

LRESULT Form1::OnCreate() {
  const int dpi = WindowDpi(hwnd_);
  font_ = std::make_unique<DialogFont>(dpi);
  if (!CreateControls(hwnd_, kForm1Controls, dpi, font_->Handle())) return -1;
  SizeWindowForClient(hwnd_, form1::kClientSize, dpi);
  return 0;
}

LRESULT Form1::OnCommand(WPARAM wparam) {
  RouteCommand(*this, kRoutes, wparam);
  return 0;
}

LRESULT Form1::OnTimer(UINT_PTR timer_id) {
  if (timer_id == form1::kTimer1Id) Timer1_Timer();
  return 0;
}

// A plain window, unlike a dialog, does not keep its focused control when
// it loses and regains activation; this does it.
LRESULT Form1::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
    return 0;
  }
  HWND target = last_focus_ && IsWindow(last_focus_) ? last_focus_
                                                      : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (target) SetFocus(target);
  return 0;
}

LRESULT Form1::OnClose() {
  CloseForm();
  return 0;
}

LRESULT Form1::OnEndSession(bool ending) {
  if (ending) CloseForm();
  return 0;
}

LRESULT Form1::OnDestroy() {
  SetTimer1(false);
  finish_notice_.Remove();
  PostQuitMessage(0);
  return 0;
}

LRESULT Form1::OnDpiChanged(int dpi, const RECT& suggested) {
  auto font = std::make_unique<DialogFont>(dpi);
  LayoutControls(hwnd_, kForm1Controls, dpi, font->Handle());
  font_ = std::move(font);  // the old font goes once no control uses it
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SizeWindowForClient(hwnd_, form1::kClientSize, dpi);
  return 0;
}

// Enter presses the push button that has the focus, or else cmdOK.
LRESULT Form1::OnGetDefaultId() {
  HWND focus = GetFocus();
  const bool on_button = focus && IsChild(hwnd_, focus) && IsPushButton(focus);
  return MAKELRESULT(on_button ? GetDlgCtrlID(focus) : form1::cmdOK, DC_HASDEFID);
}

// ---- Event handlers -------------------------------------------------------

void Form1::Form_Load() {
  show_estimates_ = ReadShowEstimates(services_.registry);
  ShowEstimatesMark();
  LoadMainWindow(*this, services_.registry, settings_, services_.argument_tail);
}

void Form1::Form_Unload() { settings_.WriteQuery(ServerName(), ApplicationName()); }

// Enter reaches this through the dialog keys even while cmdOK is disabled.
void Form1::cmdOK_Click() {
  if (ButtonEnabled(form1::cmdOK)) RunCheck();
}

// Esc reaches this through the dialog keys even while cmdExit is disabled.
void Form1::cmdExit_Click() {
  if (ButtonEnabled(form1::cmdExit)) CloseForm();
}

void Form1::chkCheck_Click() {
  SetTimer1(IsDlgButtonChecked(hwnd_, form1::chkCheck) == BST_CHECKED);
}

// The driver itself declines a tick that comes while a check is running.
void Form1::Timer1_Timer() { RunCheck(); }

void Form1::cmdNewWindow_Click() {
  const std::string command =
      NewInstanceCommandLine(services_.executable_directory, PathFromSystemText(ApplicationName()));
  if (!StartProcess(command)) ShowFailure(kNewWindowFailedText);
}

void Form1::mnuEditCopy_Click() {
  if (!PutTextOnClipboard(hwnd_, ReportClipboardText(ReportLines()))) {
    ShowFailure(kClipboardFailedText);
  }
}

// Takes effect at once on a report that is shown, but not in the middle of
// a check (its menu commands arrive while it yields): that check's report
// follows the new choice anyway.
void Form1::mnuEditEstimates_Click() {
  show_estimates_ = !show_estimates_;
  ShowEstimatesMark();
  WriteShowEstimates(services_.registry, show_estimates_);
  if (report_shown_ && !place_before_check_) {
    WriteReport(check_.scan_state(), ReportOptions{DetailTicked(), show_estimates_}, *this);
  }
}

void Form1::ShowEstimatesMark() {
  CheckMenuItem(GetMenu(hwnd_), IDM_EDIT_ESTIMATES, MF_BYCOMMAND | (show_estimates_ ? MF_CHECKED : MF_UNCHECKED));
}

// Posted rather than done at once: a click into the box sets the caret
// after the focus arrives, which would undo an immediate selection.
// The thick border marks what Enter presses (OnGetDefaultId): the focused
// push button, or else cmdOK. A button losing the focus hands the border back
// to cmdOK; one gaining it, which is told after, takes it.
void Form1::cmdOK_GotFocus() { ShowAsDefault(form1::cmdOK); }
void Form1::cmdExit_GotFocus() { ShowAsDefault(form1::cmdExit); }
void Form1::cmdNewWindow_GotFocus() { ShowAsDefault(form1::cmdNewWindow); }
void Form1::PushButton_LostFocus() { ShowAsDefault(form1::cmdOK); }

void Form1::ShowAsDefault(int id) {
  for (int button : kPushButtons) {
    const WPARAM look = button == id ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    SendMessageA(Control(button), BM_SETSTYLE, look | BS_NOTIFY, TRUE);
  }
}

void Form1::txtApp_GotFocus() { PostMessageA(Control(form1::txtApp), EM_SETSEL, 0, -1); }

void Form1::mnuHelpOnline_Click() { OpenInBrowser(OnlineHelpAddress()); }

void Form1::mnuHelpAbout_Click() { ShowAboutWindow(hwnd_); }

void Form1::mnuVersion_Click() { CheckForNewerVersion(hwnd_); }

void Form1::mnuHelpHelp_Click() { ShowHelpWindow(hwnd_); }

void Form1::mnuServersAdd_Click() { ShowAddServerDialog(hwnd_, services_.registry, *this); }

void Form1::mnuServersRemove_Click() { ShowRemoveServerDialog(hwnd_, services_.registry, *this); }

// ---- The view of the check and of start-up --------------------------------

void Form1::ClearLines() { SendMessageA(Control(form1::lstCalcs), LB_RESETCONTENT, 0, 0); }

void Form1::AppendLine(std::string_view line) {
  const std::string text(line);
  SendMessageA(Control(form1::lstCalcs), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The list neither repaints nor resizes its scroll bar while the report
// goes in, and has room for it from the start: one paint at the end.
void Form1::BeginReport(std::size_t lines, std::size_t bytes) {
  HWND list = Control(form1::lstCalcs);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_INITSTORAGE, lines, static_cast<LPARAM>(bytes + lines));
}

void Form1::EndReport() {
  KeepPlaceIfSameLines();
  HWND list = Control(form1::lstCalcs);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

std::string Form1::ServerName() { return ControlText(form1::cboServers); }

std::string Form1::ApplicationName() { return ControlText(form1::txtApp); }

void Form1::SetApplicationName(std::string_view text) {
  SetWindowTextA(Control(form1::txtApp), std::string(text).c_str());
}

bool Form1::DetailTicked() { return IsDlgButtonChecked(hwnd_, form1::chkDetail) == BST_CHECKED; }

bool Form1::EstimatesShown() { return show_estimates_; }

void Form1::SetOkEnabled(bool enabled) { EnableWindow(Control(form1::cmdOK), enabled); }

void Form1::SetExitEnabled(bool enabled) { EnableWindow(Control(form1::cmdExit), enabled); }

void Form1::SetAutoCheckEnabled(bool enabled) { EnableWindow(Control(form1::chkCheck), enabled); }

void Form1::SwitchAutoCheckOff() {
  CheckDlgButton(hwnd_, form1::chkCheck, BST_UNCHECKED);
  SetTimer1(false);
}

bool Form1::ShowError(std::string_view text) {
  MessageBoxA(hwnd_, std::string(text).c_str(), std::string(kCheckMessageTitle).c_str(),
              kCheckMessageStyle);
  return hwnd_ != nullptr;
}

bool Form1::Yield() { return ProcessPendingMessages(hwnd_) && hwnd_ != nullptr; }

void Form1::AddServer(std::string_view name) {
  SendMessageA(Control(form1::cboServers), CB_ADDSTRING, 0,
               reinterpret_cast<LPARAM>(std::string(name).c_str()));
}

void Form1::SelectServerAt(int index) {
  SendMessageA(Control(form1::cboServers), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// ---- The server box as the dialogs change it -------------------------------

// The new entry is selected by its place: an earlier entry of the same name
// stays where it is.
void Form1::AddAndSelectServer(std::string_view name) {
  const LRESULT index = SendMessageA(Control(form1::cboServers), CB_ADDSTRING, 0,
                                     reinterpret_cast<LPARAM>(std::string(name).c_str()));
  SelectServerAt(static_cast<int>(index));
}

// CB_FINDSTRINGEXACT compares without regard to case, as the store compares
// server names. An empty box selects nothing.
void Form1::RemoveServerAndSelectFirst(std::string_view name) {
  HWND box = Control(form1::cboServers);
  const LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(std::string(name).c_str()));
  if (index != CB_ERR) SendMessageA(box, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SelectServerAt(0);
}

// ---- Helpers --------------------------------------------------------------

// The place is that of this check: a tick handled during one of its yields
// (which the driver declines) keeps its own and hands this one back.
void Form1::RunCheck() {
  const ListPlace before = PlaceOfList();
  const ListPlace* outer = std::exchange(place_before_check_, &before);
  const CheckOutcome outcome = check_.cmdOK_Click();
  // A check that was skipped or abandoned left the list as it was.
  if (outcome != CheckOutcome::Skipped && outcome != CheckOutcome::Abandoned) {
    report_shown_ = outcome == CheckOutcome::Reported;
  }
  place_before_check_ = outer;
  if (outcome != CheckOutcome::Abandoned) TellFinishedCalculations(outcome);
}

// A user who leaves the automatic re-check on is waiting to hear when a
// calculation is done.
void Form1::TellFinishedCalculations(CheckOutcome outcome) {
  finish_notice_.Show(hwnd_, finish_watch_.AfterCheck(outcome, ServerName(), ApplicationName(),
                                                      check_.scan_state(), timer1_enabled_));
}

Form1::ListPlace Form1::PlaceOfList() const {
  HWND list = Control(form1::lstCalcs);
  return {ReportLines(), SendMessageA(list, LB_GETTOPINDEX, 0, 0),
          SendMessageA(list, LB_GETCURSEL, 0, 0)};
}

// A re-check that finds the same calculations leaves the list where the
// user had scrolled it and keeps the line picked; a different report starts
// at the top with nothing picked, as the list shows any new content.
void Form1::KeepPlaceIfSameLines() {
  if (!place_before_check_ || place_before_check_->lines != ReportLines()) return;
  HWND list = Control(form1::lstCalcs);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(place_before_check_->selection), 0);
  SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(place_before_check_->top), 0);
}

// Every way the window closes: the settings file first, then the window;
// its WM_DESTROY ends the program.
void Form1::CloseForm() {
  Form_Unload();
  DestroyWindow(hwnd_);
}

// Setting the timer again restarts its 30 seconds.
void Form1::SetTimer1(bool enabled) {
  if (enabled) {
    SetTimer(hwnd_, form1::kTimer1Id, form1::kTimer1IntervalMs, nullptr);
  } else {
    KillTimer(hwnd_, form1::kTimer1Id);
  }
  timer1_enabled_ = enabled;
}

bool Form1::ButtonEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

std::string Form1::ControlText(int id) const { return kelvary::ControlText(Control(id)); }

std::vector<std::string> Form1::ReportLines() const {
  HWND list = Control(form1::lstCalcs);
  const auto count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(ListBoxItemText(list, i));
  return lines;
}

void Form1::ShowFailure(const char* text) {
  MessageBoxA(hwnd_, text, form1::kTitle, kFailureStyle);
}

}  // namespace kelvary
