#pragma once
// The vocabulary of window descriptions. A procedure writes its window's
// controls in the order and the words of the window's description: what the
// control is, its number and place, what it shows, then its attributes.
//
//   using namespace platform::describe;
//   w.add(entry(HOU_TRIAL, {90, 120, 40, 12}, HOU(HOU_TRIAL), "N-7.1B"));
//   w.add(display(HOU_TOTAL, {90, 140, 60, 10}, HOU(HOU_TOTAL), "N$-17.2B").bold().fill(Band));
//   w.add(button(OK, {390, 284, 56, 18}, "&OK", "Accept data and close the window").isDefault());
//
// A procedure's window starts from childWindow(), which gives what most of
// them share; the procedure then sets what differs:
//
//   platform::WindowSpec spec = childWindow("Form TOTALS", {0, 0, 300, 222});
//   spec.resizable = true;
//
// Each control helper answers a ControlDescription, whose setters each set one
// attribute and answer the description again; it converts to the
// ControlSpec that Window::add takes. Labels and boxes that the code never
// addresses need no number of their own when a Description adds them: it
// numbers them in the order they come and puts what follows a within() on
// that tab or group.

#include <string>
#include <utility>
#include <vector>

#include "platform/types/field.h"
#include "platform/ui/control.h"
#include "platform/ui/style.h"
#include "platform/ui/window.h"

namespace platform::describe {

// The colours the descriptions name.
inline constexpr Color Black = rgb(0, 0, 0);
inline constexpr Color White = rgb(0xFF, 0xFF, 0xFF);
inline constexpr Color Red = rgb(0xFF, 0, 0);
inline constexpr Color Grey = rgb(0xC0, 0xC0, 0xC0);  // the windows' grey background

// A child window of the frame with the caption and designed rectangle,
// centred as it opens, not resizable, with a system menu, the grey
// background and the 8-point "MS Sans Serif" font.
WindowSpec childWindow(std::string caption, Rect rect);

class ControlDescription {
 public:
  ControlDescription(int number, ControlKind kind, Rect rect, std::string text = {});

  // On a tab, in an option group, a menu or the toolbar.
  ControlDescription& in(int parent);
  // Shows a variable through a display picture (none for a text shown as it is).
  ControlDescription& bind(FieldRef var, std::string picture = {});

  // --- look ---
  ControlDescription& font(Font f);
  ControlDescription& size(int points);
  ControlDescription& bold();
  ControlDescription& angle(int tenthsOfADegree);
  ControlDescription& colour(Color fontColour);
  ControlDescription& fill(Color c);
  // Drawn over whatever lies under it (a label on a band).
  ControlDescription& transparent();
  ControlDescription& justify(Justify j);
  ControlDescription& icon(std::string file);
  ControlDescription& cursor(CursorShape c);
  ControlDescription& boxed();
  ControlDescription& vscroll();
  ControlDescription& tiled();

  // --- behaviour ---
  ControlDescription& tip(std::string text);
  ControlDescription& status(std::string text);
  ControlDescription& hidden(bool on = true);
  ControlDescription& disabled(bool on = true);
  ControlDescription& readOnly();
  ControlDescription& required();
  // Not reached by the Tab key.
  ControlDescription& skip();
  // The button Enter presses.
  ControlDescription& isDefault();
  ControlDescription& password();
  ControlDescription& action(StdAction a);
  // A list's columns; a drop list's entries and how many it shows dropped.
  ControlDescription& columns(std::vector<ListColumn> list);
  ControlDescription& choices(std::vector<std::string> entries, int dropLines = 0);

  const ControlSpec& spec() const { return spec_; }
  operator ControlSpec() const& { return spec_; }
  operator ControlSpec() && { return std::move(spec_); }

 private:
  ControlSpec spec_;
};

// Any control.
ControlDescription control(int number, ControlKind kind, Rect rect, std::string text = {}, int parent = 0);
// A control that shows a variable.
ControlDescription bound(int number, ControlKind kind, Rect rect, FieldRef var, std::string picture = {});
ControlDescription entry(int number, Rect rect, FieldRef var, std::string picture = {});
ControlDescription check(int number, Rect rect, std::string caption, FieldRef var);
// A display string: a variable shown, drawn over what lies under it.
ControlDescription display(int number, Rect rect, FieldRef var, std::string picture);
// A label.
ControlDescription prompt(int number, Rect rect, std::string text);
ControlDescription prompt(Rect rect, std::string text);
ControlDescription button(int number, Rect rect, std::string caption, std::string tip = {});
ControlDescription box(int number, Rect rect, Color fill);
ControlDescription box(Rect rect, Color fill);
ControlDescription image(int number, Rect rect, std::string file);

// Adds a description's controls to a window. A control without a number
// (0) takes the next of the numbers from `firstUnnumbered` on; a control
// without a parent goes into the one within() named last.
class Description {
 public:
  explicit Description(Window& window, int firstUnnumbered = 0) : window_(window), next_(firstUnnumbered) {}
  Control& add(ControlDescription c);
  // The controls that follow go on this tab or into this group; 0 for the
  // window itself.
  void within(int parent) { parent_ = parent; }
  Window& window() const { return window_; }

 private:
  Window& window_;
  int next_;
  int parent_ = 0;
};

}  // namespace platform::describe
