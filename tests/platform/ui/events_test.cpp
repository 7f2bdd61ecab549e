#include <functional>
#include <string>
#include <vector>

#include "platform/types/switch_check.h"
#include "tests/platform/ui/ui_fixture.h"

namespace platform::test {
namespace {

using Log = std::vector<std::string>;

TEST_F(Ui, CloseRequestAnsweredSkipLeavesTheWindowOpen) {
  Log log;
  bool ended = false;
  int refusals = 1;
  drv.start([&] {
    Window w(windowSpec("Form"));
    w.add(ctl(1, ControlKind::Prompt, "Name:"));
    w.add(ctl(2, ControlKind::Entry));
    w.add(button(3, "OK"));
    w.open();
    runLoop(w, log, [&](const Event& e) {
      if (e.kind == EventKind::CloseRequest && refusals-- > 0) return EventLevel::Skip;
      return EventLevel::Continue;
    });
    w.close();
    ended = true;
  });
  EXPECT_EQ(log, (Log{"OpenWindow", "Selected 2"})) << "the open event, then the first control that takes the focus";
  drv.close(drv.window("Form"));
  EXPECT_FALSE(ended);
  EXPECT_TRUE(drv.window("Form").isOpen());
  drv.close(drv.window("Form"));
  EXPECT_TRUE(ended);
  EXPECT_EQ(drv.findWindow("Form"), nullptr);
  EXPECT_EQ(log.back(), "CloseRequest");
}

TEST_F(Ui, InputOnlyQueuesUntilTheSchedulerRuns) {
  Log log;
  drv.start([&] {
    Window w(windowSpec("List"));
    w.add(button(1, "IN COURT"));
    w.open();
    runLoop(w, log);
  });
  log.clear();
  Window& w = drv.window("List");
  EXPECT_EQ(input::click(w, 1), input::Status::Ok);
  EXPECT_EQ(input::key(w, Key::Enter), input::Status::Ok);
  EXPECT_TRUE(log.empty()) << "input must not run the window's thread";
  EXPECT_TRUE(scheduler().hasReady());
  scheduler().runReady();
  EXPECT_EQ(log, (Log{"Accepted 1", "Accepted 1"}));
}

TEST_F(Ui, HandlerLevelEndEndsTheLoopAndSkipDropsTheDefaultAction) {
  Log log;
  drv.start([&] {
    Window w(windowSpec("Gate"));
    ControlSpec verify = button(1, "VERIFY PASSWORD", true);
    verify.action = StdAction::Close;
    w.add(verify);
    w.add(button(2, "Stop"));
    w.open();
    runLoop(w, log, [&](const Event& e) {
      if (e.kind == EventKind::Accepted && e.control == 1 && log.size() < 4) return EventLevel::Skip;
      if (e.kind == EventKind::Accepted && e.control == 2) return EventLevel::End;
      return EventLevel::Continue;
    });
    log.push_back("loop ended");
  });
  Window& w = drv.window("Gate");
  drv.click(w, 1);  // skipped: its closing action does not happen
  EXPECT_TRUE(w.isOpen());
  drv.click(w, 1);  // goes on: the standard action posts the close request
  EXPECT_EQ(log, (Log{"OpenWindow", "Selected 1", "Accepted 1", "Accepted 1", "CloseRequest", "loop ended"}));

  log.clear();
  drv.start([&] {
    Window w2(windowSpec("Gate"));
    w2.add(button(1, "Go"));
    w2.add(button(2, "Stop"));
    w2.open();
    runLoop(w2, log, [&](const Event& e) {
      return e.kind == EventKind::Accepted && e.control == 2 ? EventLevel::End : EventLevel::Continue;
    });
    log.push_back("loop ended");
  });
  drv.click(drv.window("Gate"), 2);
  EXPECT_EQ(log, (Log{"OpenWindow", "Selected 1", "Selected 2", "Accepted 2", "loop ended"}));
}

TEST_F(Ui, PostedAcceptedWorksLikeAClickEvenOnAHiddenItem) {
  Log log;
  drv.start([&] {
    Window frame(windowSpec("Frame", WindowKind::Frame));
    frame.add(ctl(-10, ControlKind::Menu, "&Browse"));
    ControlSpec hiddenItem = ctl(-12, ControlKind::Item, "Browse the HOURLY file", -10);
    hiddenItem.hidden = true;
    frame.add(hiddenItem);
    ControlSpec setup = ctl(-3, ControlKind::Item, "&Print Setup ...", -10);
    setup.action = StdAction::PrintSetup;
    frame.add(setup);
    ControlSpec exit = ctl(-5, ControlKind::Item, "E&xit", -10);
    exit.action = StdAction::Close;
    frame.add(exit);
    frame.open();
    frame.post(EventKind::Accepted, -12);
    runLoop(frame, log);
  });
  Window& frame = drv.window("Frame");
  EXPECT_EQ(log, (Log{"OpenWindow", "Accepted -12"}));
  EXPECT_THROW(drv.click(frame, -12), DriverError) << "the user cannot reach a hidden item";
  drv.click(frame, -3);
  ASSERT_EQ(drv.standardActions().size(), 1u);
  EXPECT_EQ(drv.standardActions()[0].action, StdAction::PrintSetup);
  drv.click(frame, -5);
  EXPECT_EQ(log, (Log{"OpenWindow", "Accepted -12", "Accepted -3", "Accepted -5", "CloseRequest"}));
  EXPECT_EQ(drv.findWindow("Frame"), nullptr);
}

TEST_F(Ui, TimerEventsFollowTheVirtualClock) {
  std::vector<Scheduler::Centis> fired;
  drv.start([&] {
    Window w(windowSpec("Report"));
    w.open();
    w.setTimer(10);
    while (w.accept())
      if (w.event().kind == EventKind::Timer) {
        fired.push_back(drv.now());
        if (fired.size() == 4) w.setTimer(0);
      }
  });
  drv.advance(9);
  EXPECT_TRUE(fired.empty());
  drv.advance(26);
  EXPECT_EQ(fired, (std::vector<Scheduler::Centis>{10, 20, 30}));
  drv.advance(100);
  EXPECT_EQ(fired, (std::vector<Scheduler::Centis>{10, 20, 30, 40})) << "a stopped timer fires no more";
}

// While a window of the thread is open on top, the list's timer events wait;
// at most one is queued.
TEST_F(Ui, TimerEventWaitsInTheQueueAtMostOnce) {
  int timers = 0;
  drv.start([&] {
    Window list(windowSpec("List"));
    list.add(button(1, "Form"));
    list.open();
    list.setTimer(10);
    while (list.accept()) {
      if (list.event().kind == EventKind::Timer) ++timers;
      if (list.event().kind == EventKind::Accepted) {
        Window form(windowSpec("Form"));
        form.open();
        Log ignored;
        runLoop(form, ignored);
      }
    }
  });
  drv.advance(10);
  EXPECT_EQ(timers, 1);
  drv.click(drv.window("List"), 1);
  drv.advance(100);
  EXPECT_EQ(timers, 1);
  drv.close(drv.window("Form"));
  EXPECT_EQ(timers, 2);
}

TEST_F(Ui, ListKeysScrollAndDoubleClickReachTheList) {
  Log log;
  bool skipScroll = false;
  drv.start([&] {
    Window w(windowSpec("Browse"));
    ControlSpec list = ctl(5, ControlKind::List);
    list.columns = {{80, Justify::Left, "Case Number", Justify::Left, "s20"}};
    w.add(list);
    w.add(button(6, "Change", true));
    w.open();
    Control& l = w.control(5);
    l.setRows({{"1"}, {"2"}, {"3"}, {"4"}, {"5"}});
    l.setPageRows(2);
    l.setSelected(1);
    runLoop(w, log, [&](const Event& e) {
      if (e.kind == EventKind::Key) log.back() += " key " + std::to_string(e.key.code) + "/" + std::to_string(e.key.mods);
      return skipScroll && e.kind == EventKind::Scroll ? EventLevel::Skip : EventLevel::Continue;
    });
  });
  Window& w = drv.window("Browse");
  Control& list = w.control(5);
  struct Step {
    KeyPress key;
    int selected;
  };
  for (Step s : {Step{Key::Down, 2}, Step{Key::PageDown, 4}, Step{Key::PageDown, 5}, Step{Key::Up, 4},
                 Step{Key::Home, 1}, Step{Key::End, 5}}) {
    drv.press(w, s.key);
    EXPECT_EQ(list.selected(), s.selected) << s.key.code;
  }
  EXPECT_EQ(log.back(), "NewSelection 5");
  skipScroll = true;
  drv.press(w, Key::Up);
  EXPECT_EQ(list.selected(), 5) << "a handler that skips keeps the list where it is";
  log.clear();
  drv.press(w, Key::Insert);
  drv.press(w, KeyPress(Key::Enter, ModCtrl));
  drv.press(w, KeyPress::character(U'k'));
  drv.press(w, Key::Enter);
  drv.doubleClick(w, 5, 3);
  EXPECT_EQ(log, (Log{"Key 5 key " + std::to_string(static_cast<unsigned>(Key::Insert)) + "/0",
                      "Key 5 key " + std::to_string(static_cast<unsigned>(Key::Enter)) + "/2", "Key 5 key 107/0",
                      "Accepted 6", "NewSelection 5", "DoubleClick 5"}));
  EXPECT_EQ(list.selected(), 3);
}

TEST_F(Ui, AlertKeyNamesTheKeyAndTheFocusedControl) {
  std::vector<Event> events;
  drv.start([&] {
    Window w(windowSpec("Form"));
    w.add(ctl(1, ControlKind::Entry));
    w.add(ctl(2, ControlKind::Entry));
    w.alert(KeyPress::ctrl('H'));
    w.open();
    while (w.accept())
      if (w.event().kind == EventKind::AlertKey) events.push_back(w.event());
  });
  Window& w = drv.window("Form");
  drv.focus(w, 2);
  drv.press(w, KeyPress::character(U'h', ModCtrl));
  drv.press(w, KeyPress::ctrl('J'));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].control, 2);
  EXPECT_EQ(events[0].key, KeyPress::ctrl('H'));
}

