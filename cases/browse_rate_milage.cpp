#include "cases/browse_rate_milage.h"

#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "cases/browse_manager.h"
#include "cases/entry_lists.h"
#include "cases/list_window.h"
#include "cases/rate_orders.h"
#include "cases/rate_windows.h"
#include "cases/update_rate_milage.h"
#include "dictionary/dictionary.h"
#include "platform/lib/list_view.h"
#include "platform/ui/control.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace rate_list;
using namespace platform::describe;
using platform::ControlKind;
using platform::Rect;

RateListCall calls[] = {
    {BROWSEHOURLY, "BrowseHOURLYByHOU:KeyMilageRate", BrowseHOURLYByHOU_KeyMilageRate},
};

const RateListCall* ownCall(int control) {
  for (const RateListCall& c : calls)
    if (c.control == control) return &c;
  return nullptr;
}

// The window "Mileage Rate" as its description gives it.
void describe(platform::Window& w) {
  using dictionary::RTM;
  constexpr int Column = 196;  // the buttons' column
  auto row = [](int i) { return Rect{Column, 8 + 18 * i, 60, 14}; };

  w.add(control(BROWSE_1, ControlKind::List, {8, 8, 180, 118})
            .vscroll()
            .status("Browsing the RateMilage file")
            .columns(RateColumns()));
  w.add(button(INSERT_4, row(0), "&Insert", "Insert a Record"));
  w.add(button(CHANGE_4, row(1), "&Change", "Change the Record").isDefault());
  w.add(button(DELETE_4, row(2), "&Delete", "Delete the Record"));
  w.add(prompt(STRING3, {8, 132, 248, 14}, "Do not delete old mileage rates").font({"Arial", 12, true}));

  constexpr Rect Sheet{8, 150, 248, 50};
  w.add(control(CURRENTTAB, ControlKind::Sheet, Sheet));
  w.add(control(TAB_2, ControlKind::Tab, Sheet, "Mileage Rates", CURRENTTAB));
  w.add(image(IMAGE1, {16, 166, 48, 28}, "car.gif").in(TAB_2));
  w.add(prompt(STRING1, {72, 175, 56, 10}, "Rate Selected:").in(TAB_2).transparent());
  w.add(display(RTM_MILAGERATE, {130, 171, 70, 16}, RTM(dictionary::RTM_MILAGERATE), "n6.3")
            .in(TAB_2)
            .font({"Arial", 14, true}));
  w.add(control(TAB_3, ControlKind::Tab, Sheet, "&2) Date", CURRENTTAB).hidden());

  w.add(button(SELECT_2, row(3), "&Select", "Select the Record").hidden());
  w.add(button(BROWSEHOURLY, row(4), "View HOURLY", "View Child File").hidden());
}

class RateListWindow final : public app::ProcedureWindow {
 public:
  RateListWindow(platform::Window& w, platform::ListView& view)
      : ProcedureWindow(w, "BrowseRateMilage"), view_(view), files_(dictionary::Relate_RateMilage()) {}

  int CallProcedure(int, std::uint8_t request) override {
    return CallUpdateForm(REQUEST, UpdateRateMilage, request);
  }

  int OnAccepted() override {
    const int pressed = event().control;
    if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
    if (const RateListCall* own = ownCall(pressed)) {
      browse_.LoadSelectionForAction(true);
      if (own->call) own->call();
      Refresh();
    }
    return platform::LevelContinue;
  }

 protected:
  int SetupMembers() override {
    if (int level = OpenFiles(files_); level != platform::LevelContinue) return level;
    platform::FileManager& access = dictionary::Access_RateMilage();
    view_.setOpener(UseFileOpener(access));
    browse_.Setup(BROWSE_1, view_, *this);
    browse_.SetButtons({INSERT_4, CHANGE_4, DELETE_4, 0, SELECT_2, true});
    orders_.Declare(browse_);
    browse_.SetUpdateProcedure(1);
    browse_.SetPrimer([&access] { return access.PrimeRecord(true); });
    return platform::LevelContinue;
  }
  void AttachTargets() override { browse_.AttachToolbar(toolbarObject()); }

 private:
  platform::ListView& view_;
  RelationOpener files_;
  // The first tab shows the rates by rate (order 2), the hidden second by
  // date (order 1).
  TabOrderBrowse browse_{CURRENTTAB, {2, 1}};
  RateOrders orders_;
};

}  // namespace

std::span<RateListCall> RateListCalls() { return calls; }

void BrowseRateMilage() {
  platform::Window window(childWindow("Mileage Rate", {0, 0, 264, 208}));
  describe(window);
  RunListWindow<RateListWindow>(window, dictionary::RateMilage());
}

}  // namespace cases
