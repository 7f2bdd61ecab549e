#include "app/frame/program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/lib/error_manager.h"
#include "platform/lib/messages.h"
#include "platform/types/halt.h"
#include "tests/app/frame/frame_fixture.h"

namespace apptest {
namespace {

using ::testing::ElementsAre;
using SetCall = platform::RecordingFullDrag::SetCall;

constexpr int Entry = 1;
constexpr int Call = 4;

// A window of its own with one entry.
Procedure plain(std::string name, std::string caption) {
  return Procedure{std::move(name), windowSpec(std::move(caption), WindowKind::Own), {ctl(Entry, ControlKind::Entry)}};
}

class ProgramStartTest : public ProgramTest {};

TEST_F(ProgramStartTest, ThreadsAndTheProcessAreSetUpAndTornDownInOrder) {
  app::G_CASENUMBER().setText("LEFTOVER");
  layer.observe = [] {
    std::string s;
    try {
      app::ThreadErrors();
      s = "errors";
    } catch (const std::logic_error&) {
      s = "no errors";
    }
    s += !app::settingsManagerExists()        ? ", no settings"
         : app::SettingsManager().isOpen() ? ", settings open"
                                            : ", settings closed";
    s += app::G_CASENUMBER().data()[0] == ' ' ? ", blank" : ", case set";
    return s;
  };
  start(frame(plain("SPLASH", "About")));
  drv->click(drv->window("Main"), StartButton);
  drv->close(drv->window("About"));
  drv->close(drv->window("Main"));
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), 0);
  EXPECT_FALSE(app::settingsManagerExists());
  EXPECT_THAT(layer.log, ElementsAre("files 1: no errors, no settings, case set",
                                     "dictionary 1: errors, settings closed, blank",
                                     "files 2: no errors, settings open, blank",
                                     "dictionary 2: errors, settings open, blank",
                                     "dictionary gone 2: errors, settings open, blank",
                                     "files gone 2: no errors, settings open, blank",
                                     "dictionary gone 1: errors, settings closed, blank",
                                     "files gone 1: no errors, settings closed, blank"));
  EXPECT_EQ(app::G_PASS().text(), "");
  EXPECT_EQ(app::G_PASS().size(), 20u);
}

TEST_F(ProgramStartTest, AStartedProcedureSharesNothingWithItsStarter) {
  struct Seen {
    std::string buffer;
    int request, response, vcr;
    platform::ErrorManager* errors;
  };
  std::optional<Seen> starter, started;
  int startedThread = 0;
  Procedure viewer = plain("SPLASH", "About");
  Procedure list{"BrowseCases", windowSpec("List"), {ctl(Call, ControlKind::Button)}};
  list.configure = [&](TestWindow& w) {
    w.accepted = [&](const Event& e) {
      if (e.control != Call) return 0;
      // The list has a current record and bytes of its own.
      layer.caseNumber().setText("CR-1");
      app::ThreadRequest() = app::RequestChange;
      app::ThreadResponse() = app::ResponseCompleted;
      app::ThreadVcrRequest() = 7;
      startedThread = app::StartThread(
          [&] {
            started = Seen{layer.caseNumber().text(), app::ThreadRequest(), app::ThreadResponse(),
                           app::ThreadVcrRequest(), &app::ThreadErrors()};
            layer.caseNumber().setText("CR-9");
            viewer();
          },
          10000);
      starter = Seen{layer.caseNumber().text(), app::ThreadRequest(), app::ThreadResponse(),
                     app::ThreadVcrRequest(), &app::ThreadErrors()};
      return 0;
    };
  };
  start(frame(list));
  drv->click(drv->window("Main"), StartButton);
  drv->click(drv->window("List"), Call);
  ASSERT_TRUE(started && starter);
  EXPECT_EQ(started->buffer, "");
  EXPECT_EQ(started->request, 0);
  EXPECT_EQ(started->response, 0);
  EXPECT_EQ(started->vcr, 0);
  EXPECT_NE(started->errors, starter->errors);
  EXPECT_EQ(platform::threadStackSize(startedThread), platform::MinThreadStack);
  // The starter keeps what it had, whatever the new thread does.
  drv->close(drv->window("About"));
  EXPECT_EQ(starter->buffer, "CR-1");
  EXPECT_EQ(starter->request, app::RequestChange);
  EXPECT_EQ(starter->vcr, 7);
}

// Where the program ends, for the dragging setting.
enum class End { Normally, PasswordHalt, FatalMessage };

