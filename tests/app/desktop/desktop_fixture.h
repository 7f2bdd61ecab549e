#pragma once
// The real program in the test's own process, on the real Qt windows: the
// frame after the password gate, with the case list it opens by itself, in
// a scratch directory (the record files, the password file) and a scratch
// configuration home (the settings file), with a fixed clock and the US date
// format. The test works the widgets with QTest, as a user does.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QWindow>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/frame/data_layer.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "app/main_frame.h"
#include "app/password_windows.h"
#include "dictionary/thread_data.h"
#include "platform/fiber/scheduler.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/pump.h"
#include "platform/types/clock.h"
#include "platform/types/picture.h"
#include "platform/ui/desktop.h"
#include "platform/ui/window.h"
#include "tests/platform/os/temp_dir.h"

namespace desktoptest {

using platform::Window;

class DesktopTest : public lvtest::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    platform::setClockSource([] {
      platform::LocalDateTime t;
      t.date = {2007, 3, 15};
      t.hour = 9;
      return t;
    });
    platform::setSystemDateTimeFormat(platform::DateTimeFormat{});
    app::InstallDataLayer();
    start();
  }
  void TearDown() override {
    stop();
    app::SetThreadDataLayer(nullptr);
    dictionary::setThreadDataSource({});
    platform::setClockSource({});
    ScratchDirTest::TearDown();
  }

  // Starts the program and passes the gate with the built-in password; the
  // case list is open when it returns.
  void start() {
    platform::scheduler().reset();
    desk = std::make_unique<platform::qt::QtDesktop>();
    pump = std::make_unique<platform::qt::FiberPump>();
    desk->setRunner([this] { pump->run(); });
    ASSERT_NE(platform::scheduler().startProgram(app::ProgramThread(app::Main)), 0);
    Window& gate = window("Please enter your password");
    auto* pass = widget(gate, app::gate::G_PASS);
    QTest::keyClicks(pass, QStringLiteral("vimbro"));
    QTest::mouseClick(widget(gate, app::gate::BUTTON2), Qt::LeftButton);
    frame = &window(app::FrameCaption);
    list = &window("CASE FILE");
  }
  // Ends every thread and the desktop, as the program's end does.
  void stop() {
    platform::scheduler().endAllThreads();
    settle();
    desk.reset();
    pump.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frame = list = nullptr;
  }

  // Runs the event loop until no thread is queued and nothing is posted.
  void settle() {
    for (int i = 0; i < 50; ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      if (!platform::scheduler().hasReady() && !(pump && pump->pending())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!platform::scheduler().hasReady() && !(pump && pump->pending())) return;
      }
    }
  }
  // Waits (at most five seconds) until `done` holds, running the event loop.
  bool waitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 500; ++i) {
      settle();
      if (done()) return true;
      QTest::qWait(10);
    }
    return false;
  }

  // The open window of that caption, waited for until the user sees it;
  // throws when none opens.
  Window& window(const std::string& caption) {
    Window* found = nullptr;
    waitFor([&] {
      found = findWindow(caption);
      return found && shown(*found);
    });
    if (!found) throw std::runtime_error("no window \"" + caption + "\"");
    return *found;
  }
  // The window's widget is on the screen (a window manager has mapped it).
  bool shown(Window& w) const {
    QWidget* top = desk->windowWidget(w);
    QWindow* handle = top ? top->window()->windowHandle() : nullptr;
    return top && top->isVisible() && handle && handle->isExposed();
  }
  static Window* findWindow(const std::string& caption) {
    for (Window* w : platform::desktop().windows())
      if (w->isOpen() && w->caption() == caption) return w;
    return nullptr;
  }
  // The widget of a control; throws when there is none.
  QWidget* widget(Window& w, int control) {
    QWidget* found = desk->controlWidget(w, control);
    if (!found) throw std::runtime_error("no widget for control " + std::to_string(control));
    return found;
  }
  // A click on the control's widget, then the threads run.
  void click(Window& w, int control) {
    QTest::mouseClick(widget(w, control), Qt::LeftButton);
    settle();
  }
  QMainWindow* main() const { return desk->frameWidget(); }
  QMdiSubWindow* sub(Window& w) const { return qobject_cast<QMdiSubWindow*>(desk->windowWidget(w)); }

  std::unique_ptr<platform::qt::QtDesktop> desk;
  std::unique_ptr<platform::qt::FiberPump> pump;
  Window* frame = nullptr;
  Window* list = nullptr;
};

}  // namespace desktoptest
