#include "cases/select_rate_milage.h"

#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "cases/browse_manager.h"
#include "cases/list_window.h"
#include "cases/rate_orders.h"
#include "cases/rate_windows.h"
#include "dictionary/dictionary.h"
#include "platform/lib/list_view.h"
#include "platform/ui/control.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace rate_picker;
using namespace platform::describe;
using platform::ControlKind;
using platform::Rect;

// The window "Select a Rate " as its description gives it.
void describe(platform::Window& w) {
  using dictionary::RTM;
  const platform::Font small{"Arial", 7};
  w.add(control(BROWSE_1, ControlKind::List, {8, 8, 180, 110})
            .vscroll()
            .status("Browsing the RateMilage file")
            .columns(RateColumns()));
  w.add(button(SELECT_2, {196, 8, 60, 14}, "&Select", "Select the Record"));
  w.add(prompt(STRING3_3, {4, 180, 256, 9},
               "*To add new mileage rate to this list, go to the top left of your screen")
            .font(small)
            .colour(White)
            .transparent());
  w.add(prompt(STRING3, {4, 189, 256, 9}, " and under Browser, New Mileage Rate drops down.")
            .font(small)
            .colour(White)
            .transparent());

  constexpr Rect Sheet{8, 124, 248, 50};
  w.add(control(CURRENTTAB, ControlKind::Sheet, Sheet));
  w.add(control(TAB_2, ControlKind::Tab, Sheet, "Mileage Rate", CURRENTTAB));
  w.add(image(IMAGE1, {16, 140, 48, 28}, "car.gif").in(TAB_2));
  w.add(prompt(STRING1, {70, 149, 80, 10}, "Mileage Rate Selected:").in(TAB_2).transparent());
  w.add(display(RTM_MILAGERATE, {152, 145, 70, 16}, RTM(dictionary::RTM_MILAGERATE), "n6.3")
            .in(TAB_2)
            .font({"Arial", 14, true}));
  w.add(control(TAB_3, ControlKind::Tab, Sheet, "&2) Date", CURRENTTAB).hidden());
  w.add(box(BAND, {0, 178, 264, 22}, Black));
}

class RatePickerWindow final : public app::ProcedureWindow {
 public:
  RatePickerWindow(platform::Window& w, platform::ListView& view)
      : ProcedureWindow(w, "SelectRateMilage"), view_(view), files_(dictionary::Relate_RateMilage()) {}

 protected:
  int SetupMembers() override {
    if (int level = OpenFiles(files_); level != platform::LevelContinue) return level;
    platform::FileManager& access = dictionary::Access_RateMilage();
    view_.setOpener(UseFileOpener(access));
    browse_.Setup(BROWSE_1, view_, *this);
    browse_.SetButtons({0, 0, 0, 0, SELECT_2, true});
    orders_.Declare(browse_);
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

void SelectRateMilage() {
  platform::Window window(childWindow("Select a Rate ", {0, 0, 264, 200}));
  describe(window);
  RunListWindow<RatePickerWindow>(window, dictionary::RateMilage());
}

}  // namespace cases
