// The user's keyboard and mouse on the desktop's widgets, fed to the model
// through platform::input only, and the user's moves and resizes of the
// windows.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "platform/fiber/thread.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/desktop_views.h"
#include "platform/qt/widgets.h"
#include "platform/ui/window.h"

namespace platform::qt {

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
    else if (k.mods == ModAlt && k.isCharacter())
      forward = true;  // a prompt's key (the toolkit has pressed a button's already)
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

}  // namespace platform::qt
