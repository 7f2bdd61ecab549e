#include "platform/ui/window.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "platform/types/clock.h"
#include "platform/types/latin1.h"
#include "platform/ui/desktop.h"

namespace platform {

const char* eventName(EventKind kind) {
  switch (kind) {
    case EventKind::Accepted: return "Accepted";
    case EventKind::Selected: return "Selected";
    case EventKind::NewSelection: return "NewSelection";
    case EventKind::CloseRequest: return "CloseRequest";
    case EventKind::OpenWindow: return "OpenWindow";
    case EventKind::Timer: return "Timer";
    case EventKind::Sized: return "Sized";
    case EventKind::AlertKey: return "AlertKey";
    case EventKind::Key: return "Key";
    case EventKind::DoubleClick: return "DoubleClick";
    case EventKind::Scroll: return "Scroll";
    case EventKind::PointerIn: return "PointerIn";
    case EventKind::PointerOut: return "PointerOut";
    case EventKind::PointerUp: return "PointerUp";
  }
  return "?";
}

// --- desktop ---------------------------------------------------------------

Desktop& desktop() {
  static Desktop* d = new Desktop;  // outlives every window, whatever the order of exit
  return *d;
}

void Desktop::addObserver(DesktopObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) observers_.push_back(observer);
}

void Desktop::removeObserver(DesktopObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

Window* Desktop::find(int windowId) const {
  for (Window* w : windows_)
    if (w->id() == windowId) return w;
  return nullptr;
}

Window* Desktop::findByCaption(std::string_view caption) const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
    if ((*it)->isOpen() && (*it)->caption() == caption) return *it;
  return nullptr;
}

Window* Desktop::activeWindow(int thread) const {
  Window* top = nullptr;
  for (Window* w : windows_)
    if (w->isOpen() && w->thread() == thread && (!top || w->openOrder_ > top->openOrder_)) top = w;
  return top;
}

Window* Desktop::frame() const {
  for (Window* w : windows_)
    if (w->isOpen() && w->kind() == WindowKind::Frame) return w;
  return nullptr;
}

void Desktop::added(Window* w) { windows_.push_back(w); }

void Desktop::removed(Window* w) { windows_.erase(std::remove(windows_.begin(), windows_.end(), w), windows_.end()); }

void Desktop::updateModality(int thread) {
  Window* top = activeWindow(thread);
  for (Window* w : windows_) {
    if (w->thread() != thread) continue;
    bool takes = w->isOpen() && w == top;
    if (takes != w->takesInput_) {
      w->takesInput_ = takes;
      notify([w](DesktopObserver& o) { o.windowChanged(*w, WindowProp::Enabled); });
    }
  }
}

// --- window ----------------------------------------------------------------

namespace {
int nextWindowId = 1;
}  // namespace

Window::Window(WindowSpec spec) : id_(nextWindowId++), thread_(currentThread()), spec_(std::move(spec)) {
  rect_ = spec_.rect;
  statusTexts_.resize(spec_.statusZones.size());
  desktop().added(this);
  desktop().notify([this](DesktopObserver& o) { o.windowCreated(*this); });
}

Window::~Window() {
  close();
  desktop().notify([this](DesktopObserver& o) { o.windowDestroyed(*this); });
  desktop().removed(this);
}

Control& Window::add(ControlSpec spec) {
  if (spec.number == 0) throw std::invalid_argument("a control needs a number other than 0");
  if (byNumber_.count(spec.number))
    throw std::invalid_argument("control " + std::to_string(spec.number) + " exists already");
  if (spec.parent != 0 && !byNumber_.count(spec.parent))
    throw std::invalid_argument("control " + std::to_string(spec.number) + ": no parent " +
                                std::to_string(spec.parent));
  int number = spec.number;
  controls_.push_back(std::unique_ptr<Control>(new Control(*this, std::move(spec))));
  Control& c = *controls_.back();
  byNumber_[number] = &c;
  if (c.kind() == ControlKind::Radio)
    if (Control* option = find(c.parent()); option && option->bound()) option->showVariable(true);
  desktop().notify([this, &c](DesktopObserver& o) { o.controlAdded(*this, c); });
  return c;
}

