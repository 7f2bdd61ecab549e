#pragma once
// What the desktop keeps per window and per control, shared by the files
// of the desktop (desktop_*.cpp) and by nothing else: the widgets a window
// or a control is shown by, the window's font and dialog units, and the
// guard that marks changes made from the model (which never feed input
// back).

#include <QAction>
#include <QFont>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QToolBar>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/desktop_qt.h"
#include "platform/qt/look.h"
#include "platform/qt/widgets.h"
#include "platform/ui/control.h"
#include "platform/ui/window.h"

namespace platform::qt {

// The properties that tie a widget to its window and control.
inline constexpr const char* WindowKey = "lvWindow";
inline constexpr const char* ControlKey = "lvControl";
inline constexpr const char* TopKey = "lvTop";
inline constexpr const char* ViewportKey = "lvViewport";

inline QString qs(const std::string& s) { return QString::fromStdString(s); }

struct QtDesktop::ControlView {
  Control* control = nullptr;
  QPointer<QWidget> widget;
  QPointer<QAction> action;  // menu, item, toolbar button
  QPointer<QMenu> menu;      // menu
  QList<QPointer<QAction>> windowList;  // a window-list menu's entries
  int wheel = 0;             // lists: wheel movement not yet turned into steps
};

struct QtDesktop::WindowView {
  Window* window = nullptr;
  int id = 0;
  QPointer<QWidget> top;          // what the user sees as the window
  QPointer<ClientArea> client;    // where the controls stand (null for the frame)
  QPointer<QMainWindow> main;     // the frame
  QPointer<QMdiArea> mdi;         // the frame
  QPointer<QMdiSubWindow> sub;    // an MDI child
  QPointer<QToolBar> toolbar;     // the frame
  std::vector<QPointer<QLabel>> zones;
  QFont font;
  DialogUnits du;
  std::map<int, ControlView> controls;
  std::vector<int> order;  // control numbers in the order added
  int caller = 0;
  bool opened = false;
};

struct QtDesktop::Sync {
  explicit Sync(QtDesktop& d) : desk(d) { ++desk.syncing_; }
  ~Sync() { --desk.syncing_; }
  Sync(const Sync&) = delete;
  Sync& operator=(const Sync&) = delete;
  QtDesktop& desk;
};

// Gives a control's widget the focus as the program moves it (the Tab key,
// a window opening, a handler choosing the control). As in a dialog, a
// one-line entry then has its whole text selected, so that what the user
// types replaces what it shows ("0.000" in a rate) instead of joining it.
// A click puts the cursor where it lands and never comes here.
void selectText(QWidget* target);
void giveFocus(QWidget* target);

}  // namespace platform::qt