TEST_F(Ui, RegionsMadeAtRunTimeGetPointerEvents) {
  Log log;
  drv.start([&] {
    Window w(windowSpec("Help"));
    w.open();
    ControlSpec link = ctl(30, ControlKind::Region);
    link.cursor = CursorShape::Hand;
    w.add(link);
    runLoop(w, log, [&](const Event& e) {
      if (e.kind == EventKind::PointerUp) w.remove(30);
      return EventLevel::Continue;
    });
  });
  Window& w = drv.window("Help");
  drv.pointer(w, 30, input::PointerAction::Enter);
  drv.pointer(w, 30, input::PointerAction::Leave);
  drv.click(w, 30);
  EXPECT_EQ(log, (Log{"OpenWindow", "PointerIn 30", "PointerOut 30", "PointerUp 30"}));
  EXPECT_EQ(w.find(30), nullptr);
  EXPECT_THROW(drv.click(w, 30), DriverError);
}

TEST_F(Ui, UserResizeKeepsTheMinimumSizeAndRaisesSized) {
  Log log;
  drv.start([&] {
    WindowSpec spec = windowSpec("List");
    spec.resizable = true;
    Window w(spec);
    w.open();
    w.setMinimumSize(200, 100);
    runLoop(w, log);
  });
  Window& w = drv.window("List");
  drv.resize(w, 150, 300);
  EXPECT_EQ(w.rect(), (Rect{10, 10, 200, 300}));
  drv.maximize(w);
  EXPECT_TRUE(w.maximized());
  drv.restore(w);
  EXPECT_FALSE(w.maximized());
  drv.move(w, 40, 50);
  EXPECT_EQ(w.rect(), (Rect{40, 50, 200, 300}));
  EXPECT_EQ(log, (Log{"OpenWindow", "Sized", "Sized", "Sized"}));
}

