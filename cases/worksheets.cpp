#include "cases/worksheets.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/frame/globals.h"
#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "cases/browse_manager.h"
#include "cases/column_totals.h"
#include "cases/list_window.h"
#include "cases/update_other.h"
#include "cases/update_time_entry.h"
#include "dictionary/dictionary.h"
#include "platform/lib/list_view.h"
#include "platform/lib/step_managers.h"
#include "platform/ui/control.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace worksheet;
using namespace platform::describe;
using dictionary::HOURLYField;
using platform::ControlKind;
using platform::Font;
using platform::Justify;
using platform::Rect;

WorksheetPrintCall printCalls[] = {
    {BUTTON5, "PRT_InCOURT", nullptr},
    {BUTTON5, "PRT_OutCOURT", nullptr},
    {BUTTON4, "PRT_OTHER", nullptr},
    {BUTTON4_2, "PRT_OTHER_NON", nullptr},
};

const WorksheetPrintCall* printCall(const char* procedure) {
  for (const WorksheetPrintCall& c : printCalls)
    if (std::string(c.procedure) == procedure) return &c;
  return nullptr;
}

// --- what tells the three apart ----------------------------------------------------

struct Column {
  const char* heading;
  HOURLYField field;
  const char* picture;
  int width;
};

struct Section {
  int control;
  const char* prompt;
  HOURLYField field;
  const char* picture;
};

struct Print {
  int control;
  const char* caption;
  const char* procedure;
};

// A row of column totals under a list: its prompt and totals first..last.
struct TotalsRow {
  const char* prompt;
  int first, last;
  const char* picture;
};

struct Sheet {
  const char* procedure;
  const char* caption;
  const char* tab;
  HOURLYField filter;  // the stored amount that is not zero
  std::vector<Column> columns;
  TotalsRow totals;
  std::vector<Section> sections;
  void (*form)();
  bool view;
  std::vector<Print> prints;
  AmountRules rules;
  bool tab2Totals, tab3Totals;  // the hidden tabs show totals under their lists
  int width;
};

constexpr int DateWidth = 48;
constexpr int DescriptionWidth = 128;
constexpr int HoursWidth = 48;
constexpr int OutHoursWidth = 66;
constexpr int AmountWidth = 46;

constexpr const char* Hours = "N-7.1B";
constexpr const char* Money = "N$-10.2B";
constexpr const char* SectionMoney = "N$-17.2B";
constexpr const char* Dashes = "--------------------------------------";

std::vector<Column> inCourtColumns(HOURLYField date, const char* datePicture, HOURLYField description) {
  return {{"Date", date, datePicture, DateWidth},
          {"Brief Description Services", description, "s50", DescriptionWidth},
          {"Arraig/Plea", dictionary::HOU_ARRAIGNMENTPLEA, Hours, HoursWidth},
          {"Motions/Requests", dictionary::HOU_MOTIONSREQUESTS, Hours, HoursWidth},
          {"Bail", dictionary::HOU_BAILHEARINGS, Hours, HoursWidth},
          {"Sentence", dictionary::HOU_SENTENCEHEARINGS, Hours, HoursWidth},
          {"Trial", dictionary::HOU_TRIAL, Hours, HoursWidth},
          {"Revocation", dictionary::HOU_REVOCATIONHEARINGS, Hours, HoursWidth},
          {"Appeals", dictionary::HOU_APPEALSCOURT, Hours, HoursWidth},
          {"Other", dictionary::HOU_OTHERIN, Hours, HoursWidth}};
}

std::vector<Column> outOfCourtColumns(HOURLYField date, const char* datePicture, HOURLYField description,
                                      const char* interviews) {
  return {{"Date", date, datePicture, DateWidth},
          {"Brief Description Services", description, "s50", DescriptionWidth},
          {interviews, dictionary::HOU_INTERVIEWSCONFERENCES, Hours, OutHoursWidth},
          {"Review Records", dictionary::HOU_REVIEWRECORDS, Hours, OutHoursWidth},
          {"Legal Research", dictionary::HOU_LEGALRESEARCH, Hours, OutHoursWidth},
          {"Travel Time", dictionary::HOU_TRAVELTIME, Hours, OutHoursWidth},
          {"Investigation & Other Work", dictionary::HOU_INVESTIGATION, Hours, OutHoursWidth}};
}

