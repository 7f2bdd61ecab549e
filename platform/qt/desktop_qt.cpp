#include "platform/qt/desktop_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <exception>

#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "platform/qt/images.h"
#include "platform/qt/printer.h"
#include "platform/qt/widgets.h"
#include "platform/ui/window.h"

namespace platform::qt {

namespace {

const char* const WindowKey = "lvWindow";
const char* const ControlKey = "lvControl";
const char* const TopKey = "lvTop";
const char* const ViewportKey = "lvViewport";

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool isBackdrop(ControlKind k) {
  return k == ControlKind::Panel || k == ControlKind::Box || k == ControlKind::Image || k == ControlKind::Sheet ||
         k == ControlKind::Option;
}

bool isSeparator(const std::string& text) { return text.empty() || text == "-"; }

// Gives a control's widget the focus as the program moves it (the Tab key,
// a window opening, a handler choosing the control). As in a dialog, a
// one-line entry then has its whole text selected, so that what the user
// types replaces what it shows ("0.000" in a rate) instead of joining it.
// A click puts the cursor where it lands and never comes here.
void selectText(QWidget* target) {
  QLineEdit* line = qobject_cast<QLineEdit*>(target);
  if (auto* spin = qobject_cast<SpinEntry*>(target)) line = spin->edit();
  if (auto* box = qobject_cast<QComboBox*>(target)) line = box->lineEdit();
  if (line) line->selectAll();
}

void giveFocus(QWidget* target) {
  target->setFocus(Qt::OtherFocusReason);
  selectText(target);
}

// A sub-window whose close box asks the model instead of closing.
class SubWindow : public QMdiSubWindow {
 public:
  using QMdiSubWindow::QMdiSubWindow;
};

}  // namespace

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

// --- keys --------------------------------------------------------------------

bool translateKey(const QKeyEvent& e, KeyPress& out) {
  const Qt::KeyboardModifiers m = e.modifiers();
  unsigned mods = 0;
  if (m & Qt::ShiftModifier) mods |= ModShift;
  if (m & Qt::ControlModifier) mods |= ModCtrl;
  if (m & Qt::AltModifier) mods |= ModAlt;
  auto special = [&](Key k, unsigned extra = 0) {
    out = KeyPress(k, mods | extra);
    return true;
  };
  switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return special(Key::Enter);
    case Qt::Key_Tab: return special(Key::Tab);
    case Qt::Key_Backtab: return special(Key::Tab, ModShift);
    case Qt::Key_Insert: return special(Key::Insert);
    case Qt::Key_Delete: return special(Key::Delete);
    case Qt::Key_Home: return special(Key::Home);
    case Qt::Key_End: return special(Key::End);
    case Qt::Key_PageUp: return special(Key::PageUp);
    case Qt::Key_PageDown: return special(Key::PageDown);
    case Qt::Key_Up: return special(Key::Up);
    case Qt::Key_Down: return special(Key::Down);
    default: break;
  }
  if (mods & (ModCtrl | ModAlt)) {
    const int k = e.key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) {
      out = KeyPress::character(static_cast<char32_t>(U'A' + (k - Qt::Key_A)), mods);
      return true;
    }
    if (k > 0x20 && k < 0x7F) {
      out = KeyPress::character(static_cast<char32_t>(k), mods);
      return true;
    }
    return false;
  }
  const QList<uint> text = e.text().toUcs4();
  if (text.isEmpty() || text[0] < 0x20 || text[0] == 0x7F) return false;
  out = KeyPress::character(static_cast<char32_t>(text[0]));
  return true;
}

// --- set-up ------------------------------------------------------------------

QtDesktop::QtDesktop() {
  runner_ = [] {
    try {
      scheduler().runReady();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "logical thread failed: %s\n", e.what());
    }
  };
  desktop().addObserver(this);
  // Windows that exist already are mirrored as if they were made now.
  for (Window* w : desktop().windows()) {
    windowCreated(*w);
    for (const auto& c : w->controls()) controlAdded(*w, *c);
    if (w->isOpen()) windowOpened(*w);
  }
}

QtDesktop::~QtDesktop() {
  desktop().removeObserver(this);
  std::vector<int> ids;
  for (const auto& [id, v] : views_) ids.push_back(id);
  // Children of the frame go with it: the frame last.
  std::sort(ids.begin(), ids.end(), [this](int a, int b) { return (a == frameId_) < (b == frameId_); });
  for (int id : ids) {
    WindowView* v = view(id);
    for (auto& [n, cv] : v->controls)
      if (auto* list = qobject_cast<ListWidget*>(cv.widget.data())) list->model()->detach();
    delete v->top.data();
  }
  views_.clear();
}

QtDesktop::WindowView* QtDesktop::view(int windowId) const {
  auto it = views_.find(windowId);
  return it == views_.end() ? nullptr : it->second.get();
}

QtDesktop::WindowView* QtDesktop::frameView() const { return frameId_ ? view(frameId_) : nullptr; }

QtDesktop::ControlView* QtDesktop::controlView(WindowView& v, int control) const {
  auto it = v.controls.find(control);
  return it == v.controls.end() ? nullptr : &it->second;
}

QMainWindow* QtDesktop::frameWidget() const {
  WindowView* f = frameView();
  return f ? f->main.data() : nullptr;
}

QMdiArea* QtDesktop::mdiArea() const {
  WindowView* f = frameView();
  return f ? f->mdi.data() : nullptr;
}

QWidget* QtDesktop::windowWidget(const Window& w) const {
  WindowView* v = view(w);
  return v ? v->top.data() : nullptr;
}

QWidget* QtDesktop::clientWidget(const Window& w) const {
  WindowView* v = view(w);
  if (!v) return nullptr;
  if (v->client) return v->client.data();
  return v->mdi ? v->mdi->viewport() : nullptr;
}

QWidget* QtDesktop::controlWidget(const Window& w, int control) const {
  WindowView* v = view(w);
  ControlView* cv = v ? controlView(*v, control) : nullptr;
  return cv ? cv->widget.data() : nullptr;
}

QAction* QtDesktop::controlAction(const Window& w, int control) const {
  WindowView* v = view(w);
  ControlView* cv = v ? controlView(*v, control) : nullptr;
  return cv ? cv->action.data() : nullptr;
}

QLabel* QtDesktop::statusZone(int zone) const {
  WindowView* f = frameView();
  if (!f || zone < 1 || zone > static_cast<int>(f->zones.size())) return nullptr;
  return f->zones[static_cast<std::size_t>(zone - 1)].data();
}

