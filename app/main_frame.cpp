#include "app/main_frame.h"

#include <algorithm>
#include <utility>

#include "app/describe.h"
#include "app/frame/globals.h"
#include "app/frame/procedure_window.h"
#include "app/frame/program.h"
#include "app/help_windows.h"
#include "app/password_windows.h"
#include "cases/browse_case_close_summary.h"
#include "cases/browse_rate_milage.h"
#include "cases/entry_lists.h"
#include "cases/totals_windows.h"
#include "cases/worksheets.h"
#include "platform/os/services.h"
#include "reports/case_close_summary_report.h"
#include "reports/list_reports.h"
#include "reports/print_list.h"
#include "reports/worksheet_reports.h"
#include "platform/types/clock.h"
#include "platform/types/picture.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace app {

namespace {

using platform::ControlKind;
using platform::StdAction;
using platform::describe::button;
using platform::describe::control;
using platform::Window;
using namespace frame;

// One entry of the menu bar as the frame's description holds it.
struct MenuEntry {
  int number;
  int parent;  // 0: the menu bar itself
  ControlKind kind;
  const char* text;
  const char* statusText;
  bool hidden;
  StdAction action;
};

constexpr ControlKind M = ControlKind::Menu;
constexpr ControlKind I = ControlKind::Item;
constexpr StdAction None = StdAction::None;

// clang-format off
constexpr MenuEntry MenuBar[] = {
    {FILEMENU, 0, M, "&File", "", false, None},
    {PRINTSETUP, FILEMENU, I, "&Print Setup ...", "Setup printer", false, StdAction::PrintSetup},
    {FILESETUPNEWPASSWORD, FILEMENU, I, "Set up New Password", "", false, None},
    {FILESEPARATOR, FILEMENU, I, "", "", false, None},
    {EXIT, FILEMENU, I, "E&xit", "Exit this application", false, StdAction::Close},
    {EDITMENU, 0, M, "&Edit", "", false, None},
    {CUT, EDITMENU, I, "Cu&t", "Cut Selection To Clipboard", false, StdAction::Cut},
    {COPY, EDITMENU, I, "&Copy", "Copy Selection To Clipboard", false, StdAction::Copy},
    {PASTE, EDITMENU, I, "&Paste", "Paste From Clipboard", false, StdAction::Paste},
    {BROWSEMENU, 0, M, "&Browse", "", false, None},
    {BROWSECASECLOSESUMMARY, BROWSEMENU, I, "OPEN MY CASE FILES", "Browse CaseCloseSummary", false, None},
    {BROWSEHOURLY, BROWSEMENU, I, "Browse the HOURLY file", "Browse HOURLY", true, None},
    {BROWSERATEMILAGE, BROWSEMENU, I, "DEFINE NEW MILEAGE RATE", "Browse RateMilage", false, None},
    {BROWSETOTALS, BROWSEMENU, I, "Browse the TOTALS file", "Browse TOTALS", true, None},
    {REPORTMENU, 0, M, "&Reports", "Report data", true, None},
    {REPORTCASECLOSESUMMARY, REPORTMENU, M, "Report the CaseCloseSummary file", "", false, None},
    {REPORTCASECLOSESUMMARYBYCCS_KEYCASENAME, REPORTCASECLOSESUMMARY, I, "Print by Case Name", "Print ordered by Case Name", false, None},
    {REPORTCASECLOSESUMMARYBYCCS_KEYCASENUMBER, REPORTCASECLOSESUMMARY, I, "Print by Case Number", "Print ordered by Case Number", false, None},
    {REPORTHOURLY, REPORTMENU, M, "Report the HOURLY file", "", false, None},
    {REPORTHOURLYBYHOU_KEYCASENUMBER, REPORTHOURLY, I, "Print by HOU:KeyCaseNumber key", "Print ordered by the HOU:KeyCaseNumber key", false, None},
    {REPORTHOURLYBYHOU_KEYCASENAME, REPORTHOURLY, I, "Print by Case Name", "Print ordered by Case Name", false, None},
    {REPORTHOURLYBYHOU_KEYDATE, REPORTHOURLY, I, "Print by Date", "Print ordered by Date", false, None},
    {REPORTHOURLYBYHOU_KEYMILAGERATE, REPORTHOURLY, I, "Print by Milage Rate", "Print ordered by Milage Rate", false, None},
    {REPORTRATEMILAGE, REPORTMENU, M, "Report the RateMilage file", "", false, None},
    {REPORTRATEMILAGEBYRTM_KEYMILAGERATE, REPORTRATEMILAGE, I, "Print by Milage Rate", "Print ordered by Milage Rate", false, None},
    {REPORTRATEMILAGEBYRTM_KEYDATE, REPORTRATEMILAGE, I, "Print by Date", "Print ordered by Date", false, None},
    {REPORTTOTALSBYTOT_KEYCASENUMBER, REPORTMENU, I, "Print by Case Number", "Print ordered by Case Number", false, None},
    {WINDOWMENU, 0, M, "&Window", "", true, StdAction::WindowList},
    {TILE, WINDOWMENU, I, "T&ile", "Arrange multiple opened windows", false, StdAction::Tile},
    {CASCADE, WINDOWMENU, I, "&Cascade", "Arrange multiple opened windows", false, StdAction::Cascade},
    {ARRANGE, WINDOWMENU, I, "&Arrange Icons", "Arrange the icons for minimized windows", false, StdAction::ArrangeIcons},
    {HELPMENU, 0, M, "&Help", "", false, None},
    {HELPSEARCH, HELPMENU, I, "&Help", "Search for help on a subject", false, None},
    {HELPONHELP, HELPMENU, I, "&About LANVik Trial", "Version", false, None},
    {LANVIK, 0, M, "Lanvik", "", false, None},
};
// clang-format on

struct ToolbarEntry {
  int number;
  const char* text;
  const char* icon;
};

constexpr ToolbarEntry ToolbarButtons[] = {
    {BUTTON1, "OPEN MY CASE FILES", "folder.ico"},
    {BUTTON1_2, "ADD NEW MILEAGE RATE", "car.ico"},
    {BUTTON1_3, "SET UP NEW PASSWORD ", "key.ico"},
};

void describeFrame(Window& w) {
  for (const MenuEntry& m : MenuBar)
    // The information entry shows text only; it cannot be opened.
    w.add(control(m.number, m.kind, {}, m.text, m.parent)
              .status(m.statusText)
              .hidden(m.hidden)
              .action(m.action)
              .disabled(m.number == LANVIK));
  w.add(control(TOOLBAR, ControlKind::Toolbar, {}));
  for (const ToolbarEntry& b : ToolbarButtons)
    w.add(button(b.number, {0, 0, 128, 26}, b.text).in(TOOLBAR).icon(b.icon).font({"Verdana", 8}).colour(0));
}

platform::WindowSpec frameSpec() {
  platform::WindowSpec s;
  s.kind = platform::WindowKind::Frame;
  s.caption = FrameCaption;
  s.rect = {0, 0, 654, 318};
  s.resizable = true;
  s.maximize = true;
  s.centred = true;
  s.systemMenu = true;
  s.maximizeBox = true;
  s.icon = ProgramIcon;
  s.backgroundPicture = "logoBack.jpg";
  s.backgroundTiled = true;
  s.font = {"MS Sans Serif", 8};
  s.statusZones = {-1, 80, 120, 45};
  return s;
}

class MainWindow final : public ProcedureWindow {
 public:
  MainWindow(Window& w, const std::vector<FrameCommand>& commands) : ProcedureWindow(w, "Main"), commands_(commands) {}