void Window::remove(int number) {
  Control* c = find(number);
  if (!c) return;
  std::vector<int> children;
  for (const auto& k : controls_)
    if (k->parent() == number) children.push_back(k->number());
  for (int child : children) remove(child);
  if (focus_ == number) moveFocus(0);
  desktop().notify([this, c](DesktopObserver& o) { o.controlRemoved(*this, *c); });
  byNumber_.erase(number);
  controls_.erase(std::find_if(controls_.begin(), controls_.end(), [c](const auto& p) { return p.get() == c; }));
}

Control& Window::control(int number) const {
  Control* c = find(number);
  if (!c)
    throw std::out_of_range("window \"" + spec_.caption + "\" has no control " + std::to_string(number));
  return *c;
}

Control* Window::find(int number) const {
  auto it = byNumber_.find(number);
  return it == byNumber_.end() ? nullptr : it->second;
}

Control* Window::defaultButton() const {
  for (const auto& c : controls_)
    if (c->kind() == ControlKind::Button && c->isDefault() && c->visible() && c->enabled()) return c.get();
  return nullptr;
}

void Window::open() {
  if (state_ != WindowState::Built) throw std::logic_error("window \"" + spec_.caption + "\" was opened before");
  state_ = WindowState::Open;
  openOrder_ = ++desktop().openCounter_;
  if (spec_.maximize) maximized_ = true;
  showVariables(false);
  // The open event first, then the focus on the first control that takes it.
  int first = 0;
  for (const auto& c : controls_)
    if (c->takesFocus() && c->visible() && c->enabled() && !c->skip()) {
      first = c->number();
      break;
    }
  if (first) enqueue({Op::Focus, Event{EventKind::Selected, first, {}, {}, 0}, 0, -1}, true);
  enqueue({Op::Deliver, Event{EventKind::OpenWindow, 0, {}, {}, 0}, 0, -1}, true);
  desktop().notify([this](DesktopObserver& o) { o.windowOpened(*this); });
  desktop().updateModality(thread_);
}

void Window::close() {
  if (state_ == WindowState::Closed) return;
  bool wasOpen = state_ == WindowState::Open;
  state_ = WindowState::Closed;
  loopEnded_ = true;
  inEvent_ = false;
  queue_.clear();
  setTimer(0);
  if (waiting_) wakeThread(thread_);
  if (wasOpen) {
    desktop().notify([this](DesktopObserver& o) { o.windowClosed(*this); });
    desktop().updateModality(thread_);
  }
}

bool Window::takesInput() const { return isOpen() && desktop().activeWindow(thread_) == this; }

bool Window::accept() {
  if (thread_ != currentThread())
    throw std::logic_error("accept() on window \"" + spec_.caption + "\" of another logical thread");
  if (state_ == WindowState::Built) throw std::logic_error("accept() on window \"" + spec_.caption + "\" before open()");
  if (inEvent_) endEvent(EventLevel::Continue);
  for (;;) {
    if (state_ != WindowState::Open || loopEnded_) return false;
    if (queue_.empty()) {
      refreshThread();
      waiting_ = true;
      struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
      } reset{waiting_};
      waitForWake();
      continue;
    }
    Queued q = std::move(queue_.front());
    queue_.pop_front();
    if (take(q)) return true;
  }
}

void Window::enqueue(Queued q, bool front) {
  if (state_ == WindowState::Closed) return;
  if (q.op == Op::Deliver && q.event.kind == EventKind::Timer) {
    if (timerQueued_) return;
    timerQueued_ = true;
  }
  if (front)
    queue_.push_front(std::move(q));
  else
    queue_.push_back(std::move(q));
  if (waiting_) wakeThread(thread_);
}

