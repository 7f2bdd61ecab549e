// Bound variables: a control shows its variable at the end of every event
// and writes what the user entered back through its picture.

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "platform/types/daynum.h"
#include "tests/platform/ui/ui_fixture.h"

namespace platform::test {
namespace {

using Log = std::vector<std::string>;

struct Vars {
  std::array<std::uint8_t, 20> name{};
  std::array<std::uint8_t, 6> rate{};  // DECIMAL(11,2)
  std::uint8_t ticked = 0;
  std::uint8_t trial = 0;
  std::array<std::uint8_t, 10> apply{};
  std::array<std::uint8_t, 20> discovery{};
  std::int32_t discoveryNo = 0;
  std::array<std::uint8_t, 4> date{};
  FieldRef nameRef{FieldType::String, name.data(), 20};
  FieldRef rateRef{FieldType::Decimal, rate.data(), 6, 11, 2};
  FieldRef tickedRef{FieldType::Byte, &ticked, 1};
  FieldRef trialRef{FieldType::Byte, &trial, 1};
  FieldRef applyRef{FieldType::String, apply.data(), 10};
  FieldRef discoveryRef{FieldType::String, discovery.data(), 20};
  FieldRef discoveryNoRef{FieldType::Long, reinterpret_cast<std::uint8_t*>(&discoveryNo), 4};
  FieldRef dateRef{FieldType::Date, date.data(), 4};
  Vars() {
    for (FieldRef* f : {&nameRef, &rateRef, &applyRef, &discoveryRef, &dateRef}) f->clear();
  }
};

enum : int {
  Name = 1,
  NameShown = 2,
  Rate = 3,
  Ticked = 4,
  Trial = 5,
  NoTrial = 6,
  JuryTrial = 7,
  CourtTrial = 8,
  Apply = 9,
  ApplyYes = 10,
  ApplyNo = 11,
  Discovery = 12,
  DiscoveryNo = 13,
  Comments = 14,
  Date = 15,
  Search = 16,
  Ok = 20,
  Rename = 21,
};

class Binding : public Ui {
 protected:
  void SetUp() override {
    v.nameRef.setText("Doe");
    drv.start([this] {
      Window form(windowSpec("ADD/UPDATE CASE"));
      form.add(bound(Name, ControlKind::Entry, v.nameRef, "s20"));
      form.add(bound(NameShown, ControlKind::String, v.nameRef, "s20"));
      form.add(bound(Rate, ControlKind::Entry, v.rateRef, "N$-10.2B"));
      form.add(bound(Ticked, ControlKind::Check, v.tickedRef));
      form.add(bound(Trial, ControlKind::Option, v.trialRef));
      form.add(ctl(NoTrial, ControlKind::Radio, "No Trial", Trial));
      form.add(ctl(JuryTrial, ControlKind::Radio, "Jury Trial", Trial));
      form.add(ctl(CourtTrial, ControlKind::Radio, "Court Trial", Trial));
      form.add(bound(Apply, ControlKind::Option, v.applyRef));
      form.add(ctl(ApplyYes, ControlKind::Radio, "YES", Apply));
      form.add(ctl(ApplyNo, ControlKind::Radio, "NO", Apply));
      ControlSpec discovery = bound(Discovery, ControlKind::DropList, v.discoveryRef);
      discovery.choices = {"Under 100 Pages", "100-300 Pages", "300-500 Pages"};
      form.add(discovery);
      ControlSpec discoveryNo = bound(DiscoveryNo, ControlKind::DropList, v.discoveryNoRef);
      discoveryNo.choices = discovery.choices;
      form.add(discoveryNo);
      form.add(ctl(Comments, ControlKind::Text));
      form.add(bound(Date, ControlKind::Spin, v.dateRef, "D02B"));
      ControlSpec search = ctl(Search, ControlKind::Entry);
      search.takesEnter = true;
      form.add(search);
      form.add(button(Ok, "&OK", true));
      form.add(button(Rename, "Rename"));
      form.open();
      runLoop(form, log, [this](const Event& e) {
        if (e.kind == EventKind::Accepted && e.control == Name) nameWhenAccepted = v.nameRef.text();
        if (e.kind == EventKind::Accepted && e.control == Rename) v.nameRef.setText("Roe");
        return EventLevel::Continue;
      });
    });
    w = &drv.window("ADD/UPDATE CASE");
  }
  std::string shown(int control) { return w->control(control).text(); }
  Vars v;
  Log log;
  Window* w = nullptr;  // the form, once open
  std::string nameWhenAccepted;
};

TEST_F(Binding, EntryWritesBackWhenLeftAndShowsTheValueByItsPicture) {
  EXPECT_EQ(shown(Name), "Doe");
  EXPECT_EQ(shown(Rate), "") << "zero under a B picture is blank";
  drv.type(*w, Name, "Smith");
  EXPECT_EQ(v.nameRef.text(), "Smith");
  EXPECT_EQ(nameWhenAccepted, "Smith") << "the handler sees the variable already written";
  EXPECT_EQ(shown(NameShown), "Smith") << "a display of the same variable follows with no explicit redisplay";
  drv.type(*w, Rate, "1234.5");
  EXPECT_EQ(v.rateRef.decimal(), Decimal::parse("1234.50"));
  EXPECT_EQ(shown(Rate), "$1,234.50");
  EXPECT_EQ(log, (Log{"OpenWindow", "Selected 1", "Accepted 1", "Selected 3", "Accepted 3", "Selected 4"}))
      << "leaving an edited entry accepts it before the next control gets the focus";
}

TEST_F(Binding, TextThatDoesNotReadAsThePictureIsRefusedWithAMessage) {
  drv.type(*w, Rate, "12.50");
  drv.edit(*w, Rate, "12,x");
  log.clear();
  drv.answer(BtnOk);
  drv.click(*w, Ok);
  ASSERT_EQ(drv.messages().size(), 1u);
  EXPECT_EQ(drv.messages()[0].title, "Invalid Entry");
  EXPECT_FALSE(drv.messages()[0].text.empty());
  EXPECT_EQ(v.rateRef.decimal(), Decimal::parse("12.50")) << "the variable keeps its value";
  EXPECT_EQ(w->focus(), Rate) << "the focus stays on the entry";
  EXPECT_EQ(shown(Rate), "12,x") << "the user's text stays to be corrected";
  EXPECT_TRUE(log.empty()) << "the button that was clicked is not pressed";
  drv.edit(*w, Rate, "7");
  drv.click(*w, Ok);
  EXPECT_EQ(shown(Rate), "$7.00");
  EXPECT_EQ(log, (Log{"Accepted 3", "Selected 20", "Accepted 20"}));
}

TEST_F(Binding, UnacceptedEditStaysUntilItsOwnVariableChanges) {
  drv.edit(*w, Name, "Half typed");
  v.rateRef.setDecimal(Decimal::fromInt(5));  // another variable changes during an event
  w->post(EventKind::Timer);
  drv.settle();
  EXPECT_EQ(shown(Name), "Half typed");
  EXPECT_EQ(shown(Rate), "$5.00");
  w->post(EventKind::Accepted, Rename);  // the handler writes the entry's own variable
  drv.settle();
  EXPECT_EQ(shown(Name), "Roe");
  EXPECT_EQ(shown(NameShown), "Roe");
  EXPECT_FALSE(w->control(Name).edited());
}

TEST_F(Binding, CheckBoxRadiosAndDropListsWriteTheirVariables) {
  drv.click(*w, Ticked);
  EXPECT_EQ(v.ticked, 1);
  drv.click(*w, Ticked);
  EXPECT_EQ(v.ticked, 0);
  drv.click(*w, CourtTrial);
  EXPECT_EQ(v.trial, 3) << "a BYTE option stores the chosen radio's position";
  drv.choose(*w, Apply, "NO");
  EXPECT_EQ(v.applyRef.text(), "NO") << "a text option stores the chosen radio's text";
  drv.choose(*w, Discovery, "100-300 Pages");
  EXPECT_EQ(v.discoveryRef.text(), "100-300 Pages");
  drv.choose(*w, DiscoveryNo, 3);
  EXPECT_EQ(v.discoveryNo, 3);
  EXPECT_EQ(shown(DiscoveryNo), "300-500 Pages");
}

TEST_F(Binding, VariablesSetByCodeShowInChecksRadiosAndDropLists) {
  v.ticked = 1;
  v.trial = 2;
  v.applyRef.setText("YES");
  v.discoveryRef.setText("300-500 Pages");
  w->post(EventKind::Timer);
  drv.settle();
  EXPECT_TRUE(w->control(Ticked).checked());
  EXPECT_EQ(w->control(Trial).selected(), 2);
  EXPECT_EQ(w->control(Apply).selected(), 1);
  EXPECT_EQ(w->control(Discovery).selected(), 3);
  v.applyRef.setText("");
  w->post(EventKind::Timer);
  drv.settle();
  EXPECT_EQ(w->control(Apply).selected(), 0) << "blank shows no radio chosen";
}

TEST_F(Binding, EnterAcceptsTheEntryAndPressesTheDefaultButton) {
  log.clear();
  drv.edit(*w, Name, "Poe");
  drv.press(*w, Key::Enter);
  EXPECT_EQ(v.nameRef.text(), "Poe");
  EXPECT_EQ(log, (Log{"Accepted 1", "Accepted 20"}));
  log.clear();
  drv.edit(*w, Search, "Po");
  drv.press(*w, Key::Enter);
  EXPECT_EQ(log, (Log{"Selected 16", "Accepted 16"})) << "an entry that takes Enter presses no button";
  log.clear();
  drv.edit(*w, Comments, "line one");
  drv.press(*w, Key::Enter);
  EXPECT_EQ(shown(Comments), "line one\n") << "Enter in a multi-line text is a new line";
  EXPECT_EQ(log, (Log{"Selected 14"}));
}

TEST_F(Binding, SpinArrowsStepADate) {
  v.dateRef.setDay(dayNumber(2007, 3, 15));
  drv.focus(*w, Date);
  drv.press(*w, Key::Up);
  EXPECT_EQ(v.dateRef.day(), dayNumber(2007, 3, 16));
  EXPECT_EQ(shown(Date), "03/16/2007");
  drv.press(*w, Key::Down);
  drv.press(*w, Key::Down);
  EXPECT_EQ(v.dateRef.day(), dayNumber(2007, 3, 14));
}

TEST_F(Ui, ARadioGroupRecognisesTheTextItStoredCutToItsVariable) {
  std::array<std::uint8_t, 10> status{};
  FieldRef statusRef{FieldType::String, status.data(), 10};
  statusRef.clear();
  drv.start([&] {
    Window form(windowSpec("Claim"));
    form.add(bound(1, ControlKind::Option, statusRef));
    form.add(ctl(2, ControlKind::Radio, "Final", 1));
    form.add(ctl(3, ControlKind::Radio, "Interim Payment", 1));
    form.open();
    while (form.accept()) form.endEvent(EventLevel::Continue);
  });
  Window& w = drv.window("Claim");
  drv.choose(w, 1, "Interim Payment");
  EXPECT_EQ(statusRef.text(), "Interim Pa");
  statusRef.clear();
  w.post(EventKind::Timer);
  drv.settle();
  EXPECT_EQ(w.control(1).selected(), 0);
  statusRef.setText("Interim Pa");
  w.post(EventKind::Timer);
  drv.settle();
  EXPECT_EQ(w.control(1).selected(), 2) << "the cut text chooses its radio again";
  drv.close(w);
}

}  // namespace
}  // namespace platform::test
