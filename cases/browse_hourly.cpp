#include <string>
#include <vector>

#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "cases/browse_manager.h"
#include "cases/entry_lists.h"
#include "cases/list_window.h"
#include "cases/locators.h"
#include "cases/select_case_close_summary.h"
#include "cases/select_rate_milage.h"
#include "cases/update_time_entry.h"
#include "dictionary/dictionary.h"
#include "platform/lib/list_view.h"
#include "platform/lib/step_managers.h"
#include "platform/ui/control.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace entry_list;
using namespace platform::describe;
using dictionary::HOURLYField;
using platform::ControlKind;
using platform::Justify;
using platform::Rect;

// The orders of BrowseHOURLY, in declaration order.
constexpr int ByCaseName = 1;
constexpr int ByDate = 2;
constexpr int ByRate = 3;
constexpr int ByCaseNumber = 4;

// Whether the case in the thread's case buffer exists: a non-blank
// CCS:CASENUMBER found by CCS:KeyCaseNumber. The case buffer and position
// stay as they were.
bool caseExists() {
  if (dictionary::CCS(dictionary::CCS_CASENUMBER).isEmpty()) return false;
  platform::FileManager& cases = dictionary::Access_CaseCloseSummary();
  const platform::DbFileState state = cases.SaveFile();
  const int level = cases.TryFetch(dictionary::CCS_KeyCaseNumber);
  cases.RestoreFile(state);
  return level == platform::LevelBenign;
}

constexpr HOURLYField Columns[] = {
    dictionary::HOU_CASENUMBER,     dictionary::HOU_DATE,         dictionary::HOU_BRIEFDESCRIPTIONSERVICES,
    dictionary::HOU_ARRAIGNMENTPLEA, dictionary::HOU_MOTIONSREQUESTS, dictionary::HOU_BAILHEARINGS,
    dictionary::HOU_SENTENCEHEARINGS, dictionary::HOU_TRIAL,       dictionary::HOU_REVOCATIONHEARINGS,
};

// The list format; `numbers` justifies the date and the hours (every hour
// has one place, so right-aligned hours line up on the point).
std::vector<platform::ListColumn> columns(Justify numbers) {
  auto hours = [numbers](int width, const char* heading) {
    return platform::ListColumn{width, numbers, heading, Justify::Center, "N-7.1B"};
  };
  return {
      {80, Justify::Left, "Case Number", Justify::Center, "s100"},
      {80, numbers, "Date", Justify::Center, "d06b"},
      {80, Justify::Left, "Brief Description Services", Justify::Center, "s50"},
      hours(80, "Arraignment and/or Plea:"),
      hours(80, "Motions and Requests:"),
      hours(56, "Bail Hearings"),
      hours(72, "Sentence Hearings"),
      hours(36, "Trial"),
      hours(80, "Revocation Hearings"),
  };
}

constexpr Rect Sheet{4, 4, 412, 160};
constexpr Rect Picker{8, 144, 100, 14};

// The list, its buttons and the sheet's first tab, which both windows have.
void describeList(platform::Window& w, Justify numbers, const char* firstTab) {
  w.add(control(BROWSE_1, ControlKind::List, {8, 20, 404, 120})
            .vscroll()
            .status("Browsing the HOURLY file")
            .columns(columns(numbers)));
  w.add(button(VIEW_2, {172, 144, 45, 14}, "&View", "View Record"));
  w.add(button(INSERT_3, {220, 144, 45, 14}, "&Insert", "Insert a Record"));
  w.add(button(CHANGE_3, {268, 144, 45, 14}, "&Change", "Change the Record").isDefault());
  w.add(button(DELETE_3, {316, 144, 45, 14}, "&Delete", "Delete the Record"));
  w.add(control(CURRENTTAB, ControlKind::Sheet, Sheet));
  w.add(control(TAB_2, ControlKind::Tab, Sheet, firstTab, CURRENTTAB));
}

void describeCloseAndHelp(platform::Window& w) {
  w.add(button(CLOSE, {316, 168, 45, 14}, "&Close", "Close Window"));
  w.add(button(HELP, {366, 168, 45, 14}, "&Help"));
}

platform::WindowSpec spec(const char* caption) {
  platform::WindowSpec s = childWindow(caption, {0, 0, 420, 188});
  s.resizable = true;
  return s;
}

// What both lists do: their file, columns, buttons and form.
class EntryListWindow : public app::ProcedureWindow {
 public:
  EntryListWindow(platform::Window& w, const char* procedure, platform::ListView& view, BrowseManager& browse)
      : ProcedureWindow(w, procedure), view_(view), browse_(browse) {}

  int CallProcedure(int, std::uint8_t request) override {
    return CallUpdateForm(REQUEST, UpdateiNCOURT, request);
  }

 protected:
  // Sets the list up; the member declares its orders after it.
  void SetupList() {
    platform::FileManager& access = dictionary::Access_HOURLY();
    view_.setOpener(UseFileOpener(access));
    browse_.Setup(BROWSE_1, view_, *this);
    browse_.SetButtons({INSERT_3, CHANGE_3, DELETE_3, VIEW_2, 0, false});
  }
  // The columns, the hidden fields, the form and the priming.
  void FinishList(std::vector<int> hidden) {
    for (HOURLYField f : Columns) browse_.AddColumn(f);
    for (int f : hidden) browse_.AddField(f);
    browse_.SetUpdateProcedure(1);
    platform::FileManager& access = dictionary::Access_HOURLY();
    browse_.SetPrimer([&access] { return access.PrimeRecord(true); });
  }
  void AttachTargets() override { browse_.AttachToolbar(toolbarObject(), HELP); }

