#include "app/main_frame.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frame/data_layer.h"
#include "app/frame/globals.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "app/password_windows.h"
#include "cases/browse_case_close_summary.h"
#include "cases/update_case_close_summary.h"
#include "dictionary/dictionary.h"
#include "platform/lib/messages.h"
#include "platform/types/halt.h"
#include "tests/app/app_fixture.h"

namespace apptest {
namespace {

using namespace app::frame;
using platform::StdAction;
using ::testing::ElementsAre;

constexpr const char* GateCaption = "Please enter your password";

// What ran: the procedure's name and its thread's stack size, 0 for a
// direct call on the frame's thread.
struct Started {
  std::string procedure;
  std::size_t stack;
  friend bool operator==(const Started&, const Started&) = default;
};
std::ostream& operator<<(std::ostream& o, const Started& r) { return o << r.procedure << " " << r.stack; }

class MainTest : public AppTest {
 protected:
  // The frame's own commands, every procedure replaced by a recorder.
  std::vector<app::FrameCommand> recorders() {
    std::vector<app::FrameCommand> commands = app::FrameCommands();
    for (app::FrameCommand& c : commands)
      c.run = [this, name = std::string(c.procedure)](const std::string&) {
        const int self = platform::currentThread();
        runs.push_back({name, self == frameThread ? 0 : platform::threadStackSize(self)});
      };
    return commands;
  }

  // Starts the program as the desktop does and passes the gate with
  // `password`. Answers the frame's window, nullptr when it did not open.
  platform::Window* open(app::FrameProcedure frame, const std::string& password = "vimbro") {
    frameThread = drv->startProgram(app::ProgramThread(std::move(frame)));
    platform::Window& gate = drv->window(GateCaption);
    EXPECT_EQ(drv->openWindows().size(), 1u) << "the frame is not shown while the gate is open";
    drv->edit(gate, app::gate::G_PASS, password);
    drv->click(gate, app::gate::BUTTON2);
    return drv->findWindow(app::FrameCaption);
  }
  platform::Window& openWith(const std::vector<app::FrameCommand>& commands) {
    platform::Window* w = open([&commands] { app::MainWithCommands(commands); });
    if (!w) throw std::runtime_error("the frame did not open");
    return *w;
  }

  int frameThread = 0;
  std::vector<Started> runs;
};

TEST_F(MainTest, TheFrameOpensAfterTheGateAndStartsTheCaseListByItself) {
  const std::vector<app::FrameCommand> commands = recorders();
  platform::Window& frame = openWith(commands);
  EXPECT_EQ(frame.caption(), "Dalmoor - Pellmark  Software -  An easy way to do your billing !");
  EXPECT_TRUE(frame.maximized());
  EXPECT_EQ(frame.spec().statusZones, (std::vector<int>{-1, 80, 120, 45}));
  EXPECT_EQ(frame.spec().backgroundPicture, "logoBack.jpg");
  EXPECT_TRUE(frame.spec().backgroundTiled);
  EXPECT_EQ(frame.spec().icon, "docs black.ico");
  for (int button : {BUTTON1, BUTTON1_2, BUTTON1_3}) {
    const platform::Control& b = frame.control(button);
    EXPECT_EQ(b.parent(), TOOLBAR);
    EXPECT_EQ(b.rect().width, 128);
    EXPECT_EQ(b.rect().height, 26);
    EXPECT_EQ(b.font().face, "Verdana");
    EXPECT_EQ(b.font().size, 8);
  }
  EXPECT_THAT(runs, ElementsAre(Started{"BrowseCaseCloseSummary", 50000}));
  drv->close(frame);
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), platform::ExitNormal);
  EXPECT_EQ(entry("Main", "Maximize"), "Yes");
}

TEST_F(MainTest, AWrongPasswordEndsTheProgramBeforeTheFrameOpens) {
  const std::vector<app::FrameCommand> commands = recorders();
  EXPECT_EQ(open([&commands] { app::MainWithCommands(commands); }, "guess"), nullptr);
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), platform::ExitWrongPassword);
  EXPECT_TRUE(runs.empty());
  EXPECT_FALSE(entry("Main", "Maximize")) << "a frame that never opened saves no placement";
}

