#pragma once
// The offscreen desktop for tests: one application object for the test
// program, a fresh scheduler, the desktop and the thread pump per test, and
// helpers that build windows on logical threads and write down the events
// their loops get.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/pump.h"
#include "platform/ui/desktop.h"
#include "platform/ui/input.h"
#include "platform/ui/window.h"

namespace platform::qt::test {

inline ControlSpec ctl(int number, ControlKind kind, std::string text = {}, Rect rect = {4, 4, 60, 12}, int parent = 0) {
  ControlSpec s;
  s.number = number;
  s.kind = kind;
  s.text = std::move(text);
  s.rect = rect;
  s.parent = parent;
  return s;
}

inline WindowSpec windowSpec(std::string caption, WindowKind kind = WindowKind::Own, Rect rect = {10, 10, 200, 120}) {
  WindowSpec s;
  s.kind = kind;
  s.caption = std::move(caption);
  s.rect = rect;
  return s;
}

inline std::string describe(const Event& e) {
  std::string s = eventName(e.kind);
  if (e.control) s += " " + std::to_string(e.control);
  return s;
}

// A window of a logical thread: built from its window description and controls, opened,
// its loop run until it ends; every event is written to `log` and given to
// `handler` (Continue when none).
struct Script {
  WindowSpec spec;
  std::vector<ControlSpec> controls;
  std::function<EventLevel(Window&, const Event&)> handler;
  std::vector<std::string> log;
  Window* window = nullptr;  // while it is open
  bool ended = false;

  void run() {
    Window w(spec);
    for (const ControlSpec& c : controls) w.add(c);
    window = &w;
    w.open();
    while (w.accept()) {
      log.push_back(describe(w.event()));
      w.endEvent(handler ? handler(w, w.event()) : EventLevel::Continue);
    }
    w.close();
    window = nullptr;
    ended = true;
  }
  bool saw(const std::string& event) const { return std::find(log.begin(), log.end(), event) != log.end(); }
};

// The pointer, which must not be null (throws: the test fails).
template <class T>
T* must(T* p) {
  if (!p) throw std::runtime_error("no such widget");
  return p;
}

class QtTest : public ::testing::Test {
 protected:
  QtTest() {
    scheduler().reset();
    desk = std::make_unique<QtDesktop>();
    pump = std::make_unique<FiberPump>();
    desk->setRunner([this] { pump->run(); });
  }
  ~QtTest() override {
    scheduler().endAllThreads();
    settle();
    desk.reset();
    pump.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void TearDown() override {
    EXPECT_EQ(scheduler().violations(), expectedViolations) << scheduler().lastViolation();
    EXPECT_TRUE(pump->faults().isEmpty()) << pump->faults().join("; ").toStdString();
  }

  // Runs the event loop until no thread is queued and nothing is posted.
  void settle() {
    for (int i = 0; i < 50; ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      if (!scheduler().hasReady() && !(pump && pump->pending())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!scheduler().hasReady() && !(pump && pump->pending())) return;
      }
    }
  }
  // START `script` on a thread of its own, then settle.
  int start(Script& script) {
    int t = StartThread([&script] { script.run(); }, 0);
    settle();
    return t;
  }
  // The control's widget, of the class expected; throws when there is none.
  template <class W = QWidget>
  W* widget(Script& s, int control) {
    W* w = s.window ? qobject_cast<W*>(desk->controlWidget(*s.window, control)) : nullptr;
    if (!w) throw std::runtime_error("no widget of that class for control " + std::to_string(control));
    return w;
  }
  // A click at window level: at the widget's centre, on the window that
  // holds it, so that whatever covers or disables it counts.
  void clickInWindow(QWidget* target) {
    QWidget* top = target->window();
    QPoint at = target->mapTo(top, target->rect().center());
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    settle();
  }

  std::unique_ptr<QtDesktop> desk;
  std::unique_ptr<FiberPump> pump;
  long expectedViolations = 0;
};

}  // namespace platform::qt::test
