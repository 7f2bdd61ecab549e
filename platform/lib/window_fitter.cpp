#include "platform/lib/window_fitter.h"

#include <algorithm>

#include "platform/ui/control.h"

namespace platform {

namespace {

bool grows(ControlKind kind) {
  return kind == ControlKind::List || kind == ControlKind::Text || kind == ControlKind::Sheet;
}

bool fixedInFrame(ControlKind kind) {
  return kind == ControlKind::Menu || kind == ControlKind::Item || kind == ControlKind::Toolbar;
}

}  // namespace

void WindowFitter::Setup(Window& window) {
  window_ = &window;
  width_ = window.rect().width;
  height_ = window.rect().height;
  designed_.clear();
  for (const auto& c : window.controls()) {
    if (fixedInFrame(c->kind())) continue;
    if (const Control* parent = window.find(c->parent()); parent && parent->kind() == ControlKind::Toolbar) continue;
    const bool marked = std::find(growing_.begin(), growing_.end(), c->number()) != growing_.end();
    designed_.push_back({c->number(), c->rect(), marked || grows(c->kind())});
  }
  window.setMinimumSize(width_, height_);
}

void WindowFitter::Fit() {
  if (!window_) return;
  const int dx = std::max(0, window_->rect().width - width_);
  const int dy = std::max(0, window_->rect().height - height_);
  for (const Designed& d : designed_) {
    Control* c = window_->find(d.control);
    if (!c) continue;
    Rect r = d.rect;
    if (d.grows) {
      r.width += dx;
      r.height += dy;
    } else {
      // Twice the centre against the window's size: no rounding.
      if (2 * r.x + r.width > width_) r.x += dx;
      if (2 * r.y + r.height > height_) r.y += dy;
    }
    if (!(c->rect() == r)) c->setRect(r);
  }
}

int WindowFitter::TakeEvent(const Event& event) {
  if (event.kind == EventKind::Sized) Fit();
  return LevelContinue;
}

void WindowFitter::ShutdownComponent() {
  window_ = nullptr;
  designed_.clear();
}

}  // namespace platform
