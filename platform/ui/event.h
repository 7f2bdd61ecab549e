#pragma once
// Events of a window, as its event loop (Window::accept) hands them over.

#include <cstdint>

#include "platform/ui/keys.h"

namespace platform {

enum class EventKind : std::uint8_t {
  Accepted,      // a control was accepted: a button or menu item pressed, a check box
                 // ticked, a radio or drop-list entry chosen, an entry left after a
                 // change or Enter pressed in it (its variable already holds the value)
  Selected,      // a control received the focus
  NewSelection,  // the selected row of a list, tab of a sheet or entry of a drop list
                 // changed, or a spin box was stepped
  CloseRequest,  // the user or the code asks the window to close
  OpenWindow,    // the window has opened
  Timer,         // the window's timer has come round
  Sized,         // the user resized, maximized, minimized or restored the window
  AlertKey,      // a key the window registered (Window::alert) was pressed; the event's
                 // control is the one that had the focus
  Key,           // a key for a list: Insert, Delete, Ctrl+Enter, Shift+Enter or a
                 // printable character typed while the list has the focus
  DoubleClick,   // a double-click on a row of a list
  Scroll,        // a navigation key or the scroll bar of a list (see ScrollAction)
  PointerIn,     // the pointer entered a region
  PointerOut,    // the pointer left a region
  PointerUp,     // the pointer button was released over a region
};

const char* eventName(EventKind kind);

enum class ScrollAction : std::uint8_t {
  Up,        // Up key, scroll-bar arrow
  Down,      // Down key
  PageUp,    // Page Up
  PageDown,  // Page Down
  Top,       // Home (Ctrl+Home)
  Bottom,    // End
  Thumb,     // the scroll bar's thumb was dragged to Event::thumb (0..100)
};

struct Event {
  EventKind kind = EventKind::Accepted;
  int control = 0;  // 0 for an event of the window itself
  KeyPress key{};   // AlertKey, Key
  ScrollAction scroll = ScrollAction::Down;
  int thumb = 0;  // Scroll with ScrollAction::Thumb
};

// What a handler answers for the event it handled (Window::endEvent).
enum class EventLevel : std::uint8_t {
  Continue = 0,  // go on with the event's default action
  End = 3,       // end the window's event loop
  Skip = 5,      // stop handling the event, its default action included
};

}  // namespace platform
