#pragma once
// The desktop on Qt Widgets: mirrors every window of the model as a real
// window and feeds the user's keyboard and mouse back to the model through
// platform::input only.
//
//   - The frame is a QMainWindow around a QMdiArea, with its menus, its
//     toolbar and its status-bar zones; MDI children are sub-windows of the
//     area; windows of their own and message boxes are top-level windows
//     whose widget parent is the frame (when one is open) and whose
//     transient parent is the window that called them. A window is never a
//     widget child of its caller, so disabling the caller leaves it usable.
//   - A window of its own is shown from the event loop once the thread that
//     opened it has placed it (centred, then its saved placement), so a
//     window manager maps it once, where it belongs. A window without a
//     caption has no title bar. A maximized frame that no window manager
//     maximizes takes the screen's available area itself.
//   - When the window the user works in closes, its thread's top window
//     (the one that called it) gets the front and the focus back, on the
//     control the model has the focus on.
//   - Modality is the model's: of one thread's open windows only the newest
//     takes input, so the client areas of the others are disabled. The
//     frame's own widget is never disabled (that would disable every MDI
//     child of every thread): a blocked frame loses its menus, toolbar and
//     controls only. Qt's window modality is never used.
//   - Controls stand at their designed positions, converted from dialog
//     units (look.h) with the window's font. Every position of a control is
//     relative to the window's client area, also for the controls on a tab
//     or in an option group.
//   - Input goes through platform::input and then the queued threads run at
//     once, so the model is current before the next input is read. A
//     refused input puts the widget back as the model has it.
//   - A combo (an entry with its list) and a drop combo are both an
//     editable combo box; a radio with an icon is a push button that stays
//     down; a list's table never scrolls by itself (the list object loads
//     the page it shows) and the desktop reports how many rows fit
//     (Control::setPageRows).
//   - Widgets are made and changed as the model tells (DesktopObserver),
//     also on logical threads; those changes never feed input back. Windows
//     are deleted later (deleteLater), never under a running event handler.
//
// One file per concern: desktop_qt.cpp (set-up and the widgets' lookup),
// desktop_windows.cpp (windows), desktop_build.cpp (a control's widget),
// desktop_controls.cpp (a control's state on its widget), desktop_input.cpp
// (the user's keyboard, mouse, moves and resizes), desktop_actions.cpp (the
// standard actions); desktop_views.h holds what they share.

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/qt/look.h"
#include "platform/ui/desktop.h"
#include "platform/ui/input.h"

class QAction;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QLabel;
class QMainWindow;
class QMdiArea;
class QWidget;

namespace platform::qt {

class QtDesktop : public QObject, private DesktopObserver {
 public:
  QtDesktop();
  ~QtDesktop() override;
  QtDesktop(const QtDesktop&) = delete;
  QtDesktop& operator=(const QtDesktop&) = delete;

  // How queued threads are run right after input; by default
  // Scheduler::runReady with faults written to the standard error.
  void setRunner(std::function<void()> run) { runner_ = std::move(run); }

  // --- the widgets (for the program's helpers and for tests) ---
  QMainWindow* frameWidget() const;
  QMdiArea* mdiArea() const;
  // The window as the user sees it: the frame, its sub-window, or the
  // top-level widget. Null when the window has none (any more).
  QWidget* windowWidget(const Window& w) const;
  // Where the window's controls stand.
  QWidget* clientWidget(const Window& w) const;
  QWidget* controlWidget(const Window& w, int control) const;
  // Menus, menu items and toolbar buttons.
  QAction* controlAction(const Window& w, int control) const;
  // The frame's status-bar zone (from 1).
  QLabel* statusZone(int zone) const;
  DialogUnits units(const Window& w) const;
  // The window that called `w` (the newest open window of its thread when
  // it opened), or null.
  Window* callerOf(const Window& w) const;
  // Keeps the windows of `thread` closed to the user while a dialog of the
  // desktop's own is open for it, as the printer set-up does (the report
  // preview's printer dialog).
  void blockThread(int thread);
  void unblockThread(int thread);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct ControlView;
  struct WindowView;
  struct Sync;

