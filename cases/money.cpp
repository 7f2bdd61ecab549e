#include "cases/money.h"

#include "app/frame/procedure_window.h"
#include "cases/browse_manager.h"
#include "cases/column_totals.h"
#include "cases/list_window.h"
#include "dictionary/dictionary.h"
#include "platform/lib/list_view.h"
#include "platform/lib/step_managers.h"
#include "platform/ui/control.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace money;
using namespace platform::describe;
using dictionary::HOURLYField;
using platform::ControlKind;
using platform::Font;
using platform::Justify;

constexpr int Width = 337;
constexpr int Height = 164;
constexpr platform::Color LightGrey = platform::rgb(0xC8, 0xC8, 0xC8);
constexpr platform::Color Line = 0x340F97;

struct Column {
  const char* heading;
  int field;  // 0: the case's hourly rate
  const char* picture;
  int width;
};

constexpr const char* Hours = "N-7.1B";
constexpr const char* Money = "N$-10.2B";

// clang-format off
constexpr Column Columns[] = {
    {"Date", dictionary::HOU_DATE, "d06b", 44},
    {"Brief Description Services", dictionary::HOU_BRIEFDESCRIPTIONSERVICES, "s50", 120},
    {"Hourly Rate", 0, Money, 44},
    {"Arraig/Plea", dictionary::HOU_ARRAIGNMENTPLEA, Hours, 40},
    {"Motions/Requests", dictionary::HOU_MOTIONSREQUESTS, Hours, 40},
    {"Bail", dictionary::HOU_BAILHEARINGS, Hours, 40},
    {"Sentence", dictionary::HOU_SENTENCEHEARINGS, Hours, 40},
    {"Trial", dictionary::HOU_TRIAL, Hours, 40},
    {"Revocation", dictionary::HOU_REVOCATIONHEARINGS, Hours, 40},
    {"Appeals", dictionary::HOU_APPEALSCOURT, Hours, 40},
    {"Other", dictionary::HOU_OTHERIN, Hours, 40},
    {"Interviews Conferences", dictionary::HOU_INTERVIEWSCONFERENCES, Hours, 40},
    {"Review Records", dictionary::HOU_REVIEWRECORDS, Hours, 40},
    {"Case Number", dictionary::HOU_CASENUMBER, "s100", 70},
    {"Legal Research", dictionary::HOU_LEGALRESEARCH, Hours, 40},
    {"Travel Time", dictionary::HOU_TRAVELTIME, Hours, 40},
    {"Investigation & Other Work", dictionary::HOU_INVESTIGATION, Hours, 40},
    {"Total Milage", dictionary::HOU_TOTALMILAGE, "n-10.2", 44},
    {"Parking", dictionary::HOU_PARKING, Money, 44},
    {"Meals", dictionary::HOU_MEALS, Money, 44},
    {"Lodging", dictionary::HOU_LODGING, Money, 44},
    {"Copying", dictionary::HOU_COPYING, Money, 44},
    {"Postage", dictionary::HOU_POSTAGE, Money, 44},
    {"Toll Calls", dictionary::HOU_TOLLCALLS, Money, 44},
    {"Telegrams", dictionary::HOU_TELEGRAMS, Money, 44},
    {"Other", dictionary::HOU_OTHER, Money, 44},
};
// clang-format on
static_assert(std::size(Columns) == 26);

std::vector<platform::ListColumn> format() {
  std::vector<platform::ListColumn> out;
  for (const Column& c : Columns) {
    const bool text = c.picture[0] == 's' || c.picture[0] == 'd';
    out.push_back({c.width, text ? Justify::Left : Justify::Right, c.heading, Justify::Left, c.picture});
  }
  return out;
}