  // The menus' commands first, then the class library's handling (standard
  // actions, the toolbar object), then the toolbar's buttons.
  int OnAccepted() override {
    const FrameCommand* command = find(event().control);
    const bool onToolbar = command && window().control(command->control).parent() == TOOLBAR;
    if (command && !onToolbar) carryOut(*command);
    const int level = ProcedureWindow::OnAccepted();
    if (command && onToolbar) carryOut(*command);
    return level;
  }

 protected:
  // The gate, on this thread, before the frame's window opens; a wrong
  // password ends the program inside it.
  int SetupMembers() override {
    PROCEDURE_PASSWORD1();
    return platform::LevelContinue;
  }

  void SetupOpenWindow() override {
    window().control(LANVIK).setText(InformationText());
    window().post(platform::EventKind::Accepted, BROWSECASECLOSESUMMARY);
  }

 private:
  const FrameCommand* find(int control) const {
    auto it = std::find_if(commands_.begin(), commands_.end(),
                           [control](const FrameCommand& c) { return c.control == control; });
    return it == commands_.end() ? nullptr : &*it;
  }

  // A START that creates no thread leaves nothing visible; the command can
  // be given again.
  static void carryOut(const FrameCommand& command) {
    if (!command.run) return;
    const std::string caseNumber = G_CASENUMBER().text();
    if (command.action == CommandAction::Call)
      command.run(caseNumber);
    else
      StartThread([run = command.run, caseNumber] { run(caseNumber); }, command.stack);
  }

  const std::vector<FrameCommand>& commands_;
};

}  // namespace

