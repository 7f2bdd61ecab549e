// The report shape through the driver: the progress window, the record loop
// on the virtual clock, the preview, printing, and every way out.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "platform/types/clock.h"
#include "platform/types/picture.h"
#include "tests/reports/report_fixture.h"

namespace reporttest {
namespace {

using namespace platform::report;

std::vector<EntryRow> entries(int n, const std::string& caseNumber = "CR-1") {
  std::vector<EntryRow> rows;
  for (int i = 1; i <= n; ++i) rows.push_back({caseNumber, "Hearing " + std::to_string(i), "1.0", "100.00"});
  return rows;
}

// Page files of this process left in the temporary directory.
int pageFilesLeft() {
  const std::string mine = std::string(PageStore::FilePrefix) + std::to_string(::getpid()) + "-";
  int n = 0;
  for (const auto& f : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
    if (f.path().filename().string().rfind(mine, 0) == 0) ++n;
  return n;
}

std::vector<Page> runPages() {
  std::vector<Page> pages;
  if (!running() || !running()->controller().pages()) return pages;
  const PageStore& store = *running()->controller().pages();
  for (int p = 1; p <= store.count(); ++p) pages.push_back(store.read(p));
  return pages;
}

TEST_F(ReportTest, ARunGoesFromItsProgressWindowToTheMaximisedPreviewAndLeavesItsCallerAsItWas) {
  writer->addCase("CR-1", "United States v. Doe");
  writer->add({{"CR-1", "Arraignment", "1.5", "150.00"},
               {"CR-1", "Expenses only", "0", "0"},
               {"cr-1 ", "Bail hearing", "2.0", "200.25"},
               {"CR-2", "Another case", "3.0", "300.00"}});
  start();
  print("CR-1");

  Window& progress = drv->window("Report HOURLY");
  const platform::Control& cancel = progress.control(ProgressCancel);
  EXPECT_EQ(cancel.text(), "Cancel");
  EXPECT_EQ(cancel.tip(), "Cancel Report");
  EXPECT_EQ(cancel.statusText(), "Cancel Report");
  EXPECT_TRUE(cancel.spec().flat);
  EXPECT_EQ(progress.control(ProgressUserString).text(), "");
  EXPECT_FALSE(progress.spec().systemMenu);
  // Every entry of the case has the same key value: 100% after the first.
  EXPECT_EQ(progress.control(ProgressPctText).text(), "100% Complete");
  EXPECT_EQ(running()->percent(), 100);

  readToTheEnd();
  // Read ahead while the run read, for the file and its related files.
  EXPECT_TRUE(knobs().quickScanSeen);
  EXPECT_TRUE(knobs().relatedQuickScanSeen);
  Window* shown = preview();
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->maximized());
  EXPECT_EQ(shown->control(PreviewZoomList).selected(), static_cast<int>(Zoom::PageWidth));
  EXPECT_EQ(shown->control(PreviewPageText).text(), "Page 1 of 1");
  const std::vector<Page> pages = runPages();
  ASSERT_EQ(pages.size(), 1u);
  const Page& p = pages[0];
  // The case's name from the run's own record, not the caller's.
  EXPECT_EQ(p.text("?CCS:CASENAME"), "United States v. Doe");
  EXPECT_EQ(p.text("?HOU:CASENUMBER"), "CR-1");
  EXPECT_EQ(p.text("?PAGECOUNT"), "PAGE 1");
  EXPECT_EQ(p.all("?HOU:TRIAL").size(), 2u);  // the entry without an amount is skipped
  EXPECT_EQ(p.all("?PAGETOTAL").size(), 1u);
  EXPECT_EQ(p.text("?HOU:TOTALSECTION_INCOURT:2"), "$350.25");
  EXPECT_EQ(p.text("?HOU:TRIAL:2"), "3.5");
  const std::filesystem::path file = running()->controller().pages()->path();
  EXPECT_TRUE(std::filesystem::exists(file));

  drv->click(*shown, PreviewClose);
  EXPECT_EQ(lastResponse, app::ResponseCompleted);
  EXPECT_EQ(stateAfter, stateBefore);
  EXPECT_EQ(stateAfter.procedures, std::vector<std::string>{"Caller"});
  EXPECT_FALSE(stateAfter.quickScan);
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(drv->messages().empty());
}

TEST_F(ReportTest, EveryWayOutLeavesTheCallerAsItWasAndAnswersAsItEnded) {
  struct Way {
    const char* what;
    std::string caseNumber;
    std::function<void(ReportTest&)> act;
    int response;
    const char* message;  // the title of the one message shown, or ""
  };
  const Way ways[] = {
      {"Cancel at once", "CR-1", [](ReportTest& t) { t.drv->click(*t.progress(), ProgressCancel); }, 2, ""},
      {"Cancel after some ticks", "CR-1",
       [](ReportTest& t) {
         knobs().recordCost = 60;
         for (int i = 0; i < 3; ++i) t.drv->advance(ProgressTimer);
         EXPECT_GT(running()->reader().recordsRead(), 3);
         t.drv->click(*t.progress(), ProgressCancel);
       },
       2, ""},
      {"the progress window closed", "CR-1", [](ReportTest& t) { t.drv->close(*t.progress()); }, 2, ""},
      {"a case without entries", "CR-9", [](ReportTest&) {}, 2, "No Records"},
      {"entries, none printed", "CR-0", [](ReportTest& t) { t.readToTheEnd(); }, 2, "No Records"},
      {"a blank case", "   ", [](ReportTest& t) { EXPECT_EQ(t.progress(), nullptr); }, 2, ""},
      {"the preview left", "CR-1",
       [](ReportTest& t) {
         t.readToTheEnd();
         t.drv->close(*t.preview());
       },
       1, ""},
      {"printed", "CR-1",
       [](ReportTest& t) {
         t.readToTheEnd();
         t.drv->click(*t.preview(), PreviewPrint);
       },
       1, ""},
      {"the last print failed", "CR-1",
       [](ReportTest& t) {
         t.readToTheEnd();
         t.sink.answer = PrintOutcome{PrintOutcome::Kind::Failed, "/nowhere/worksheet.pdf", "the file cannot be written",
                                      0};
         t.drv->answer(platform::BtnOk);
         t.drv->click(*t.preview(), PreviewPrint);
         ASSERT_NE(t.preview(), nullptr);  // stays open for another try
         t.drv->click(*t.preview(), PreviewClose);
       },
       2, "Report Preview"},
  };
  writer->addCase("CR-1", "United States v. Doe");
  writer->add(entries(40));
  writer->add({{"CR-0", "expenses", "0", "0"}, {"CR-0", "expenses", "0", "0"}});
  const auto fileBefore = writer->entries();
  start();
  for (const Way& w : ways) {
    SCOPED_TRACE(w.what);
    knobs().recordCost = 0;
    sink.answer.reset();
    const std::size_t messages = drv->messages().size();
    if (*w.message) drv->answer(platform::BtnOk);
    print(w.caseNumber);
    w.act(*this);
    EXPECT_EQ(progress(), nullptr);
    EXPECT_EQ(preview(), nullptr);
    EXPECT_EQ(lastResponse, w.response);
    EXPECT_EQ(stateAfter, stateBefore);
    EXPECT_EQ(stateAfter.procedures, std::vector<std::string>{"Caller"});
    EXPECT_FALSE(stateAfter.quickScan);
    EXPECT_EQ(pageFilesLeft(), 0);
    ASSERT_EQ(drv->messages().size(), messages + (*w.message ? 1 : 0));
    if (*w.message) {
      EXPECT_EQ(drv->messages().back().title, w.message);
    }
  }
  const auto& failed = drv->messages().back();
  EXPECT_NE(failed.text.find("/nowhere/worksheet.pdf"), std::string::npos);
  EXPECT_NE(failed.text.find("the file cannot be written"), std::string::npos);
  EXPECT_EQ(writer->entries(), fileBefore);
}

TEST_F(ReportTest, TheBatchDoublesReadsOnAndHalvesNeverBelowOne) {
  writer->add(entries(80));
  start();
  print("CR-1");
  // Hundredths each record takes in the next timer event; the batch after
  // it; the records read by then (the first one was read at the start).
  struct Tick {
    platform::Scheduler::Centis cost;
    int batch;
    long read;
  };
  const Tick ticks[] = {
      {10, 8, 1 + 8},    // 10, 20, 40: doubles and reads on; 80 at 8: stays
      {40, 4, 9 + 8},    // 320: halves
      {40, 2, 17 + 4},   // 160: halves
      {40, 2, 21 + 2},   // 80: stays
      {100, 1, 23 + 2},  // 200: halves
      {200, 1, 25 + 1},  // 200 at 1: never below 1
      {60, 2, 26 + 1},   // 60: doubles, not under 50: no more in this event
  };
  for (const Tick& t : ticks) {
    SCOPED_TRACE(t.cost);
    knobs().recordCost = t.cost;
    drv->advance(ProgressTimer);
    EXPECT_EQ(running()->controller().batch(), t.batch);
    EXPECT_EQ(running()->reader().recordsRead(), t.read);
  }
  // Without cost one event reads the rest.
  knobs().recordCost = 0;
  const int events = running()->controller().events();
  drv->advance(ProgressTimer);
  EXPECT_EQ(running()->controller().events(), events + 1);
  EXPECT_EQ(running()->reader().recordsRead(), 80);
  ASSERT_NE(preview(), nullptr);
  drv->close(*preview());
}

TEST_F(ReportTest, ThePercentageGrowsWithTheKeyAndNeverPassesOneHundred) {
  knobs().whole = true;
  knobs().stopWhenBlank = false;
  knobs().recordCost = 30;
  for (int c = 10; c <= 49; ++c) writer->add({{"CR-" + std::to_string(c), "x", "1", "1"}});
  start();
  print("");
  std::vector<int> seen{running()->percent()};
  std::vector<std::string> texts;
  while (progress()) {
    texts.push_back(progress()->control(ProgressPctText).text());
    drv->advance(ProgressTimer);
    if (running() && progress()) seen.push_back(running()->percent());
  }
  EXPECT_EQ(seen.front(), 0);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_LE(seen.back(), 100);
  EXPECT_GT(seen.back(), 50);
  EXPECT_EQ(texts.front(), "0% Complete");
  for (const std::string& t : texts) EXPECT_NE(t.find("% Complete"), std::string::npos);
  drv->close(*preview());
}

TEST_F(ReportTest, EveryPageCarriesTheStampsOfTheRunsStartAcrossMidnight) {
  const platform::DateTimeFormat format = platform::systemDateTimeFormat();
  platform::setSystemDateTimeFormat(platform::DateTimeFormat{});
  platform::LocalDateTime at{{2007, 3, 5}, 23, 59, 59, 50};
  platform::setClockSource([&at] { return at; });
  knobs().pageHeight = 1000;  // four lines a page
  writer->add(entries(12));
  start();
  print("CR-1");
  at = {{2007, 3, 6}, 0, 0, 30, 0};
  readToTheEnd();
  const std::vector<Page> pages = runPages();
  platform::setClockSource({});
  platform::setSystemDateTimeFormat(format);
  ASSERT_EQ(pages.size(), 4u);  // 12 lines and the footer of the group
  for (const Page& p : pages) {
    EXPECT_EQ(p.text("?REPORTDATESTAMP"), "3/5/2007");
    EXPECT_EQ(p.text("?REPORTTIMESTAMP"), "11:59:59 PM");
    EXPECT_EQ(p.text("?ENCLOSURE"), "ENCLOSURE:");
    EXPECT_EQ(p.text("?PAGECOUNT"), "PAGE " + std::to_string(p.number));
  }
  // The footer of the group once, on the last page, with the exact sum.
  EXPECT_EQ(pages.back().text("?HOU:TOTALSECTION_INCOURT:2"), "$1,200.00");
  for (std::size_t i = 0; i + 1 < pages.size(); ++i) EXPECT_EQ(pages[i].find("?PAGETOTAL"), nullptr);
  drv->close(*preview());
}

TEST_F(ReportTest, AFailedReadShowsRecordRetrievalErrorAndEndsTheRunCancelled) {
  writer->add(entries(300));  // more than the reader reads ahead at once
  start();
  knobs().recordCost = 100;  // one record an event
  print("CR-1");
  drv->advance(ProgressTimer);
  knobs().recordCost = 0;
  // The file goes bad under the run.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "HOURLY.lvd").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "ALTER TABLE records RENAME TO gone", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  drv->answer(platform::BtnOk);
  for (int i = 0; i < 100 && progress(); ++i) drv->advance(ProgressTimer);
  EXPECT_EQ(progress(), nullptr);
  EXPECT_EQ(preview(), nullptr);
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].title, "Record Retrieval Error");
  EXPECT_EQ(lastResponse, app::ResponseCancelled);
  EXPECT_EQ(stateAfter, stateBefore);
}