void describe(platform::Window& w, SheetFigures& figures) {
  using dictionary::CCS;
  Description d(w, 200);
  d.add(box({0, 0, Width, 24}, Black));
  const Font band{"Arial", 8, true};
  d.add(prompt({6, 2, 56, 10}, "Case Name:").font(band).colour(White).transparent());
  d.add(display(CCS_CASENAME, {62, 2, Width - 68, 10}, CCS(dictionary::CCS_CASENAME), "s100")
            .font(band)
            .colour(LightGrey));
  d.add(prompt({6, 12, 56, 10}, "Case Number:").font(band).colour(White).transparent());
  d.add(display(CCS_CASENUMBER, {62, 12, 160, 10}, CCS(dictionary::CCS_CASENUMBER), "s20")
            .font(band)
            .colour(LightGrey));
  d.add(button(INSERT_3, {220, 150, 36, 12}, "&Insert", "Insert a Record").hidden());
  d.add(button(CHANGE_3, {258, 150, 36, 12}, "&Change", "Change the Record").hidden());
  d.add(button(DELETE_3, {296, 150, 36, 12}, "&Delete", "Delete the Record").hidden());

  const platform::Rect sheet{4, 27, Width - 8, 120};
  d.add(control(CURRENTTAB, ControlKind::Sheet, sheet));
  d.add(control(TAB_1, ControlKind::Tab, sheet, "TOTALS", CURRENTTAB));
  d.within(TAB_1);
  d.add(control(BROWSE_1, ControlKind::List, {8, 44, 190, 98})
            .vscroll()
            .status("Browsing the HOURLY file")
            .columns(format()));

  // Beside the list, labels in Arial 7 and values in bold Arial 8.
  const Font label{"Arial", 7};
  const Font value{"Arial", 8, true};
  constexpr const char* ToBill = "Amount to Bill--------------------------------------";
  struct Shown {
    int control;
    HOURLYField field;
    const char* prompt;
    const char* picture;
    Justify justify;
  };
  const Shown shown[] = {
      {HOU_IN_TOTALHOURS, dictionary::HOU_IN_TOTALHOURS, "Total Hours Worked In Court:", Hours, Justify::Left},
      {HOU_TOTALSECTION_INCOURT, dictionary::HOU_TOTALSECTION_INCOURT, ToBill, "N$-17.2B", Justify::Right},
      {HOU_OUT_TOTALHOURS, dictionary::HOU_OUT_TOTALHOURS, "Total Hours Worked Out of Court:", Hours, Justify::Left},
      {HOU_TOTALSECTION_OUTCOURT, dictionary::HOU_TOTALSECTION_OUTCOURT, ToBill, "N$-17.2B", Justify::Right},
  };
  int y = 40;
  for (const Shown& s : shown) {
    d.add(prompt({204, y, 126, 7}, s.prompt).font(label));
    d.add(display(s.control, {204, y + 7, 124, 9}, figures.section(s.field), s.picture)
              .font(value)
              .justify(s.justify));
    figures.ShowsSection(s.control, s.field);
    y += 16;
  }
  d.add(prompt({204, y, 126, 7}, "Total Other Expenses").font(label));
  d.add(prompt({204, y + 7, 126, 7}, ToBill).font(label));
  d.add(display(HOU_TOTALSECTION, {204, y + 14, 124, 9}, figures.section(dictionary::HOU_TOTALSECTION), "N$-17.2B")
            .font(value)
            .justify(Justify::Right));
  figures.ShowsSection(HOU_TOTALSECTION, dictionary::HOU_TOTALSECTION);
  y += 26;
  d.add(prompt({204, y + 3, 50, 10}, "Grand Total:").font(value));
  d.add(display(HOU_GRANDTOTAL, {240, y, 88, 14}, figures.section(dictionary::HOU_GRANDTOTAL), "N$-17.2B")
            .font({"Arial", 12, true})
            .justify(Justify::Right));
  figures.ShowsSection(HOU_GRANDTOTAL, dictionary::HOU_GRANDTOTAL);

  // The column totals' own displays, in black on the black band.
  for (int i = 0; i < TotalCount; ++i) {
    d.add(display(G(i), {200, 4, 60, 10}, figures.total(i), i < HourTotals ? Hours : Money).colour(Black));
    figures.ShowsTotal(G(i), i);
  }
  for (int i = 8; i < HourTotals; ++i) {
    d.add(display(G2(i), {200, 4, 60, 10}, figures.total(i), Hours).colour(Black));
    figures.ShowsTotal(G2(i), i);
  }
  d.within(0);

  d.add(box({0, Height - 14, Width, 13}, Grey));
  d.add(box({0, Height - 1, Width, 1}, Line));
}

class MoneyWindow final : public app::ProcedureWindow {
 public:
  MoneyWindow(platform::Window& w, SheetFigures& figures, platform::ListView& view)
      : ProcedureWindow(w, "MoneY"), view_(view), files_(dictionary::Relate_CaseCloseSummary()), browse_(figures),
        figures_(figures) {}

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
    browse_.AddStepOrder(steps_, dictionary::HOU_KeyCaseNumber);
    browse_.LimitToRelated(dictionary::HOU_CASENUMBER, dictionary::CCS(dictionary::CCS_CASENUMBER));
    for (const Column& c : Columns) {
      if (c.field)
        browse_.AddColumn(c.field);
      else
        browse_.AddColumn(dictionary::CCS(dictionary::CCS_HOURLYRATE));
    }
    return platform::LevelContinue;
  }
  void AttachTargets() override { browse_.AttachToolbar(toolbarObject()); }

 private:
  platform::ListView& view_;
  RelationOpener files_;
  TotalsBrowse browse_;
  SheetFigures& figures_;
  platform::TextStepMgr steps_;
};

}  // namespace

void MoneY() {
  platform::WindowSpec spec = childWindow("TOTALS", {0, 0, Width, Height});
  spec.doubleBorder = true;
  spec.background = platform::NoColor;  // the totals window has no fill of its own
  platform::Window window(spec);
  SheetFigures figures(CaseTotalRules);
  describe(window, figures);
  RunListWindow<MoneyWindow>(window, dictionary::HOURLY(), figures);
}

}  // namespace cases