DialogUnits QtDesktop::units(const Window& w) const {
  WindowView* v = view(w);
  return v ? v->du : DialogUnits::of(windowFont(w.spec().font));
}

Window* QtDesktop::callerOf(const Window& w) const {
  WindowView* v = view(w);
  return v && v->caller ? desktop().find(v->caller) : nullptr;
}

void QtDesktop::bindWidget(QWidget* widget, int windowId, int control) {
  widget->setProperty(WindowKey, windowId);
  widget->setProperty(ControlKey, control);
  widget->installEventFilter(this);
}

QWidget* QtDesktop::hostOf(WindowView& v) const {
  if (v.client) return v.client.data();
  return v.mdi ? v.mdi->viewport() : nullptr;
}

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
    flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
    if (spec.systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (spec.maximizeBox) flags |= Qt::WindowMinMaxButtonsHint;
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
  if (!v->sub && !v->main) {
    // The caller is the transient parent, whatever the widget parent is.
    v->top->winId();
    WindowView* caller = v->caller ? view(v->caller) : nullptr;
    QWidget* callerTop = caller && caller->top ? caller->top->window() : nullptr;
    if (!callerTop && frameView() && frameView()->main) callerTop = frameView()->main.data();
    if (callerTop && callerTop != v->top && v->top->windowHandle()) {
      callerTop->winId();
      v->top->windowHandle()->setTransientParent(callerTop->windowHandle());
    }
  }
  if (w.spec().centred && !w.maximized()) centre(*v);
  applyWindowState(*v);
  QWidget* top = v->top;
  if (!top) return;
  if (!top->isVisible()) top->show();
  WindowView* f = frameView();
  if (QMdiSubWindow* sub = v->sub) {
    if (QMdiArea* mdi = f ? f->mdi.data() : nullptr) mdi->setActiveSubWindow(sub);
  } else {
    top->raise();
    top->activateWindow();
  }
  applyInput(*v);
  for (auto& [n, cv] : v->controls)
    if (cv.control->kind() == ControlKind::List) reportPageRows(cv);
  if (w.focus())
    if (ControlView* cv = controlView(*v, w.focus()); cv && cv->widget) giveFocus(cv->widget);
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
  // The position it took is the user's (the desktop's) doing: report it
  // from the event loop, outside the thread that opened the window.
  const int id = v.id;
  const Rect r{v.du.fromX(at.x()), v.du.fromY(at.y()), 0, 0};
  QTimer::singleShot(0, this, [this, id, r] {
    user(id, 0, [r](Window& win) {
      if (win.rect().x == r.x && win.rect().y == r.y) return input::Status::Ok;
      return input::moveWindow(win, r.x, r.y);
    });
  });
}

void QtDesktop::windowClosed(Window& w) {
  Sync sync(*this);
  std::vector<int>& open = openOrder_[w.thread()];
  open.erase(std::remove(open.begin(), open.end(), w.id()), open.end());
  WindowView* v = view(w);
  if (!v || !v->top) return;
  v->opened = false;
  QMdiArea* mdi = v->sub ? v->sub->mdiArea() : nullptr;
  const bool wasActive = mdi && mdi->activeSubWindow() == v->sub;
  v->top->hide();
  // As the end of a modal window does: the child window that called it
  // comes to the front again, whatever child the area would choose.
  WindowView* caller = v->caller ? view(v->caller) : nullptr;
  if (wasActive && caller && caller->opened && caller->sub && caller->sub->mdiArea() == mdi) {
    mdi->setActiveSubWindow(caller->sub);
    restoreFocus(*caller);
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
  }
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
  if (want == have) return;
  v.top->setWindowState((v.top->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) | want);
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
    const bool was = client->isEnabled();
    client->setEnabled(takes);
    // Disabled, it lost the keyboard; it takes input again once the window
    // it called has closed.
    if (takes && !was) restoreFocus(v);
  }
}

void QtDesktop::restoreFocus(WindowView& v) {
  Window& w = *v.window;
  QWidget* client = v.client;
  if (!w.isOpen() || !client || !client->isEnabled() || !w.focus()) return;
  QMdiSubWindow* sub = v.sub;
  QMdiArea* mdi = sub ? sub->mdiArea() : nullptr;
  QWidget* top = v.top;
  const bool active = sub ? mdi && mdi->activeSubWindow() == sub : top && top->isActiveWindow();
  if (!active) return;
  ControlView* cv = controlView(v, w.focus());
  QWidget* widget = cv ? cv->widget.data() : nullptr;
  if (widget && !widget->hasFocus()) widget->setFocus(Qt::OtherFocusReason);
}

void QtDesktop::applyInputOfThread(int thread) {
  Sync sync(*this);
  for (auto& [id, v] : views_)
    if (v->window->thread() == thread) applyInput(*v);
}

// --- controls ----------------------------------------------------------------

void QtDesktop::controlAdded(Window& w, Control& c) {
  WindowView* v = view(w);
  if (!v) return;
  Sync sync(*this);
  buildControl(*v, c);
  if (v->opened) {
    restack(*v);
    applyStates(*v);
  }
}