TEST_F(MainTest, EveryMenuItemAndToolbarButtonStartsItsProcedureOrCallsIt) {
  struct Case {
    int control;
    const char* text;
    const char* status;
    bool shown;
    Started run;  // stack 0: called directly on the frame's thread
  };
  const Case cases[] = {
      {FILESETUPNEWPASSWORD, "Set up New Password", "", true, {"PASSWORD", 25000}},
      {BROWSECASECLOSESUMMARY, "OPEN MY CASE FILES", "Browse CaseCloseSummary", true, {"BrowseCaseCloseSummary", 50000}},
      {BROWSEHOURLY, "Browse the HOURLY file", "Browse HOURLY", false, {"BrowseHOURLY", 50000}},
      {BROWSERATEMILAGE, "DEFINE NEW MILEAGE RATE", "Browse RateMilage", true, {"BrowseRateMilage", 50000}},
      {BROWSETOTALS, "Browse the TOTALS file", "Browse TOTALS", false, {"BrowseTOTALS", 50000}},
      {REPORTCASECLOSESUMMARYBYCCS_KEYCASENAME, "Print by Case Name", "Print ordered by Case Name", false,
       {"ReportCaseCloseSummaryByCCS:KeyCaseName", 50000}},
      {REPORTCASECLOSESUMMARYBYCCS_KEYCASENUMBER, "Print by Case Number", "Print ordered by Case Number", false,
       {"ReportCaseCloseSummaryByCCS:KeyCaseNumber", 50000}},
      {REPORTHOURLYBYHOU_KEYCASENUMBER, "Print by HOU:KeyCaseNumber key", "Print ordered by the HOU:KeyCaseNumber key",
       false, {"PRT_InCOURT", 50000}},
      {REPORTHOURLYBYHOU_KEYCASENAME, "Print by Case Name", "Print ordered by Case Name", false,
       {"ReportHOURLYByHOU:KeyCaseName", 50000}},
      {REPORTHOURLYBYHOU_KEYDATE, "Print by Date", "Print ordered by Date", false, {"ReportHOURLYByHOU:KeyDate", 50000}},
      {REPORTHOURLYBYHOU_KEYMILAGERATE, "Print by Milage Rate", "Print ordered by Milage Rate", false,
       {"ReportHOURLYByHOU:KeyMilageRate", 50000}},
      {REPORTRATEMILAGEBYRTM_KEYMILAGERATE, "Print by Milage Rate", "Print ordered by Milage Rate", false,
       {"ReportRateMilageByRTM:KeyMilageRate", 50000}},
      {REPORTRATEMILAGEBYRTM_KEYDATE, "Print by Date", "Print ordered by Date", false,
       {"ReportRateMilageByRTM:KeyDate", 50000}},
      {REPORTTOTALSBYTOT_KEYCASENUMBER, "Print by Case Number", "Print ordered by Case Number", false,
       {"ReportTOTALSByTOT:KeyCaseNumber", 50000}},
      {HELPSEARCH, "&Help", "Search for help on a subject", true, {"FAQ", 25000}},
      {HELPONHELP, "&About LANVik Trial", "Version", true, {"SPLASH", 0}},
      {BUTTON1, "OPEN MY CASE FILES", "", true, {"BrowseCaseCloseSummary", 25000}},
      {BUTTON1_2, "ADD NEW MILEAGE RATE", "", true, {"BrowseRateMilage", 25000}},
      {BUTTON1_3, "SET UP NEW PASSWORD ", "", true, {"PASSWORD", 25000}},
  };
  const std::vector<app::FrameCommand> commands = recorders();
  platform::Window& frame = openWith(commands);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    platform::Control& item = frame.control(c.control);
    EXPECT_EQ(item.text(), c.text);
    EXPECT_EQ(item.statusText(), c.status);
    EXPECT_EQ(item.visible(), c.shown);
    runs.clear();
    if (c.shown) {
      drv->click(frame, c.control);
    } else {
      // Hidden: nothing in the system shows it, but it works.
      frame.post(platform::EventKind::Accepted, c.control);
      drv->settle();
    }
    EXPECT_THAT(runs, ElementsAre(c.run));
  }
}

