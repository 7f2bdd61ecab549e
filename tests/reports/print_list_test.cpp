// The printing window through the driver: its controls, what each print
// button runs and how, the case it passes whatever G:CASENUMBER holds
// meanwhile, and the window staying open until "&Cancel" or its close box.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/fiber/thread.h"
#include "reports/print_list.h"
#include "tests/reports/report_fixture.h"

namespace reporttest {
namespace {

using namespace reports::print_list;
using platform::ControlKind;

// A call of a printout, as a recorder in its place saw it.
struct Printout {
  std::string procedure;
  int thread = 0;
  std::size_t stack = 0;  // 0: called on the window's own thread
  std::string caseNumber;
  friend bool operator==(const Printout&, const Printout&) = default;
};
std::ostream& operator<<(std::ostream& o, const Printout& r) {
  return o << r.procedure << " stack " << r.stack << " case '" << r.caseNumber << "'";
}

std::vector<Printout> runs;
int windowThread = 0;

template <std::size_t I>
void recorder(const std::string& caseNumber) {
  const int self = platform::currentThread();
  runs.push_back({reports::PrintListCalls()[I].procedure, self,
                  self == windowThread ? 0 : platform::threadStackSize(self), caseNumber});
}

// Puts recorders in place of the printouts for the life of the object.
class Recorders {
 public:
  Recorders() {
    auto calls = reports::PrintListCalls();
    for (const reports::PrintListCall& c : calls) saved_.push_back(c.call);
    calls[0].call = recorder<0>;
    calls[1].call = recorder<1>;
    calls[2].call = recorder<2>;
    calls[3].call = recorder<3>;
    calls[4].call = recorder<4>;
    runs.clear();
  }
  ~Recorders() {
    auto calls = reports::PrintListCalls();
    for (std::size_t i = 0; i < calls.size(); ++i) calls[i].call = saved_[i];
  }

 private:
  std::vector<void (*)(const std::string&)> saved_;
};

class PrintListTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    knobs().report = reports::PRINT_LIST;
  }
  // Opens the window from the caller for `caseNumber`.
  Window& open(const std::string& caseNumber) {
    start();
    windowThread = firstThread;
    app::G_CASENUMBER().setText(caseNumber);
    print(caseNumber);
    return drv->window("PRINTING FILES");
  }
  Window* printing() { return drv->findWindow("PRINTING FILES"); }
};