void QtDesktop::buildControl(WindowView& v, Control& c) {
  ControlView& cv = v.controls[c.number()];
  cv = ControlView{};
  cv.control = &c;
  v.order.push_back(c.number());
  const ControlSpec& s = c.spec();
  const int id = v.id;
  const int n = c.number();
  QWidget* host = hostOf(v);
  Control* parent = s.parent ? v.window->find(s.parent) : nullptr;
  const ControlKind parentKind = parent ? parent->kind() : ControlKind::Prompt;
  QWidget* widget = nullptr;
  const bool hosted = c.kind() != ControlKind::Menu && c.kind() != ControlKind::Item &&
                      c.kind() != ControlKind::Toolbar && c.kind() != ControlKind::Tab &&
                      parentKind != ControlKind::Toolbar;
  if (hosted && !host) return;  // the window's widgets are gone (its frame went first)
  auto click = [this, id, n] { user(id, n, [n](Window& win) { return input::click(win, n); }); };
  auto edit = [this, id, n](const QString& text) {
    if (syncing_) return;
    const std::string t = text.toStdString();
    user(id, n, [n, t](Window& win) { return input::edit(win, n, t); });
  };

  switch (c.kind()) {
    case ControlKind::Prompt:
    case ControlKind::String: {
      auto* label = new LabelWidget(host);
      label->setJustify(s.justify);
      label->setAngle(s.font.angle);
      widget = label;
      break;
    }
    case ControlKind::Entry: {
      auto* e = new QLineEdit(host);
      if (s.password) e->setEchoMode(QLineEdit::Password);
      e->setAlignment(alignmentOf(s.justify));
      e->setFocusPolicy(Qt::StrongFocus);
      QObject::connect(e, &QLineEdit::textEdited, this, edit);
      widget = e;
      break;
    }
    case ControlKind::Text: {
      auto* t = new QPlainTextEdit(host);
      t->setVerticalScrollBarPolicy(s.vscroll ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
      t->setTabChangesFocus(false);
      QObject::connect(t, &QPlainTextEdit::textChanged, this, [edit, t] { edit(t->toPlainText()); });
      bindWidget(t->viewport(), id, n);
      widget = t;
      break;
    }
    case ControlKind::Button: {
      if (parentKind == ControlKind::Toolbar) {
        ControlView* bar = controlView(v, s.parent);
        auto* toolbar = bar ? qobject_cast<QToolBar*>(bar->widget.data()) : nullptr;
        if (!toolbar) break;
        auto* b = new ToolbarButton(toolbar);  // the text left of the icon
        b->setFocusPolicy(Qt::NoFocus);
        if (s.rect.width > 0 && s.rect.height > 0) b->setFixedSize(v.du.toPixels(s.rect.width, s.rect.height));
        QObject::connect(b, &QToolButton::clicked, this, click);
        cv.action = toolbar->addWidget(b);
        bindWidget(b, id, n);
        cv.widget = b;
        applyAll(v, cv);
        return;
      }
      auto* b = new QPushButton(host);
      b->setAutoDefault(false);
      b->setFlat(s.flat || s.transparent);
      b->setFocusPolicy(Qt::TabFocus);  // a click moves the focus through the model
      QObject::connect(b, &QPushButton::clicked, this, click);
      widget = b;
      break;
    }
    case ControlKind::Check: {
      auto* b = new QCheckBox(host);
      b->setFocusPolicy(Qt::TabFocus);
      QObject::connect(b, &QCheckBox::clicked, this, click);
      widget = b;
      break;
    }
    case ControlKind::Option: {
      if (s.boxed) {
        auto* g = new QGroupBox(host);
        widget = g;
      } else {
        widget = new QWidget(host);
      }
      widget->setFocusPolicy(Qt::NoFocus);
      break;
    }
    case ControlKind::Radio: {
      QAbstractButton* b = nullptr;
      if (!s.icon.empty()) {
        // A radio with an icon is drawn as a push button that stays down.
        auto* p = new QPushButton(host);
        p->setCheckable(true);
        p->setAutoDefault(false);
        p->setFlat(s.transparent || s.flat);
        b = p;
      } else {
        b = new QRadioButton(host);
      }
      b->setAutoExclusive(false);
      b->setFocusPolicy(Qt::TabFocus);
      const int option = s.parent;
      QObject::connect(b, &QAbstractButton::clicked, this, [this, id, n, option, click] {
        // Shown chosen at once; the model's choice follows.
        if (WindowView* wv = view(id))
          for (auto& [k, other] : wv->controls)
            if (other.control->kind() == ControlKind::Radio && other.control->parent() == option)
              if (auto* rb = qobject_cast<QAbstractButton*>(other.widget.data())) {
                Sync guard(*this);
                rb->setChecked(k == n);
              }
        click();
      });
      widget = b;
      break;
    }
    case ControlKind::DropList:
    case ControlKind::Combo:
    case ControlKind::DropCombo: {
      auto* box = new QComboBox(host);
      box->setFocusPolicy(Qt::StrongFocus);
      if (s.dropLines > 0) box->setMaxVisibleItems(s.dropLines);
      if (c.kind() != ControlKind::DropList) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(box->lineEdit(), &QLineEdit::textEdited, this, edit);
        bindWidget(box->lineEdit(), id, n);
      }
      QObject::connect(box, &QComboBox::activated, this, [this, id, n](int index) {
        user(id, n, [n, index](Window& win) { return input::choose(win, n, index + 1); });
      });
      widget = box;
      break;
    }
    case ControlKind::Spin: {
      auto* spin = new SpinEntry(host);
      spin->setFocusPolicy(Qt::StrongFocus);
      spin->edit()->setAlignment(alignmentOf(s.justify));
      QObject::connect(spin->edit(), &QLineEdit::textEdited, this, edit);
      spin->onStep = [this, id, n](int steps) {
        if (syncing_) return;
        for (int i = 0, count = std::abs(steps); i < count; ++i)
          user(id, n, [this, n, steps](Window& win) {
            if (win.focus() != n) {
              input::Status s0 = input::focus(win, n);
              if (s0 != input::Status::Ok) return s0;
              runThreads();
              if (win.focus() != n) return input::Status::Ok;  // the focus was kept elsewhere
            }
            return input::key(win, KeyPress(steps > 0 ? Key::Up : Key::Down));
          });
      };
      bindWidget(spin->edit(), id, n);
      widget = spin;
      break;
    }
    case ControlKind::List: {
      auto* list = new ListWidget(&c, host);
      list->setFont(v.font);
      list->scrollBar()->setVisible(s.vscroll);
      list->applyColumns(s.columns, v.du);
      QObject::connect(list->scrollBar(), &QScrollBar::actionTriggered, this,
                       [this, id, n](int action) { listScrollBar(id, n, action); });
      QObject::connect(list->scrollBar(), &QScrollBar::sliderReleased, this, [this, id, n] {
        WindowView* wv = view(id);
        ControlView* lv = wv ? controlView(*wv, n) : nullptr;
        if (lv) applyProp(*wv, *lv, Prop::Thumb);
      });
      list->table()->viewport()->setProperty(ViewportKey, true);
      bindWidget(list->table()->viewport(), id, n);
      widget = list;
      break;
    }
    case ControlKind::Sheet: {
      auto* sheet = new SheetWidget(host);
      sheet->setFocusPolicy(Qt::TabFocus);
      QObject::connect(sheet->bar(), &QTabBar::currentChanged, this, [this, id, n](int index) {
        if (syncing_ || index < 0) return;
        user(id, n, [n, index](Window& win) { return input::selectTab(win, n, index + 1); });
      });
      widget = sheet;
      break;
    }
    case ControlKind::Tab: {
      ControlView* sheet = controlView(v, s.parent);
      if (auto* sw = sheet ? qobject_cast<SheetWidget*>(sheet->widget.data()) : nullptr) {
        sw->bar()->insertTab(std::max(0, c.position() - 1), qs(s.text));
        syncSheet(v, *sheet);
      }
      return;
    }
    case ControlKind::Image: {
      auto* image = new ImageWidget(host);
      widget = image;
      break;
    }
    case ControlKind::Box:
    case ControlKind::Panel: widget = new BoxWidget(c.kind() == ControlKind::Panel, host); break;
    case ControlKind::Region: {
      auto* region = new QWidget(host);
      region->setAttribute(Qt::WA_NoSystemBackground);
      region->setMouseTracking(true);
      widget = region;
      break;
    }
    case ControlKind::Progress: {
      auto* bar = new QProgressBar(host);
      bar->setRange(s.rangeLow, s.rangeHigh);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case ControlKind::Menu: {
      QMenu* menu = nullptr;
      if (parentKind == ControlKind::Menu) {
        ControlView* pm = controlView(v, s.parent);
        if (!pm || !pm->menu) return;
        menu = pm->menu->addMenu(qs(s.text));
      } else if (v.main) {
        menu = v.main->menuBar()->addMenu(qs(s.text));
      } else {
        return;  // menus belong to the frame
      }
      cv.menu = menu;
      cv.action = menu->menuAction();
      if (s.action == StdAction::WindowList) {
        QObject::connect(menu, &QMenu::aboutToShow, this, [this, id, n] {
          WindowView* wv = view(id);
          ControlView* mv = wv ? controlView(*wv, n) : nullptr;
          QMdiArea* mdi = mdiArea();
          if (!mv || !mv->menu || !mdi) return;
          for (const auto& a : mv->windowList) delete a.data();
          mv->windowList.clear();
          const auto subs = mdi->subWindowList();
          if (subs.isEmpty()) return;
          mv->windowList << mv->menu->addSeparator();
          int k = 0;
          for (QMdiSubWindow* s0 : subs) {
            if (!s0->isVisible()) continue;
            QAction* a = mv->menu->addAction(QStringLiteral("&%1 %2").arg(++k).arg(s0->windowTitle()));
            a->setCheckable(true);
            a->setChecked(s0 == mdi->activeSubWindow());
            QPointer<QMdiSubWindow> target(s0);
            QObject::connect(a, &QAction::triggered, mdi, [mdi, target] {
              if (target) mdi->setActiveSubWindow(target);
            });
            mv->windowList << a;
          }
        });
      }
      applyAll(v, cv);
      return;
    }
    case ControlKind::Item: {
      QAction* a = nullptr;
      if (parentKind == ControlKind::Menu) {
        ControlView* pm = controlView(v, s.parent);
        if (!pm || !pm->menu) return;
        a = isSeparator(s.text) ? pm->menu->addSeparator() : pm->menu->addAction(qs(s.text));
      } else if (v.main) {
        a = v.main->menuBar()->addAction(qs(s.text));
      } else {
        return;
      }
      QObject::connect(a, &QAction::triggered, this, click);
      cv.action = a;
      applyAll(v, cv);
      return;
    }
    case ControlKind::Toolbar: {
      if (!v.main) return;
      QToolBar* bar = v.main->addToolBar(qs(s.text.empty() ? std::string("Toolbar") : s.text));
      bar->setMovable(false);
      bar->setFloatable(false);
      v.toolbar = bar;
      cv.widget = bar;
      applyAll(v, cv);
      return;
    }
  }
  if (!widget) return;
  cv.widget = widget;
  bindWidget(widget, id, n);
  applyAll(v, cv);
}

void QtDesktop::controlRemoved(Window& w, Control& c) {
  WindowView* v = view(w);
  if (!v) return;
  Sync sync(*this);
  auto it = v->controls.find(c.number());
  if (it == v->controls.end()) return;
  ControlView& cv = it->second;
  if (c.kind() == ControlKind::Tab) {
    ControlView* sheet = controlView(*v, c.parent());
    if (auto* sw = sheet ? qobject_cast<SheetWidget*>(sheet->widget.data()) : nullptr)
      sw->bar()->removeTab(c.position() - 1);
  }
  if (auto* list = qobject_cast<ListWidget*>(cv.widget.data())) list->model()->detach();
  if (cv.menu) {
    cv.menu->menuAction()->setVisible(false);
    cv.menu->deleteLater();
  } else if (cv.action) {
    cv.action->setVisible(false);
    cv.action->deleteLater();
  }
  if (cv.widget && cv.widget != v->toolbar) {
    cv.widget->hide();
    cv.widget->deleteLater();
  } else if (cv.widget) {
    cv.widget->hide();
  }
  v->order.erase(std::remove(v->order.begin(), v->order.end(), c.number()), v->order.end());
  v->controls.erase(it);
}

void QtDesktop::restack(WindowView& v) {
  // Backdrops under everything, in the order added; then the controls;
  // link areas on top.
  for (int pass = 0; pass < 3; ++pass)
    for (int n : v.order) {
      ControlView* cv = controlView(v, n);
      QWidget* widget = cv ? cv->widget.data() : nullptr;
      if (!widget || widget->parentWidget() != hostOf(v)) continue;
      const ControlKind k = cv->control->kind();
      const int want = isBackdrop(k) ? 0 : k == ControlKind::Region ? 2 : 1;
      if (want == pass) widget->raise();
    }
}

void QtDesktop::applyAll(WindowView& v, ControlView& cv) {
  for (Prop p : {Prop::Position, Prop::Font, Prop::Text, Prop::ReadOnly, Prop::Fill, Prop::Tip, Prop::Cursor,
                 Prop::Checked, Prop::Default, Prop::Choices, Prop::Selected, Prop::Thumb, Prop::Value,
                 Prop::StatusText, Prop::Icon})
    applyProp(v, cv, p);
  applyStates(v);
}

void QtDesktop::applyColors(ControlView& cv) {
  QWidget* w = cv.widget;
  if (!w) return;
  const Control& c = *cv.control;
  const QColor fill = toQColor(c.fill());
  const QColor ink = toQColor(c.fontColor());
  if (auto* label = qobject_cast<LabelWidget*>(w)) {
    label->setColors(fill, ink);
    return;
  }
  if (auto* box = qobject_cast<BoxWidget*>(w)) {
    box->setColors(fill, c.spec().boxed ? (ink.isValid() ? ink : QColor(Qt::black)) : QColor());
    return;
  }
  QPalette pal = w->parentWidget() ? w->parentWidget()->palette() : QApplication::palette();
  if (fill.isValid()) {
    pal.setColor(QPalette::Window, fill);
    pal.setColor(QPalette::Base, fill);
    pal.setColor(QPalette::Button, fill);
  }
  if (ink.isValid()) {
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
      pal.setColor(g, QPalette::WindowText, ink);
      pal.setColor(g, QPalette::Text, ink);
      pal.setColor(g, QPalette::ButtonText, ink);
    }
  }
  w->setPalette(pal);
  const bool opaqueKind = c.kind() == ControlKind::Check || c.kind() == ControlKind::Radio ||
                          c.kind() == ControlKind::Option || c.kind() == ControlKind::Region;
  w->setAutoFillBackground(fill.isValid() && opaqueKind && !c.spec().transparent);
}