TEST_F(Ui, FixedWindowCannotBeResizedByTheUser) {
  drv.start([&] {
    Window w(windowSpec("Fixed"));
    w.open();
    while (w.accept()) {
    }
  });
  EXPECT_THROW(drv.resize(drv.window("Fixed"), 300, 300), DriverError);
}

bool transactionOpen = false;
const char* openTransaction() { return transactionOpen ? "an open database transaction" : nullptr; }

TEST_F(Ui, DesignViolationOnAThreadFailsTheAction) {
  addSwitchCheck(openTransaction);
  struct Case {
    const char* what;
    std::function<void()> onClick;
  };
  const Case cases[] = {
      {"nested event loop", [] { scheduler().noteNestedEventLoop("a modal dialog's own loop"); }},
      {"held across a switch", [] { transactionOpen = true; }},
  };
  for (const Case& c : cases) {
    drv.start([&] {
      Window w(windowSpec("Form"));
      w.add(button(1, "Save"));
      w.open();
      while (w.accept())
        if (w.event().kind == EventKind::Accepted) c.onClick();
    });
    try {
      drv.click(drv.window("Form"), 1);
      ADD_FAILURE() << c.what << " went unnoticed";
    } catch (const DriverError& e) {
      EXPECT_NE(std::string(e.what()).find(c.what), std::string::npos) << e.what();
    }
    transactionOpen = false;
    ++expectedViolations;
    drv.close(drv.window("Form"));
  }
}

}  // namespace
}  // namespace platform::test
