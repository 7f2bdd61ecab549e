#include <string>
#include <vector>

#include "tests/platform/ui/ui_fixture.h"

namespace platform::test {
namespace {

using Log = std::vector<std::string>;

TEST(ControlTypes, CodesTheSystemCompares) {
  struct Case {
    ControlKind kind;
    int code;
  };
  for (Case c : {Case{ControlKind::Entry, 8}, Case{ControlKind::Text, 17}, Case{ControlKind::Radio, 21},
                 Case{ControlKind::Check, 12}, Case{ControlKind::DropCombo, 34}, Case{ControlKind::DropList, 33},
                 Case{ControlKind::Combo, 15}, Case{ControlKind::Spin, 16}})
    EXPECT_EQ(typeCode(c.kind), c.code) << kindName(c.kind);
}

TEST(Mnemonics, TheCharacterAfterASingleAmpersand) {
  struct Case {
    const char* text;
    std::uint32_t key;
  };
  for (Case c : {Case{"&Attorney:", 'A'}, Case{"&judge:", 'J'}, Case{"&1) Case Name", '1'},
                 Case{"Smith && Jones", 0}, Case{"&&x &y", 'Y'}, Case{"end&", 0}, Case{"plain", 0},
                 Case{"&\xC3\xA9t\xC3\xA9", 0xE9}})
    EXPECT_EQ(input::mnemonicOf(c.text), c.key) << c.text;
}

// A form with every reason to be passed over by Tab: skip, disabled,
// hidden, on a tab not shown, not a control that takes the focus, and an
// option group that is one stop.
class TabOrder : public Ui {
 protected:
  void SetUp() override {
    drv.start([this] {
      Window form(windowSpec("Form"));
      form.add(ctl(1, ControlKind::Entry));
      ControlSpec skipped = ctl(2, ControlKind::Spin);
      skipped.skip = true;
      form.add(skipped);
      ControlSpec disabled = ctl(3, ControlKind::Entry);
      disabled.disabled = true;
      form.add(disabled);
      ControlSpec hidden = ctl(4, ControlKind::Entry);
      hidden.hidden = true;
      form.add(hidden);
      form.add(ctl(10, ControlKind::Sheet));
      form.add(ctl(11, ControlKind::Tab, "&1) Case Name", 10));
      form.add(ctl(12, ControlKind::Entry, {}, 11));
      form.add(ctl(13, ControlKind::Tab, "&2) Case Number", 10));
      form.add(ctl(14, ControlKind::Entry, {}, 13));
      form.add(ctl(5, ControlKind::Check, "No co-defendants"));
      form.add(ctl(6, ControlKind::Option, "Trial"));
      form.add(ctl(7, ControlKind::Radio, "No Trial", 6));
      form.add(ctl(8, ControlKind::Radio, "Jury Trial", 6));
      form.add(ctl(9, ControlKind::Radio, "Court Trial", 6));
      form.add(ctl(15, ControlKind::Prompt, "Note"));
      form.add(button(20, "&OK"));
      form.open();
      runLoop(form, log);
    });
    w = &drv.window("Form");
  }
  // The focus after each of `n` presses of Tab (Shift+Tab when backwards).
  std::vector<int> tabs(int n, bool backwards = false) {
    std::vector<int> seen;
    for (int i = 0; i < n; ++i) {
      drv.tab(*w, backwards);
      seen.push_back(w->focus());
    }
    return seen;
  }
  Log log;
  Window* w = nullptr;  // the form, once open
};

TEST_F(TabOrder, TabPassesOverSkippedDisabledHiddenAndUnshownControls) {
  EXPECT_EQ(w->focus(), 1);
  EXPECT_EQ(tabs(6), (std::vector<int>{10, 12, 5, 7, 20, 1}));
  EXPECT_EQ(tabs(6, true), (std::vector<int>{20, 7, 5, 12, 10, 1}));
  EXPECT_EQ(log, (Log{"OpenWindow", "Selected 1", "Selected 10", "Selected 12", "Selected 5", "Selected 7",
                      "Selected 20", "Selected 1", "Selected 20", "Selected 7", "Selected 5", "Selected 12",
                      "Selected 10", "Selected 1"}));
}

TEST_F(TabOrder, OptionGroupStopsAtItsChosenRadioAndTheShownTabCounts) {
  drv.click(*w, 9);
  drv.focus(*w, 5);
  EXPECT_EQ(tabs(1), (std::vector<int>{9}));
  drv.selectTab(*w, 10, 2);
  EXPECT_EQ(w->control(10).selected(), 2);
  EXPECT_FALSE(w->control(12).visible());
  EXPECT_TRUE(w->control(14).visible());
  EXPECT_EQ(tabs(3), (std::vector<int>{14, 5, 9}));
  EXPECT_THROW(drv.focus(*w, 3), DriverError) << "a disabled control takes no click";
  EXPECT_THROW(drv.focus(*w, 12), DriverError) << "nor does one on a tab not shown";
}

TEST_F(TabOrder, SelectMovesTheFocusAsTheUserWould) {
  log.clear();
  w->select(14);  // on the hidden tab: code may still put the focus there
  drv.settle();
  EXPECT_EQ(w->focus(), 14);
  EXPECT_EQ(log, (Log{"Selected 14"}));
}

}  // namespace
}  // namespace platform::test