void QtDesktop::applyProp(WindowView& v, ControlView& cv, Prop p) {
  Control& c = *cv.control;
  const ControlSpec& s = c.spec();
  QWidget* w = cv.widget;
  const QString text = qs(c.text());
  switch (p) {
    case Prop::Position:
      if (w && w->parentWidget() == hostOf(v)) w->setGeometry(v.du.toPixels(c.rect()));
      if (c.kind() == ControlKind::List) reportPageRows(cv);
      break;
    case Prop::Font:
      if (w) w->setFont(toQFont(c.font(), v.font));
      if (c.kind() == ControlKind::List)
        if (auto* list = qobject_cast<ListWidget*>(w)) list->applyColumns(s.columns, v.du);
      break;
    case Prop::Text:
      switch (c.kind()) {
        case ControlKind::Prompt:
          if (auto* l = qobject_cast<LabelWidget*>(w)) l->setText(withoutMnemonics(text));
          break;
        case ControlKind::String:
          if (auto* l = qobject_cast<LabelWidget*>(w)) l->setText(text);
          break;
        case ControlKind::Entry:
          if (auto* e = qobject_cast<QLineEdit*>(w); e && e->text() != text) e->setText(text);
          break;
        case ControlKind::Text:
          if (auto* t = qobject_cast<QPlainTextEdit*>(w); t && t->toPlainText() != text) t->setPlainText(text);
          break;
        case ControlKind::Spin:
          if (auto* sp = qobject_cast<SpinEntry*>(w); sp && sp->edit()->text() != text) sp->edit()->setText(text);
          break;
        case ControlKind::Combo:
        case ControlKind::DropCombo:
          if (auto* b = qobject_cast<QComboBox*>(w); b && b->lineEdit() && b->lineEdit()->text() != text)
            b->lineEdit()->setText(text);
          break;
        case ControlKind::Button:
        case ControlKind::Check:
        case ControlKind::Radio:
          if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
          break;
        case ControlKind::Option:
          if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text);
          break;
        case ControlKind::Tab:
          if (ControlView* sheet = controlView(v, c.parent()))
            if (auto* sw = qobject_cast<SheetWidget*>(sheet->widget.data()))
              sw->bar()->setTabText(c.position() - 1, text);
          break;
        case ControlKind::Image:
          if (auto* im = qobject_cast<ImageWidget*>(w)) {
            const std::string& name = c.text();
            if (name == "information" || name == "exclamation" || name == "question" || name == "stop") {
              const QSize size = im->size().isEmpty() ? QSize(32, 32) : im->size();
              im->setPixmap(loadIcon(name).pixmap(size));
            } else {
              im->setPixmap(loadPixmap(name));
            }
            im->setTiled(s.tiled);
          }
          break;
        case ControlKind::Menu:
          if (cv.menu) cv.menu->setTitle(text);
          break;
        case ControlKind::Item:
          if (cv.action && !cv.action->isSeparator()) cv.action->setText(text);
          break;
        default: break;
      }
      break;
    case Prop::ReadOnly:
      if (auto* e = qobject_cast<QLineEdit*>(w)) e->setReadOnly(c.readOnly());
      if (auto* t = qobject_cast<QPlainTextEdit*>(w)) t->setReadOnly(c.readOnly());
      if (auto* sp = qobject_cast<SpinEntry*>(w)) sp->setReadOnly(c.readOnly());
      if (auto* b = qobject_cast<QComboBox*>(w); b && b->lineEdit()) b->lineEdit()->setReadOnly(c.readOnly());
      break;
    case Prop::Fill:
    case Prop::FontColor: applyColors(cv); break;
    case Prop::Tip:
      if (w) w->setToolTip(qs(c.tip()));
      if (cv.action && !w) cv.action->setToolTip(qs(c.tip()));
      break;
    case Prop::Cursor:
      if (w) {
        if (c.cursor() == CursorShape::Default)
          w->unsetCursor();
        else
          w->setCursor(cursorFor(c.cursor()));
      }
      break;
    case Prop::Checked:
      if (c.kind() == ControlKind::Check) {
        if (auto* b = qobject_cast<QCheckBox*>(w)) b->setChecked(c.checked());
      } else if (c.kind() == ControlKind::Item && cv.action) {
        if (c.checked()) cv.action->setCheckable(true);
        cv.action->setChecked(c.checked());
      }
      break;
    case Prop::Default:
      if (auto* b = qobject_cast<QPushButton*>(w); b && c.kind() == ControlKind::Button) b->setDefault(c.isDefault());
      break;
    case Prop::Choices:
      if (auto* b = qobject_cast<QComboBox*>(w)) {
        b->clear();
        for (const std::string& choice : c.choices()) b->addItem(qs(choice));
        if (c.kind() == ControlKind::DropList)
          b->setCurrentIndex(c.selected() - 1);
        else if (b->lineEdit())
          b->lineEdit()->setText(text);
      }
      break;
    case Prop::Selected:
      switch (c.kind()) {
        case ControlKind::List: syncListSelection(cv); break;
        case ControlKind::Sheet:
          syncSheet(v, cv);
          applyStates(v);
          break;
        case ControlKind::Option: syncRadios(v, c); break;
        case ControlKind::DropList:
          if (auto* b = qobject_cast<QComboBox*>(w)) b->setCurrentIndex(c.selected() - 1);
          break;
        default: break;
      }
      break;
    case Prop::Thumb:
      if (auto* list = qobject_cast<ListWidget*>(w)) list->scrollBar()->setValue(c.thumb());
      break;
    case Prop::Value:
      if (auto* bar = qobject_cast<QProgressBar*>(w)) bar->setValue(c.value());
      break;
    case Prop::StatusText:
      if (cv.action) cv.action->setStatusTip(qs(c.statusText()));
      break;
    case Prop::Icon:
      if (auto* b = qobject_cast<QAbstractButton*>(w); b && !c.icon().empty()) b->setIcon(loadIcon(c.icon()));
      break;
    case Prop::Hidden:
    case Prop::Disabled: applyStates(v); break;
    default: break;
  }
}

