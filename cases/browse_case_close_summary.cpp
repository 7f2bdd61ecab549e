#include "cases/browse_case_close_summary.h"

#include <string>
#include <utility>

#include "app/frame/globals.h"
#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "cases/browse_manager.h"
#include "cases/list_window.h"
#include "cases/locators.h"
#include "cases/money.h"
#include "cases/totals_windows.h"
#include "cases/update_case_close_summary.h"
#include "cases/worksheets.h"
#include "platform/lib/step_managers.h"
#include "dictionary/dictionary.h"
#include "platform/lib/list_view.h"
#include "platform/ui/control.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace case_list;
using namespace platform::describe;
using platform::ControlKind;
using platform::Rect;

// The windows that work on the thread's current case take no number.
template <void (*Procedure)()>
void onCurrentCase(const std::string&) {
  Procedure();
}

CaseListCall calls[] = {
    {BROWSEHOURLY, "BrowseInCourt", onCurrentCase<BrowseInCourt>},
    {BROWSEHOURLY_2, "BrowseOutOfCourt", onCurrentCase<BrowseOutOfCourt>},
    {BROWSEHOURLY_3, "BrowseOtherExpenses", onCurrentCase<BrowseOtherExpenses>},
    {BUTTON10, "MoneY", onCurrentCase<MoneY>},
    {BUTTON9, "PRINT_LIST", nullptr},
    {BROWSETOTALS, "BrowseTOTALSByTOT:KeyCaseNumber", onCurrentCase<BrowseTOTALSByTOT_KeyCaseNumber>},
};

const CaseListCall* ownCall(int control) {
  for (const CaseListCall& c : calls)
    if (c.control == control) return &c;
  return nullptr;
}

// The window "CASE FILE" as its description gives it.
void describe(platform::Window& w) {
  using dictionary::CCS;
  platform::Font searchFont;
  searchFont.size = 12;
  constexpr int Column = 420;  // the buttons' column
  constexpr int Wide = 150;
  auto row = [](int i) { return Rect{Column, 86 + 16 * i, Wide, 14}; };

  w.add(control(CURRENTTAB, ControlKind::Sheet, {22, 20, 392, 46}));
  w.add(control(TAB_2, ControlKind::Tab, {22, 20, 392, 46}, "&1) Case Name", CURRENTTAB));
  w.add(prompt(STRING1, {28, 36, 84, 10}, "Search by Case Name:").in(TAB_2).transparent());
  w.add(entry(CCS_CASENAME, {114, 33, 294, 14}, CCS(dictionary::CCS_CASENAME), "s100").in(TAB_2).font(searchFont));
  w.add(prompt(STRING16, {28, 53, 300, 10}, "Enter the Case Name and Click TAB to search").in(TAB_2).transparent());
  w.add(control(TAB_3, ControlKind::Tab, {22, 20, 392, 46}, "&2) Case Number", CURRENTTAB));
  w.add(prompt(STRING1_2, {28, 36, 84, 10}, "Search by Case Number:").in(TAB_3).transparent());
  w.add(entry(CCS_CASENUMBER, {114, 33, 130, 14}, CCS(dictionary::CCS_CASENUMBER), "s20").in(TAB_3).font(searchFont));
  w.add(prompt(STRING16_2, {28, 53, 300, 10}, "Enter the Case Number and Click TAB to search").in(TAB_3).transparent());
  w.add(prompt(STRING13, {Column + 6, 22, Wide - 12, 10}, "IMPORTANT").colour(White).transparent());

  w.add(control(BROWSE_1, ControlKind::List, {22, 70, 392, 128})
            .vscroll()
            .status("Browsing the CaseCloseSummary file")
            .columns({
                {80, platform::Justify::Left, "Case Number", platform::Justify::Left, "s20"},
                {220, platform::Justify::Left, "Case Name", platform::Justify::Left, "s100"},
                {80, platform::Justify::Right, "Hourly Rate", platform::Justify::Center, "N$-10.2B"},
            }));

  w.add(button(BROWSEHOURLY_3, row(5), "OTHER EXPENSES", "View Child File"));
  w.add(button(BUTTON10, row(6), "GRAND TOTAL FOR SELECTED CASE"));
  w.add(button(INSERT_3, row(0), "&CREATE NEW CASE", "Insert new case file"));
  // The longest caption, on the column's width.
  w.add(button(CHANGE_3, row(1), "CASE CLOSING SUMMARY AND CJA20 FORM", "Change the Record").isDefault().size(7));
  w.add(button(DELETE_3, row(2), "&DELETE CASE", "Delete the Record"));
  w.add(button(BROWSEHOURLY, row(3), "IN COURT", "View Child File"));
  w.add(button(BUTTON9, row(7), "PRINT ALL FORMS"));
  w.add(button(BROWSETOTALS, row(8), "View TOTALS", "View Child File").hidden());

  w.add(prompt(STRING10, {Column + 6, 33, Wide - 12, 9}, "CREATE A").colour(White).transparent());
  w.add(prompt(STRING10_4, {Column + 6, 42, Wide - 12, 9}, "NEW CASE").colour(Red).transparent());
  w.add(prompt(STRING10_5, {Column + 6, 51, Wide - 12, 9}, "before").colour(White).transparent());
  w.add(prompt(STRING10_2, {Column + 6, 60, Wide - 12, 9}, "starting In Court, Out of Court or")
            .colour(White)
            .transparent());
  w.add(prompt(STRING10_3, {Column + 6, 69, Wide - 12, 9}, "Other Expenses worksheets.").colour(White).transparent());
  w.add(display(CCS_CASENUMBER_2, {22, 212, 120, 10}, CCS(dictionary::CCS_CASENUMBER), "s20"));
  w.add(display(CCS_CASENAME_3, {150, 212, 264, 10}, CCS(dictionary::CCS_CASENAME), "s100"));
  w.add(prompt(STRING3, {22, 4, 60, 10}, "Case Selected:").colour(White).transparent());
  w.add(display(CCS_CASENAME_2, {84, 1, 486, 14}, CCS(dictionary::CCS_CASENAME), "s100")
            .font({"Arial", 14})
            .colour(White));
  w.add(prompt(STRING4, {3, 60, 10, 100}, "CASE FILES").colour(White).transparent().angle(900));
  w.add(button(BROWSEHOURLY_2, row(4), "OUT OF COURT", "View Child File"));

  w.add(box(BAND_BOX, {0, 0, 576, 16}, Black));
  w.add(box(SIDE_BOX, {0, 16, 16, 212}, Black));
  w.add(box(IMPORTANT_BOX, {Column, 20, Wide, 62}, Black));
  w.add(prompt(NUMBER_SELECTED_PROMPT, {22, 202, 120, 10}, "Case Number Selected:").transparent());
  w.add(prompt(NAME_SELECTED_PROMPT, {150, 202, 120, 10}, "Case Name Selected:").transparent());
}

