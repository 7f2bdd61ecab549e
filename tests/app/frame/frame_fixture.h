#pragma once
// Stand-ins for the tests of the procedure frame and the program's start:
// window procedures described in a few lines, a frame that starts them on
// threads of their own, a data layer that gives every thread one record
// buffer and writes down its steps, and a scratch directory with the
// settings file.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/frame/globals.h"
#include "app/frame/procedure_window.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/thread.h"
#include "platform/os/os_fakes.h"
#include "platform/os/profile.h"
#include "platform/ui/headless/driver.h"
#include "tests/platform/os/temp_dir.h"

namespace apptest {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Event;
using platform::EventKind;
using platform::Rect;
using platform::Window;
using platform::WindowKind;
using platform::WindowSpec;

inline ControlSpec ctl(int number, ControlKind kind, Rect rect = {5, 5, 60, 12}) {
  ControlSpec s;
  s.number = number;
  s.kind = kind;
  s.rect = rect;
  return s;
}

// A procedure's window class whose handlers and member steps are functions.
class TestWindow : public app::ProcedureWindow {
 public:
  using ProcedureWindow::ProcedureWindow;
  std::function<int()> members;                        // SetupMembers
  std::function<void()> opened;                        // SetupOpenWindow
  std::function<int(const Event&)> accepted, closing;  // after the class library's handling

  int OnAccepted() override {
    if (int level = ProcedureWindow::OnAccepted(); level != 0) return level;
    return accepted ? accepted(event()) : 0;
  }
  int OnCloseRequest() override {
    if (int level = ProcedureWindow::OnCloseRequest(); level != 0) return level;
    return closing ? closing(event()) : 0;
  }

 protected:
  int SetupMembers() override { return members ? members() : 0; }
  void SetupOpenWindow() override {
    if (opened) opened();
  }
};

// A window procedure: its name, its window's description and the set-up
// of its window object.
struct Procedure {
  Procedure(std::string procedureName, WindowSpec windowSpec, std::vector<ControlSpec> windowControls)
      : name(std::move(procedureName)), spec(std::move(windowSpec)), controls(std::move(windowControls)) {}

  std::string name;
  WindowSpec spec;
  std::vector<ControlSpec> controls;
  bool resizer = true;
  std::function<void(TestWindow&)> configure;

  void operator()() const {
    Window w(spec);
    for (const ControlSpec& c : controls) w.add(c);
    platform::WindowFitter fitter;
    TestWindow window(w, name);
    if (resizer) window.SetResizer(fitter);
    if (configure) configure(window);
    app::RunProcedureWindow(window);
  }
};

inline WindowSpec windowSpec(std::string caption, WindowKind kind = WindowKind::Child, Rect rect = {20, 20, 200, 100}) {
  WindowSpec s;
  s.kind = kind;
  s.caption = std::move(caption);
  s.rect = rect;
  s.resizable = true;
  return s;
}

// A frame whose button `StartButton` starts `started` on a new thread.
constexpr int StartButton = -11;
inline Procedure frame(std::function<void()> started = {}) {
  Procedure p{"Main", windowSpec("Main", WindowKind::Frame, {0, 0, 654, 318}), {ctl(StartButton, ControlKind::Button)}};
  p.resizer = false;
  p.configure = [started](TestWindow& w) {
    w.accepted = [started](const Event& e) {
      if (e.control == StartButton && started) app::StartThread(started, 50000);
      return 0;
    };
  };
  return p;
}

// The data layer's stand-in: each thread's copy of the files is one record
// buffer with a 20-character case number.
class StandInLayer final : public app::ThreadDataLayer {
 public:
  std::vector<std::string> log;
  // What each step finds of the thread's other state; empty: nothing.
  std::function<std::string()> observe;

  void MakeThreadFiles() override {
    buffer_->emplace();
    buffer_->value().fill(' ');
    note("files");
  }
  void ConstructDictionary() override { note("dictionary"); }
  void DestroyDictionary() override { note("dictionary gone"); }
  void ReleaseThreadFiles() override {
    note("files gone");
    buffer_->reset();
  }

  // The calling thread's record buffer field.
  platform::FieldRef caseNumber() {
    auto& b = *buffer_;
    if (!b) return {};
    return platform::FieldRef(platform::FieldType::String, b->data(), static_cast<std::uint32_t>(b->size()));
  }

 private:
  void note(const std::string& step) {
    std::string entry = step + " " + std::to_string(platform::currentThread());
    if (observe) entry += ": " + observe();
    log.push_back(entry);
  }
  platform::FiberLocal<std::optional<std::array<std::uint8_t, 20>>> buffer_;
};

// A scratch directory with its settings file, a recording full-drag
// setting, the stand-in data layer and a driver.
class ProgramTest : public lvtest::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    app::SetThreadDataLayer(&layer);
  }
  void TearDown() override {
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
    drv.reset();
    app::SetThreadDataLayer(nullptr);
    ScratchDirTest::TearDown();
  }

  // Starts the program with `frameProcedure` and runs it until all wait.
  void start(const app::FrameProcedure& frameProcedure) {
    ASSERT_NE(app::StartProgram(frameProcedure), 0);
    drv->settle();
  }

  std::optional<std::string> entry(const std::string& section, const std::string& name) const {
    return platform::findProfileString(section, name, app::SettingsFileName);
  }

  StandInLayer layer;
  platform::RecordingFullDrag drag{true};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  std::optional<platform::HeadlessDriver> drv{std::in_place};
};

}  // namespace apptest
