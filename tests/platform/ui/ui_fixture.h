#pragma once
// Small helpers for the window-model tests: control descriptions and an
// event loop that writes down what it gets.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/headless/driver.h"
#include "platform/ui/window.h"

namespace platform::test {

inline ControlSpec ctl(int number, ControlKind kind, std::string text = {}, int parent = 0) {
  ControlSpec s;
  s.number = number;
  s.kind = kind;
  s.text = std::move(text);
  s.parent = parent;
  s.rect = {0, 0, 60, 12};
  return s;
}

inline ControlSpec bound(int number, ControlKind kind, FieldRef var, std::string picture = {}) {
  ControlSpec s = ctl(number, kind);
  s.var = var;
  s.picture = std::move(picture);
  return s;
}

inline ControlSpec button(int number, std::string text, bool isDefault = false) {
  ControlSpec s = ctl(number, ControlKind::Button, std::move(text));
  s.defaultButton = isDefault;
  return s;
}

inline WindowSpec windowSpec(std::string caption, WindowKind kind = WindowKind::Own) {
  WindowSpec s;
  s.kind = kind;
  s.caption = std::move(caption);
  s.rect = {10, 10, 200, 100};
  return s;
}

inline std::string describe(const Event& e) {
  std::string s = eventName(e.kind);
  if (e.control) s += " " + std::to_string(e.control);
  return s;
}

// Runs the window's event loop; each event is written to `log` and handed
// to `handler`, whose level ends the event (Continue when none).
inline void runLoop(Window& w, std::vector<std::string>& log,
                    const std::function<EventLevel(const Event&)>& handler = {}) {
  while (w.accept()) {
    log.push_back(describe(w.event()));
    w.endEvent(handler ? handler(w.event()) : EventLevel::Continue);
  }
}

// A test with a fresh driver that fails on design violations left at the end.
class Ui : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(scheduler().violations(), expectedViolations) << scheduler().lastViolation();
  }
  HeadlessDriver drv;
  long expectedViolations = 0;
};

}  // namespace platform::test