TEST_F(PrintListTest, TheWindowHasEveryControlAndFiveFlatButtonsOneUnderTheOther) {
  Window& w = open("CR-1");
  EXPECT_EQ(w.kind(), platform::WindowKind::Own);
  EXPECT_TRUE(w.spec().systemMenu);
  EXPECT_TRUE(w.spec().centred);
  EXPECT_EQ(w.spec().rect.width, 276);
  EXPECT_EQ(w.spec().rect.height, 220);
  ASSERT_EQ(w.controls().size(), 20u);
  for (int n = 1; n <= 20; ++n) EXPECT_EQ(w.controls()[static_cast<std::size_t>(n - 1)]->number(), n);
  EXPECT_EQ(w.control(BOX1).kind(), ControlKind::Box);
  EXPECT_EQ(w.control(BOX1).spec().fill, platform::rgb(0, 0, 0));
  EXPECT_EQ(w.control(STRING1).text(), "Case Number:");
  EXPECT_TRUE(w.control(STRING1).spec().font.bold);
  const platform::Control& number = w.control(G_CASENUMBER);
  EXPECT_EQ(number.text(), "CR-1");
  EXPECT_EQ(number.spec().picture, "s20");
  EXPECT_EQ(number.spec().font.size, 15);
  EXPECT_TRUE(number.spec().font.bold);
  EXPECT_EQ(number.spec().fontColor, platform::rgb(0xC0, 0xC0, 0xC0));
  for (int image : {IMAGE2, IMAGE1, IMAGE1_2, IMAGE1_3, IMAGE8, IMAGE8_2, IMAGE1_4, IMAGE8_3, IMAGE1_6, IMAGE1_5}) {
    EXPECT_EQ(w.control(image).kind(), ControlKind::Image) << image;
    EXPECT_TRUE(w.control(image).text() == "printer.ico" || w.control(image).text() == "folder.ico") << image;
  }
  const std::pair<int, const char*> buttons[] = {{BUTTON4, "PRINT CJA 20 WITH TOTALS"},
                                                 {BUTTON4_2, "PRINT IN COURT WORKSHEET"},
                                                 {BUTTON4_4, "PRINT OUT OF COURT WORKSHEET"},
                                                 {BUTTON4_5, "PRINT OTHER EXPENSES"},
                                                 {BUTTON4_3, "PRINT CASE CLOSING SUMMARY"}};
  int above = -1;
  for (const auto& [control, caption] : buttons) {
    const platform::Control& b = w.control(control);
    EXPECT_EQ(b.text(), caption);
    EXPECT_TRUE(b.spec().flat) << caption;
    EXPECT_EQ(b.spec().font.face, "Arial");
    EXPECT_EQ(b.spec().font.size, 7);
    EXPECT_GT(b.spec().rect.y, above) << caption;
    above = b.spec().rect.y + b.spec().rect.height;
  }
  EXPECT_EQ(w.control(OK).text(), "&OK");
  EXPECT_TRUE(w.control(OK).spec().hidden);
  EXPECT_EQ(w.control(CANCEL).text(), "&Cancel");
  EXPECT_EQ(w.control(CANCEL).tip(), "Cancel Operation");
  drv->click(w, CANCEL);
}

TEST_F(PrintListTest, EachButtonRunsItsPrintoutForTheWindowsCaseAndTheWindowStaysOpen) {
  Recorders recording;
  Window& w = open("CR-7");
  struct Press {
    int button;
    const char* procedure;
    std::size_t stack;  // 0: called directly on the window's thread
  };
  const Press presses[] = {
      {BUTTON4, "PRINT_CJA", 0},
      {BUTTON4_2, "PRT_InCOURT", 0},
      {BUTTON4_4, "PRT_OutCOURT", 0},
      {BUTTON4_5, "PRT_OTHER", 0},
      {BUTTON4_3, "ReportCaseCloseSummaryByCCS:KeyCaseNumber", 25000},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(p.procedure);
    runs.clear();
    drv->click(w, p.button);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].procedure, p.procedure);
    EXPECT_EQ(runs[0].stack, p.stack);
    EXPECT_EQ(runs[0].thread == windowThread, p.stack == 0);
    EXPECT_EQ(runs[0].caseNumber, "CR-7");
    ASSERT_EQ(printing(), &w);
    EXPECT_EQ(w.control(G_CASENUMBER).text(), "CR-7");
  }
  // Two presses of the summary: two runs, each on a thread of its own.
  runs.clear();
  drv->click(w, BUTTON4_3);
  drv->click(w, BUTTON4_3);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_NE(runs[0].thread, runs[1].thread);
  EXPECT_EQ(runs[1].stack, 25000u);
  drv->click(w, CANCEL);
}

// A window on another thread that writes G:CASENUMBER when its button is
// pressed, as a worksheet's print button does.
constexpr int WriteButton = 1;
std::string written;
void WriterWindow() {
  platform::WindowSpec spec;
  spec.caption = "WRITER";
  spec.rect = {300, 10, 100, 40};
  Window w(spec);
  platform::ControlSpec b;
  b.number = WriteButton;
  b.kind = ControlKind::Button;
  b.rect = {5, 5, 60, 14};
  b.text = "Write";
  w.add(b);
  class Controller final : public platform::WindowController {
   public:
    using WindowController::WindowController;
    int OnAccepted() override {
      if (event().control == WriteButton) app::G_CASENUMBER().setText(written);
      return WindowController::OnAccepted();
    }
  } controller(w);
  w.open();
  controller.Execute();
}