void QtDesktop::applyStates(WindowView& v) {
  for (int n : v.order) {
    ControlView* cv = controlView(v, n);
    if (!cv) continue;
    Control& c = *cv->control;
    switch (c.kind()) {
      case ControlKind::Tab:
        if (ControlView* sheet = controlView(v, c.parent()))
          if (auto* sw = qobject_cast<SheetWidget*>(sheet->widget.data())) {
            const int index = c.position() - 1;
            sw->bar()->setTabVisible(index, !c.hidden());
            sw->bar()->setTabEnabled(index, c.enabled());
          }
        break;
      case ControlKind::Menu:
      case ControlKind::Item:
        if (cv->action) {
          cv->action->setVisible(!c.hidden());
          cv->action->setEnabled(!c.disabled());
        }
        break;
      default:
        if (QWidget* widget = cv->widget) {
          if (QAction* action = cv->action) {  // a toolbar button
            action->setVisible(!c.hidden());
          } else {
            widget->setVisible(c.visible());
          }
          widget->setEnabled(c.enabled());
        }
        break;
    }
  }
  if (v.main) applyInput(v);
}

void QtDesktop::syncRadios(WindowView& v, Control& option) {
  for (auto& [n, cv] : v.controls)
    if (cv.control->kind() == ControlKind::Radio && cv.control->parent() == option.number())
      if (auto* b = qobject_cast<QAbstractButton*>(cv.widget.data()))
        b->setChecked(cv.control->position() == option.selected());
}