std::vector<Column> expenseColumns(const char* datePicture, const char* mileage, const char* mileagePicture) {
  return {{"Date", dictionary::HOU_DATE3, datePicture, DateWidth},
          {"Brief Description Services", dictionary::HOU_BRIEFDESCRIPTIONSERVICES3, "s50", DescriptionWidth},
          {mileage, dictionary::HOU_TOTALMILAGE, mileagePicture, AmountWidth},
          {"Parking", dictionary::HOU_PARKING, Money, AmountWidth},
          {"Meals", dictionary::HOU_MEALS, Money, AmountWidth},
          {"Lodging", dictionary::HOU_LODGING, Money, AmountWidth},
          {"Copying", dictionary::HOU_COPYING, Money, AmountWidth},
          {"Postage", dictionary::HOU_POSTAGE, Money, AmountWidth},
          {"Toll Calls", dictionary::HOU_TOLLCALLS, Money, AmountWidth},
          {"Telegrams", dictionary::HOU_TELEGRAMS, Money, AmountWidth},
          {"Other", dictionary::HOU_OTHER, Money, AmountWidth}};
}

// The hidden tabs' lists.
std::vector<Column> hiddenOutOfCourt() {
  return outOfCourtColumns(dictionary::HOU_DATE2, "d06b", dictionary::HOU_BRIEFDESCRIPTIONSERVICES2,
                           "Interviews/Conferences");
}
std::vector<Column> hiddenExpenses() { return expenseColumns("d06b", "Milage", "n-10.2"); }

const TotalsRow HoursIn{"Total Hours Worked:", 0, 7, Hours};
const TotalsRow HoursOut{"Total Hours Worked:", 8, 12, Hours};
const TotalsRow Amounts{"Total Amount:", 13, 21, Money};

const Sheet& inCourt() {
  static const Sheet s{
      "BrowseInCourt",
      "IN COURT WORKSHEET",
      "IN COURT WORKSHEET",
      dictionary::HOU_TOTALSECTION_INCOURT,
      inCourtColumns(dictionary::HOU_DATE, "D02B", dictionary::HOU_BRIEFDESCRIPTIONSERVICES),
      HoursIn,
      {{HOU_IN_TOTALHOURS, "Total Hours Worked In Court:", dictionary::HOU_IN_TOTALHOURS, Hours},
       {HOU_TOTALSECTION_INCOURT, "Amount In Court to Bill--------------------------------------",
        dictionary::HOU_TOTALSECTION_INCOURT, SectionMoney}},
      UpdateiNCOURT,
      true,
      {{BUTTON5, "PRINT IN COURT WORKSHEET", "PRT_InCOURT"}},
      WorksheetRules,
      true,
      true,
      610,
  };
  return s;
}

const Sheet& outOfCourt() {
  static const Sheet s{
      "BrowseOutOfCourt",
      "OUT OF COURT WORKSHEET",
      "OUT OF COURT",
      dictionary::HOU_TOTALSECTION_OUTCOURT,
      outOfCourtColumns(dictionary::HOU_DATE, "D02B", dictionary::HOU_BRIEFDESCRIPTIONSERVICES,
                        "Interviews Conferences"),
      HoursOut,
      {{HOU_OUT_TOTALHOURS, "Total Hours Worked Out of Court:", dictionary::HOU_OUT_TOTALHOURS, Hours},
       {HOU_TOTALSECTION_OUTCOURT, "Amount to Bill--------------------------------------",
        dictionary::HOU_TOTALSECTION_OUTCOURT, SectionMoney}},
      UpdateOUTofCOURT,
      true,
      {{BUTTON5, "PRINT OUT OF COURT WORKSHEET", "PRT_OutCOURT"}},
      OutOfCourtRules,
      false,
      true,
      580,
  };
  return s;
}

const Sheet& otherExpenses() {
  static const Sheet s{
      "BrowseOtherExpenses",
      "OTHER EXPENSES WORKSHEET",
      "OTHER EXPENSES",
      dictionary::HOU_TOTALSECTION,
      expenseColumns("d02B", "Mileage", Money),
      Amounts,
      {{HOU_TOTALSECTIONTRAVEL, "Total Traveling:", dictionary::HOU_TOTALSECTIONTRAVEL, SectionMoney},
       {HOU_TOTALSECTIONOTHER, "Total Others:", dictionary::HOU_TOTALSECTIONOTHER, SectionMoney},
       {HOU_TOTALSECTION, "Amount to Bill--------------------------------------", dictionary::HOU_TOTALSECTION,
        SectionMoney}},
      UpdateOTHER,
      false,
      {{BUTTON4, "PRINT OTHER EXPENSES WORKSHEET", "PRT_OTHER"}, {BUTTON4_2, "IF NO ENTRIES,  CLICK HERE", "PRT_OTHER_NON"}},
      WorksheetRules,
      true,
      false,
      640,
  };
  return s;
}

// --- the window ------------------------------------------------------------------------

constexpr int Band = 28;     // the black band's height
constexpr int ListX = 12;    // the lists' left edge
constexpr int ListY = 70;
constexpr int ListHeight = 112;
constexpr int RowY = ListY + ListHeight + 4;  // the totals row
constexpr int Height = 300;

