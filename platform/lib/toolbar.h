#pragma once
// The toolbar object of a window, and the targets that toolbar buttons reach.
//
// Every window attaches a Toolbar object of its own
// (WindowController::AttachToolbar). Its lists and forms make themselves
// its target when they are set up (SetTarget). The frame's toolbar buttons
// that stand for a common action (AddButton) forward to the current target:
// pressing one presses the target's own control for that action, in the
// target's window, whatever thread runs it, as a click there would. The
// current target is the target of the toolbar whose window last received
// the focus or, until then, was attached last; a window's toolbar stops
// being a candidate when the window shuts down.
//
// Buttons of the frame's toolbar that are not added here (the frame's own
// buttons that start procedures) are left to the frame's handlers.

#include <utility>
#include <vector>

#include "platform/lib/window_controller.h"

namespace platform {

// The common actions a toolbar button can stand for.
enum class ToolbarButton { Insert, Change, Delete, View, Select, Help };

// A list or form as the toolbar reaches it.
class ToolbarTarget {
 public:
  virtual ~ToolbarTarget() = default;
  // The window the target's controls belong to.
  virtual Window& ToolbarWindow() const = 0;
  // The target's control for the action; 0 when it has none.
  virtual int ToolbarControl(ToolbarButton button) const = 0;
};

class Toolbar final : public WindowComponent {
 public:
  Toolbar() = default;
  ~Toolbar() override;

  // The frame's side: toolbar button `control` of this window stands for
  // `button`.
  void AddButton(int control, ToolbarButton button);
  // Presses the current target's control for `button`; false when there is
  // no current target, it has no such control, the control is hidden or
  // disabled, or its window is under a newer window of its thread.
  static bool Forward(ToolbarButton button);

  // The target's side.
  void SetTarget(ToolbarTarget* target);
  ToolbarTarget* target() const { return target_; }
  // The target the frame's buttons reach now; nullptr for none.
  static ToolbarTarget* currentTarget();

  int SetupComponent() override;
  int TakeEvent(const Event& event) override;
  void ShutdownComponent() override;

 private:
  void makeCurrent();
  void leave();

  ToolbarTarget* target_ = nullptr;
  std::vector<std::pair<int, ToolbarButton>> buttons_;
};

}  // namespace platform