TEST_F(ReportTest, ProgressPlacementIsKeptUnderTheProcedureAndThePreviewsUnderOneSectionForAll) {
  writer->add(entries(3));
  start();
  print("CR-1");
  drv->move(*progress(), 17, 23);
  readToTheEnd();
  drv->restore(*preview());
  drv->move(*preview(), 31, 37);
  drv->close(*preview());
  EXPECT_EQ(setting("Report:EntryTest", "XPos"), "17");
  EXPECT_EQ(setting("Report:EntryTest", "YPos"), "23");
  EXPECT_EQ(setting(reports::PreviewSection, "Maximize"), "No");
  EXPECT_EQ(setting(reports::PreviewSection, "XPos"), "31");

  // Another report's progress window has its own section; the preview
  // shares the one section and opens maximised whatever it holds.
  knobs().procedure = "Report:Other";
  print("CR-1");
  EXPECT_NE(progress()->rect().x, 17);
  readToTheEnd();
  EXPECT_TRUE(preview()->maximized());
  EXPECT_EQ(preview()->rect().x, 31);
  drv->close(*preview());
  knobs().procedure = "Report:EntryTest";
  print("CR-1");
  EXPECT_EQ(progress()->rect().x, 17);
  EXPECT_EQ(progress()->rect().y, 23);
  readToTheEnd();
  drv->close(*preview());
}

