#pragma once
// The user's input, as the toolkit adapter and the headless driver feed it
// in. One entry point per kind of input; each checks that the user could do
// it (the window is open and takes input, the control is shown, enabled and
// of a kind that takes it), updates what is on screen and queues the events
// for the window's thread. Nothing here runs a logical thread: after
// feeding input, the caller runs the scheduler (Scheduler::runReady).
//
// Controls are addressed by number; positions (rows, tabs, choices, radios)
// count from 1.

#include <cstdint>
#include <string_view>

#include "platform/ui/event.h"
#include "platform/ui/keys.h"

namespace platform {

class Window;

namespace input {

enum class Status : std::uint8_t {
  Ok,
  NotOpen,     // the window is not open
  Blocked,     // a newer window of the same thread is open on top of it
  NoControl,   // no control with that number
  Hidden,      // the control is not shown
  Disabled,    // the control is disabled
  ReadOnly,    // the control does not take changes
  WrongKind,   // the control does not take this input
  OutOfRange,  // no such row, tab or choice
};
const char* describe(Status s);

enum class PointerAction : std::uint8_t { Enter, Leave, Release };

// The focus moves to the control (a click into it, or the toolkit's own
// focus change). An edited entry that loses the focus is accepted.
Status focus(Window& w, int control);
// Tab or Shift+Tab from the control that has the focus: to the next control
// that is shown, enabled and not marked skip; an option group is one stop.
Status tab(Window& w, bool backwards = false);
// The control's text is now `text` (UTF-8), as typed: an entry, text, spin
// box or combo. Reaches the variable when the control is accepted.
Status edit(Window& w, int control, std::string_view text);
// A key pressed while the focused control has the focus: alert keys of the
// window first; Tab; Alt and a character marked with '&' in a prompt's text
// (the focus moves to the control after the prompt in the window's order,
// unless a button, check box, radio or tab marks the same character); Enter (accepts an entry and presses the default button
// unless the entry takes Enter itself; a new line in a multi-line text;
// presses a focused button); on a list the navigation keys, Insert, Delete,
// Ctrl+Enter, Shift+Enter and printable characters; Up and Down on a spin
// box; Space on a button, check box or radio.
Status key(Window& w, KeyPress key);
// A click: presses a button, menu item or toolbar button, toggles a check
// box, chooses a radio, selects a tab, releases the pointer over a region,
// and focuses other controls.
Status click(Window& w, int control);
// Chooses an entry of a drop list or combo, or a radio of an option group.
Status choose(Window& w, int control, int position);
Status selectRow(Window& w, int list, int row);
Status doubleClick(Window& w, int list, int row);
Status selectTab(Window& w, int sheet, int position);
Status scroll(Window& w, int list, ScrollAction action, int thumb = 0);
Status pointer(Window& w, int region, PointerAction action);
// The character a control's text marks with '&' as its key ("&&" is an
// ampersand), letters in upper case; 0 for none.
std::uint32_t mnemonicOf(std::string_view text);
// The close box or the system menu's Close.
Status closeWindow(Window& w);
// The user moved or resized the window, or changed its state.
Status moveWindow(Window& w, int x, int y);
Status resizeWindow(Window& w, int width, int height);
Status maximize(Window& w);
Status minimize(Window& w);
Status restore(Window& w);

}  // namespace input
}  // namespace platform
