#include "cases/update_rate_milage.h"

#include "app/frame/thread_state.h"
#include "cases/form_manager.h"
#include "cases/rate_windows.h"
#include "dictionary/dictionary.h"
#include "platform/lib/window_fitter.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace rate_form;
using namespace platform::describe;
using platform::ControlKind;
using platform::Justify;

// The window's controls in Tab order, each prompt just before the control
// it names; the prompts are numbered from 100 on.
void buildWindow(platform::Window& w) {
  using dictionary::RTM;
  Description d(w, 100);
  d.add(prompt({10, 18, 60, 10}, "&Milage Rate:"));
  // "n6.3" shows at most 99.999 and takes no more: a larger rate is refused
  // as it is typed, and the stored rate stays as it was.
  d.add(entry(RTM_MILAGERATE, {74, 8, 116, 30}, RTM(dictionary::RTM_MILAGERATE), "n6.3")
            .justify(Justify::Center)
            .font({"Arial", 26, true}));
  d.add(button(OK, {74, 76, 54, 16}, "&OK", "Accept data and close the window").isDefault());
  d.add(button(CANCEL, {136, 76, 54, 16}, "&Cancel", "Cancel operation"));
  d.add(prompt({10, 50, 60, 10}, "&Date:"));
  d.add(bound(RTM_DATEMILAGERATE, ControlKind::Spin, {74, 46, 90, 16}, RTM(dictionary::RTM_DATEMILAGERATE), "D17B")
            .justify(Justify::Right)
            .skip());
}

}  // namespace

void UpdateRateMilage() {
  platform::WindowSpec spec = childWindow("Add New Milage Rate", {0, 0, 204, 100});
  spec.doubleBorder = true;
  platform::Window window(spec);
  buildWindow(window);

  platform::WindowFitter resizer;
  FormWindow thisWindow(window, "UpdateRateMilage", dictionary::Access_RateMilage(), dictionary::Relate_RateMilage());
  thisWindow.SetButtons(OK, CANCEL);
  thisWindow.AddHistory(RTM_MILAGERATE, dictionary::RTM_MILAGERATE);
  thisWindow.AddHistory(RTM_DATEMILAGERATE, dictionary::RTM_DATEMILAGERATE);
  thisWindow.SetViewLock({RTM_MILAGERATE}, {});
  thisWindow.SetResizer(resizer);
  app::RunProcedureWindow(thisWindow);
}

}  // namespace cases