void QtDesktop::syncListSelection(ControlView& cv) {
  auto* list = qobject_cast<ListWidget*>(cv.widget.data());
  if (!list) return;
  QItemSelectionModel* sel = list->table()->selectionModel();
  const int row = cv.control->selected();
  if (row < 1 || row > list->model()->rowCount()) {
    sel->clearSelection();
    return;
  }
  QModelIndex index = list->model()->index(row - 1, 0);
  sel->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void QtDesktop::syncSheet(WindowView&, ControlView& sheet) {
  auto* sw = qobject_cast<SheetWidget*>(sheet.widget.data());
  if (!sw) return;
  Sync sync(*this);
  const int index = sheet.control->selected() - 1;
  if (index >= 0 && index < sw->bar()->count() && sw->bar()->currentIndex() != index) sw->bar()->setCurrentIndex(index);
}

void QtDesktop::reportPageRows(ControlView& cv) {
  auto* list = qobject_cast<ListWidget*>(cv.widget.data());
  if (!list) return;
  const int rows = list->visibleRows();
  if (rows != cv.control->pageRows()) cv.control->setPageRows(rows);
}

void QtDesktop::rowsChanged(Window& w, Control& c) {
  WindowView* v = view(w);
  ControlView* cv = v ? controlView(*v, c.number()) : nullptr;
  auto* list = cv ? qobject_cast<ListWidget*>(cv->widget.data()) : nullptr;
  if (!list) return;
  Sync sync(*this);
  list->model()->reload();
  syncListSelection(*cv);
}

void QtDesktop::propertyChanged(Window& w, Control& c, Prop p) {
  WindowView* v = view(w);
  ControlView* cv = v ? controlView(*v, c.number()) : nullptr;
  if (!cv) return;
  Sync sync(*this);
  applyProp(*v, *cv, p);
}

void QtDesktop::focusChanged(Window& w, int control) {
  WindowView* v = view(w);
  if (!v) return;
  Sync sync(*this);
  if (control)
    if (ControlView* cv = controlView(*v, control); cv && cv->widget) {
      QWidget* target = cv->widget;
      if (!target->hasFocus())
        giveFocus(target);
      else if (target != clicked_)
        selectText(target);  // Qt gave it the focus first (a window that opened on it)
    }
  showStatus(*v, control);
}

void QtDesktop::showStatus(WindowView& v, int control) {
  WindowView* f = frameView();
  if (!f || !f->main || v.window->kind() == WindowKind::Own || v.window->kind() == WindowKind::Message) return;
  Control* c = control ? v.window->find(control) : nullptr;
  const QString text = c ? qs(c->statusText()) : QString();
  if (!f->zones.empty() && f->zones[0]) {
    // The first zone holds it, so that it is back as soon as a highlighted
    // menu item's text (a passing message over that zone) goes.
    f->zones[0]->setText(text.isEmpty() ? qs(f->window->statusText(1)) : text);
  } else if (!text.isEmpty()) {
    f->main->statusBar()->showMessage(text);
  } else {
    f->main->statusBar()->clearMessage();
  }
}

// --- user input ----------------------------------------------------------------

void QtDesktop::runThreads() {
  if (currentThread() != 0) return;
  if (runner_) runner_();
}

void QtDesktop::user(int windowId, int control, const std::function<input::Status(Window&)>& act) {
  if (syncing_ || currentThread() != 0) return;
  Window* w = desktop().find(windowId);
  if (!w) return;
  const input::Status s = act(*w);
  runThreads();
  if (s == input::Status::Ok || !control) return;
  // Refused: the widget shows the model's state again.
  WindowView* v = view(windowId);
  ControlView* cv = v ? controlView(*v, control) : nullptr;
  if (!cv) return;
  Sync sync(*this);
  applyAll(*v, *cv);
  if (cv->control->kind() == ControlKind::Radio)
    if (Control* option = v->window->find(cv->control->parent())) syncRadios(*v, *option);
}

bool QtDesktop::keyPressed(WindowView& v, int control, QKeyEvent* e) {
  KeyPress k;
  if (!translateKey(*e, k)) {
    if (e->key() == Qt::Key_Escape && v.window->kind() == WindowKind::Message) {
      user(v.id, 0, [](Window& win) { return input::closeWindow(win); });
      return true;
    }
    return false;
  }
  Window& w = *v.window;
  Control* c = control ? w.find(control) : nullptr;
  const ControlKind kind = c ? c->kind() : ControlKind::Prompt;
  bool forward = w.alerted(KeyPress::character(static_cast<char32_t>(k.code), k.mods));
  if (!forward) {
    if (k.is(Key::Tab) || k.is(Key::Tab, ModShift))
      forward = true;
    else if (k.code == static_cast<std::uint32_t>(Key::Enter))
      forward = kind != ControlKind::Text;  // a new line in a multi-line text is the widget's
    else if (kind == ControlKind::List)
      forward = true;
    else if (kind == ControlKind::Spin && (k.is(Key::Up) || k.is(Key::Down)))
      forward = true;
    else if (kind == ControlKind::Spin && (k.is(Key::PageUp) || k.is(Key::PageDown)))
      return true;  // a spin box steps one at a time only
  }
  if (!forward) return false;
  const int id = v.id;
  user(id, control, [this, control, k](Window& win) {
    if (control && win.focus() != control && win.find(control)) {
      // The focus has not reached the model yet: move it first.
      input::Status s = input::focus(win, control);
      if (s != input::Status::Ok) return s;
      runThreads();
      if (!win.isOpen()) return input::Status::NotOpen;
    }
    return input::key(win, k);
  });
  return true;
}

void QtDesktop::listMouse(WindowView& v, ControlView& cv, QMouseEvent* e, bool twice) {
  auto* list = qobject_cast<ListWidget*>(cv.widget.data());
  if (!list || e->button() != Qt::LeftButton) return;
  const QModelIndex index = list->table()->indexAt(e->position().toPoint());
  const int n = cv.control->number();
  if (!index.isValid()) {
    if (!twice) user(v.id, n, [n](Window& win) { return input::focus(win, n); });
    return;
  }
  const int row = index.row() + 1;
  user(v.id, n, [n, row, twice](Window& win) {
    return twice ? input::doubleClick(win, n, row) : input::selectRow(win, n, row);
  });
}

void QtDesktop::listWheel(WindowView& v, ControlView& cv, QWheelEvent* e) {
  cv.wheel += e->angleDelta().y();
  const int n = cv.control->number();
  const int id = v.id;
  // One notch (120) scrolls three rows, as the desktop's usual setting.
  while (std::abs(cv.wheel) >= 120) {
    const bool up = cv.wheel > 0;
    cv.wheel += up ? -120 : 120;
    for (int i = 0; i < 3; ++i)
      user(id, n, [n, up](Window& win) { return input::scroll(win, n, up ? ScrollAction::Up : ScrollAction::Down); });
    WindowView* still = view(id);
    if (!still || !controlView(*still, n)) return;
  }
}

void QtDesktop::listScrollBar(int windowId, int list, int action) {
  if (syncing_) return;
  WindowView* v = view(windowId);
  ControlView* cv = v ? controlView(*v, list) : nullptr;
  auto* lw = cv ? qobject_cast<ListWidget*>(cv->widget.data()) : nullptr;
  if (!lw) return;
  ScrollAction a = ScrollAction::Down;
  int thumb = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: a = ScrollAction::Down; break;
    case QAbstractSlider::SliderSingleStepSub: a = ScrollAction::Up; break;
    case QAbstractSlider::SliderPageStepAdd: a = ScrollAction::PageDown; break;
    case QAbstractSlider::SliderPageStepSub: a = ScrollAction::PageUp; break;
    case QAbstractSlider::SliderToMinimum: a = ScrollAction::Top; break;
    case QAbstractSlider::SliderToMaximum: a = ScrollAction::Bottom; break;
    case QAbstractSlider::SliderMove:
      a = ScrollAction::Thumb;
      thumb = lw->scrollBar()->sliderPosition();
      break;
    default: return;
  }
  user(windowId, list, [list, a, thumb](Window& win) { return input::scroll(win, list, a, thumb); });
  if (action == QAbstractSlider::SliderMove) return;
  // The bar moved itself; it shows the model's thumb once the action is
  // done.
  QTimer::singleShot(0, this, [this, windowId, list] {
    WindowView* wv = view(windowId);
    ControlView* lv = wv ? controlView(*wv, list) : nullptr;
    if (!lv) return;
    Sync sync(*this);
    applyProp(*wv, *lv, Prop::Thumb);
  });
}