int listWidth(const std::vector<Column>& columns) {
  int width = 16;  // the scroll bar and the frame
  for (const Column& c : columns) width += c.width;
  return width;
}

std::vector<platform::ListColumn> format(const std::vector<Column>& columns) {
  std::vector<platform::ListColumn> out;
  for (const Column& c : columns) {
    const bool text = c.picture[0] == 's' || c.picture[0] == 'd' || c.picture[0] == 'D';
    out.push_back({c.width, text ? Justify::Left : Justify::Right, c.heading, Justify::Left, c.picture});
  }
  return out;
}

// A row of totals, each under its column (the columns after the date and
// the description), its prompt under those two.
void totalsRow(Description& d, const std::vector<Column>& columns, const TotalsRow& row, SheetFigures& figures) {
  const int first = ListX + columns[0].width + columns[1].width;
  d.add(prompt({ListX, RowY + 1, first - ListX - 4, 10}, row.prompt).justify(Justify::Right));
  int x = first;
  for (int i = row.first; i <= row.last; ++i) {
    const int width = columns[static_cast<std::size_t>(2 + i - row.first)].width;
    // Right-aligned as the column's values, which stand a little off the
    // list's frame.
    d.add(display(G(i), {x + 2, RowY, width - 1, 10}, figures.total(i), row.picture).justify(Justify::Right).bold());
    figures.ShowsTotal(G(i), i);
    x += width;
  }
}

void describe(platform::Window& w, const Sheet& s, SheetFigures& figures) {
  using dictionary::CCS;
  Description d(w, 200);
  const Font bandFont{"Arial", 8, true};
  d.add(box({0, 0, s.width, Band}, Black));
  d.add(prompt({6, 3, 56, 10}, "Case Name:").font(bandFont).colour(White).transparent());
  d.add(display(CCS_CASENAME, {64, 3, s.width - 70, 10}, CCS(dictionary::CCS_CASENAME), "s100")
            .font(bandFont)
            .colour(White));
  d.add(prompt({6, 15, 56, 10}, "Case Number:").font(bandFont).colour(White).transparent());
  d.add(display(CCS_CASENUMBER, {64, 15, 200, 10}, CCS(dictionary::CCS_CASENUMBER), "s20")
            .font(bandFont)
            .colour(White));

  const Rect sheet{4, Band + 4, s.width - 8, Height - Band - 34};
  d.add(control(CURRENTTAB, ControlKind::Sheet, sheet));
  d.add(control(TAB_2, ControlKind::Tab, sheet, s.tab, CURRENTTAB));
  d.within(TAB_2);
  d.add(prompt({ListX, 52, 60, 12}, "HOURLY RATE:").bold());
  d.add(display(CCS_HOURLYRATE, {74, 48, 120, 18}, CCS(dictionary::CCS_HOURLYRATE), "N$-10.2B")
            .font({"Arial", 14, true}));
  d.add(control(BROWSE_1, ControlKind::List, {ListX, ListY, listWidth(s.columns), ListHeight})
            .vscroll()
            .status("Browsing the HOURLY file")
            .columns(format(s.columns)));
  totalsRow(d, s.columns, s.totals, figures);
  int y = RowY + 16;
  for (const Section& section : s.sections) {
    d.add(prompt({ListX, y + 1, 250, 10}, section.prompt));
    d.add(display(section.control, {266, y, 110, 10}, figures.section(section.field), section.picture)
              .justify(Justify::Right)
              .bold());
    figures.ShowsSection(section.control, section.field);
    y += 13;
  }
  int x = ListX;
  for (const Print& p : s.prints) {
    const int width = 16 + 5 * static_cast<int>(std::string(p.caption).size());
    d.add(button(p.control, {x, Height - 52, width, 16}, p.caption));
    x += width + 8;
  }

  // The hidden tabs: their lists are never filled.
  d.add(control(TAB2, ControlKind::Tab, sheet, "OUT OF COURT", CURRENTTAB).hidden());
  d.within(TAB2);
  const std::vector<Column> out = hiddenOutOfCourt();
  d.add(control(LIST, ControlKind::List, {ListX, ListY, listWidth(out), ListHeight}).vscroll().columns(format(out)));
  if (s.tab2Totals) totalsRow(d, out, HoursOut, figures);
  d.add(control(TAB3, ControlKind::Tab, sheet, "OTHER EXPENSES", CURRENTTAB).hidden());
  d.within(TAB3);
  const std::vector<Column> expenses = hiddenExpenses();
  d.add(control(LIST_2, ControlKind::List, {ListX, ListY, listWidth(expenses), ListHeight})
            .vscroll()
            .columns(format(expenses)));
  if (s.tab3Totals) totalsRow(d, expenses, Amounts, figures);
  d.within(0);

  const int buttons = s.width - 4 - 4 * 52;
  d.add(button(INSERT_3, {buttons, Height - 24, 48, 16}, "&Insert", "Insert a Record"));
  d.add(button(CHANGE_3, {buttons + 52, Height - 24, 48, 16}, "&Change", "Change the Record").isDefault());
  d.add(button(DELETE_3, {buttons + 104, Height - 24, 48, 16}, "&Delete", "Delete the Record"));
  if (s.view) d.add(button(VIEW_2, {buttons + 156, Height - 24, 48, 16}, "&View", "View Record").hidden());
}

