#pragma once
// How a list procedure runs its window once the window is described: the
// list's view over its primary file and the resizer live as long as the run,
// and the window object takes the window, its own arguments, then the view.
//
//   void BrowseRateMilage() {
//     platform::Window window(childWindow("Mileage Rate", {0, 0, 264, 208}));
//     describe(window);
//     RunListWindow<RateListWindow>(window, dictionary::RateMilage());
//   }

#include <utility>

#include "app/frame/procedure_window.h"
#include "platform/db/file.h"
#include "platform/lib/list_view.h"
#include "platform/lib/window_fitter.h"
#include "platform/ui/window.h"

namespace cases {

// Runs a ListWindow (an app::ProcedureWindow) on `window` over `file` until
// it closes, leaving its result in ThreadResponse (app::RunProcedureWindow).
template <class ListWindow, class... Args>
void RunListWindow(platform::Window& window, platform::DbFile& file, Args&&... args) {
  platform::ListView view(file);
  platform::WindowFitter resizer;
  ListWindow thisWindow(window, std::forward<Args>(args)..., view);
  thisWindow.SetResizer(resizer);
  app::RunProcedureWindow(thisWindow);
}

}  // namespace cases