void QtDesktop::placementChanged(WindowView& v) {
  if (syncing_ || !v.opened || !v.top) return;
  Window& w = *v.window;
  if (!w.isOpen() || w.maximized() || w.minimized() || v.top->isMaximized() || v.top->isMinimized()) return;
  const Rect shown = shownRect(v);
  const Rect r = w.rect();
  const int id = v.id;
  if (shown.x != r.x || shown.y != r.y)
    user(id, 0, [shown](Window& win) { return input::moveWindow(win, shown.x, shown.y); });
  if ((shown.width != r.width || shown.height != r.height) && w.resizable())
    user(id, 0, [shown](Window& win) { return input::resizeWindow(win, shown.width, shown.height); });
}

void QtDesktop::stateChanged(WindowView& v) {
  if (syncing_ || !v.opened || !v.top) return;
  Window& w = *v.window;
  const bool max = v.top->isMaximized(), min = v.top->isMinimized();
  if (max == w.maximized() && min == w.minimized()) return;
  user(v.id, 0, [max, min](Window& win) {
    return min ? input::minimize(win) : max ? input::maximize(win) : input::restore(win);
  });
}

bool QtDesktop::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  const QVariant windowId = widget->property(WindowKey);
  if (!windowId.isValid()) return false;
  WindowView* v = view(windowId.toInt());
  if (!v) return false;
  const int control = widget->property(ControlKey).toInt();
  const bool top = widget == v->top;
  ControlView* cv = control ? controlView(*v, control) : nullptr;
  switch (event->type()) {
    case QEvent::Close:
      if (!top) return false;
      event->ignore();
      if (!syncing_) {
        const int id = v->id;
        QTimer::singleShot(0, this, [this, id] { user(id, 0, [](Window& win) { return input::closeWindow(win); }); });
      }
      return true;
    case QEvent::Move:
      if (top) placementChanged(*v);
      return false;
    case QEvent::Resize:
      if (top || widget == v->client) placementChanged(*v);
      else if (cv && cv->control->kind() == ControlKind::List && !syncing_) reportPageRows(*cv);
      return false;
    case QEvent::WindowStateChange:
      if (top) stateChanged(*v);
      return false;
    case QEvent::ShortcutOverride: {
      // Alert keys reach the window even where a widget or a shortcut
      // would take them.
      KeyPress k;
      if (translateKey(*static_cast<QKeyEvent*>(event), k) && v->window->alerted(k)) {
        event->accept();
        return true;
      }
      return false;
    }
    case QEvent::KeyPress:
      return !syncing_ && keyPressed(*v, control, static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn: {
      if (syncing_ || !cv) return false;
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::MouseFocusReason && reason != Qt::ShortcutFocusReason) return false;
      if (v->window->focus() == control) return false;
      clicked_ = cv->widget;
      user(v->id, 0, [control](Window& win) { return input::focus(win, control); });
      clicked_ = nullptr;
      return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (cv && widget->property(ViewportKey).toBool()) {
        if (!syncing_) listMouse(*v, *cv, static_cast<QMouseEvent*>(event), event->type() == QEvent::MouseButtonDblClick);
        return true;
      }
      return false;
    case QEvent::MouseMove:
      return cv && widget->property(ViewportKey).toBool() && (static_cast<QMouseEvent*>(event)->buttons() != 0);
    case QEvent::Wheel:
      if (cv && cv->control->kind() == ControlKind::List) {
        if (!syncing_) listWheel(*v, *cv, static_cast<QWheelEvent*>(event));
        return true;
      }
      return false;
    case QEvent::Enter:
    case QEvent::Leave:
      if (cv && cv->control->kind() == ControlKind::Region && !syncing_) {
        const auto action = event->type() == QEvent::Enter ? input::PointerAction::Enter : input::PointerAction::Leave;
        user(v->id, 0, [control, action](Window& win) { return input::pointer(win, control, action); });
      }
      return false;
    case QEvent::MouseButtonRelease:
      if (cv && cv->control->kind() == ControlKind::Region && !syncing_) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && widget->rect().contains(me->position().toPoint()))
          user(v->id, 0,
               [control](Window& win) { return input::pointer(win, control, input::PointerAction::Release); });
        return true;
      }
      if (cv && widget->property(ViewportKey).toBool()) return true;
      return false;
    default: return false;
  }
}

