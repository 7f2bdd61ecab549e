#include "platform/lib/toolbar.h"

#include <algorithm>

namespace platform {

namespace {

// The attached toolbars, the most recently used last.
std::vector<Toolbar*>& attached() {
  static std::vector<Toolbar*> list;
  return list;
}

}  // namespace

Toolbar::~Toolbar() { leave(); }

void Toolbar::AddButton(int control, ToolbarButton button) {
  for (auto& b : buttons_)
    if (b.first == control) {
      b.second = button;
      return;
    }
  buttons_.emplace_back(control, button);
}

ToolbarTarget* Toolbar::currentTarget() {
  const auto& list = attached();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if ((*it)->target_) return (*it)->target_;
  return nullptr;
}

bool Toolbar::Forward(ToolbarButton button) {
  ToolbarTarget* target = currentTarget();
  if (!target) return false;
  int control = target->ToolbarControl(button);
  if (control == 0) return false;
  Window& w = target->ToolbarWindow();
  Control* c = w.find(control);
  // Only what a click could reach: a window under a modal one of its
  // thread is not.
  if (!w.takesInput() || !c || !c->visible() || !c->enabled()) return false;
  w.post(EventKind::Accepted, control);
  return true;
}

void Toolbar::SetTarget(ToolbarTarget* target) {
  target_ = target;
  if (target_) makeCurrent();
}

int Toolbar::SetupComponent() {
  makeCurrent();
  return LevelContinue;
}

int Toolbar::TakeEvent(const Event& event) {
  if (event.kind == EventKind::Selected) {
    makeCurrent();
    return LevelContinue;
  }
  if (event.kind != EventKind::Accepted || event.control == 0) return LevelContinue;
  for (const auto& [control, button] : buttons_)
    if (control == event.control) {
      Forward(button);
      return LevelSkip;
    }
  return LevelContinue;
}

void Toolbar::ShutdownComponent() {
  leave();
  target_ = nullptr;
}

void Toolbar::makeCurrent() {
  leave();
  attached().push_back(this);
}

void Toolbar::leave() {
  auto& list = attached();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

}  // namespace platform
