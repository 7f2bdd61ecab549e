#include "app/frame/procedure_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>

#include "platform/lib/error_manager.h"
#include "tests/app/frame/frame_fixture.h"

namespace apptest {
namespace {

using ::testing::ElementsAre;

constexpr int Entry = 1;
constexpr int Check = 2;
constexpr int Ok = 3;
constexpr int Call = 4;

// A form: an entry, a check box and OK, which completes it.
Procedure form(std::string name = "UpdateCases") {
  Procedure p{std::move(name), windowSpec("Form"),
              {ctl(Entry, ControlKind::Entry), ctl(Check, ControlKind::Check, {5, 20, 60, 12}),
               ctl(Ok, ControlKind::Button, {5, 40, 40, 14})}};
  p.configure = [](TestWindow& w) {
    w.accepted = [&w](const Event& e) {
      if (e.control == Ok) {
        w.RESPONSE = app::ResponseCompleted;
        return platform::LevelEndLoop;
      }
      return 0;
    };
  };
  return p;
}

// A list whose button calls `called` directly with `request`, first storing
// what `stored` says in ThreadRequest, and notes the bytes after the call.
struct Caller {
  std::uint8_t request = 0;
  std::optional<std::uint8_t> requestAfter, responseAfter;
  std::vector<std::string> proceduresAfter;

  Procedure list(std::function<void()> called) {
    Procedure p{"BrowseCases", windowSpec("List"), {ctl(Call, ControlKind::Button)}};
    p.configure = [this, called](TestWindow& w) {
      w.accepted = [this, called](const Event& e) {
        if (e.control != Call) return 0;
        responseAfter = app::CallWithRequest(called, request);
        requestAfter = app::ThreadRequest();
        proceduresAfter = app::ThreadErrors().procedures();
        return 0;
      };
    };
    return p;
  }
};

class ProcedureWindowTest : public ProgramTest {};

// A component whose own set-up fails, as a list that cannot start does.
struct FailingComponent final : platform::WindowComponent {
  int SetupComponent() override { return platform::LevelSkip; }
};

TEST_F(ProcedureWindowTest, DirectCallsPassTheRequestAndLeaveTheResponse) {
  struct Case {
    const char* what;
    std::uint8_t request;
    enum { CloseBox, OkButton, NoWindow } end;
    std::function<void(TestWindow&)> fault;  // makes the set-up fail
    std::uint8_t response;
  };
  FailingComponent failing;
  const Case cases[] = {
      {"a change closed with the close box is cancelled", app::RequestChange, Case::CloseBox, {}, 2},
      {"a completed change", app::RequestChange, Case::OkButton, {}, 1},
      {"a class library set-up that fails", app::RequestSelect, Case::NoWindow,
       [&failing](TestWindow& w) { w.AddComponent(failing); }, 2},
      {"a member set-up that fails (a prepared delete)", app::RequestDelete, Case::NoWindow,
       [](TestWindow& w) { w.members = [] { return platform::LevelSkip; }; }, 2},
  };
  start(frame());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Caller caller;
    caller.request = c.request;
    std::uint8_t requestSeen = 0xFF;
    Procedure called = form();
    auto configure = called.configure;
    called.configure = [&, configure](TestWindow& w) {
      configure(w);
      w.opened = [&] { requestSeen = w.REQUEST; };
      if (c.fault) c.fault(w);
    };
    drv->start(caller.list(called), 50000);
    platform::Window& list = drv->window("List");
    drv->click(list, Call);
    if (c.end == Case::CloseBox) drv->close(drv->window("Form"));
    if (c.end == Case::OkButton) drv->click(drv->window("Form"), Ok);
    EXPECT_EQ(drv->findWindow("Form"), nullptr);
    if (c.end != Case::NoWindow) {
      EXPECT_EQ(requestSeen, c.request);
    }
    EXPECT_EQ(caller.requestAfter, 0) << "whatever the caller stored";
    EXPECT_EQ(caller.responseAfter, c.response);
    EXPECT_THAT(caller.proceduresAfter, ElementsAre("BrowseCases")) << "the form's name is gone";
    drv->close(list);
  }
}

TEST_F(ProcedureWindowTest, ProcedureNamesFollowTheNestingOfCalls) {
  std::vector<std::vector<std::string>> seen;
  std::string shown;
  Procedure inner = form("SelectRates   ");  // trailing blanks are no part of the name
  inner.configure = [&](TestWindow& w) {
    w.opened = [&] {
      seen.push_back(app::ThreadErrors().procedures());
      shown = app::ThreadErrors().substitute("in %Procedure");
    };
  };
  Procedure outer = form("UpdateCases");
  outer.configure = [&](TestWindow& w) { w.opened = [&] { inner(); seen.push_back(app::ThreadErrors().procedures()); }; };
  Caller caller;
  start(frame());
  drv->start(caller.list(outer), 50000);
  drv->click(drv->window("List"), Call);
  drv->close(drv->window("Form"));  // the inner form
  drv->close(drv->window("Form"));  // the outer one
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_THAT(seen[0], ElementsAre("BrowseCases", "UpdateCases", "SelectRates"));
  EXPECT_EQ(shown, "in SelectRates");
  EXPECT_THAT(seen[1], ElementsAre("BrowseCases", "UpdateCases"));
  EXPECT_THAT(caller.proceduresAfter, ElementsAre("BrowseCases"));
}

TEST_F(ProcedureWindowTest, TheGreyFillFollowsTheFocusOverDataControlsOnly) {
  start(frame(form()));
  drv->click(drv->window("Main"), StartButton);
  platform::Window& w = drv->window("Form");
  auto fills = [&] {
    return std::vector<platform::Color>{w.control(Entry).fill(), w.control(Check).fill(), w.control(Ok).fill()};
  };
  const platform::Color grey = 0xE5E5E5, none = platform::NoColor;
  EXPECT_THAT(fills(), ElementsAre(grey, none, none)) << "the entry has the focus when the form opens";
  drv->tab(w);
  EXPECT_THAT(fills(), ElementsAre(none, grey, none)) << "on to the check box";
  drv->tab(w);
  EXPECT_THAT(fills(), ElementsAre(none, none, none)) << "on to the button";
  drv->close(w);
}

TEST_F(ProcedureWindowTest, OnlyTheEightDataControlTypesTakeTheGreyFill) {
  struct Case {
    ControlKind kind;
    bool grey;
  };
  const Case cases[] = {
      {ControlKind::Entry, true},    {ControlKind::Text, true},      {ControlKind::Radio, true},
      {ControlKind::Check, true},    {ControlKind::DropCombo, true}, {ControlKind::DropList, true},
      {ControlKind::Combo, true},    {ControlKind::Spin, true},      {ControlKind::Button, false},
      {ControlKind::List, false},    {ControlKind::Sheet, false},
  };
  constexpr int Group = 50;  // the radio's option group
  Procedure p{"UpdateCases", windowSpec("Form"), {ctl(Group, ControlKind::Option)}};
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    ControlSpec c = ctl(i + 1, cases[i].kind, {5, 5 + 14 * i, 60, 12});
    if (c.kind == ControlKind::Radio) c.parent = Group;
    p.controls.push_back(c);
  }
  start(frame(p));
  drv->click(drv->window("Main"), StartButton);
  platform::Window& w = drv->window("Form");
  // Backwards, so that every control is left for one of another kind.
  for (int i = static_cast<int>(std::size(cases)) - 1; i >= 0; --i) {
    const int number = i + 1;
    SCOPED_TRACE(platform::kindName(cases[i].kind));
    drv->focus(w, number);
    for (const auto& c : w.controls())
      EXPECT_EQ(c->fill(), c->number() == number && cases[i].grey ? 0xE5E5E5 : platform::NoColor)
          << "control " << c->number();
  }
  drv->close(w);
}