// Takes a queued entry; returns whether it became the current event.
bool Window::take(Queued q) {
  Control* c = q.event.control ? find(q.event.control) : nullptr;
  if ((q.event.control || q.op != Op::Deliver) && !c) return false;  // removed meanwhile
  switch (q.op) {
    case Op::Focus: {
      // Leaving an edited entry accepts it first; the focus moves after.
      if (Control* left = editedTextControl(c)) {
        if (!writeBack(*left, q.batch)) return false;
        queue_.push_front(std::move(q));
        deliver(Event{EventKind::Accepted, left->number(), {}, {}, 0});
        return true;
      }
      if (focus_ == c->number()) return false;
      moveFocus(c->number());
      deliver(Event{EventKind::Selected, c->number(), {}, {}, 0});
      return true;
    }
    case Op::Spin:
      if (!writeBack(*c, q.batch)) return false;
      stepSpin(*c, q.apply);
      deliver(Event{EventKind::NewSelection, c->number(), {}, {}, 0});
      return true;
    case Op::Deliver:
      if (q.keyed && c) {
        // The row the user aimed at, wherever its record stands now (the
        // page may have moved since, by a search the same input ran first);
        // a record no longer shown selects nothing, and the rest of the
        // input (a double-click) goes with it.
        const int row = c->rowOfKey(q.key);
        if (row == 0) {
          dropBatch(q.batch);
          return false;
        }
        if (q.event.kind == EventKind::NewSelection) {
          if (row == c->selected()) return false;
          q.apply = row;
        }
      }
      if (q.event.kind == EventKind::CloseRequest && q.event.control == 0)
        // However the window is asked to close, the entry being edited is
        // accepted first, as leaving it would: its handlers see the value
        // before the close request does. A text that does not read keeps
        // the window open.
        if (Control* edited = editedTextControl(nullptr)) {
          if (!writeBack(*edited, q.batch)) {
            desktop().notify([this](DesktopObserver& o) { o.closeRefused(*this); });
            return false;
          }
          queue_.push_front(std::move(q));
          deliver(Event{EventKind::Accepted, edited->number(), {}, {}, 0});
          return true;
        }
      if (q.event.kind == EventKind::Timer) timerQueued_ = false;
      if (c && q.apply >= 0) applyChoice(*c, q.apply);
      if (c && (q.event.kind == EventKind::Accepted || q.event.kind == EventKind::NewSelection) &&
          !writeBack(*c, q.batch))
        return false;
      deliver(q.event);
      return true;
  }
  return false;
}

void Window::applyChoice(Control& c, int value) {
  switch (c.kind()) {
    case ControlKind::Check:
      c.setChecked(value != 0);
      c.markEdited();
      break;
    case ControlKind::Option:
    case ControlKind::DropList:
      c.setSelected(value);
      c.markEdited();
      break;
    case ControlKind::Combo:
    case ControlKind::DropCombo:
      if (value >= 1 && value <= static_cast<int>(c.choices().size()))
        c.setEditText(c.choices()[static_cast<std::size_t>(value - 1)]);
      break;
    default:
      c.setSelected(value);
      break;
  }
}

// Writes a control's input to its variable. On text that does not read as
// the control's picture: the message, the focus kept, the rest of the input
// dropped, and false.
bool Window::writeBack(Control& c, int batch) {
  if (!c.edited()) return true;
  if (!c.bound()) {
    c.clearEdited();
    return true;
  }
  FieldRef var = c.variable();
  auto setText = [&](const std::string& utf8) {
    std::optional<std::string> latin1 = utf8ToLatin1(utf8);
    var.setText(latin1 ? *latin1 : std::string());
  };
  std::string problem;
  switch (c.kind()) {
    case ControlKind::Check:
      var.setInteger(c.checked() ? 1 : 0);
      break;
    case ControlKind::Option:
      if (var.isText()) {
        std::string text;
        for (const auto& r : controls_)
          if (r->parent() == c.number() && r->kind() == ControlKind::Radio && r->position() == c.selected())
            text = r->text();
        setText(text);
      } else {
        var.setInteger(c.selected());
      }
      break;
    case ControlKind::DropList:
      if (var.isText())
        setText(c.text());
      else
        var.setInteger(c.selected());
      break;
    default:
      if (const Picture* pic = c.picture()) {
        AcceptResult r = platform::accept(var, c.text(), *pic);
        if (!r) problem = r.message.empty() ? "The entry is not valid." : r.message;
      } else {
        std::string offending;
        if (std::optional<std::string> latin1 = utf8ToLatin1(c.text(), &offending))
          var.setText(*latin1);
        else
          problem = notLatin1Message(offending);
      }
      break;
  }
  if (!problem.empty()) {
    dropBatch(batch);
    platform::message(problem, "Invalid Entry", MsgIcon::Exclamation, BtnOk);
    if (state_ == WindowState::Open) {
      if (focus_ != c.number())
        moveFocus(c.number());
      else
        desktop().notify([this, &c](DesktopObserver& o) { o.focusChanged(*this, c.number()); });
    }
    return false;
  }
  c.showVariable(true);
  return true;
}

