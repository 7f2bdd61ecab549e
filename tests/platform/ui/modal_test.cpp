// Modality is per logical thread: a window opened on top of another window
// of the same thread takes its input away; other threads go on.

#include <string>
#include <vector>

#include "platform/fiber/fiber_local.h"
#include "tests/platform/ui/ui_fixture.h"

namespace platform::test {
namespace {

// A per-thread response byte, as a form leaves its result for its caller.
FiberLocal<int> response;

enum : int { CallForm = 1, FormOk = 2, FormCancel = 3 };

// A form called directly: modal on the caller's thread; OK answers 1,
// Cancel or its close box 2.
void form(const std::string& caption) {
  Window w(windowSpec(caption));
  w.add(button(FormOk, "&OK", true));
  w.add(button(FormCancel, "&Cancel"));
  w.open();
  int result = 2;
  while (w.accept()) {
    if (w.event().kind == EventKind::Accepted && w.event().control == FormOk) {
      result = 1;
      break;
    }
    if (w.event().kind == EventKind::Accepted && w.event().control == FormCancel) break;
  }
  w.close();
  *response = result;
}

// A list that calls its form and keeps what each call answered.
ThreadProcedure list(std::string caption, std::vector<int>& answers) {
  return [caption, &answers] {
    Window w(windowSpec(caption, WindowKind::Child));
    w.add(button(CallForm, "&Change"));
    w.open();
    while (w.accept())
      if (w.event().kind == EventKind::Accepted) {
        form(caption + " form");
        answers.push_back(*response);
      }
  };
}

struct EnabledLog : DesktopObserver {
  std::vector<std::string> changes;
  void windowChanged(Window& w, WindowProp p) override {
    if (p == WindowProp::Enabled) changes.push_back(w.caption() + (w.takesInput() ? " on" : " off"));
  }
};

TEST_F(Ui, FormDisablesOnlyTheOlderWindowsOfItsThread) {
  std::vector<int> a, b;
  drv.start(list("List A", a), 50000);
  drv.start(list("List B", b), 50000);
  EnabledLog observer;
  desktop().addObserver(&observer);
  drv.click(drv.window("List A"), CallForm);
  EXPECT_FALSE(drv.window("List A").takesInput());
  EXPECT_TRUE(drv.window("List A form").takesInput());
  EXPECT_TRUE(drv.window("List B").takesInput());
  EXPECT_THROW(drv.click(drv.window("List A"), CallForm), DriverError);
  drv.click(drv.window("List B"), CallForm);  // the other thread is not affected
  drv.click(drv.window("List A form"), FormOk);
  EXPECT_TRUE(drv.window("List A").takesInput());
  desktop().removeObserver(&observer);
  EXPECT_EQ(observer.changes, (std::vector<std::string>{"List A off", "List A form on", "List B off",
                                                        "List B form on", "List A on", "List A form off"}));
  EXPECT_EQ(a, (std::vector<int>{1}));
}

TEST_F(Ui, TwoThreadsFormsOpenAtOnceCloseInEitherOrder) {
  for (bool aFirst : {true, false}) {
    std::vector<int> a, b;
    int ta = drv.start(list("List A", a), 50000);
    int tb = drv.start(list("List B", b), 50000);
    drv.click(drv.window("List A"), CallForm);
    drv.click(drv.window("List B"), CallForm);
    EXPECT_EQ(drv.active(ta).caption(), "List A form");
    EXPECT_EQ(drv.active(tb).caption(), "List B form");
    if (aFirst) {
      drv.click(drv.window("List A form"), FormOk);
      drv.close(drv.window("List B form"));
    } else {
      drv.close(drv.window("List B form"));
      drv.click(drv.window("List A form"), FormOk);
    }
    EXPECT_EQ(a, (std::vector<int>{1})) << "A resumes with its own answer; A first: " << aFirst;
    EXPECT_EQ(b, (std::vector<int>{2})) << "B resumes with its own answer; A first: " << aFirst;
    drv.close(drv.window("List A"));
    drv.close(drv.window("List B"));
  }
}

TEST_F(Ui, MessageBoxIsModalToTheCallingThreadOnly) {
  unsigned got = 0;
  std::vector<int> b;
  int ta = drv.start([&] {
    Window w(windowSpec("List A"));
    w.add(button(CallForm, "&Delete"));
    w.open();
    while (w.accept())
      if (w.event().kind == EventKind::Accepted)
        got = message("Are you sure you want to delete the highlighted record?", "Confirm Delete",
                      MsgIcon::Question, BtnYes | BtnNo);
  });
  drv.start(list("List B", b));
  bool checked = false;
  drv.answerWith([&](const MessageRequest& r) {
    EXPECT_EQ(r.title, "Confirm Delete");
    Window& box = drv.active(ta);
    EXPECT_EQ(box.kind(), WindowKind::Message);
    EXPECT_FALSE(drv.window("List A").takesInput());
    EXPECT_TRUE(drv.window("List B").takesInput());
    checked = true;
    return BtnNo;
  });
  drv.click(drv.window("List A"), CallForm);
  EXPECT_TRUE(checked);
  EXPECT_EQ(got, BtnNo);
  EXPECT_TRUE(drv.window("List A").takesInput());
}

}  // namespace
}  // namespace platform::test
