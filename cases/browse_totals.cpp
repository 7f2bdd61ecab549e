#include <string>
#include <vector>

#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "cases/browse_manager.h"
#include "cases/list_window.h"
#include "cases/select_case_close_summary.h"
#include "cases/totals_windows.h"
#include "dictionary/dictionary.h"
#include "platform/lib/list_view.h"
#include "platform/lib/step_managers.h"
#include "platform/ui/control.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace totals_list;
using namespace platform::describe;
using platform::ControlKind;
using platform::Justify;
using platform::Rect;

// What tells the two lists apart.
struct TotalsList {
  const char* procedure;
  const char* caption;
  // The hour columns' justification: every hour has one place, so
  // right-aligned hours line up on the point.
  Justify hours;
  bool picksCase;  // "Select CaseCloseSummary"
};

const TotalsList ByCase{"BrowseTOTALS", "Browse the TOTALS file", Justify::Right, true};
const TotalsList ByCaseNumber{"BrowseTOTALSByTOT:KeyCaseNumber", "Browse the TOTALS file by TOT:KeyCaseNumber",
                              Justify::Left, false};

constexpr dictionary::TOTALSField Columns[] = {
    dictionary::TOT_CASENUMBER, dictionary::TOT_A, dictionary::TOT_B, dictionary::TOT_C, dictionary::TOT_D,
    dictionary::TOT_E,          dictionary::TOT_F, dictionary::TOT_G, dictionary::TOT_H,
};

void describe(platform::Window& w, const TotalsList& l) {
  auto hours = [&l](int width, const char* heading) {
    return platform::ListColumn{width, l.hours, heading, Justify::Center, "N-7.1B"};
  };
  w.add(control(BROWSE_1, ControlKind::List, {8, 20, 344, 110})
            .vscroll()
            .status("Browsing the TOTALS file")
            .columns({
                {80, Justify::Left, "Case Number", Justify::Center, "s20"},
                hours(96, "Arraignment and/or Plea"),
                hours(112, "Bail and Detention Hearings"),
                hours(68, "Motion Hearings"),
                hours(40, "Trial"),
                hours(84, "Sentencing Hearings"),
                hours(84, "Revocation Hearings"),
                hours(60, "Appeals Court"),
                hours(40, "Other"),
            }));
  w.add(button(VIEW_2, {112, 134, 45, 14}, "&View", "View Record"));
  w.add(button(INSERT_3, {160, 134, 45, 14}, "&Insert", "Insert a Record"));
  w.add(button(CHANGE_3, {208, 134, 45, 14}, "&Change", "Change the Record").isDefault());
  w.add(button(DELETE_3, {256, 134, 45, 14}, "&Delete", "Delete the Record"));
  w.add(control(CURRENTTAB, ControlKind::Sheet, {4, 4, 352, 150}));
  w.add(control(TAB_2, ControlKind::Tab, {4, 4, 352, 150}, "&1) Case Number", CURRENTTAB));
  if (l.picksCase)
    w.add(button(SELECTCASECLOSESUMMARY, {8, 134, 100, 14}, "Select CaseCloseSummary", "Select Parent Field")
              .in(TAB_2));
  w.add(button(CLOSE, {256, 158, 45, 14}, "&Close"));
  w.add(button(HELP, {306, 158, 45, 14}, "&Help"));
}

class TotalsListWindow final : public app::ProcedureWindow {
 public:
  TotalsListWindow(platform::Window& w, const TotalsList& l, platform::ListView& view)
      : ProcedureWindow(w, l.procedure), list_(l), view_(view), files_(dictionary::Relate_CaseCloseSummary()) {}

  int CallProcedure(int, std::uint8_t request) override { return CallUpdateForm(REQUEST, UpdateTOTALS, request); }

  int OnAccepted() override {
    const int pressed = event().control;
    if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
    if (list_.picksCase && pressed == SELECTCASECLOSESUMMARY) {
      browse_.LoadSelectionForAction(true);
      // A pick leaves the case in the case buffer, a cancel leaves it as it
      // was; the refresh lists the records of the case now current.
      app::CallWithRequest(SelectCaseCloseSummary, app::RequestSelect);
      Refresh();
    }
    return platform::LevelContinue;
  }

 protected:
  int SetupMembers() override {
    AddCloseButton(CLOSE, app::ResponseCancelled);
    if (int level = OpenFiles(files_); level != platform::LevelContinue) return level;
    platform::FileManager& access = dictionary::Access_TOTALS();
    view_.setOpener(UseFileOpener(access));
    browse_.Setup(BROWSE_1, view_, *this);
    browse_.SetButtons({INSERT_3, CHANGE_3, DELETE_3, VIEW_2, 0, false});
    browse_.AddStepOrder(steps_, dictionary::TOT_KeyCaseNumber);
    browse_.LimitToRelated(dictionary::TOT_CASENUMBER, dictionary::CCS(dictionary::CCS_CASENUMBER));
    for (dictionary::TOTALSField f : Columns) browse_.AddColumn(f);
    browse_.SetUpdateProcedure(1);
    browse_.SetPrimer([&access] { return access.PrimeRecord(true); });
    return platform::LevelContinue;
  }
  void AttachTargets() override { browse_.AttachToolbar(toolbarObject(), HELP); }

 private:
  const TotalsList& list_;
  platform::ListView& view_;
  RelationOpener files_;
  BrowseManager browse_;
  platform::TextStepMgr steps_;
};

void run(const TotalsList& l) {
  platform::WindowSpec spec = childWindow(l.caption, {0, 0, 360, 178});
  spec.resizable = true;
  platform::Window window(spec);
  describe(window, l);
  RunListWindow<TotalsListWindow>(window, dictionary::TOTALS(), l);
}

}  // namespace

void BrowseTOTALS() { run(ByCase); }

void BrowseTOTALSByTOT_KeyCaseNumber() { run(ByCaseNumber); }

}  // namespace cases