  // DesktopObserver
  void windowCreated(Window& w) override;
  void windowOpened(Window& w) override;
  void windowClosed(Window& w) override;
  void windowDestroyed(Window& w) override;
  void windowChanged(Window& w, WindowProp p) override;
  void controlAdded(Window& w, Control& c) override;
  void controlRemoved(Window& w, Control& c) override;
  void propertyChanged(Window& w, Control& c, Prop p) override;
  void rowsChanged(Window& w, Control& c) override;
  void focusChanged(Window& w, int control) override;
  void standardAction(Window& w, Control& c, StdAction a) override;

  WindowView* view(int windowId) const;
  WindowView* view(const Window& w) const { return view(w.id()); }
  WindowView* frameView() const;
  ControlView* controlView(WindowView& v, int control) const;

  void buildWindow(WindowView& v);
  void buildControl(WindowView& v, Control& c);
  void bindWidget(QWidget* widget, int windowId, int control);
  QWidget* hostOf(WindowView& v) const;
  void applyAll(WindowView& v, ControlView& cv);
  void applyProp(WindowView& v, ControlView& cv, Prop p);
  void applyColors(ControlView& cv);
  void applyStates(WindowView& v);
  void applyInput(WindowView& v);
  void applyInputOfThread(int thread);
  void showWaitCursor(WindowView& v, bool on);
  void applyGeometry(WindowView& v);
  void applyWindowState(WindowView& v);
  void syncRadios(WindowView& v, Control& option);
  void syncListSelection(ControlView& cv);
  void syncSheet(WindowView& v, ControlView& sheet);
  void reportPageRows(ControlView& cv);
  void restack(WindowView& v);
  void showStatus(WindowView& v, int control);
  Rect shownRect(WindowView& v) const;
  void showTop(int windowId);
  // A maximized frame that no window manager has maximized takes the
  // screen's available area.
  void fillScreen(int windowId, int tries);
  void centre(WindowView& v);
  // Whether the window is the one the user works in: the active window, or
  // the frame's active child.
  bool hasFront(WindowView& v) const;
  // The thread's top window to the front, with the focus on the control the
  // model has it on.
  void bringForward(int thread);
  void destroyView(int windowId);
  bool threadBlocked(int thread) const;

  // --- user input ---
  // Feeds one input to the window (when it still exists), runs the queued
  // threads, and puts `control` back as the model has it when the input
  // was refused.
  void user(int windowId, int control, const std::function<input::Status(Window&)>& act);
  void runThreads();
  bool keyPressed(WindowView& v, int control, QKeyEvent* e);
  void placementChanged(WindowView& v);
  void stateChanged(WindowView& v);
  void listMouse(WindowView& v, ControlView& cv, QMouseEvent* e, bool twice);
  void listWheel(WindowView& v, ControlView& cv, QWheelEvent* e);
  void listScrollBar(int windowId, int list, int action);

  // --- standard actions ---
  void editAction(StdAction a);
  void arrangeIcons();
  void printSetup(Window& w);
  void showWindowList(QWidget* anchor);

  std::unordered_map<int, std::unique_ptr<WindowView>> views_;
  std::map<int, std::vector<int>> openOrder_;  // per thread: open windows, oldest first
  std::map<int, int> blocked_;                 // per thread: desktop dialogs open on it
  int frameId_ = 0;
  int syncing_ = 0;
  // The widget a click is giving the focus, while the model takes that in:
  // its text is not selected (giveFocus).
  QWidget* clicked_ = nullptr;
  std::function<void()> runner_;
};

// Translates a key press into the model's keys; false for keys the model
// has no name for (they stay with the widget).
bool translateKey(const QKeyEvent& e, KeyPress& out);

}  // namespace platform::qt