class WorksheetWindow final : public app::ProcedureWindow {
 public:
  WorksheetWindow(platform::Window& w, const Sheet& sheet, SheetFigures& figures, platform::ListView& view)
      : ProcedureWindow(w, sheet.procedure),
        sheet_(sheet),
        view_(view),
        files_(dictionary::Relate_CaseCloseSummary()),
        browse_(figures),
        figures_(figures) {}

  int CallProcedure(int, std::uint8_t request) override { return CallUpdateForm(REQUEST, sheet_.form, request); }

  int OnAccepted() override {
    const Print* print = printOf(event().control);
    if (print) app::G_CASENUMBER().setText(dictionary::CCS(dictionary::CCS_CASENUMBER).text());
    if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
    if (print) {
      browse_.LoadSelectionForAction(true);
      const std::string caseNumber = app::G_CASENUMBER().text();
      if (const WorksheetPrintCall* call = printCall(print->procedure); call && call->call) call->call(caseNumber);
      Refresh();
    }
    return platform::LevelContinue;
  }

  // Shift+Enter on the list: the hidden View.
  int OnOtherEvent() override {
    const platform::Event& e = event();
    if (sheet_.view && e.kind == platform::EventKind::Key && e.control == BROWSE_1 &&
        e.key.is(platform::Key::Enter, platform::ModShift) && browse_.rowCount() > 0 &&
        window().control(VIEW_2).enabled()) {
      browse_.Ask(app::RequestView);
      return platform::LevelContinue;
    }
    return ProcedureWindow::OnOtherEvent();
  }

  int AfterControlEvent() override {
    figures_.SectionTotals();
    figures_.MarkOverflows(window());
    return ProcedureWindow::AfterControlEvent();
  }

 protected:
  int SetupMembers() override {
    if (int level = OpenFiles(files_); level != platform::LevelContinue) return level;
    platform::FileManager& access = dictionary::Access_HOURLY();
    view_.setOpener(UseFileOpener(access));
    browse_.Setup(BROWSE_1, view_, *this);
    browse_.SetButtons({INSERT_3, CHANGE_3, DELETE_3, sheet_.view ? VIEW_2 : 0, 0, false});
    browse_.AddStepOrder(steps_, dictionary::HOU_KeyCaseNumber);
    browse_.LimitToRelated(dictionary::HOU_CASENUMBER, dictionary::CCS(dictionary::CCS_CASENUMBER));
    const platform::FieldDesc& filtered = dictionary::HOURLYLayout().field(sheet_.filter);
    browse_.SetFilter([&filtered](const std::uint8_t* image) {
      return !platform::FieldRef::of(filtered, const_cast<std::uint8_t*>(image)).decimal().isZero();
    });
    for (const Column& c : sheet_.columns) browse_.AddColumn(c.field);
    browse_.SetUpdateProcedure(1);
    browse_.SetPrimer([&access] { return access.PrimeRecord(true); });
    browse_.SetInsertCondition(CurrentCaseExists);
    return platform::LevelContinue;
  }
  void AttachTargets() override { browse_.AttachToolbar(toolbarObject()); }

 private:
  const Print* printOf(int control) const {
    for (const Print& p : sheet_.prints)
      if (p.control == control && control != 0) return &p;
    return nullptr;
  }

  const Sheet& sheet_;
  platform::ListView& view_;
  RelationOpener files_;
  TotalsBrowse browse_;
  SheetFigures& figures_;
  platform::TextStepMgr steps_;
};

void run(const Sheet& s) {
  platform::Window window(childWindow(s.caption, {0, 0, s.width, Height}));
  SheetFigures figures(s.rules);
  describe(window, s, figures);
  RunListWindow<WorksheetWindow>(window, dictionary::HOURLY(), s, figures);
}

}  // namespace

std::span<WorksheetPrintCall> WorksheetPrintCalls() { return printCalls; }

void BrowseInCourt() { run(inCourt()); }

void BrowseOutOfCourt() { run(outOfCourt()); }

void BrowseOtherExpenses() { run(otherExpenses()); }

}  // namespace cases