class PlacementTest : public ProgramTest {
 protected:
  // A resizable window with a resizer, designed at 20,20 and 200 by 100,
  // and one of fixed size.
  Procedure placed{"BrowseRates", windowSpec("Placed"), {ctl(Entry, ControlKind::Entry)}};
  Procedure fixed{"SPLASH", windowSpec("Fixed", WindowKind::Own), {ctl(Entry, ControlKind::Entry)}};

  void SetUp() override {
    ProgramTest::SetUp();
    fixed.spec.resizable = false;
    fixed.resizer = false;
    start(frame());
  }
  platform::Window& open(const Procedure& p) {
    drv->start(p, 50000);
    return drv->window(p.spec.caption);
  }
  std::vector<std::optional<std::string>> entries(const std::string& section) const {
    std::vector<std::optional<std::string>> list;
    for (const char* e : {"Maximize", "Minimize", "XPos", "YPos", "Width", "Height"}) list.push_back(entry(section, e));
    return list;
  }
  static std::optional<std::string> none() { return std::nullopt; }
};

TEST_F(PlacementTest, ARestoredWindowIsSavedWithPositionAndSize) {
  platform::Window& w = open(placed);
  EXPECT_EQ(w.rect(), (Rect{20, 20, 200, 100})) << "never closed before: as designed";
  drv->move(w, 50, 60);
  drv->resize(w, 300, 150);
  drv->close(w);
  EXPECT_THAT(entries("BrowseRates"), ElementsAre("No", "No", "50", "60", "300", "150"));

  platform::Window& again = open(placed);
  EXPECT_EQ(again.rect(), (Rect{50, 60, 300, 150}));
  EXPECT_FALSE(again.maximized());
  drv->close(again);
}

