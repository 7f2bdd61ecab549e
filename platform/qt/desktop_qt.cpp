#include "platform/qt/desktop_qt.h"

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <algorithm>
#include <cstdio>
#include <exception>

#include "platform/fiber/scheduler.h"
#include "platform/qt/desktop_views.h"
#include "platform/qt/widgets.h"
#include "platform/ui/window.h"

namespace platform::qt {

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

}  // namespace platform::qt