  platform::ListView& view_;
  BrowseManager& browse_;
};

class BrowseHourlyWindow final : public EntryListWindow {
 public:
  BrowseHourlyWindow(platform::Window& w, platform::ListView& view)
      : EntryListWindow(w, "BrowseHOURLY", view, tabs_),
        cases_(dictionary::Relate_CaseCloseSummary()),
        rates_(dictionary::Relate_RateMilage()) {}

  int OnAccepted() override {
    const int pressed = event().control;
    if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
    if (pressed == SELECTCASECLOSESUMMARY || pressed == SELECTRATEMILAGE) {
      tabs_.LoadSelectionForAction(true);
      // A pick leaves the case or rate in its buffer, a cancel leaves the
      // buffer as it was; the refresh lists the entries of what is current.
      app::CallWithRequest(pressed == SELECTCASECLOSESUMMARY ? SelectCaseCloseSummary : SelectRateMilage,
                           app::RequestSelect);
      Refresh();
    }
    return platform::LevelContinue;
  }

 protected:
  int SetupMembers() override {
    AddCloseButton(CLOSE, app::ResponseCancelled);
    if (int level = OpenFiles(cases_); level != platform::LevelContinue) return level;
    if (int level = OpenFiles(rates_); level != platform::LevelContinue) return level;
    SetupList();
    tabs_.AddStepOrder(nameSteps_, dictionary::HOU_KeyCaseName);
    tabs_.SetOrderLocator(nameLocator_, 0, dictionary::HOU_CASENAME);
    tabs_.AddStepOrder(dateSteps_, dictionary::HOU_KeyDate);
    tabs_.SetOrderLocator(dateLocator_, 0, dictionary::HOU_DATE);
    tabs_.AddStepOrder(rateSteps_, dictionary::HOU_KeyMilageRate);
    tabs_.LimitToRelated(dictionary::HOU_MILAGERATE, dictionary::RTM(dictionary::RTM_MILAGERATE));
    tabs_.AddStepOrder(numberSteps_, dictionary::HOU_KeyCaseNumber);
    tabs_.LimitToRelated(dictionary::HOU_CASENUMBER, dictionary::CCS(dictionary::CCS_CASENUMBER));
    FinishList({dictionary::HOU_CASENAME, dictionary::HOU_MILAGERATE});
    // Only the case tab primes a case, and only a case that exists can
    // take an entry.
    tabs_.SetInsertCondition([this] { return tabs_.currentOrder() == ByCaseNumber && caseExists(); });
    return platform::LevelContinue;
  }

 private:
  RelationOpener cases_, rates_;
  // Tab 1 by case number (order 4), tabs 2 to 4 by case name, date and
  // rate (orders 1 to 3).
  TabOrderBrowse tabs_{CURRENTTAB, {ByCaseNumber, ByCaseName, ByDate, ByRate}};
  platform::TextStepMgr nameSteps_, numberSteps_;
  platform::NumberStepMgr dateSteps_, rateSteps_;
  KeystrokeLocator nameLocator_, dateLocator_;
};

class RateEntriesWindow final : public EntryListWindow {
 public:
  RateEntriesWindow(platform::Window& w, platform::ListView& view)
      : EntryListWindow(w, "BrowseHOURLYByHOU:KeyMilageRate", view, rateList_),
        entries_(dictionary::Relate_HOURLY()),
        rates_(dictionary::Relate_RateMilage()) {}

 protected:
  int SetupMembers() override {
    AddCloseButton(CLOSE, app::ResponseCancelled);
    if (int level = OpenFiles(entries_); level != platform::LevelContinue) return level;
    if (int level = OpenFiles(rates_); level != platform::LevelContinue) return level;
    SetupList();
    rateList_.AddStepOrder(rateSteps_, dictionary::HOU_KeyMilageRate);
    rateList_.LimitToRelated(dictionary::HOU_MILAGERATE, dictionary::RTM(dictionary::RTM_MILAGERATE));
    FinishList({dictionary::HOU_MILAGERATE});
    // No case is current here: an entry could name none.
    rateList_.SetInsertCondition([] { return false; });
    return platform::LevelContinue;
  }

 private:
  RelationOpener entries_, rates_;
  BrowseManager rateList_;
  platform::NumberStepMgr rateSteps_;
};

}  // namespace

void BrowseHOURLY() {
  platform::Window window(spec("Browse the HOURLY file"));
  describeList(window, Justify::Right, "&1) KeyCaseNumber");
  window.add(button(SELECTCASECLOSESUMMARY, Picker, "Select CaseCloseSummary", "Select Parent Field").in(TAB_2));
  window.add(control(TAB_3, ControlKind::Tab, Sheet, "&2) Case Name", CURRENTTAB));
  window.add(control(TAB_4, ControlKind::Tab, Sheet, "&3) Date", CURRENTTAB));
  window.add(control(TAB_5, ControlKind::Tab, Sheet, "&4) Milage Rate", CURRENTTAB));
  window.add(button(SELECTRATEMILAGE, Picker, "Select RateMilage", "Select Parent Field").in(TAB_5));
  describeCloseAndHelp(window);
  RunListWindow<BrowseHourlyWindow>(window, dictionary::HOURLY());
}

void BrowseHOURLYByHOU_KeyMilageRate() {
  platform::Window window(spec("Browse the HOURLY file by HOU:KeyMilageRate"));
  describeList(window, Justify::Left, "&1) Milage Rate");
  describeCloseAndHelp(window);
  RunListWindow<RateEntriesWindow>(window, dictionary::HOURLY());
}

}  // namespace cases
