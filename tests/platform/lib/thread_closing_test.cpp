#include "platform/lib/thread_closing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "platform/fiber/thread.h"
#include "tests/platform/lib/window_fixture.h"

namespace platform::test {
namespace {

using ::testing::ElementsAre;

constexpr int OpenForm = 3;

// A list whose button opens a form on the same thread; the form's close
// handler answers `formAnswer`.
struct ListThread {
  std::vector<std::string> log;
  int formAnswer = LevelContinue;

  void run() {
    Window list(ownWindow("List"));
    list.add(ctl(OpenForm, ControlKind::Button));
    Probe probe(list, log);
    probe.accepted = [&](const Event& e) {
      if (e.control == OpenForm) form();
      return LevelContinue;
    };
    probe.Execute();
    log.push_back("list ended");
  }
  void form() {
    Window w(ownWindow("Form"));
    w.add(ctl(1, ControlKind::Entry));
    Probe probe(w, log);
    probe.closing = [&](const Event&) { return formAnswer; };
    probe.Execute();
    log.push_back("form ended");
  }
};

TEST_F(WindowTest, ThreadsCloseFromTheTopWindowDownUnlessOneRefuses) {
  ListThread t;
  int thread = drv.start([&] { t.run(); });
  drv.click(drv.window("List"), OpenForm);

  std::optional<bool> closed;
  t.formAnswer = LevelSkip;
  drv.start([&] { closed = CloseThreads({thread}); });
  EXPECT_EQ(closed, false);
  EXPECT_NE(drv.findWindow("Form"), nullptr);
  EXPECT_NE(drv.findWindow("List"), nullptr);

  t.formAnswer = LevelContinue;
  t.log.clear();
  drv.start([&] { closed = CloseThreads({thread}); });
  EXPECT_EQ(closed, true);
  EXPECT_FALSE(threadAlive(thread));
  EXPECT_THAT(t.log, ElementsAre("window CloseRequest", "form ended", "window CloseRequest", "list ended"));
}

TEST_F(WindowTest, AWindowOutsideAControllersLoopCannotBeAskedAndCountsAsARefusal) {
  int thread = drv.start([] {
    Window w(ownWindow("Raw"));
    w.open();
    while (w.accept()) w.endEvent(EventLevel::Skip);  // ignores close requests
  });
  std::optional<bool> closed;
  drv.start([&] { closed = CloseThreads({thread}); });
  EXPECT_EQ(closed, false);
  EXPECT_TRUE(threadAlive(thread));
  drv.window("Raw").close();
  drv.settle();
}

TEST_F(WindowTest, AThreadStillStartingIsWaitedForUntilItsWindowOpens) {
  ListThread t;
  std::optional<bool> closed;
  drv.start([&] {
    int thread = StartThread([&] { t.run(); }, 0);  // queued, has no window yet
    closed = CloseThreads({thread});
  });
  EXPECT_EQ(closed, true);
  EXPECT_THAT(t.log, ElementsAre("window OpenWindow", "hook Selected 3", "window CloseRequest", "list ended"));
}

}  // namespace
}  // namespace platform::test
