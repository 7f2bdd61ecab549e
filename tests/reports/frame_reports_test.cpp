// The frame's hidden "&Reports" items through the driver, with the real
// frame and the real reports: each starts its report on a thread of its
// own, "Print by Case Number" prints the case G:CASENUMBER holds at the
// click, and closing the frame ends the reports that read or show their
// preview.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <utility>

#include "app/main_frame.h"
#include "app/password_windows.h"
#include "cases/browse_case_close_summary.h"
#include "cases/worksheets.h"
#include "platform/fiber/thread.h"
#include "platform/types/halt.h"
#include "platform/types/daynum.h"
#include "reports/print_list.h"
#include "reports/worksheet_reports.h"
#include "tests/reports/list_fixture.h"

namespace reporttest {
namespace {

using namespace dictionary;
using namespace app::frame;
using namespace platform::report;
using Fields = Records::Fields;

int pageFilesLeft() {
  const std::string mine = std::string(PageStore::FilePrefix) + std::to_string(::getpid()) + "-";
  int n = 0;
  for (const auto& f : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
    if (f.path().filename().string().rfind(mine, 0) == 0) ++n;
  return n;
}

class FrameReportsTest : public ListTest {
 protected:
  // The program with the real frame, past its password gate.
  Window& openFrame() {
    firstThread = app::StartProgram(app::Main);
    drv->settle();
    Window& gate = drv->window("Please enter your password");
    drv->edit(gate, app::gate::G_PASS, "vimbro");
    drv->click(gate, app::gate::BUTTON2);
    return drv->window(app::FrameCaption);
  }
  void choose(Window& frame, int item) {
    // Hidden: nothing in the system shows it, but it works.
    frame.post(platform::EventKind::Accepted, item);
    drv->settle();
  }
  void addData() {
    records->add(CaseCloseSummaryFile, [](const Fields& f) {
      f(CCS_CASENUMBER).setText("CR-1");
      f(CCS_CASENAME).setText("United States v. Doe");
      f(CCS_DEFENDANT).setText("John Doe");
    });
    records->add(CaseCloseSummaryFile, [](const Fields& f) {
      f(CCS_CASENUMBER).setText("CR-2");
      f(CCS_CASENAME).setText("United States v. Roe");
      f(CCS_DEFENDANT).setText("Richard Roe");
    });
    records->add(HOURLYFile, [](const Fields& f) {
      f(HOU_FN).setInteger(1);
      f(HOU_CASENUMBER).setText("CR-1");
      f(HOU_CASENAME).setText("United States v. Doe");
      f(HOU_DATE).setDay(platform::dayNumber(2007, 3, 5));
      f(HOU_MILAGERATE).setDecimal(*Decimal::parse("0.485"));
    });
    records->add(RateMilageFile, [](const Fields& f) { f(RTM_MILAGERATE).setDecimal(*Decimal::parse("0.485")); });
    records->add(TOTALSFile, [](const Fields& f) { f(TOT_CASENUMBER).setText("CR-1"); });
  }
};

TEST_F(FrameReportsTest, EachReportsItemStartsItsReportOnAThreadOfItsOwn) {
  addData();
  Window& frame = openFrame();
  app::G_CASENUMBER().setText("CR-2");
  struct Item {
    int control;
    const char* caption;  // of the progress window
    const char* procedure;
    const char* title;  // on the page
  };
  const Item items[] = {
      {REPORTCASECLOSESUMMARYBYCCS_KEYCASENAME, "Report CaseCloseSummary", "ReportCaseCloseSummaryByCCS:KeyCaseName",
       "Report CaseCloseSummary file"},
      {REPORTCASECLOSESUMMARYBYCCS_KEYCASENUMBER, "Report CaseCloseSummary",
       "ReportCaseCloseSummaryByCCS:KeyCaseNumber", "CASE CLOSING SUMMARY"},
      {REPORTHOURLYBYHOU_KEYCASENAME, "Report HOURLY", "ReportHOURLYByHOU:KeyCaseName", "Report HOURLY file"},
      {REPORTHOURLYBYHOU_KEYDATE, "Report HOURLY", "ReportHOURLYByHOU:KeyDate", "Report HOURLY file"},
      {REPORTHOURLYBYHOU_KEYMILAGERATE, "Report HOURLY", "ReportHOURLYByHOU:KeyMilageRate", "Report HOURLY file"},
      {REPORTRATEMILAGEBYRTM_KEYMILAGERATE, "Report RateMilage", "ReportRateMilageByRTM:KeyMilageRate",
       "Report RateMilage file"},
      {REPORTRATEMILAGEBYRTM_KEYDATE, "Report RateMilage", "ReportRateMilageByRTM:KeyDate", "Report RateMilage file"},
      {REPORTTOTALSBYTOT_KEYCASENUMBER, "Report TOTALS", "ReportTOTALSByTOT:KeyCaseNumber", "Report TOTALS file"},
  };
  for (const Item& item : items) {
    SCOPED_TRACE(item.procedure);
    watch.pages.clear();
    choose(frame, item.control);
    Window* progress = drv->findWindow(item.caption);
    ASSERT_NE(progress, nullptr);
    const int thread = progress->thread();
    EXPECT_NE(thread, firstThread);
    EXPECT_EQ(platform::threadStackSize(thread), 50000u);
    while (drv->findWindow(item.caption)) drv->advance(ProgressTimer);
    ASSERT_NE(preview(), nullptr);
    EXPECT_EQ(preview()->thread(), thread);
    ASSERT_EQ(watch.pages.size(), 1u);
    EXPECT_EQ(watch.pages[0].text("?REPORTTITLE"), item.title);
    closePreview();
    // The progress window's placement is kept under the procedure's name.
    EXPECT_TRUE(setting(item.procedure, "XPos").has_value());
  }
  EXPECT_TRUE(drv->messages().empty());
  drv->close(frame);
  EXPECT_TRUE(drv->programEnded());
}

TEST_F(FrameReportsTest, PrintByCaseNumberPrintsTheCaseOfTheClickAndNothingWhileNoneIsChosen) {
  addData();
  Window& frame = openFrame();
  const std::size_t threads = app::programThreads().size();
  choose(frame, REPORTCASECLOSESUMMARYBYCCS_KEYCASENUMBER);
  EXPECT_EQ(progressWindow(), nullptr);
  EXPECT_EQ(preview(), nullptr);
  EXPECT_TRUE(drv->messages().empty());
  EXPECT_EQ(app::programThreads().size(), threads);

  app::G_CASENUMBER().setText("CR-2");
  choose(frame, REPORTCASECLOSESUMMARYBYCCS_KEYCASENUMBER);
  app::G_CASENUMBER().setText("CR-1");  // another window writes it while the report reads
  while (progressWindow()) drv->advance(ProgressTimer);
  ASSERT_EQ(watch.pages.size(), 1u);
  EXPECT_EQ(watch.pages[0].text("?CCS:CASENUMBER"), "CR-2");
  EXPECT_EQ(watch.pages[0].text("?CCS:DEFENDANT"), "Richard Roe");
  closePreview();
  drv->close(frame);
  EXPECT_TRUE(drv->programEnded());
}

TEST_F(FrameReportsTest, ClosingTheFrameEndsTwoPreviewsAndAReportThatReads) {
  addData();
  Window& frame = openFrame();
  for (int item : {REPORTTOTALSBYTOT_KEYCASENUMBER, REPORTHOURLYBYHOU_KEYDATE}) {
    choose(frame, item);
    while (progressWindow()) drv->advance(ProgressTimer);
  }
  choose(frame, REPORTRATEMILAGEBYRTM_KEYDATE);
  ASSERT_NE(drv->findWindow("Report RateMilage"), nullptr);
  EXPECT_EQ(watch.opened, 2);
  EXPECT_EQ(pageFilesLeft(), 3);  // the running report has begun its pages
  drv->close(frame);
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), platform::ExitNormal);
  EXPECT_EQ(progressWindow(), nullptr);
  EXPECT_EQ(preview(), nullptr);
  EXPECT_EQ(pageFilesLeft(), 0);
  EXPECT_TRUE(drv->messages().empty());
}

// The worksheets and the case list live below the reports; the frame hands
// each of their print buttons the report of its name when the program starts.
TEST(FrameConnections, EachPrintButtonBelowTheReportsGetsTheReportOfItsName) {
  app::ConnectProcedures();
  const std::pair<std::string_view, void (*)(const std::string&)> expected[] = {
      {"PRT_InCOURT", reports::PRT_InCOURT},
      {"PRT_OutCOURT", reports::PRT_OutCOURT},
      {"PRT_OTHER", reports::PRT_OTHER},
      {"PRT_OTHER_NON", reports::PRT_OTHER_NON},
  };
  for (const cases::WorksheetPrintCall& c : cases::WorksheetPrintCalls()) {
    auto it = std::find_if(std::begin(expected), std::end(expected),
                           [&](const auto& e) { return e.first == c.procedure; });
    ASSERT_NE(it, std::end(expected)) << c.procedure;
    EXPECT_EQ(c.call, it->second) << c.procedure;
  }
  const auto cases = cases::CaseListCalls();
  const auto printAll = std::find_if(cases.begin(), cases.end(),
                                     [](const cases::CaseListCall& c) { return c.procedure == std::string_view("PRINT_LIST"); });
  ASSERT_NE(printAll, cases.end());
  EXPECT_EQ(printAll->call, reports::PRINT_LIST);
}

}  // namespace
}  // namespace reporttest