TEST_F(ProgramStartTest, FullWindowDraggingIsRestoredOnEveryWayOut) {
  struct Case {
    bool dragOn;
    End end;
    int exitCode;
  };
  const Case cases[] = {
      {true, End::Normally, 0},  {true, End::PasswordHalt, 9},  {true, End::FatalMessage, 3},
      {false, End::Normally, 0}, {false, End::PasswordHalt, 9}, {false, End::FatalMessage, 3},
  };
  Procedure failing = plain("BrowseCases", "List");
  failing.configure = [](TestWindow& w) {
    w.members = [] {
      app::ThreadErrors().setFile("CASECLOS");
      return app::ThreadErrors().raise(platform::Msg::OpenError);
    };
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "drag " << (c.dragOn ? "on" : "off") << ", exit " << c.exitCode);
    drv.emplace();
    drv->answerWith([](const platform::MessageRequest&) { return platform::BtnOk; });
    drag.on = c.dragOn;
    drag.sets.clear();
    if (c.end == End::PasswordHalt) {
      start([] { platform::haltProgram(platform::ExitWrongPassword); });
    } else {
      start(frame(failing));
      if (c.dragOn) {
        EXPECT_EQ(drag.sets, (std::vector<SetCall>{{false, 3}})) << "switched off while running";
      }
      if (c.end == End::Normally)
        drv->close(drv->window("Main"));
      else
        drv->click(drv->window("Main"), StartButton);
    }
    EXPECT_TRUE(drv->programEnded());
    EXPECT_EQ(drv->exitCode(), c.exitCode);
    const std::vector<SetCall> restored{{false, 3}, {true, 3}};
    EXPECT_EQ(drag.sets, c.dragOn ? restored : std::vector<SetCall>());
    EXPECT_EQ(drag.on, c.dragOn);
  }
}

// A list on its own thread whose Call button opens a form over the thread's
// record; the form asks before typed changes are lost.
Procedure listWithForm(StandInLayer& layer) {
  Procedure form{"UpdateCases", windowSpec("Form"),
                 {ctl(Entry, ControlKind::Entry), ctl(Call, ControlKind::Button, {5, 40, 40, 14})}};
  form.configure = [&layer](TestWindow& w) {
    auto saved = std::make_shared<std::string>();
    w.members = [&layer, saved] {
      *saved = layer.caseNumber().text();
      return 0;
    };
    w.opened = [&w, &layer] { w.window().control(Entry).bind(layer.caseNumber()); };
    w.closing = [&layer, saved](const Event&) {
      if (layer.caseNumber().text() == *saved) return 0;
      return app::ThreadErrors().raise(platform::Msg::ConfirmCancel) == 0 ? 0 : platform::LevelSkip;
    };
  };
  Procedure list{"BrowseCases", windowSpec("List"), {ctl(Call, ControlKind::Button)}};
  list.configure = [form](TestWindow& w) {
    w.accepted = [form](const Event& e) {
      if (e.control == Call) app::CallWithRequest(form, app::RequestChange);
      return 0;
    };
  };
  return list;
}

TEST_F(ProgramStartTest, ClosingTheFrameClosesOtherThreadsWindowsThroughTheirCloseHandling) {
  layer.observe = [this] {
    bool open = app::settingsManagerExists() && app::SettingsManager().isOpen();
    return std::string(open ? "settings open" : "settings closed") +
           (drag.sets.size() == 1 ? ", drag off" : ", drag restored");
  };
  start(frame(listWithForm(layer)));
  platform::Window& main = drv->window("Main");
  drv->click(main, StartButton);
  drv->click(drv->window("List"), Call);
  drv->type(drv->window("Form"), Entry, "CR-2");

  drv->answer(platform::BtnNo);
  drv->close(main);
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].title, "Changes will be lost!");
  EXPECT_FALSE(drv->programEnded()) << "No keeps the program running";
  EXPECT_TRUE(main.isOpen());
  EXPECT_NE(drv->findWindow("Form"), nullptr);

  layer.log.clear();
  drv->answer(platform::BtnYes);
  drv->close(main);
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), 0);
  EXPECT_EQ(drv->messages().size(), 2u);
  EXPECT_THAT(layer.log, ElementsAre("dictionary gone 2: settings open, drag off",
                                     "files gone 2: settings open, drag off",
                                     "dictionary gone 1: settings closed, drag restored",
                                     "files gone 1: settings closed, drag restored"));
}

TEST_F(ProgramStartTest, TheProgramWaitsForThreadsTheFrameLeftOpen) {
  // A frame procedure that starts a window on a thread of its own and
  // returns at once, before that thread has even run.
  start([] { app::StartThread(plain("SPLASH", "About"), 25000); });
  EXPECT_FALSE(drv->programEnded());
  EXPECT_EQ(drag.sets, (std::vector<SetCall>{{false, 3}}));
  drv->close(drv->window("About"));
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drag.sets, (std::vector<SetCall>{{false, 3}, {true, 3}}));
}

}  // namespace
}  // namespace apptest