class CaseListWindow final : public app::ProcedureWindow {
 public:
  CaseListWindow(platform::Window& w, platform::ListView& view)
      : ProcedureWindow(w, "BrowseCaseCloseSummary"), view_(view), files_(dictionary::Relate_CaseCloseSummary()) {}

  int CallProcedure(int, std::uint8_t request) override {
    return CallUpdateForm(REQUEST, UpdateCaseCloseSummary, request);
  }

  int OnAccepted() override {
    const int pressed = event().control;
    const std::string listed = dictionary::CCS(dictionary::CCS_CASENUMBER).text();
    if (pressed == BUTTON9) app::G_CASENUMBER().setText(listed);
    if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
    if (const CaseListCall* own = ownCall(pressed)) {
      browse_.LoadSelectionForAction(true);
      if (own->call) own->call(listed);
      Refresh();
    }
    return platform::LevelContinue;
  }

 protected:
  int SetupMembers() override {
    if (int level = OpenFiles(files_); level != platform::LevelContinue) return level;
    // The worksheets this list opens find HOURLY open on the thread.
    if (int level = dictionary::Access_HOURLY().UseFile(); level != platform::LevelContinue) return level;
    platform::FileManager& access = dictionary::Access_CaseCloseSummary();
    view_.setOpener(UseFileOpener(access));
    browse_.Setup(BROWSE_1, view_, *this);
    browse_.SetButtons({INSERT_3, CHANGE_3, DELETE_3, 0, 0, false});
    browse_.AddStepOrder(numberSteps_, dictionary::CCS_KeyCaseNumber);
    browse_.SetOrderLocator(numberLocator_, CCS_CASENUMBER, dictionary::CCS_CASENUMBER);
    browse_.AddStepOrder(nameSteps_, dictionary::CCS_KeyCaseName);
    browse_.SetOrderLocator(nameLocator_, CCS_CASENAME, dictionary::CCS_CASENAME);
    browse_.AddColumn(dictionary::CCS_CASENUMBER);
    browse_.AddColumn(dictionary::CCS_CASENAME);
    browse_.AddColumn(dictionary::CCS_HOURLYRATE);
    browse_.SetUpdateProcedure(1);
    browse_.SetPrimer([&access] { return access.PrimeRecord(true); });
    return platform::LevelContinue;
  }
  void AttachTargets() override { browse_.AttachToolbar(toolbarObject()); }

 private:
  platform::ListView& view_;
  RelationOpener files_;
  // The first tab shows the cases by name (order 2), the second by number
  // (order 1).
  TabOrderBrowse browse_{CURRENTTAB, {2, 1}};
  platform::TextStepMgr numberSteps_, nameSteps_;
  EntryTextLocator numberLocator_, nameLocator_;
};

}  // namespace

std::span<CaseListCall> CaseListCalls() { return calls; }

void BrowseCaseCloseSummary() {
  platform::WindowSpec spec = childWindow("CASE FILE", {0, 0, 576, 228});
  // The case list is not centred and has no font of its own.
  spec.centred = false;
  spec.font = {};
  spec.icon = "docs black.ico";
  platform::Window window(spec);
  describe(window);
  RunListWindow<CaseListWindow>(window, dictionary::CaseCloseSummary());
}

}  // namespace cases
