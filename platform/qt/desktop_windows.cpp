// The desktop's windows: the frame, its MDI children and the windows of
// their own, made, opened, placed, closed and enabled as the model says.

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <algorithm>

#include "platform/qt/desktop_qt.h"
#include "platform/qt/desktop_views.h"
#include "platform/qt/images.h"
#include "platform/qt/widgets.h"
#include "platform/ui/window.h"

namespace platform::qt {

namespace {

// A sub-window whose close box asks the model instead of closing.
class SubWindow : public QMdiSubWindow {
 public:
  using QMdiSubWindow::QMdiSubWindow;
};

}  // namespace

// --- windows -----------------------------------------------------------------

void QtDesktop::windowCreated(Window& w) {
  Sync sync(*this);
  auto owned = std::make_unique<WindowView>();
  WindowView& v = *owned;
  v.window = &w;
  v.id = w.id();
  views_[w.id()] = std::move(owned);
  buildWindow(v);
}

void QtDesktop::buildWindow(WindowView& v) {
  Window& w = *v.window;
  const WindowSpec& spec = w.spec();
  v.font = windowFont(spec.font);
  v.du = DialogUnits::of(v.font);
  const QColor background = toQColor(spec.background);
  const QPixmap picture = loadPixmap(spec.backgroundPicture);
  WindowView* frame = frameView();

  if (w.kind() == WindowKind::Frame) {
    auto* main = new QMainWindow;
    auto* mdi = new QMdiArea(main);
    main->setCentralWidget(mdi);
    main->setFont(v.font);
    main->setAttribute(Qt::WA_DeleteOnClose, false);
    mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    if (!picture.isNull())
      mdi->setBackground(QBrush(picture));
    else if (background.isValid())
      mdi->setBackground(QBrush(background));
    v.main = main;
    v.mdi = mdi;
    v.top = main;
    if (!spec.statusZones.empty()) {
      QStatusBar* bar = main->statusBar();
      for (std::size_t i = 0; i < spec.statusZones.size(); ++i) {
        auto* zone = new QLabel(bar);
        zone->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int width = spec.statusZones[i];
        if (i == 0 || width < 0) {
          bar->addWidget(zone, 1);
        } else {
          zone->setFixedWidth(v.du.toX(width));
          bar->addPermanentWidget(zone);
        }
        v.zones.emplace_back(zone);
      }
    }
    frameId_ = w.id();
    bindWidget(mdi->viewport(), w.id(), 0);
  } else if (w.kind() == WindowKind::Child && frame && frame->mdi) {
    auto* client = new ClientArea;
    auto* sub = new SubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWidget(client);
    Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint;
    if (spec.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (spec.maximizeBox) flags |= Qt::WindowMinMaxButtonsHint;
    sub->setWindowFlags(flags);
    sub->hide();
    frame->mdi->addSubWindow(sub);
    sub->hide();
    v.client = client;
    v.sub = sub;
    v.top = sub;
  } else {
    // A window of its own, a message box, or an MDI child with no frame
    // open: a top-level window, a widget child of the frame when there is
    // one (its transient parent is set to the caller when it opens).
    QWidget* parent = frame ? frame->main.data() : nullptr;
    Qt::WindowFlags flags = (w.kind() == WindowKind::Message || !spec.resizable) ? Qt::Dialog : Qt::Window;
    if (spec.caption.empty() && w.kind() != WindowKind::Message) {
      // A window without a caption has no title bar (its description draws
      // its own border).
      flags |= Qt::FramelessWindowHint;
    } else {
      flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
      if (spec.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (spec.maximizeBox) flags |= Qt::WindowMinMaxButtonsHint;
    }
    auto* client = new ClientArea(parent);
    client->setWindowFlags(flags);
    client->setAttribute(Qt::WA_DeleteOnClose, false);
    client->hide();
    v.client = client;
    v.top = client;
  }
  v.top->setProperty(TopKey, true);
  bindWidget(v.top, w.id(), 0);
  if (v.client) {
    v.client->setFont(v.font);
    v.client->setBackground(background, picture, spec.backgroundTiled);
    bindWidget(v.client, w.id(), 0);
  }
  v.top->setWindowTitle(qs(w.caption()));
  QIcon icon = spec.icon.empty() ? QIcon() : loadIcon(spec.icon);
  // A window with no icon of its own shows the program's, the frame's; a
  // child window never shows the toolkit's own emblem in its title bar.
  if (icon.isNull() && frame && frame->main) icon = frame->main->windowIcon();
  if (icon.isNull() && v.sub) {
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    icon = QIcon(blank);
  }
  if (!icon.isNull()) v.top->setWindowIcon(icon);
  applyGeometry(v);
}

void QtDesktop::windowOpened(Window& w) {
  WindowView* v = view(w);
  if (!v || !v->top) return;
  Sync sync(*this);
  std::vector<int>& open = openOrder_[w.thread()];
  v->caller = open.empty() ? 0 : open.back();
  open.push_back(w.id());
  v->opened = true;
  restack(*v);
  applyStates(*v);
  applyGeometry(*v);
  if (w.spec().centred && !w.maximized()) centre(*v);
  if (QMdiSubWindow* sub = v->sub) {
    applyWindowState(*v);
    if (!sub->isVisible()) sub->show();
    WindowView* f = frameView();
    if (QMdiArea* mdi = f ? f->mdi.data() : nullptr) mdi->setActiveSubWindow(sub);
  } else {
    // A window of its own is shown from the event loop, once the thread that
    // opened it has placed it (a saved placement): a window manager maps it
    // once, where it belongs, and reports no first placement that would
    // undo the saved one.
    const int id = v->id;
    QTimer::singleShot(0, this, [this, id] { showTop(id); });
  }
  applyInput(*v);
  for (auto& [n, cv] : v->controls)
    if (cv.control->kind() == ControlKind::List) reportPageRows(cv);
  if (w.focus())
    if (ControlView* cv = controlView(*v, w.focus()); cv && cv->widget) giveFocus(cv->widget);
}

void QtDesktop::showTop(int windowId) {
  WindowView* v = view(windowId);
  QWidget* top = v ? v->top.data() : nullptr;
  if (!top || !v->opened || top->isVisible()) return;
  Sync sync(*this);
  applyGeometry(*v);
  applyWindowState(*v);
  if (!v->main) {
    // The caller is the transient parent, whatever the widget parent is.
    // The native window is made only now, placed: moved once it exists and
    // before it is shown, the toolkit would put its client area where its
    // frame belongs.
    top->winId();
    WindowView* caller = v->caller ? view(v->caller) : nullptr;
    QWidget* callerTop = caller && caller->top ? caller->top->window() : nullptr;
    if (!callerTop && frameView() && frameView()->main) callerTop = frameView()->main.data();
    if (callerTop && callerTop != top && top->windowHandle()) {
      callerTop->winId();
      top->windowHandle()->setTransientParent(callerTop->windowHandle());
    }
  }
  top->show();
  top->raise();
  top->activateWindow();
  if (v->main && v->window->maximized()) {
    const int id = v->id;
    QTimer::singleShot(0, this, [this, id] { fillScreen(id, 0); });
  }
  ControlView* cv = v->window->focus() ? controlView(*v, v->window->focus()) : nullptr;
  if (QWidget* target = cv ? cv->widget.data() : nullptr) giveFocus(target);
}

void QtDesktop::fillScreen(int windowId, int tries) {
  WindowView* v = view(windowId);
  QMainWindow* main = v ? v->main.data() : nullptr;
  QWindow* handle = main ? main->windowHandle() : nullptr;
  if (!handle || !v->opened || !v->window->maximized() || !main->isMaximized()) return;
  if (!handle->isExposed()) {
    // Not on the screen yet: asked again until it is, for two seconds.
    if (tries < 100) QTimer::singleShot(20, this, [this, windowId, tries] { fillScreen(windowId, tries + 1); });
    return;
  }
  // A window manager frames the windows it manages, and has maximized it;
  // with none, the frame takes the screen's available area itself.
  if (!handle->frameMargins().isNull()) return;
  QScreen* screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
  if (!screen || main->geometry() == screen->availableGeometry()) return;
  Sync sync(*this);
  main->setGeometry(screen->availableGeometry());
  // A new geometry takes a window out of the maximized state; it stays
  // maximized, for the toolkit as for the model.
  main->setWindowState(main->windowState() | Qt::WindowMaximized);
}

void QtDesktop::centre(WindowView& v) {
  QWidget* top = v.top;
  if (!top) return;
  QSize size = top->size();
  QRect area;
  WindowView* f = frameView();
  QMdiArea* mdi = f ? f->mdi.data() : nullptr;
  QMainWindow* main = f ? f->main.data() : nullptr;
  if (v.sub && mdi) {
    area = mdi->viewport()->rect();
  } else {
    QWidget* over = main && main->isVisible() ? main : nullptr;
    if (over) {
      area = over->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
      area = screen->availableGeometry();
    }
  }
  if (area.isEmpty()) return;
  QPoint at(area.x() + std::max(0, (area.width() - size.width()) / 2),
            area.y() + std::max(0, (area.height() - size.height()) / 2));
  top->move(at);
  // The model takes the position at once, while the window opens, so that
  // whatever places the window after its opening (a saved placement) has
  // the last word.
  v.window->setPosition(v.du.fromX(at.x()), v.du.fromY(at.y()));
}

bool QtDesktop::hasFront(WindowView& v) const {
  QWidget* active = QApplication::activeWindow();
  if (QMdiSubWindow* sub = v.sub)
    return sub->mdiArea() && sub->mdiArea()->activeSubWindow() == sub && (!active || active == sub->window());
  return !active || active == v.top;
}

void QtDesktop::bringForward(int thread) {
  auto it = openOrder_.find(thread);
  if (it == openOrder_.end() || it->second.empty()) return;
  WindowView* v = view(it->second.back());
  if (!v || !v->top || !v->opened) return;
  Sync sync(*this);
  if (QMdiSubWindow* sub = v->sub) {
    if (QMainWindow* main = frameWidget()) {
      main->raise();
      main->activateWindow();
    }
    if (QMdiArea* mdi = sub->mdiArea()) mdi->setActiveSubWindow(sub);
  } else {
    v->top->raise();
    v->top->activateWindow();
  }
  ControlView* cv = v->window->focus() ? controlView(*v, v->window->focus()) : nullptr;
  if (QWidget* target = cv ? cv->widget.data() : nullptr; target && target->isEnabled())
    target->setFocus(Qt::OtherFocusReason);
}

void QtDesktop::windowClosed(Window& w) {
  Sync sync(*this);
  std::vector<int>& open = openOrder_[w.thread()];
  open.erase(std::remove(open.begin(), open.end(), w.id()), open.end());
  WindowView* v = view(w);
  if (!v || !v->top) return;
  const bool hadFront = hasFront(*v);
  v->opened = false;
  v->top->hide();
  // The window that opened it (its thread's top window now) gets the front
  // and the keys back once the thread's windows take input again; left to
  // the toolkit or the window manager, they would go to whatever window it
  // picks, a waiting one of the same thread included.
  if (hadFront) {
    const int thread = w.thread();
    QTimer::singleShot(0, this, [this, thread] { bringForward(thread); });
  }
}

void QtDesktop::windowDestroyed(Window& w) {
  Sync sync(*this);
  destroyView(w.id());
}

void QtDesktop::destroyView(int windowId) {
  auto it = views_.find(windowId);
  if (it == views_.end()) return;
  WindowView& v = *it->second;
  for (auto& [n, cv] : v.controls) {
    if (auto* list = qobject_cast<ListWidget*>(cv.widget.data())) list->model()->detach();
    if (cv.menu) cv.menu->deleteLater();
  }
  if (v.top) {
    showWaitCursor(v, false);
    v.top->hide();
    v.top->removeEventFilter(this);
    if (v.sub && v.sub->mdiArea()) v.sub->mdiArea()->removeSubWindow(v.sub);
    v.top->deleteLater();
  }
  if (windowId == frameId_) frameId_ = 0;
  views_.erase(it);
}

void QtDesktop::windowChanged(Window& w, WindowProp p) {
  WindowView* v = view(w);
  if (!v || !v->top) return;
  Sync sync(*this);
  switch (p) {
    case WindowProp::Caption: v->top->setWindowTitle(qs(w.caption())); break;
    case WindowProp::Position: applyGeometry(*v); break;
    case WindowProp::Maximized:
    case WindowProp::Minimized: applyWindowState(*v); break;
    case WindowProp::Enabled: applyInput(*v); break;
    case WindowProp::StatusText:
      for (std::size_t i = 0; i < v->zones.size(); ++i)
        if (v->zones[i]) v->zones[i]->setText(qs(w.statusText(static_cast<int>(i) + 1)));
      break;
    case WindowProp::MinimumSize: {
      QSize min = v->du.toPixels(w.minimumWidth(), w.minimumHeight());
      if (v->client) v->client->setMinimumSize(min);
      if (v->main) v->main->setMinimumSize(min);
      break;
    }
    case WindowProp::WaitCursor: showWaitCursor(*v, w.waitCursor()); break;
  }
}

// The system's wait cursor over every window while a window works; the
// window's top widget remembers that it asked for it, so that a window
// destroyed while working gives it back.
void QtDesktop::showWaitCursor(WindowView& v, bool on) {
  static constexpr const char* WaitingKey = "lvWaitCursor";
  QWidget* top = v.top;
  if (!top || top->property(WaitingKey).toBool() == on) return;
  top->setProperty(WaitingKey, on);
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

// The window's placement as the widgets have it, in dialog units.
Rect QtDesktop::shownRect(WindowView& v) const {
  QWidget* top = v.top;
  ClientArea* client = v.client;
  if (!top) return {};
  QPoint pos = top->pos();
  QSize size = client ? client->size() : top->size();
  return {v.du.fromX(pos.x()), v.du.fromY(pos.y()), v.du.fromX(size.width()), v.du.fromY(size.height())};
}

void QtDesktop::applyGeometry(WindowView& v) {
  if (!v.top) return;
  Window& w = *v.window;
  if (w.maximized() || w.minimized()) return;  // the normal placement is kept for the restore
  const Rect r = w.rect();
  const Rect shown = shownRect(v);
  const QPoint pos(v.du.toX(r.x), v.du.toY(r.y));
  const QSize size = v.du.toPixels(r.width, r.height);
  if (shown.width != r.width || shown.height != r.height || !v.opened) {
    if (v.client) v.client->setDesignSize(size);
    QSize outer = size;
    if (QMdiSubWindow* sub = v.sub) outer = sub->sizeHint().expandedTo(sub->minimumSizeHint());
    if (w.resizable() || v.main) {
      v.top->setMinimumSize(0, 0);
      v.top->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      v.top->resize(outer);
    } else {
      v.top->setFixedSize(outer);
    }
    if (v.sub && v.client) v.client->resize(size);
  }
  if (shown.x != r.x || shown.y != r.y || !v.opened) v.top->move(pos);
}

void QtDesktop::applyWindowState(WindowView& v) {
  if (!v.top) return;
  Window& w = *v.window;
  Qt::WindowStates want = w.minimized() ? Qt::WindowMinimized : w.maximized() ? Qt::WindowMaximized : Qt::WindowNoState;
  Qt::WindowStates have = v.top->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized);
  if (want != have) v.top->setWindowState((v.top->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) | want);
  // Back to normal, the window takes the model's normal placement, also
  // when the user restored it and no window manager did it.
  if (want == Qt::WindowNoState) applyGeometry(v);
}

bool QtDesktop::threadBlocked(int thread) const {
  auto it = blocked_.find(thread);
  return it != blocked_.end() && it->second > 0;
}

void QtDesktop::applyInput(WindowView& v) {
  Window& w = *v.window;
  const bool takes = w.isOpen() && w.takesInput() && !threadBlocked(w.thread());
  if (v.main) {
    // Never the frame's own widget: the MDI children of other threads are
    // inside it.
    if (QMenuBar* bar = v.main->menuBar()) bar->setEnabled(takes);
    if (QToolBar* toolbar = v.toolbar) toolbar->setEnabled(takes);
    for (auto& [n, cv] : v.controls)
      if (QWidget* widget = cv.widget; widget && widget->parentWidget() == hostOf(v))
        widget->setEnabled(takes && cv.control->enabled());
  } else if (ClientArea* client = v.client) {
    client->setEnabled(takes);
  }
}

void QtDesktop::applyInputOfThread(int thread) {
  Sync sync(*this);
  for (auto& [id, v] : views_)
    if (v->window->thread() == thread) applyInput(*v);
}

}  // namespace platform::qt
