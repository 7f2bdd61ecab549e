#include "platform/lib/window_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/lib/window_fixture.h"

namespace platform::test {
namespace {

using ::testing::ElementsAre;

constexpr int Entry = 1;
constexpr int Ok = 2;
constexpr int Cancel = 3;

WindowSpec formSpec() { return ownWindow("Form"); }

void addControls(Window& w) {
  w.add(ctl(Entry, ControlKind::Entry));
  w.add(ctl(Ok, ControlKind::Button));
  w.add(ctl(Cancel, ControlKind::Button));
}

TEST_F(WindowTest, ControlHookRunsFirstThenComponentsInOrderThenTheWindowThenTheAfterHook) {
  std::vector<std::string> log;
  drv.start([&] {
    Window w(formSpec());
    addControls(w);
    Probe probe(w, log);
    LoggingComponent list("list", log), history("history", log);
    probe.AddComponent(list);
    probe.AddComponent(history);
    // The list keeps Cancel to itself; the hook stops everything for Ok.
    list.answer = [](const Event& e) {
      return e.kind == EventKind::Accepted && e.control == Cancel ? LevelSkip : LevelContinue;
    };
    probe.hook = [](const Event& e) { return e.kind == EventKind::Accepted && e.control == Ok ? LevelSkip : 0; };
    probe.after = [](const Event&) { return LevelContinue; };
    probe.Execute();
  });
  Window& w = drv.window("Form");
  log.clear();
  drv.click(w, Cancel);
  drv.click(w, Ok);
  drv.close(w);
  // The after hook sees only the control events that went on: not what the
  // list or the hook skipped, nor the window's own close request.
  EXPECT_THAT(log, ElementsAre("hook Selected 3", "list Selected 3", "history Selected 3", "after Selected 3",  //
                               "hook Accepted 3", "list Accepted 3",                                           //
                               "hook Selected 2", "list Selected 2", "history Selected 2", "after Selected 2",  //
                               "hook Accepted 2",                                                              //
                               "list CloseRequest", "history CloseRequest", "window CloseRequest",
                               "history shut down", "list shut down"));
}

TEST_F(WindowTest, TheAfterHookRunsOnlyWhenTheHandlerGoesOnAndItsLevelIsTheEvents) {
  struct Case {
    const char* what;
    int acceptedLevel;  // the window's answer for Ok
    int afterLevel;     // the after hook's answer
    bool afterRuns;
    bool staysOpen;     // Ok closes the window by its default action
  };
  const Case cases[] = {
      {"handled and gone on: the hook runs, the default action follows", LevelContinue, LevelContinue, true, false},
      {"the hook's skip keeps the default action back", LevelContinue, LevelSkip, true, true},
      {"the hook's end ends the loop", LevelContinue, LevelEndLoop, true, false},
      {"a skipped event never reaches the hook", LevelSkip, LevelContinue, false, true},
      {"an event that ended the loop never reaches the hook", LevelEndLoop, LevelContinue, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> log;
    bool ended = false;
    drv.start([&] {
      Window w(formSpec());
      ControlSpec ok = ctl(Ok, ControlKind::Button);
      ok.action = StdAction::Close;
      w.add(ok);
      Probe probe(w, log);
      probe.accepted = [&](const Event&) { return c.acceptedLevel; };
      probe.after = [&](const Event& e) { return e.kind == EventKind::Accepted ? c.afterLevel : LevelContinue; };
      probe.Execute();
      ended = true;
    });
    Window& w = drv.window("Form");
    log.clear();
    drv.click(w, Ok);
    const bool ran = std::find(log.begin(), log.end(), "after Accepted 2") != log.end();
    EXPECT_EQ(ran, c.afterRuns);
    EXPECT_EQ(!ended, c.staysOpen);
    if (!ended) {
      w.close();
      drv.settle();
    }
  }
}

TEST_F(WindowTest, HandlerLevelsDecideTheEventsDefaultAction) {
  struct Case {
    const char* what;
    int closeLevel;       // the close handler's answer
    int acceptedLevel;    // the answer for Ok
    bool closeWithBox;    // else Ok is clicked
    bool staysOpen;
  };
  const Case cases[] = {
      {"a close request answered 0 ends the loop", LevelContinue, LevelContinue, true, false},
      {"a close request answered 5 leaves the window open", LevelSkip, LevelContinue, true, true},
      {"an accepted control answered 3 ends the loop", LevelContinue, LevelEndLoop, false, false},
      {"an accepted control answered 0 goes on", LevelContinue, LevelContinue, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> log;
    bool ended = false;
    drv.start([&] {
      Window w(formSpec());
      addControls(w);
      Probe probe(w, log);
      probe.closing = [&](const Event&) { return c.closeLevel; };
      probe.accepted = [&](const Event& e) { return e.control == Ok ? c.acceptedLevel : LevelContinue; };
      probe.Execute();
      ended = true;
    });
    Window& w = drv.window("Form");
    if (c.closeWithBox)
      drv.close(w);
    else
      drv.click(w, Ok);
    EXPECT_EQ(!ended, c.staysOpen);
    if (!ended) {
      w.close();
      drv.settle();
    }
  }
}

TEST_F(WindowTest, CloseButtonSetsTheResponseAndGoesThroughTheCloseRequest) {
  std::vector<std::string> log;
  int result = -1;
  bool refuse = true;
  drv.start([&] {
    Window w(formSpec());
    addControls(w);
    Probe probe(w, log);
    probe.AddCloseButton(Cancel, 2);
    probe.closing = [&](const Event&) { return refuse ? LevelSkip : LevelContinue; };
    result = probe.Execute();
  });
  Window& w = drv.window("Form");
  drv.click(w, Cancel);
  EXPECT_TRUE(w.isOpen()) << "the close handler refused";
  refuse = false;
  drv.click(w, Cancel);
  EXPECT_EQ(result, 2);
}

class Files final : public FileStateKeeper {
 public:
  explicit Files(std::vector<std::string>& log) : log_(log) {}
  std::uint32_t SaveState() override {
    log_.push_back("save " + std::to_string(next_));
    return next_++;
  }
  void RestoreState(std::uint32_t h) override { log_.push_back("restore " + std::to_string(h)); }
  void ReleaseState(std::uint32_t h) override { log_.push_back("release " + std::to_string(h)); }

 private:
  std::vector<std::string>& log_;
  std::uint32_t next_ = 1;
};

TEST_F(WindowTest, SetupAndShutdownOfComponentsAndSavedFileStates) {
  std::vector<std::string> log;
  int setupLevel = -1, again = -1, shutdownAgain = -1;
  drv.start([&] {
    Window w(formSpec());
    addControls(w);
    WindowController controller(w);
    LoggingComponent first("first", log), failing("failing", log), late("late", log);
    Files file(log);
    failing.setupLevel = LevelSkip;
    controller.AddComponent(first);
    controller.AddComponent(failing);
    controller.AddFileState(file);
    setupLevel = controller.Setup();
    again = controller.Setup();
    controller.AddComponent(late);  // set up as it is added
    controller.SaveFileStates();
    controller.SaveFileStates();  // prepared again: the older state is dropped
    controller.RestoreFileStates();
    controller.Shutdown();
    shutdownAgain = controller.Shutdown();
    EXPECT_TRUE(controller.components().empty());
  });
  EXPECT_EQ(setupLevel, LevelSkip);
  EXPECT_EQ(again, LevelSkip) << "a second set-up";
  EXPECT_EQ(shutdownAgain, LevelSkip) << "a second shut-down";
  EXPECT_THAT(log, ElementsAre("first set up", "failing set up", "late set up", "save 1", "release 1", "save 2",
                               "restore 2", "late shut down", "failing shut down", "first shut down",
                               "release 2"));
}

TEST_F(WindowTest, ComponentsGoneBeforeTheWindowAreDropped) {
  std::vector<std::string> log;
  drv.start([&] {
    Window w(formSpec());
    addControls(w);
    Probe probe(w, log);
    {
      LoggingComponent shortLived("short", log);
      probe.AddComponent(shortLived);
    }
    EXPECT_TRUE(probe.components().empty());
    probe.Execute();
  });
  log.clear();
  drv.close(drv.window("Form"));
  EXPECT_THAT(log, ElementsAre("window CloseRequest"));
}

}  // namespace
}  // namespace platform::test
