// Logical threads driven from Qt's event loop: queued runs, timers, faults
// and the end of the program.

#include <QTimer>
#include <stdexcept>

#include "platform/qt/run.h"
#include "platform/types/halt.h"
#include "qt_fixture.h"

namespace platform::qt::test {
namespace {

class Pump : public QtTest {};

TEST_F(Pump, AQueuedThreadRunsFromTheEventLoop) {
  bool ran = false;
  StartThread([&ran] { ran = true; }, 0);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(pump->pending());
  QCoreApplication::processEvents();
  EXPECT_TRUE(ran);
  EXPECT_FALSE(scheduler().hasReady());
}

TEST_F(Pump, TimersComeRoundOnTheEventLoop) {
  Script s{windowSpec("timer"), {}, {}, {}, nullptr, false};
  s.handler = [](Window& w, const Event& e) {
    if (e.kind == EventKind::OpenWindow) w.setTimer(2);
    return EventLevel::Continue;
  };
  start(s);
  QTest::qWait(120);
  settle();
  EXPECT_TRUE(s.saw("Timer"));
  s.window->setTimer(0);
  const auto seen = std::count(s.log.begin(), s.log.end(), "Timer");
  QTest::qWait(60);
  settle();
  EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "Timer"), seen);
}

TEST(PumpFaults, AFaultOfAThreadIsReportedAndTheLoopGoesOn) {
  scheduler().reset();
  FiberPump pump;
  StartThread([] { throw std::runtime_error("bad record"); }, 0);
  bool next = false;
  StartThread([&next] { next = true; }, 0);
  pump.run();
  ASSERT_EQ(pump.faults().size(), 1);
  EXPECT_EQ(pump.faults()[0], "bad record");
  EXPECT_TRUE(next);
}

TEST(RunDesktop, TheLoopEndsWithTheProgramAndReturnsItsExitCode) {
  struct Case {
    const char* name;
    bool halt;
    int code;
  } cases[] = {{"the first thread returns", false, 0}, {"a halt", true, 9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scheduler().reset();
    bool otherEnded = false;
    const bool halt = c.halt;
    const int code = c.code;
    const int result = runDesktopLoop([&otherEnded, halt, code] {
      // Another thread with a window open when the program ends.
      StartThread(
          [&otherEnded] {
            struct Mark {
              bool& flag;
              ~Mark() { flag = true; }
            } mark{otherEnded};
            Window w(windowSpec("other"));
            w.open();
            while (w.accept()) w.endEvent(EventLevel::Continue);
          },
          0);
      // The program ends on its first timer event, once the other thread
      // has opened its window.
      Window w(windowSpec("first"));
      w.open();
      w.setTimer(1);
      while (w.accept()) {
        if (w.event().kind != EventKind::Timer || !desktop().findByCaption("other")) continue;
        if (halt) haltProgram(code);
        break;
      }
    });
    EXPECT_EQ(result, c.code);
    EXPECT_TRUE(otherEnded);
    EXPECT_TRUE(desktop().windows().empty());
  }
}

}  // namespace
}  // namespace platform::qt::test
