#pragma once
// The frame every window procedure shares: the window object of one
// procedure, with the common steps of its set-up and shut-down, its name for
// the error manager, its placement in the settings file, its resizer and the
// grey fill of the control that has the focus.
//
// A procedure's body:
//
//   void BrowseSomething() {
//     platform::Window window(spec);            // 1. its window structure
//     ... window.add(...) ...
//     platform::WindowFitter resizer;           // 2. its objects
//     BrowseSomethingWindow thisWindow(window, "BrowseSomething");
//     thisWindow.SetResizer(resizer);
//     app::RunProcedureWindow(thisWindow);      // 3. run, 4. ThreadResponse
//   }                                           // 5. destroyed in reverse
//
// Set-up, in this order (the member steps are the virtual hooks):
//    1. the procedure's name goes on the thread's error manager's list;
//    2. REQUEST := ThreadRequest, and ThreadRequest and ThreadResponse are
//       cleared at once, so that no way out of the set-up, a failed one
//       included, leaves the caller's request behind;
//    3. the class library's own set-up; a level other than 0 is answered at
//       once (the event loop does not run, the shut-down does);
//    4. FIRSTFIELD, VCRREQUEST := the thread's ThreadVcrRequest, ERRORS :=
//       ThreadErrors;
//    6. the window's toolbar object is attached;
//    7. SetupMembers (close buttons, files through OpenFiles, lists; a form
//       prepares its request); a level other than 0 is answered at once;
//    8. the window opens; OPENED := 1;
//    9. SetupOpenWindow (fill, hide, disable controls);
//   10. the resizer, when the window has one, takes the window's designed
//       size as its minimum;
//   11. the placement is restored from the section named after the
//       procedure (placement.h);
//   12. the resizer fits the controls to the restored size;
//   13. AttachTargets (lists and forms attach to the toolbar);
//   14. the components' alert keys are registered;
//   15. 0.
// Shut-down:
//   1. the class library's own shut-down; when it answers other than 0 (it
//      ran before) that is answered at once;
//   2. when FILESOPENED: every relation object opened through OpenFiles is
//      closed, the last opened first;
//   3. when OPENED: the placement is saved;
//   4. ShutdownMembers;
//   5. the procedure's name leaves the error manager's list;
//   6. 0.
//
// FocusHighlight handles every focus event: the control that had the grey
// fill gets its own colour back (fill -1), and the control receiving the
// focus gets the fill E5E5E5h when it is an entry, a multi-line text, a
// radio button, a check box, a drop-down combo, a drop-down list, a combo or
// a spin box; buttons, lists and the rest get no fill.
//
// The application frame's window (WindowKind::Frame) closes only after the
// windows of every other thread have closed (app::CloseOtherThreads); if one
// refuses, the frame's close request is answered with 5 and the frame stays
// open.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/lib/toolbar.h"
#include "platform/lib/window_controller.h"
#include "platform/lib/window_fitter.h"
#include "platform/ui/style.h"

namespace app {

// The fill of the control that has the focus: light grey, E5E5E5h.
constexpr platform::Color FocusFill = platform::rgb(0xE5, 0xE5, 0xE5);

class ProcedureWindow : public platform::WindowController {
 public:
  // `procedureName` is the procedure's own name (trailing blanks are not
  // part of it): the error manager's %Procedure and the settings section.
  ProcedureWindow(platform::Window& window, std::string procedureName, std::int32_t firstField = 1);

  const std::string& procedureName() const { return name_; }
  // A window with a resizer; before Execute.
  void SetResizer(platform::WindowFitter& resizer) { resizer_ = &resizer; }
  platform::WindowFitter* resizer() const { return resizer_; }
  platform::Toolbar& toolbarObject() { return toolbarObject_; }

  // Opens a relation object for the procedure (a member step of set-up):
  // FILESOPENED := 1, and the shut-down closes it. Answers Open's level.
  int OpenFiles(platform::RelatedFiles& relation);

  int Setup() override;
  int Shutdown() override;
  int OnSelected() override;
  int OnCloseRequest() override;

  // The control coloured last, 0 for none.
  int lastColoured() const { return lastColoured_; }

 protected:
  // Member steps of set-up and shut-down (see above).
  virtual int SetupMembers() { return platform::LevelContinue; }
  virtual void SetupOpenWindow() {}
  virtual void AttachTargets() {}
  virtual void ShutdownMembers() {}

  // The focus event's handler, then the class library's; answers the
  // latter's level.
  int FocusHighlight();

 private:
  std::string name_;
  std::int32_t firstField_;
  platform::WindowFitter* resizer_ = nullptr;
  platform::Toolbar toolbarObject_;
  std::vector<platform::RelatedFiles*> opened_;
  int lastColoured_ = 0;
};

// Steps 3 and 4 of a procedure's body: runs the window and leaves its result
// in ThreadResponse, ResponseCancelled when it has none.
void RunProcedureWindow(ProcedureWindow& window);

}  // namespace app