TEST_F(PlacementTest, AWindowClosedMaximizedReopensMaximizedWithoutPositionOrSize) {
  platform::Window& w = open(placed);
  drv->move(w, 50, 60);
  drv->maximize(w);
  drv->close(w);
  EXPECT_THAT(entries("BrowseRates"), ElementsAre("Yes", "No", none(), none(), none(), none()));

  platform::Window& again = open(placed);
  EXPECT_TRUE(again.maximized());
  drv->restore(again);
  EXPECT_EQ(again.rect(), (Rect{20, 20, 200, 100}));
  drv->close(again);
}

TEST_F(PlacementTest, AWindowDesignedMaximizedReopensAsItWasLeftWithItsControlsFitted) {
  constexpr int Notes = 2;  // a multi-line text, which grows with the window
  Procedure framed{"BrowseInCourt",
                   windowSpec("Framed"),
                   {ctl(Entry, ControlKind::Entry), ctl(Notes, ControlKind::Text, {5, 20, 100, 50})}};
  framed.spec.maximize = true;
  platform::Window& w = open(framed);
  EXPECT_TRUE(w.maximized()) << "never closed before: as designed";
  drv->restore(w);
  drv->move(w, 30, 40);
  drv->resize(w, 300, 150);
  drv->close(w);
  EXPECT_THAT(entries("BrowseInCourt"), ElementsAre("No", "No", "30", "40", "300", "150"));

  platform::Window& again = open(framed);
  EXPECT_FALSE(again.maximized()) << "\"No\" takes it out of the maximized state it was designed with";
  EXPECT_EQ(again.rect(), (Rect{30, 40, 300, 150}));
  EXPECT_EQ(again.control(Notes).rect(), (Rect{5, 20, 200, 100})) << "fitted to the restored size";
  drv->close(again);
}

TEST_F(PlacementTest, AWindowClosedMinimizedIsNotRestoredMinimized) {
  platform::Window& w = open(placed);
  drv->minimize(w);
  drv->close(w);
  EXPECT_THAT(entries("BrowseRates"), ElementsAre("No", "Yes", none(), none(), none(), none()));
  platform::Window& again = open(placed);
  EXPECT_FALSE(again.minimized());
  EXPECT_FALSE(again.maximized());
  drv->close(again);
}

TEST_F(PlacementTest, AFixedSizeWindowSavesOnlyItsPosition) {
  // Size entries left by an older run go.
  app::SettingsManager().writeNumber("SPLASH", "Width", 500);
  app::SettingsManager().writeNumber("SPLASH", "Height", 400);
  platform::Window& w = open(fixed);
  drv->move(w, 5, 6);
  drv->close(w);
  EXPECT_THAT(entries("SPLASH"), ElementsAre("No", "No", "5", "6", none(), none()));
}

TEST_F(PlacementTest, BadOrMissingEntriesLeaveTheirPartAsDesigned) {
  struct Case {
    const char* maximize;
    const char* x;
    const char* y;
    const char* width;
    const char* height;
    Rect expected;
  };
  const Case cases[] = {
      {"No", "abc", "70", "", nullptr, {20, 70, 200, 100}},
      {"No", "30", "1.5", "250", "-", {30, 20, 250, 100}},
      {"No", "30", "40", "100", "50", {30, 40, 200, 100}},  // never smaller than designed
      {"Perhaps", "30", "40", "250", "120", {20, 20, 200, 100}},
      {nullptr, "30", "40", "250", "120", {20, 20, 200, 100}},
  };
  platform::IniMgr& ini = app::SettingsManager();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.maximize ? c.maximize : "no Maximize") << " " << c.x << " " << c.y);
    const std::pair<const char*, const char*> values[] = {
        {"Maximize", c.maximize}, {"XPos", c.x}, {"YPos", c.y}, {"Width", c.width}, {"Height", c.height}};
    for (const auto& [name, value] : values)
      if (value)
        ini.writeString("BrowseRates", name, value);
      else
        ini.removeEntry("BrowseRates", name);
    platform::Window& w = open(placed);
    EXPECT_EQ(w.rect(), c.expected);
    EXPECT_FALSE(w.maximized());
    drv->close(w);
  }
}

}  // namespace
}  // namespace apptest