// A report started on a thread of its own prints the case G:CASENUMBER
// held at the click, even when another command writes it before the new
// thread first runs.
TEST_F(MainTest, AStartedCommandTakesTheCaseNumberOfTheClick) {
  std::vector<app::FrameCommand> commands = recorders();
  std::vector<std::string> printed;
  for (app::FrameCommand& c : commands) {
    if (c.control == REPORTHOURLYBYHOU_KEYCASENUMBER)
      c.run = [&printed](const std::string& caseNumber) { printed.push_back(caseNumber); };
    if (c.control == HELPONHELP)  // a direct call on the frame's thread
      c.run = [](const std::string&) { app::G_CASENUMBER().setText("CR-2"); };
  }
  platform::Window& frame = openWith(commands);
  app::G_CASENUMBER().setText("CR-1");
  frame.post(platform::EventKind::Accepted, REPORTHOURLYBYHOU_KEYCASENUMBER);
  frame.post(platform::EventKind::Accepted, HELPONHELP);
  drv->settle();
  EXPECT_THAT(printed, ElementsAre("CR-1"));
  EXPECT_EQ(app::G_CASENUMBER().text(), "CR-2");
}

TEST_F(MainTest, TheMenuBarHoldsItsMenusInOrderAndTheStandardActions) {
  const std::vector<app::FrameCommand> commands = recorders();
  platform::Window& frame = openWith(commands);
  std::vector<int> bar;
  for (const auto& c : frame.controls())
    if (c->kind() == platform::ControlKind::Menu && c->parent() == 0) bar.push_back(c->number());
  EXPECT_THAT(bar, ElementsAre(FILEMENU, EDITMENU, BROWSEMENU, REPORTMENU, WINDOWMENU, HELPMENU, LANVIK));
  EXPECT_FALSE(frame.control(REPORTMENU).visible());
  EXPECT_EQ(frame.control(REPORTMENU).statusText(), "Report data");
  EXPECT_FALSE(frame.control(WINDOWMENU).visible());
  EXPECT_FALSE(frame.control(LANVIK).enabled());
  // The menus and the Reports menu's submenus: their texts, where they sit.
  struct Menu {
    int control;
    int parent;
    const char* text;
  };
  const Menu menus[] = {
      {FILEMENU, 0, "&File"},
      {EDITMENU, 0, "&Edit"},
      {BROWSEMENU, 0, "&Browse"},
      {REPORTMENU, 0, "&Reports"},
      {REPORTCASECLOSESUMMARY, REPORTMENU, "Report the CaseCloseSummary file"},
      {REPORTHOURLY, REPORTMENU, "Report the HOURLY file"},
      {REPORTRATEMILAGE, REPORTMENU, "Report the RateMilage file"},
      {WINDOWMENU, 0, "&Window"},
      {HELPMENU, 0, "&Help"},
  };
  for (const Menu& m : menus) {
    SCOPED_TRACE(m.control);
    EXPECT_EQ(frame.control(m.control).text(), m.text);
    EXPECT_EQ(frame.control(m.control).parent(), m.parent);
  }
  // The File menu: the separator stands between the password and Exit.
  std::vector<int> file;
  for (const auto& c : frame.controls())
    if (c->parent() == FILEMENU) file.push_back(c->number());
  EXPECT_THAT(file, ElementsAre(PRINTSETUP, FILESETUPNEWPASSWORD, FILESEPARATOR, EXIT));
  EXPECT_EQ(frame.control(FILESEPARATOR).text(), "");

  struct Case {
    int control;
    const char* text;
    const char* status;
    bool shown;
    StdAction action;
  };
  const Case cases[] = {
      {PRINTSETUP, "&Print Setup ...", "Setup printer", true, StdAction::PrintSetup},
      {CUT, "Cu&t", "Cut Selection To Clipboard", true, StdAction::Cut},
      {COPY, "&Copy", "Copy Selection To Clipboard", true, StdAction::Copy},
      {PASTE, "&Paste", "Paste From Clipboard", true, StdAction::Paste},
      {TILE, "T&ile", "Arrange multiple opened windows", false, StdAction::Tile},
      {CASCADE, "&Cascade", "Arrange multiple opened windows", false, StdAction::Cascade},
      {ARRANGE, "&Arrange Icons", "Arrange the icons for minimized windows", false, StdAction::ArrangeIcons},
  };
  runs.clear();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    platform::Control& item = frame.control(c.control);
    EXPECT_EQ(item.text(), c.text);
    EXPECT_EQ(item.statusText(), c.status);
    EXPECT_EQ(item.visible(), c.shown);
    if (c.shown) {
      drv->click(frame, c.control);
    } else {
      frame.post(platform::EventKind::Accepted, c.control);
      drv->settle();
    }
    ASSERT_FALSE(drv->standardActions().empty());
    EXPECT_EQ(drv->standardActions().back().control, c.control);
    EXPECT_EQ(drv->standardActions().back().action, c.action);
  }
  EXPECT_TRUE(runs.empty());
  EXPECT_EQ(frame.control(EXIT).text(), "E&xit");
  EXPECT_EQ(frame.control(EXIT).statusText(), "Exit this application");
  drv->click(frame, EXIT);
  EXPECT_TRUE(drv->programEnded());
}

