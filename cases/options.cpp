#include "cases/options.h"

#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "platform/lib/window_fitter.h"
#include "platform/ui/describe.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::describe::control;

class OptionsWindow final : public app::ProcedureWindow {
 public:
  using ProcedureWindow::ProcedureWindow;

 protected:
  int SetupMembers() override {
    AddCloseButton(options::OK, app::ResponseCancelled);
    AddCloseButton(options::CANCEL, app::ResponseCancelled);
    return platform::LevelContinue;
  }
};

}  // namespace

void OPTIONS() {
  platform::WindowSpec spec;
  spec.kind = platform::WindowKind::Own;
  spec.caption = "BOX 21";
  spec.rect = {0, 0, 330, 292};
  spec.centred = true;
  spec.resizable = true;
  spec.systemMenu = true;
  spec.background = platform::rgb(0xC0, 0xC0, 0xC0);
  platform::Window window(spec);

  window.add(control(options::IMAGE1, ControlKind::Image, {4, 4, 322, 262}, options::CodeTablePicture));
  ControlSpec ok = control(options::OK, ControlKind::Button, {140, 272, 50, 16}, "e x i t");
  ok.tip = "Accept Operation";
  window.add(ok);
  ControlSpec cancel = control(options::CANCEL, ControlKind::Button, {196, 272, 50, 16}, "Cancel");
  cancel.hidden = true;
  window.add(cancel);
  ControlSpec help = control(options::HELP, ControlKind::Button, {252, 272, 50, 16}, "Help");
  help.hidden = true;
  window.add(help);

  // The table is the window's content: it grows with the window (and keeps
  // its proportions as the desktop draws it).
  platform::WindowFitter resizer;
  resizer.SetGrows(options::IMAGE1);
  OptionsWindow thisWindow(window, "OPTIONS");
  thisWindow.SetResizer(resizer);
  app::RunProcedureWindow(thisWindow);
}

}  // namespace cases