// --- standard actions ----------------------------------------------------------

void QtDesktop::standardAction(Window& w, Control&, StdAction a) {
  // Everything but the printer set-up is the desktop's own doing, done
  // from the event loop: it may feed input back (a paste is typing).
  switch (a) {
    case StdAction::Cut:
    case StdAction::Copy:
    case StdAction::Paste: QTimer::singleShot(0, this, [this, a] { editAction(a); }); break;
    case StdAction::Tile:
      QTimer::singleShot(0, this, [this] {
        if (QMdiArea* mdi = mdiArea()) mdi->tileSubWindows();
      });
      break;
    case StdAction::Cascade:
      QTimer::singleShot(0, this, [this] {
        if (QMdiArea* mdi = mdiArea()) mdi->cascadeSubWindows();
      });
      break;
    case StdAction::ArrangeIcons: QTimer::singleShot(0, this, [this] { arrangeIcons(); }); break;
    case StdAction::WindowList: {
      QPointer<QWidget> anchor = windowWidget(w);
      QTimer::singleShot(0, this, [this, anchor] { showWindowList(anchor); });
      break;
    }
    case StdAction::PrintSetup: printSetup(w); break;
    case StdAction::None:
    case StdAction::Close: break;
  }
}

void QtDesktop::editAction(StdAction a) {
  QWidget* f = QApplication::focusWidget();
  if (!f) return;
  if (auto* sp = qobject_cast<SpinEntry*>(f)) f = sp->edit();
  if (auto* box = qobject_cast<QComboBox*>(f); box && box->lineEdit()) f = box->lineEdit();
  if (auto* e = qobject_cast<QLineEdit*>(f)) {
    if (a == StdAction::Cut && !e->isReadOnly()) e->cut();
    if (a == StdAction::Copy) e->copy();
    if (a == StdAction::Paste && !e->isReadOnly()) e->paste();
  } else if (auto* t = qobject_cast<QPlainTextEdit*>(f)) {
    if (a == StdAction::Cut && !t->isReadOnly()) t->cut();
    if (a == StdAction::Copy) t->copy();
    if (a == StdAction::Paste && !t->isReadOnly()) t->paste();
  }
}

void QtDesktop::arrangeIcons() {
  QMdiArea* mdi = mdiArea();
  if (!mdi) return;
  // Minimized children in a row along the bottom of the area, from the left.
  int x = 0;
  int rowTop = mdi->viewport()->height();
  for (QMdiSubWindow* s : mdi->subWindowList(QMdiArea::CreationOrder)) {
    if (!s->isVisible() || !s->isMinimized()) continue;
    QSize size = s->size();
    if (x > 0 && x + size.width() > mdi->viewport()->width()) {
      x = 0;
      rowTop -= size.height();
    }
    s->move(x, rowTop - size.height());
    x += size.width();
  }
}

void QtDesktop::showWindowList(QWidget* anchor) {
  QMdiArea* mdi = mdiArea();
  if (!mdi) return;
  auto* menu = new QMenu(frameWidget());
  menu->setAttribute(Qt::WA_DeleteOnClose);
  int k = 0;
  for (QMdiSubWindow* s : mdi->subWindowList()) {
    if (!s->isVisible()) continue;
    QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(++k).arg(s->windowTitle()));
    QPointer<QMdiSubWindow> target(s);
    QObject::connect(a, &QAction::triggered, mdi, [mdi, target] {
      if (target) mdi->setActiveSubWindow(target);
    });
  }
  const QPoint at = anchor ? anchor->mapToGlobal(QPoint(0, 0)) : QCursor::pos();
  menu->popup(at);
}

void QtDesktop::printSetup(Window& w) {
  const int thread = currentThread();
  QPointer<QWidget> parent = windowWidget(w) ? windowWidget(w)->window() : nullptr;
  struct State {
    bool done = false;
    bool abandoned = false;
    QPointer<QPrintDialog> dialog;
  };
  auto state = std::make_shared<State>();
  // The dialog is made and shown from the event loop; the calling thread
  // waits for it with its windows closed to the user, as for a message box.
  QMetaObject::invokeMethod(
      this,
      [state, thread, parent] {
        if (state->abandoned) return;
        auto* dialog = new QPrintDialog(&sharedPrinter(), parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowTitle(QStringLiteral("Print Setup"));
        dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
        dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        if (auto* box = dialog->findChild<QDialogButtonBox*>())
          if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
        state->dialog = dialog;
        auto finish = [state, thread] {
          if (state->done) return;
          state->done = true;
          if (thread) wakeThread(thread);
        };
        QObject::connect(dialog, &QDialog::finished, dialog, finish);
        QObject::connect(dialog, &QObject::destroyed, finish);
        dialog->show();
      },
      Qt::QueuedConnection);
  if (thread == 0) return;  // nobody waits
  ++blocked_[thread];
  applyInputOfThread(thread);
  struct Leave {
    QtDesktop& desk;
    int thread;
    std::shared_ptr<State> state;
    ~Leave() {
      state->abandoned = true;
      if (state->dialog && !state->done) state->dialog->deleteLater();
      if (--desk.blocked_[thread] <= 0) desk.blocked_.erase(thread);
      desk.applyInputOfThread(thread);
    }
  } leave{*this, thread, state};
  while (!state->done) waitForWake();
}

}  // namespace platform::qt
