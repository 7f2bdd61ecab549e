#pragma once
// The window resizer: the controls of a window follow its size, and the
// size the window has when the resizer is set up (its designed size) becomes
// its minimum size, with no maximum.
//
// The rule, for a window grown by dx across and dy down from its designed
// size:
//   - lists, multi-line texts and sheets grow: their width by dx and their
//     height by dy; so does a control the window marks to grow (SetGrows);
//   - every other control keeps its size; it moves right by dx when it lies
//     nearer the window's right edge than its left edge (its centre is right
//     of the window's centre), and down by dy when it lies nearer the
//     bottom than the top;
//   - controls of the frame's menus and toolbar, and controls added after
//     the set-up, are left where they are.
// Positions always follow from the designed ones, so fitting again gives
// the same result; shrinking back to the designed size puts every control
// back where its description placed it.

#include <vector>

#include "platform/lib/window_controller.h"
#include "platform/ui/style.h"

namespace platform {

class WindowFitter final : public WindowComponent {
 public:
  // Before Setup: the control grows with the window, as a list does (a
  // picture that is the window's content).
  void SetGrows(int control) { growing_.push_back(control); }
  // Records the designed rectangles of the window's controls and makes the
  // window's current size its minimum size.
  void Setup(Window& window);
  // Places the controls for the window's current size.
  void Fit();

  // A resize of the window fits the controls again.
  int TakeEvent(const Event& event) override;
  void ShutdownComponent() override;

  // The designed size; 0 by 0 before Setup.
  int designedWidth() const { return width_; }
  int designedHeight() const { return height_; }

 private:
  struct Designed {
    int control;
    Rect rect;
    bool grows;
  };
  Window* window_ = nullptr;
  int width_ = 0, height_ = 0;
  std::vector<Designed> designed_;
  std::vector<int> growing_;
};

}  // namespace platform