void Window::dropBatch(int batch) {
  if (batch == 0) return;
  for (auto it = queue_.begin(); it != queue_.end();) {
    if (it->batch != batch) {
      ++it;
      continue;
    }
    if (it->op == Op::Deliver && it->event.kind == EventKind::Timer) timerQueued_ = false;
    it = queue_.erase(it);
  }
}

void Window::deliver(const Event& e) {
  current_ = e;
  inEvent_ = true;
}

void Window::endEvent(EventLevel level) {
  if (!inEvent_) return;
  inEvent_ = false;
  if (level == EventLevel::End)
    loopEnded_ = true;
  else if (level == EventLevel::Continue && state_ == WindowState::Open)
    defaultAction(current_);
  refreshThread();
}

void Window::defaultAction(const Event& e) {
  Control* c = e.control ? find(e.control) : nullptr;
  switch (e.kind) {
    case EventKind::CloseRequest:
      loopEnded_ = true;
      break;
    case EventKind::Accepted:
      if (!c || c->spec().action == StdAction::None) break;
      if (c->spec().action == StdAction::Close)
        post(EventKind::CloseRequest);
      else
        desktop().notify([this, c](DesktopObserver& o) { o.standardAction(*this, *c, c->spec().action); });
      break;
    case EventKind::Scroll: {
      if (!c || c->kind() != ControlKind::List || c->rowCount() == 0) break;
      int sel = c->selected(), rows = c->rowCount(), page = c->pageRows();
      switch (e.scroll) {
        case ScrollAction::Up: sel = std::max(1, sel - 1); break;
        case ScrollAction::Down: sel = std::min(rows, sel + 1); break;
        case ScrollAction::PageUp: sel = std::max(1, sel - page); break;
        case ScrollAction::PageDown: sel = std::min(rows, sel + page); break;
        case ScrollAction::Top: sel = 1; break;
        case ScrollAction::Bottom: sel = rows; break;
        case ScrollAction::Thumb: break;
      }
      if (sel != c->selected()) {
        c->setSelected(sel);
        post(EventKind::NewSelection, c->number());
      }
      break;
    }
    default:
      break;
  }
}

void Window::post(EventKind kind, int control) { post(Event{kind, control, {}, {}, 0}); }

void Window::post(const Event& event) { enqueue({Op::Deliver, event, 0, -1}); }

void Window::select(int control) {
  if (!find(control)) return;
  enqueue({Op::Focus, Event{EventKind::Selected, control, {}, {}, 0}, 0, -1});
}

void Window::moveFocus(int control) {
  focus_ = control;
  desktop().notify([this, control](DesktopObserver& o) { o.focusChanged(*this, control); });
}

Control* Window::editedTextControl(const Control* except) const {
  for (const auto& c : controls_)
    if (c.get() != except && c->edited() && c->textual()) return c.get();
  return nullptr;
}

void Window::refreshThread() {
  for (Window* w : desktop().windows())
    if (w->thread_ == thread_ && w->isOpen()) w->showVariables(false);
}

void Window::showVariables(bool force) {
  for (const auto& c : controls_)
    if (c->bound()) c->showVariable(force);
}

void Window::display() { showVariables(true); }

void Window::display(int control) {
  if (Control* c = find(control)) c->showVariable(true);
}

