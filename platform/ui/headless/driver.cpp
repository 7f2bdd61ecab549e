#include "platform/ui/headless/driver.h"

#include <algorithm>

namespace platform {

HeadlessDriver::HeadlessDriver() {
  scheduler().reset();
  scheduler().setTimeSource([this] { return now_; });
  desktop().addObserver(this);
}

HeadlessDriver::~HeadlessDriver() {
  scheduler().endAllThreads();
  scheduler().setTimeSource({});
  desktop().removeObserver(this);
}

int HeadlessDriver::start(ThreadProcedure procedure, std::size_t stackSize) {
  int id = StartThread(std::move(procedure), stackSize);
  settle();
  return id;
}

int HeadlessDriver::startProgram(ThreadProcedure body) {
  int id = scheduler().startProgram(std::move(body));
  settle();
  return id;
}

void HeadlessDriver::checkViolations() {
  long v = scheduler().violations();
  if (v == violations_) return;
  violations_ = v;
  throw DriverError("design violation: " + scheduler().lastViolation());
}

void HeadlessDriver::settle() {
  for (;;) {
    scheduler().runReady();
    checkViolations();
    Window* box = nullptr;
    for (Window* w : desktop().windows())
      if (w->kind() == WindowKind::Message && w->takesInput() &&
          std::find(answered_.begin(), answered_.end(), w->id()) == answered_.end()) {
        box = w;
        break;
      }
    if (!box) {
      if (!scheduler().hasReady()) return;
      continue;
    }
    const MessageRequest& r = *box->message();
    messages_.push_back(r);
    unsigned button = 0;
    if (!answers_.empty()) {
      button = answers_.front();
      answers_.erase(answers_.begin());
    } else if (answerer_) {
      button = answerer_(r);
    }
    std::string shown = "message box \"" + r.title + "\": \"" + r.text + "\"";
    if (button == 0) throw DriverError(shown + " appeared with no answer scripted");
    if (button != CloseBox && !(r.buttons & button))
      throw DriverError(shown + " has no button " + std::to_string(button));
    answered_.push_back(box->id());
    input::Status s = button == CloseBox ? input::closeWindow(*box) : input::click(*box, static_cast<int>(button));
    if (s != input::Status::Ok) throw DriverError("cannot answer " + shown + ": " + input::describe(s));
  }
}

void HeadlessDriver::advance(Scheduler::Centis centis) {
  const Scheduler::Centis target = now_ + std::max<Scheduler::Centis>(centis, 0);
  for (;;) {
    std::optional<Scheduler::Centis> due = scheduler().nextTimerDue();
    if (!due || *due > target) break;
    now_ = std::max(now_, *due);
    scheduler().fireDueTimers();
    settle();
  }
  now_ = target;
  settle();
}

void HeadlessDriver::answer(unsigned button) { answers_.push_back(button); }

void HeadlessDriver::answerWith(std::function<unsigned(const MessageRequest&)> answerer) {
  answerer_ = std::move(answerer);
}

std::vector<Window*> HeadlessDriver::openWindows() const {
  std::vector<Window*> open;
  for (Window* w : desktop().windows())
    if (w->isOpen()) open.push_back(w);
  return open;
}

Window* HeadlessDriver::findWindow(std::string_view caption) const { return desktop().findByCaption(caption); }

Window& HeadlessDriver::window(std::string_view caption) const {
  Window* w = findWindow(caption);
  if (!w) throw DriverError("no open window \"" + std::string(caption) + "\"");
  return *w;
}

Window& HeadlessDriver::active(int thread) const {
  Window* w = desktop().activeWindow(thread);
  if (!w) throw DriverError("thread " + std::to_string(thread) + " has no open window");
  return *w;
}

Control& HeadlessDriver::control(Window& w, int control) const {
  Control* c = w.find(control);
  if (!c) throw DriverError("window \"" + w.caption() + "\" has no control " + std::to_string(control));
  return *c;
}

void HeadlessDriver::act(const Window& w, input::Status s, const char* what, int control) {
  if (s != input::Status::Ok) {
    std::string where = "window \"" + w.caption() + "\"";
    if (control) where += ", control " + std::to_string(control);
    throw DriverError(std::string("cannot ") + what + " (" + where + "): " + input::describe(s));
  }
  settle();
}

void HeadlessDriver::focus(Window& w, int control) { act(w, input::focus(w, control), "focus", control); }

void HeadlessDriver::type(Window& w, int control, std::string_view text) {
  edit(w, control, text);
  // Leaving the entry accepts it; with the window closed or the focus kept
  // by a refused text there is nothing more to do.
  if (w.isOpen() && w.takesInput() && w.focus() == control) tab(w);
}

void HeadlessDriver::edit(Window& w, int control, std::string_view text) {
  if (w.focus() != control) focus(w, control);
  act(w, input::edit(w, control, text), "type", control);
}

void HeadlessDriver::press(Window& w, KeyPress key) { act(w, input::key(w, key), "press a key", w.focus()); }

void HeadlessDriver::tab(Window& w, bool backwards) { act(w, input::tab(w, backwards), "tab"); }

void HeadlessDriver::click(Window& w, int control) { act(w, input::click(w, control), "click", control); }

void HeadlessDriver::choose(Window& w, int control, int position) {
  act(w, input::choose(w, control, position), "choose", control);
}

void HeadlessDriver::choose(Window& w, int control, std::string_view text) {
  Control& c = this->control(w, control);
  int position = 0;
  if (c.kind() == ControlKind::Option) {
    for (const auto& r : w.controls())
      if (r->parent() == control && r->kind() == ControlKind::Radio && r->text() == text) position = r->position();
  } else {
    auto it = std::find(c.choices().begin(), c.choices().end(), text);
    if (it != c.choices().end()) position = static_cast<int>(it - c.choices().begin()) + 1;
  }
  if (!position)
    throw DriverError("window \"" + w.caption() + "\", control " + std::to_string(control) + " offers no \"" +
                      std::string(text) + "\"");
  choose(w, control, position);
}

void HeadlessDriver::selectRow(Window& w, int list, int row) {
  act(w, input::selectRow(w, list, row), "select a row", list);
}

void HeadlessDriver::doubleClick(Window& w, int list, int row) {
  act(w, input::doubleClick(w, list, row), "double-click", list);
}

void HeadlessDriver::selectTab(Window& w, int sheet, int position) {
  act(w, input::selectTab(w, sheet, position), "select a tab", sheet);
}

void HeadlessDriver::scroll(Window& w, int list, ScrollAction action, int thumb) {
  act(w, input::scroll(w, list, action, thumb), "scroll", list);
}

void HeadlessDriver::pointer(Window& w, int region, input::PointerAction action) {
  act(w, input::pointer(w, region, action), "point", region);
}

void HeadlessDriver::close(Window& w) { act(w, input::closeWindow(w), "close"); }

void HeadlessDriver::move(Window& w, int x, int y) { act(w, input::moveWindow(w, x, y), "move"); }

void HeadlessDriver::resize(Window& w, int width, int height) {
  act(w, input::resizeWindow(w, width, height), "resize");
}

void HeadlessDriver::maximize(Window& w) { act(w, input::maximize(w), "maximize"); }

void HeadlessDriver::minimize(Window& w) { act(w, input::minimize(w), "minimize"); }

void HeadlessDriver::restore(Window& w) { act(w, input::restore(w), "restore"); }

void HeadlessDriver::standardAction(Window& w, Control& c, StdAction a) {
  actions_.push_back({w.caption(), c.number(), a});
}

}  // namespace platform