const std::vector<FrameCommand>& FrameCommands() {
  using A = CommandAction;
  // An entry without a procedure starts nothing until that procedure is
  // built and named here.
  static const std::vector<FrameCommand> commands = {
      {FILESETUPNEWPASSWORD, "PASSWORD", A::Start, 25000, WithoutCase<PASSWORD>},
      {BROWSECASECLOSESUMMARY, "BrowseCaseCloseSummary", A::Start, 50000, WithoutCase<cases::BrowseCaseCloseSummary>},
      {BROWSEHOURLY, "BrowseHOURLY", A::Start, 50000, WithoutCase<cases::BrowseHOURLY>},
      {BROWSERATEMILAGE, "BrowseRateMilage", A::Start, 50000, WithoutCase<cases::BrowseRateMilage>},
      {BROWSETOTALS, "BrowseTOTALS", A::Start, 50000, WithoutCase<cases::BrowseTOTALS>},
      {REPORTCASECLOSESUMMARYBYCCS_KEYCASENAME, "ReportCaseCloseSummaryByCCS:KeyCaseName", A::Start, 50000,
       WithoutCase<reports::ReportCaseCloseSummaryByCCS_KeyCaseName>},
      {REPORTCASECLOSESUMMARYBYCCS_KEYCASENUMBER, "ReportCaseCloseSummaryByCCS:KeyCaseNumber", A::Start, 50000,
       reports::ReportCaseCloseSummaryByCCS_KeyCaseNumber},
      {REPORTHOURLYBYHOU_KEYCASENUMBER, "PRT_InCOURT", A::Start, 50000, reports::PRT_InCOURT},
      {REPORTHOURLYBYHOU_KEYCASENAME, "ReportHOURLYByHOU:KeyCaseName", A::Start, 50000,
       WithoutCase<reports::ReportHOURLYByHOU_KeyCaseName>},
      {REPORTHOURLYBYHOU_KEYDATE, "ReportHOURLYByHOU:KeyDate", A::Start, 50000,
       WithoutCase<reports::ReportHOURLYByHOU_KeyDate>},
      {REPORTHOURLYBYHOU_KEYMILAGERATE, "ReportHOURLYByHOU:KeyMilageRate", A::Start, 50000,
       WithoutCase<reports::ReportHOURLYByHOU_KeyMilageRate>},
      {REPORTRATEMILAGEBYRTM_KEYMILAGERATE, "ReportRateMilageByRTM:KeyMilageRate", A::Start, 50000,
       WithoutCase<reports::ReportRateMilageByRTM_KeyMilageRate>},
      {REPORTRATEMILAGEBYRTM_KEYDATE, "ReportRateMilageByRTM:KeyDate", A::Start, 50000,
       WithoutCase<reports::ReportRateMilageByRTM_KeyDate>},
      {REPORTTOTALSBYTOT_KEYCASENUMBER, "ReportTOTALSByTOT:KeyCaseNumber", A::Start, 50000,
       WithoutCase<reports::ReportTOTALSByTOT_KeyCaseNumber>},
      {HELPSEARCH, "FAQ", A::Start, 25000, WithoutCase<FAQ>},
      {HELPONHELP, "SPLASH", A::Call, 0, WithoutCase<SPLASH>},
      {BUTTON1, "BrowseCaseCloseSummary", A::Start, 25000, WithoutCase<cases::BrowseCaseCloseSummary>},
      {BUTTON1_2, "BrowseRateMilage", A::Start, 25000, WithoutCase<cases::BrowseRateMilage>},
      {BUTTON1_3, "PASSWORD", A::Start, 25000, WithoutCase<PASSWORD>},
  };
  return commands;
}

std::string InformationText() {
  const std::string user = platform::currentUserName().value_or("Invalid");
  return platform::osVersionText() + "  " + platform::formatDay(platform::today(), platform::Picture::of("D17")) +
         "  " + platform::formatTime(platform::clockTime(), platform::Picture::of("T07")) + " [" + user + "]";
}

void ConnectProcedures() {
  // The worksheets' print buttons, by the printout each names.
  const std::pair<std::string_view, void (*)(const std::string&)> worksheetReports[] = {
      {"PRT_InCOURT", reports::PRT_InCOURT},
      {"PRT_OutCOURT", reports::PRT_OutCOURT},
      {"PRT_OTHER", reports::PRT_OTHER},
      {"PRT_OTHER_NON", reports::PRT_OTHER_NON},
  };
  for (cases::WorksheetPrintCall& c : cases::WorksheetPrintCalls())
    for (const auto& [procedure, report] : worksheetReports)
      if (c.procedure == procedure) c.call = report;
  // The case list's "PRINT ALL FORMS" opens the printing window.
  for (cases::CaseListCall& c : cases::CaseListCalls())
    if (std::string_view(c.procedure) == "PRINT_LIST") c.call = reports::PRINT_LIST;
}

void MainWithCommands(const std::vector<FrameCommand>& commands) {
  ConnectProcedures();
  Window w(frameSpec());
  describeFrame(w);
  MainWindow thisWindow(w, commands);
  RunProcedureWindow(thisWindow);
}

void Main() { MainWithCommands(FrameCommands()); }

}  // namespace app