TEST_F(MainTest, TheInformationEntryShowsTheSystemTheDateTheTimeAndTheUser) {
  const std::string system = "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64";
  const std::vector<app::FrameCommand> commands = recorders();
  platform::Window& frame = openWith(commands);
  EXPECT_EQ(frame.control(LANVIK).text(), system + "  4/5/2007  2:05:09 PM [jdoe]");

  platform::FakeUserName nobody{std::nullopt};
  platform::ScopedOsServices noUser{platform::OsServices{&nobody, &os, &links, &drag}};
  EXPECT_EQ(app::InformationText(), system + "  4/5/2007  2:05:09 PM [Invalid]");
}

TEST_F(MainTest, TheFramesOwnProceduresOpenTheirWindows) {
  app::InstallDataLayer();  // the case list opens by itself and reads the record files
  platform::Window* frame = open(app::Main);
  ASSERT_NE(frame, nullptr);
  const std::vector<int> threads = app::programThreads();
  // Commands whose procedures are not built yet start nothing.
  frame->post(platform::EventKind::Accepted, REPORTTOTALSBYTOT_KEYCASENUMBER);
  drv->settle();
  EXPECT_EQ(app::programThreads(), threads);

  // The hidden entry and totals lists, each on a thread of its own.
  for (const auto& [item, caption] : {std::pair{BROWSEHOURLY, "Browse the HOURLY file"},
                                      std::pair{BROWSETOTALS, "Browse the TOTALS file"}}) {
    frame->post(platform::EventKind::Accepted, item);
    drv->settle();
    platform::Window& list = drv->window(caption);
    EXPECT_NE(list.thread(), frameThread) << caption;
    EXPECT_EQ(platform::threadStackSize(list.thread()), 50000u) << caption;
  }

  // The mileage-rate list from the menu and from the toolbar: two lists on
  // threads of their own.
  drv->click(*frame, BROWSERATEMILAGE);
  drv->click(*frame, BUTTON1_2);
  std::vector<std::size_t> rateStacks;
  for (platform::Window* w : drv->openWindows())
    if (w->caption() == "Mileage Rate") {
      EXPECT_NE(w->thread(), frameThread);
      rateStacks.push_back(platform::threadStackSize(w->thread()));
    }
  EXPECT_THAT(rateStacks, ElementsAre(50000u, 25000u));

  drv->click(*frame, FILESETUPNEWPASSWORD);
  platform::Window& setup = drv->window("Set up new password");
  EXPECT_NE(setup.thread(), frameThread);
  EXPECT_EQ(platform::threadStackSize(setup.thread()), 25000u);
  drv->click(*frame, HELPSEARCH);
  platform::Window& help = drv->window("FAQ - Frequent Asked Questions");
  EXPECT_NE(help.thread(), frameThread);
  EXPECT_EQ(platform::threadStackSize(help.thread()), 25000u);

  // The about window runs on the frame's thread: the frame waits for it.
  drv->click(*frame, HELPONHELP);
  platform::Window& about = drv->window("Pellmark- Version 2007.1");
  EXPECT_EQ(about.thread(), frameThread);
  EXPECT_FALSE(frame->takesInput());
  drv->close(about);
  EXPECT_TRUE(frame->takesInput());
  drv->close(*frame);
  EXPECT_TRUE(drv->programEnded());
}