struct ZoomWatch final : PreviewObserver {
  std::vector<Zoom> zooms;
  std::vector<int> pages;
  void zoomChanged(PreviewSession& s) override { zooms.push_back(s.zoom()); }
  void pageChanged(PreviewSession& s) override { pages.push_back(s.page()); }
};

TEST_F(ReportTest, ThePreviewPagesZoomsAndPrintsAfterAFailedTry) {
  knobs().pageHeight = 1000;
  writer->add(entries(10));
  start();
  print("CR-1");
  readToTheEnd();
  Window& w = *preview();
  ZoomWatch watch;
  addPreviewObserver(&watch);
  EXPECT_EQ(w.control(PreviewPageText).text(), "Page 1 of 3");
  drv->click(w, PreviewNext);
  drv->click(w, PreviewLast);
  drv->click(w, PreviewNext);  // stays on the last
  drv->click(w, PreviewPrevious);
  drv->click(w, PreviewFirst);
  EXPECT_EQ(watch.pages, (std::vector<int>{2, 3, 2, 1}));
  EXPECT_EQ(w.control(PreviewPageText).text(), "Page 1 of 3");
  drv->choose(w, PreviewZoomList, "100% Zoom");
  drv->choose(w, PreviewZoomList, "Tile pages");
  EXPECT_EQ(watch.zooms, (std::vector<Zoom>{Zoom::Percent100, Zoom::TilePages}));

  // A cancelled printer dialog changes nothing; a failed print is told
  // and the preview stays; the next try prints every page and closes it.
  sink.answer = PrintOutcome{PrintOutcome::Kind::Cancelled, {}, {}, 0};
  drv->click(w, PreviewPrint);
  sink.answer = PrintOutcome{PrintOutcome::Kind::Failed, "LaserJet", "the printer is out of paper", 0};
  drv->answer(platform::BtnOk);
  drv->click(w, PreviewPrint);
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].text, "Printing to LaserJet failed: the printer is out of paper.");
  sink.answer.reset();
  drv->click(w, PreviewPrint);
  removePreviewObserver(&watch);
  EXPECT_EQ(preview(), nullptr);
  ASSERT_EQ(sink.printed.size(), 3u);
  EXPECT_EQ(sink.titles, std::vector<std::string>{"EntryTest Report"});
  EXPECT_EQ(sink.printed[2].text("?PAGECOUNT"), "PAGE 3");
  EXPECT_EQ(lastResponse, app::ResponseCompleted);
}

TEST_F(ReportTest, ClosingTheOtherThreadsEndsARunWhetherItReadsOrShowsItsPreview) {
  writer->add(entries(30));
  start();
  knobs().recordCost = 100;
  callerCase = "CR-1";
  drv->click(caller(), StartButton);
  drv->advance(ProgressTimer);
  ASSERT_NE(progress(), nullptr);
  drv->click(caller(), CloseButton);
  EXPECT_EQ(othersClosed, true);
  EXPECT_EQ(progress(), nullptr);
  EXPECT_EQ(preview(), nullptr);

  knobs().recordCost = 0;
  drv->click(caller(), StartButton);
  readToTheEnd();
  ASSERT_NE(preview(), nullptr);
  othersClosed.reset();
  drv->click(caller(), CloseButton);
  EXPECT_EQ(othersClosed, true);
  EXPECT_EQ(preview(), nullptr);
  EXPECT_EQ(app::programThreads().size(), 1u);
  EXPECT_EQ(pageFilesLeft(), 0);
}

}  // namespace
}  // namespace reporttest
