#include "cases/select_case_close_summary.h"

#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "cases/browse_manager.h"
#include "cases/list_window.h"
#include "cases/locators.h"
#include "platform/lib/step_managers.h"
#include "dictionary/dictionary.h"
#include "platform/lib/list_view.h"
#include "platform/ui/control.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace case_picker;
using namespace platform::describe;
using platform::ControlKind;
using platform::Justify;

void describe(platform::Window& w) {
  w.add(control(BROWSE_1, ControlKind::List, {8, 20, 344, 120})
            .vscroll()
            .status("Browsing the CaseCloseSummary file")
            .columns({
                {80, Justify::Right, "Date", Justify::Left, "D17B"},
                {80, Justify::Left, "Case Number", Justify::Left, "s20"},
                {80, Justify::Left, "Case Name", Justify::Left, "s100"},
                {80, Justify::Right, "Hourly Rate", Justify::Left, "N$-10.2B"},
                {80, Justify::Left, "Attorney", Justify::Left, "s100"},
                {80, Justify::Left, "Judge", Justify::Left, "s100"},
                {80, Justify::Left, "AUSA", Justify::Left, "s100"},
                {80, Justify::Left, "Defendant", Justify::Left, "s100"},
                {80, Justify::Left, "USPO", Justify::Left, "s100"},
            }));
  w.add(button(SELECT_2, {200, 148, 45, 14}, "&Select", "Select the Record"));
  w.add(control(CURRENTTAB, ControlKind::Sheet, {4, 4, 352, 140}));
  w.add(control(TAB_2, ControlKind::Tab, {4, 4, 352, 140}, "&1) Case Name", CURRENTTAB));
  w.add(control(TAB_3, ControlKind::Tab, {4, 4, 352, 140}, "&2) Case Number", CURRENTTAB));
  w.add(button(CLOSE, {255, 148, 45, 14}, "&Close", "Close Window"));
  w.add(button(HELP, {310, 148, 45, 14}, "&Help", "See Help Window"));
}

class CasePickerWindow final : public app::ProcedureWindow {
 public:
  CasePickerWindow(platform::Window& w, platform::ListView& view)
      : ProcedureWindow(w, "SelectCaseCloseSummary"), view_(view), files_(dictionary::Relate_CaseCloseSummary()) {}

 protected:
  int SetupMembers() override {
    AddCloseButton(CLOSE, app::ResponseCancelled);
    if (int level = OpenFiles(files_); level != platform::LevelContinue) return level;
    platform::FileManager& access = dictionary::Access_CaseCloseSummary();
    view_.setOpener(UseFileOpener(access));
    browse_.Setup(BROWSE_1, view_, *this);
    browse_.SetButtons({0, 0, 0, 0, SELECT_2, true});
    browse_.AddStepOrder(numberSteps_, dictionary::CCS_KeyCaseNumber);
    browse_.SetOrderLocator(numberLocator_, 0, dictionary::CCS_CASENUMBER);
    browse_.AddStepOrder(nameSteps_, dictionary::CCS_KeyCaseName);
    browse_.SetOrderLocator(nameLocator_, 0, dictionary::CCS_CASENAME);
    for (dictionary::CaseCloseSummaryField f :
         {dictionary::CCS_DATE, dictionary::CCS_CASENUMBER, dictionary::CCS_CASENAME, dictionary::CCS_HOURLYRATE,
          dictionary::CCS_ATTORNEY, dictionary::CCS_JUDGE, dictionary::CCS_AUSA, dictionary::CCS_DEFENDANT,
          dictionary::CCS_USPO})
      browse_.AddColumn(f);
    return platform::LevelContinue;
  }
  void AttachTargets() override { browse_.AttachToolbar(toolbarObject(), HELP); }

 private:
  platform::ListView& view_;
  RelationOpener files_;
  // The first tab shows the cases by name (order 2), the second by number
  // (order 1).
  TabOrderBrowse browse_{CURRENTTAB, {2, 1}};
  platform::TextStepMgr numberSteps_, nameSteps_;
  KeystrokeLocator numberLocator_, nameLocator_;
};

}  // namespace

void SelectCaseCloseSummary() {
  platform::WindowSpec spec = childWindow("Select a CaseCloseSummary Record", {0, 0, 360, 168});
  spec.resizable = true;
  platform::Window window(spec);
  describe(window);
  RunListWindow<CasePickerWindow>(window, dictionary::CaseCloseSummary());
}

}  // namespace cases
