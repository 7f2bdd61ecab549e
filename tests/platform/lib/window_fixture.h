#pragma once
// Stand-ins for the window-class tests: a window controller that opens its
// window in its set-up and writes down what its handlers see, and a
// component that does the same.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/lib/window_controller.h"
#include "platform/ui/headless/driver.h"
#include "platform/ui/window.h"

namespace platform::test {

inline ControlSpec ctl(int number, ControlKind kind, Rect rect = {0, 0, 60, 12}, int parent = 0) {
  ControlSpec s;
  s.number = number;
  s.kind = kind;
  s.rect = rect;
  s.parent = parent;
  return s;
}

inline WindowSpec ownWindow(std::string caption, Rect rect = {10, 10, 200, 100}) {
  WindowSpec s;
  s.kind = WindowKind::Own;
  s.caption = std::move(caption);
  s.rect = rect;
  s.resizable = true;
  return s;
}

inline std::string describe(const std::string& who, const Event& e) {
  std::string s = who + " " + eventName(e.kind);
  if (e.control) s += " " + std::to_string(e.control);
  return s;
}

// Opens its window after the class library's set-up; every handler writes
// to `log` and answers what its function says (0 when none).
class Probe : public WindowController {
 public:
  using Answer = std::function<int(const Event&)>;
  Probe(Window& w, std::vector<std::string>& log) : WindowController(w), log_(log) {}

  Answer hook, accepted, closing, other, after;

  int Setup() override {
    if (int level = WindowController::Setup(); level != LevelContinue) return level;
    window().open();
    return LevelContinue;
  }
  int OnControlEvent() override { return note("hook", hook); }
  int OnAccepted() override {
    if (int level = WindowController::OnAccepted(); level != LevelContinue) return level;
    return note("window", accepted);
  }
  int OnCloseRequest() override {
    if (int level = WindowController::OnCloseRequest(); level != LevelContinue) return level;
    return note("window", closing);
  }
  int OnOtherEvent() override {
    if (int level = WindowController::OnOtherEvent(); level != LevelContinue) return level;
    return note("window", other);
  }
  // Written down only for a probe that has an answer for it.
  int AfterControlEvent() override { return after ? note("after", after) : LevelContinue; }

 private:
  int note(const char* who, const Answer& answer) {
    log_.push_back(describe(who, event()));
    return answer ? answer(event()) : LevelContinue;
  }
  std::vector<std::string>& log_;
};

class LoggingComponent : public WindowComponent {
 public:
  LoggingComponent(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
  std::function<int(const Event&)> answer;
  int setupLevel = 0;

  int SetupComponent() override {
    log_.push_back(name_ + " set up");
    return setupLevel;
  }
  int TakeEvent(const Event& e) override {
    log_.push_back(describe(name_, e));
    return answer ? answer(e) : LevelContinue;
  }
  void ShutdownComponent() override { log_.push_back(name_ + " shut down"); }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

// A test with a fresh driver that fails on design violations.
class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(scheduler().violations(), 0) << scheduler().lastViolation(); }
  HeadlessDriver drv;
};

}  // namespace platform::test