TEST_F(PrintListTest, ThePrintoutsKeepTheWindowsCaseWhateverAnotherThreadWritesMeanwhile) {
  Recorders recording;
  Window& w = open("CR-7");
  drv->start(WriterWindow);
  Window& writing = drv->window("WRITER");
  // After the window opened.
  written = "CR-8";
  drv->click(writing, WriteButton);
  EXPECT_EQ(app::G_CASENUMBER().text(), "CR-8");
  drv->click(w, BUTTON4);
  // Between the start of the summary's thread and its first run: the
  // window's press is handled first, then the writer's, then the new thread.
  written = "CR-9";
  ASSERT_EQ(platform::input::click(w, BUTTON4_3), platform::input::Status::Ok);
  ASSERT_EQ(platform::input::click(writing, WriteButton), platform::input::Status::Ok);
  drv->settle();
  EXPECT_EQ(app::G_CASENUMBER().text(), "CR-9");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (Printout{"PRINT_CJA", windowThread, 0, "CR-7"}));
  EXPECT_EQ(runs[1].procedure, "ReportCaseCloseSummaryByCCS:KeyCaseNumber");
  EXPECT_EQ(runs[1].caseNumber, "CR-7");
  EXPECT_EQ(w.control(G_CASENUMBER).text(), "CR-7");
  drv->close(writing);
  drv->click(w, CANCEL);
}

TEST_F(PrintListTest, CancelAndTheCloseBoxAnswerCancelledAndThePlacementIsKept) {
  Window& w = open("CR-1");
  drv->move(w, 57, 61);
  drv->click(w, CANCEL);
  EXPECT_EQ(printing(), nullptr);
  EXPECT_EQ(lastResponse, app::ResponseCancelled);
  EXPECT_EQ(setting("PRINT_LIST", "XPos"), "57");
  EXPECT_EQ(stateAfter.procedures, std::vector<std::string>{"Caller"});

  lastResponse = -1;
  print("CR-1");
  ASSERT_NE(printing(), nullptr);
  EXPECT_EQ(printing()->rect().x, 57);
  drv->close(*printing());
  EXPECT_EQ(printing(), nullptr);
  EXPECT_EQ(lastResponse, app::ResponseCancelled);
}

TEST_F(PrintListTest, TheClaimFormRunsOnTheWindowsThreadAndLeavesTheCallersRecordsAsTheyWere) {
  writer->addCaseWith([](const Writer::Fields& f) {
    f(dictionary::CCS_CASENUMBER).setText("CR-1");
    f(dictionary::CCS_HOURLYRATE).setDecimal(*Decimal::parse("33.45"));
  });
  writer->addCaseWith([](const Writer::Fields& f) { f(dictionary::CCS_CASENUMBER).setText("CR-2"); });
  writer->addEntriesWith({[](const Writer::Fields& f) {
                            f(dictionary::HOU_CASENUMBER).setText("CR-1");
                            f(dictionary::HOU_TRIAL).setDecimal(*Decimal::parse("0.3"));
                          },
                          [](const Writer::Fields& f) { f(dictionary::HOU_CASENUMBER).setText("CR-2"); }});
  knobs().callerEntryCase = "CR-2";
  knobs().progressCaption = "Report CaseCloseSummary";
  const auto entries = writer->entries();
  const auto cases = writer->cases();
  Window& w = open("CR-1");
  drv->click(w, BUTTON4);
  Window* progressWindow = progress();
  ASSERT_NE(progressWindow, nullptr);
  EXPECT_EQ(progressWindow->thread(), w.thread());
  readToTheEnd();
  ASSERT_NE(preview(), nullptr);
  drv->close(*preview());
  ASSERT_EQ(printing(), &w);
  drv->click(w, CANCEL);
  EXPECT_EQ(stateAfter, stateBefore);
  EXPECT_EQ(writer->entries(), entries);
  EXPECT_EQ(writer->cases(), cases);
}

}  // namespace
}  // namespace reporttest