TEST_F(MainTest, ClosingTheFrameAsksTheOtherThreadsFormsFirst) {
  Procedure form{"UpdateCaseCloseSummary", windowSpec("Case form"), {ctl(1, platform::ControlKind::Entry)}};
  form.configure = [](TestWindow& w) {
    w.closing = [](const platform::Event&) {
      return app::ThreadErrors().raise(platform::Msg::ConfirmCancel) == 0 ? 0 : platform::LevelSkip;
    };
  };
  std::vector<app::FrameCommand> commands = recorders();
  for (app::FrameCommand& c : commands)
    if (c.control == BROWSECASECLOSESUMMARY) c.run = [&form](const std::string&) { form(); };
  platform::Window& frame = openWith(commands);
  ASSERT_NE(drv->findWindow("Case form"), nullptr);

  drv->answer(platform::BtnNo);
  drv->click(frame, EXIT);
  EXPECT_FALSE(drv->programEnded());
  EXPECT_NE(drv->findWindow("Case form"), nullptr) << "the user kept the form";
  EXPECT_TRUE(frame.isOpen());

  drv->answer(platform::BtnYes);
  drv->close(frame);
  EXPECT_EQ(drv->findWindow("Case form"), nullptr);
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), platform::ExitNormal);
}

// The frame with the real case list and case form on the record files.
class MainWithCasesTest : public MainTest {
 protected:
  void SetUp() override {
    MainTest::SetUp();
    app::InstallDataLayer();
  }
  void TearDown() override {
    MainTest::TearDown();
    dictionary::setThreadDataSource({});
  }
};

TEST_F(MainWithCasesTest, ExitTakesTheFormsTypingNotYetAcceptedBeforeItAsks) {
  namespace cf = cases::case_form;
  platform::Window* frame = open(app::Main);
  ASSERT_NE(frame, nullptr);
  drv->click(drv->window("CASE FILE"), cases::case_list::INSERT_3);
  platform::Window& form = drv->window("Record Will Be Added");
  auto asked = [this] {
    long n = 0;
    for (const auto& m : drv->messages()) n += m.title == "Changes will be lost!";
    return n;
  };

  // The case name typed last has not left its entry.
  drv->edit(form, cf::CCS_CASENAME, "United States v. Roe");
  drv->answer(platform::BtnNo);
  drv->click(*frame, EXIT);
  EXPECT_EQ(asked(), 1);
  EXPECT_FALSE(drv->programEnded());
  ASSERT_NE(drv->findWindow("Record Will Be Added"), nullptr) << "No keeps the form";
  EXPECT_EQ(drv->text(form, cf::CCS_CASENAME), "United States v. Roe");

  // A typed value that does not read: its message; the form and the frame
  // stay open, and nothing is asked.
  drv->edit(form, cf::CCS_HOURLYRATE, "1000000");
  drv->answer(platform::BtnOk);
  drv->click(*frame, EXIT);
  EXPECT_THAT(drv->messages().back().text, ::testing::HasSubstr("too large"));
  EXPECT_EQ(asked(), 1);
  EXPECT_FALSE(drv->programEnded());
  ASSERT_NE(drv->findWindow("Record Will Be Added"), nullptr);
  EXPECT_EQ(form.focus(), cf::CCS_HOURLYRATE);

  drv->edit(form, cf::CCS_HOURLYRATE, "125");
  drv->answer(platform::BtnYes);
  drv->click(*frame, EXIT);
  EXPECT_EQ(asked(), 2);
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), platform::ExitNormal);
}

}  // namespace
}  // namespace apptest