void Window::setTimer(int centiseconds) {
  if (timerId_) scheduler().removeTimer(timerId_);
  timerId_ = 0;
  timerPeriod_ = std::max(centiseconds, 0);
  if (timerPeriod_ > 0 && state_ != WindowState::Closed)
    timerId_ = scheduler().addTimer(timerPeriod_, [this] {
      if (isOpen()) post(EventKind::Timer);
    });
}

void Window::alert(KeyPress key) {
  if (!alerted(key)) alerts_.push_back(key);
}

void Window::unalert(KeyPress key) { alerts_.erase(std::remove(alerts_.begin(), alerts_.end(), key), alerts_.end()); }

bool Window::alerted(KeyPress key) const { return std::find(alerts_.begin(), alerts_.end(), key) != alerts_.end(); }

void Window::setCaption(std::string caption) {
  if (spec_.caption == caption) return;
  spec_.caption = std::move(caption);
  windowChanged(WindowProp::Caption);
}

const std::string& Window::statusText(int zone) const {
  static const std::string none;
  if (zone < 1 || zone > statusZones()) return none;
  return statusTexts_[static_cast<std::size_t>(zone - 1)];
}

void Window::setStatusText(int zone, std::string text) {
  if (zone < 1 || zone > statusZones()) return;
  std::string& t = statusTexts_[static_cast<std::size_t>(zone - 1)];
  if (t == text) return;
  t = std::move(text);
  windowChanged(WindowProp::StatusText);
}

void Window::setPosition(int x, int y) {
  if (rect_.x == x && rect_.y == y) return;
  rect_.x = x;
  rect_.y = y;
  windowChanged(WindowProp::Position);
}

void Window::setSize(int width, int height) {
  width = std::max(width, minWidth_);
  height = std::max(height, minHeight_);
  if (rect_.width == width && rect_.height == height) return;
  rect_.width = width;
  rect_.height = height;
  windowChanged(WindowProp::Position);
}

void Window::setMaximized(bool on) {
  if (maximized_ == on) return;
  maximized_ = on;
  if (on && minimized_) {
    minimized_ = false;
    windowChanged(WindowProp::Minimized);
  }
  windowChanged(WindowProp::Maximized);
}

void Window::setMinimized(bool on) {
  if (minimized_ == on) return;
  minimized_ = on;
  windowChanged(WindowProp::Minimized);
}

void Window::setMinimumSize(int width, int height) {
  minWidth_ = std::max(width, 0);
  minHeight_ = std::max(height, 0);
  windowChanged(WindowProp::MinimumSize);
  setSize(rect_.width, rect_.height);
}

void Window::setWaitCursor(bool on) {
  const bool was = waitCursor();
  waitCursor_ = std::max(waitCursor_ + (on ? 1 : -1), 0);
  if (waitCursor() != was) windowChanged(WindowProp::WaitCursor);
}

void Window::controlChanged(Control& c, Prop p) {
  if (find(c.number()) != &c) return;  // not added yet
  desktop().notify([this, &c, p](DesktopObserver& o) { o.propertyChanged(*this, c, p); });
}

void Window::rowsChanged(Control& c) {
  if (find(c.number()) != &c) return;
  desktop().notify([this, &c](DesktopObserver& o) { o.rowsChanged(*this, c); });
}

void Window::windowChanged(WindowProp p) {
  desktop().notify([this, p](DesktopObserver& o) { o.windowChanged(*this, p); });
}

void Window::stepSpin(Control& c, int delta) {
  if (!c.bound()) return;
  FieldRef var = c.variable();
  const ControlSpec& s = c.spec();
  if (var.type() == FieldType::Date) {
    std::int32_t day = var.day();
    var.setDay((day == NoDate ? today() : day) + delta);
  } else if (var.type() == FieldType::Decimal) {
    var.setDecimal(var.decimal() + Decimal::fromInt(delta));
  } else if (var.isNumeric()) {
    std::int64_t v = var.integer() + delta;
    if (s.rangeLow < s.rangeHigh) v = std::clamp<std::int64_t>(v, s.rangeLow, s.rangeHigh);
    var.setInteger(v);
  }
  c.showVariable(true);
}

}  // namespace platform
