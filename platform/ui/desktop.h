#pragma once
// The desktop: every window of the process, and the observers that mirror
// them on screen (the toolkit adapter) or watch them (the headless driver).
//
// Observers are told of every change to the model as it happens, on the
// thread that makes it (a logical thread or the scheduler's stack). They
// must only update their mirror: no waiting, no event loop, no input.

#include <string_view>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/window.h"

namespace platform {

class DesktopObserver {
 public:
  virtual ~DesktopObserver() = default;
  virtual void windowCreated(Window&) {}
  virtual void windowOpened(Window&) {}
  virtual void windowClosed(Window&) {}
  virtual void windowDestroyed(Window&) {}
  // WindowProp::Enabled: takesInput() changed (a window of the same thread
  // opened on top of it, or closed).
  virtual void windowChanged(Window&, WindowProp) {}
  virtual void controlAdded(Window&, Control&) {}
  // Just before the control is removed.
  virtual void controlRemoved(Window&, Control&) {}
  // Also for effective visibility: when a sheet's selected tab changes,
  // Prop::Selected of the sheet.
  virtual void propertyChanged(Window&, Control&, Prop) {}
  virtual void rowsChanged(Window&, Control&) {}
  // The focus moved to `control` (0: none); also reported when the focus is
  // kept on an entry whose text was refused, so a mirror can move it back.
  virtual void focusChanged(Window&, int /*control*/) {}
  virtual void standardAction(Window&, Control&, StdAction) {}
  // A close request was dropped before any handler saw it: the entry being
  // edited held a text that does not read, and the window stays open.
  virtual void closeRefused(Window&) {}
};

class Desktop {
 public:
  void addObserver(DesktopObserver* observer);
  void removeObserver(DesktopObserver* observer);

  // Every window that exists, in the order they were built.
  const std::vector<Window*>& windows() const { return windows_; }
  Window* find(int windowId) const;
  // The newest open window with this caption.
  Window* findByCaption(std::string_view caption) const;
  // The open window of the thread that takes input (the one opened last).
  Window* activeWindow(int thread) const;
  // The open application frame.
  Window* frame() const;

 private:
  friend class Window;
  friend class Control;
  friend struct WindowInput;
  void added(Window* w);
  void removed(Window* w);
  void updateModality(int thread);
  template <class F>
  void notify(F&& f) {
    if (observers_.empty()) return;
    std::vector<DesktopObserver*> list = observers_;
    for (DesktopObserver* o : list) f(*o);
  }

  std::vector<Window*> windows_;
  std::vector<DesktopObserver*> observers_;
  long openCounter_ = 0;
};

Desktop& desktop();

}  // namespace platform
