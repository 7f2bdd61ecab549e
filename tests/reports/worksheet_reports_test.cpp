// The four worksheet reports through the driver: called directly from a
// window as a worksheet's print button calls them, and from the frame's
// menu on a thread of their own. Each run's pages are read from its preview
// as it opens.

#include "reports/worksheet_reports.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/password_windows.h"
#include "platform/fiber/thread.h"
#include "platform/report/paint.h"
#include "tests/reports/report_fixture.h"

namespace reporttest {
namespace {

using namespace dictionary;
using namespace platform::report;
using Values = Writer::Values;

// Keeps the pages of every preview that opens, and checks that nothing on
// them reaches beyond the printable area.
struct Pages final : PreviewObserver {
  std::vector<Page> pages;
  int shown = 0;
  void previewOpened(PreviewSession& s) override {
    ++shown;
    pages.clear();
    for (int p = 1; p <= s.pageCount(); ++p) pages.push_back(s.pages().read(p));
    for (const Page& page : pages) {
      const platform::Rect area = page.printable();
      EXPECT_EQ(page.width, LetterLong) << "landscape";
      for (const PageItem& i : page.items) {
        EXPECT_GE(i.rect.x, area.x) << i.name;
        EXPECT_GE(i.rect.y, area.y) << i.name;
        EXPECT_LE(i.rect.x + i.rect.width, area.x + area.width) << i.name;
        EXPECT_LE(i.rect.y + i.rect.height, area.y + area.height) << i.name;
      }
    }
  }
  // The texts of every item named `name`, page after page.
  std::vector<std::string> texts(const std::string& name) const {
    std::vector<std::string> out;
    for (const Page& p : pages)
      for (const PageItem* i : p.all(name)) out.push_back(i->text);
    return out;
  }
  const Page& last() const { return pages.back(); }
};

class WorksheetTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    addPreviewObserver(&seen);
  }
  void TearDown() override {
    removePreviewObserver(&seen);
    ReportTest::TearDown();
  }
  // Calls `report` for `caseNumber` from the caller, as a print button does,
  // and reads to the end of the run.
  void run(void (*report)(const std::string&), const std::string& caseNumber) {
    knobs().report = report;
    print(caseNumber);
    readToTheEnd();
  }
  void closePreview() {
    ASSERT_NE(preview(), nullptr);
    drv->click(*preview(), PreviewClose);
  }
  Pages seen;
};

Values inCourt(const std::string& caseNumber, const std::string& description, const std::string& trial,
               const std::string& amount) {
  return {{HOU_CASENUMBER, caseNumber},
          {HOU_BRIEFDESCRIPTIONSERVICES, description},
          {HOU_TRIAL, trial},
          {HOU_IN_TOTALHOURS, trial},
          {HOU_TOTALSECTION_INCOURT, amount}};
}

TEST_F(WorksheetTest, TheInCourtWorksheetRunsOverPagesWithItsSumsOnceUnderTheLastLine) {
  // The case's rate is 150 now; its entries were priced at 100.
  writer->addCase("CR-1", "United States v. Doe", "150");
  std::vector<Values> rows;
  for (int i = 1; i <= 30; ++i) rows.push_back(inCourt("CR-1", "Hearing " + std::to_string(i), "1.5", "150.00"));
  const std::string longText =
      "Evidentiary hearing on the motion to suppress, with the examination of both arresting officers, the "
      "argument of counsel and the ruling from the bench on every point raised";
  rows.push_back(inCourt("CR-1", longText, "1.5", "150.00"));
  rows.push_back(inCourt("cr-1 ", "Withdrawn appearance", "-1.0", "-100.00"));  // the key's own compare
  rows.push_back(inCourt("CR-1", "Hours without an amount", "2.0", "0"));
  rows.push_back({{HOU_CASENUMBER, "CR-1"},
                  {HOU_ARRAIGNMENTPLEA, "0.5"},
                  {HOU_BAILHEARINGS, "0.2"},
                  {HOU_IN_TOTALHOURS, "0.7"},
                  {HOU_TOTALSECTION_INCOURT, "70.00"}});
  rows.push_back(inCourt("CR-2", "Another case", "3.0", "300.00"));
  writer->addEntries(rows);
  const auto entriesBefore = writer->entries();
  const auto casesBefore = writer->cases();
  start();
  run(reports::PRT_InCOURT, "CR-1");

  ASSERT_EQ(seen.shown, 1);
  ASSERT_GE(seen.pages.size(), 2u);
  EXPECT_TRUE(preview()->maximized());
  EXPECT_EQ(preview()->control(PreviewZoomList).selected(), static_cast<int>(Zoom::PageWidth));
  for (const Page& p : seen.pages) {
    SCOPED_TRACE(p.number);
    EXPECT_EQ(p.text("?REPORTTITLE"), "IN-COURT WORKSHEET");
    EXPECT_EQ(p.text("?ENCLOSURE"), "ENCLOSURE:");
    EXPECT_EQ(p.text("?PAGECOUNT"), "PAGE " + std::to_string(p.number));
    // The case's own record, not the caller's buffer.
    EXPECT_EQ(p.text("?CCS:CASENAME"), "United States v. Doe");
    EXPECT_EQ(p.text("?CASENAMEPROMPT"), "CASE NAME:");
    EXPECT_EQ(p.text("?CASENUMBERPROMPT"), "CASE NUMBER:");
    EXPECT_FALSE(p.text("?HOU:CASENUMBER").empty());
    EXPECT_EQ(p.text("?REPORTDATEPROMPT"), "Date:");
    EXPECT_EQ(p.text("?REPORTTIMEPROMPT"), "Time:");
    EXPECT_EQ(p.text("?HEADING3"), "Arraignment");
    EXPECT_EQ(p.text("?HEADING3B"), "and/or Plea");
    if (p.number < static_cast<int>(seen.pages.size())) {
      EXPECT_EQ(p.find("?PAGETOTAL"), nullptr);
    }
  }
  EXPECT_EQ(seen.texts("?PAGETOTAL"), std::vector<std::string>{"PAGE TOTAL:"});
  // 33 lines: the entry without an amount is skipped, the negative one kept.
  EXPECT_EQ(seen.texts("?HOU:DATE").size(), 33u);
  const std::vector<std::string> trials = seen.texts("?HOU:TRIAL");
  EXPECT_EQ(std::count(trials.begin(), trials.end(), "-1.0"), 1);
  EXPECT_EQ(std::count(trials.begin(), trials.end(), "2.0"), 0);
  const Page& last = seen.last();
  EXPECT_EQ(last.text("?HOU:TRIAL:2"), "45.5");
  EXPECT_EQ(last.text("?HOU:ARRAIGNMENTPLEA:2"), "0.5");
  EXPECT_EQ(last.text("?HOU:BAILHEARINGS:2"), "0.2");
  EXPECT_EQ(last.text("?HOU:OTHERIN:2"), "");
  EXPECT_EQ(last.text("?HOURLYRATEPROMPT"), "Hourly Rate:");
  EXPECT_EQ(last.text("?CCS:HOURLYRATE"), "$150.00");
  EXPECT_EQ(last.text("?HOURSPROMPT"), "Amount of Hours Worked:");
  EXPECT_EQ(last.text("?HOU:IN_TOTALHOURS"), "46.2");
  // The stored amounts, not the hours at today's rate.
  EXPECT_EQ(last.text("?AMOUNTBILLEDPROMPT"), "Amount Billed:");
  EXPECT_EQ(last.text("?HOU:TOTALSECTION_INCOURT"), "$4,620.00");

  // The long description wraps in its column and its line grows; the
  // next line starts under it.
  for (const Page& p : seen.pages) {
    const std::vector<const PageItem*> texts = p.all("?HOU:BRIEFDESCRIPTIONSERVICES");
    const std::vector<const PageItem*> dates = p.all("?HOU:DATE");
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (texts[i]->text.find("Evidentiary") != 0) continue;
      EXPECT_NE(texts[i]->text.find('\n'), std::string::npos);
      std::string joined = texts[i]->text;
      std::replace(joined.begin(), joined.end(), '\n', ' ');
      EXPECT_EQ(joined, longText);
      ASSERT_LT(i + 1, dates.size());
      EXPECT_GE(dates[i + 1]->rect.y, texts[i]->rect.y + texts[i]->rect.height);
    }
  }

  drv->click(*preview(), PreviewPrint);
  EXPECT_EQ(preview(), nullptr);
  EXPECT_EQ(sink.printed.size(), seen.pages.size());
  EXPECT_EQ(sink.titles, std::vector<std::string>{"InCourtSheet Report"});
  EXPECT_EQ(lastResponse, app::ResponseCompleted);
  EXPECT_EQ(stateAfter, stateBefore);
  EXPECT_EQ(writer->entries(), entriesBefore);
  EXPECT_EQ(writer->cases(), casesBefore);
  EXPECT_EQ(setting("PRT_InCOURT", "XPos").has_value(), true);
}

// Which entries each worksheet prints, and what its lines and sums show.
TEST_F(WorksheetTest, EachWorksheetPrintsOrSkipsAnEntryByItsOwnRule) {
  writer->addCase("CR-5", "United States v. Roe", "100");
  auto entry = [](const std::string& description, Values values) {
    values.push_back({HOU_CASENUMBER, "CR-5"});
    values.push_back({HOU_BRIEFDESCRIPTIONSERVICES, description});
    values.push_back({HOU_BRIEFDESCRIPTIONSERVICES3, description});
    return values;
  };
  writer->addEntries({
      entry("in-court zero", {{HOU_TRIAL, "2.0"}, {HOU_IN_TOTALHOURS, "2.0"}}),
      entry("in-court negative",
            {{HOU_TRIAL, "-1.0"}, {HOU_IN_TOTALHOURS, "-1.0"}, {HOU_TOTALSECTION_INCOURT, "-100"}}),
      entry("out-of-court zero", {{HOU_TRAVELTIME, "1.0"}, {HOU_OUT_TOTALHOURS, "1.0"}}),
      entry("out-of-court",
            {{HOU_LEGALRESEARCH, "3.0"}, {HOU_OUT_TOTALHOURS, "3.0"}, {HOU_TOTALSECTION_OUTCOURT, "300.00"}}),
      // Miles whose stored amounts are stale: recomputed, 0.485 x 37 = 17.95.
      entry("stale mileage", {{HOU_MILAGERATE, "0.485"}, {HOU_MILEAGE, "37"}}),
      // A stored expense total with nothing under it recomputes to 0.
      entry("stale total", {{HOU_TOTALSECTION, "12.00"}, {HOU_TOTALSECTIONOTHER, "12.00"}}),
      entry("zero mileage", {{HOU_MILAGERATE, "0.485"}, {HOU_PARKING, "3.00"}, {HOU_TOTALSECTION, "3.00"}}),
  });
  const auto fileBefore = writer->entries();
  struct Case {
    const char* what;
    void (*report)(const std::string&);
    const char* descriptionControl;
    std::vector<std::string> printed;
    // control: the texts of its items, page after page, joined by '|'
    std::map<std::string, std::string> shows;
  };
  const Case cases[] = {
      {"in court",
       reports::PRT_InCOURT,
       "?HOU:BRIEFDESCRIPTIONSERVICES",
       {"in-court negative"},
       {{"?REPORTTITLE", "IN-COURT WORKSHEET"},
        {"?HOU:TRIAL", "-1.0"},
        {"?HOU:TRIAL:2", "-1.0"},
        {"?HOU:TOTALSECTION_INCOURT", "-$100.00"},
        {"?CCS:HOURLYRATE", "$100.00"}}},
      {"out of court",
       reports::PRT_OutCOURT,
       "?HOU:BRIEFDESCRIPTIONSERVICES",
       {"out-of-court"},
       {{"?REPORTTITLE", "OUT-OF-COURT HOURLY WORKSHEET"},
        {"?HEADING5", "Legal Research"},
        {"?HEADING5B", "& Brief Writing"},
        {"?HOU:LEGALRESEARCH", "3.0"},
        {"?HOU:LEGALRESEARCH:2", "3.0"},
        {"?HOU:TRAVELTIME:2", ""},
        {"?HOU:OUT_TOTALHOURS", "3.0"},
        {"?HOU:TOTALSECTION_OUTCOURT", "$300.00"},
        {"?CCS:HOURLYRATE", "$100.00"}}},
      {"other expenses",
       reports::PRT_OTHER,
       "?HOU:BRIEFDESCRIPTIONSERVICES3",
       {"stale mileage", "zero mileage"},
       {{"?REPORTTITLE", "OTHER EXPENSE WORKSHEET"},
        {"?HEADING3", "Mileage rate"},
        // a zero mileage amount shows, a zero expense is blank
        {"?HOU:MILAGERATE", "0.485|0.485"},
        {"?HOU:TOTALMILAGE:2", "17.95|0.00"},
        {"?HOU:MEALS", ""},
        {"?HOU:PARKING", "$3.00"},
        {"?HOU:TOTALMILAGE", "17.95"},
        {"?HOU:PARKING:2", "$3.00"},
        {"?HOU:MEALS:2", ""},
        {"?TRAVELPROMPT", "Travel Expenses: "},
        {"?TRAVELNOTE", "(lodging, parking, meals, mileage, etc.)"},
        {"?HOU:TOTALSECTIONTRAVEL", "$20.95"},
        {"?OTHERPROMPT", "Other Expenses:"},
        {"?OTHERNOTE", "(other than expert, transcripts, etc.)"},
        {"?HOU:TOTALSECTIONOTHER", ""},
        {"?HOU:TOTALSECTION", "$20.95"}}},
      {"no expenses",
       reports::PRT_OTHER_NON,
       "?HOU:BRIEFDESCRIPTIONSERVICES3",
       {},
       {{"?REPORTTITLE", "OTHER EXPENSE WORKSHEET"},
        {"?HEADING3", "Mileage"},
        {"?NONE", "NONE"},
        {"?TRAVELPROMPT", "Travel Expenses: "},
        {"?AMOUNTBILLEDPROMPT", "Amount Billed:"},
        {"?AMOUNTBILLED", "0."},
        {"?PAGECOUNT", "PAGE 1"}}},
  };
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    run(c.report, "CR-5");
    ASSERT_EQ(seen.pages.size(), 1u);
    EXPECT_EQ(seen.texts(c.descriptionControl), c.printed);
    EXPECT_EQ(seen.texts("?PAGETOTAL").size(), c.printed.empty() ? 0u : 1u);
    for (const auto& [control, text] : c.shows) {
      std::string all;
      for (const std::string& t : seen.texts(control)) all += (all.empty() ? "" : "|") + t;
      EXPECT_EQ(all, text) << control;
    }
    closePreview();
    EXPECT_EQ(lastResponse, app::ResponseCompleted);
    EXPECT_EQ(stateAfter, stateBefore);
  }
  EXPECT_EQ(writer->entries(), fileBefore);
}

TEST_F(WorksheetTest, AMileageAmountTooLargeForItsFieldAndEverySumWithItPrintAsHashes) {
  writer->addCase("CR-6", "United States v. Poe");
  writer->addEntries({
      {{HOU_CASENUMBER, "CR-6"}, {HOU_MILAGERATE, "2.000"}, {HOU_MILEAGE, "60000"}, {HOU_PARKING, "1.00"}},
      {{HOU_CASENUMBER, "CR-6"}, {HOU_POSTAGE, "2.50"}},
  });
  start();
  run(reports::PRT_OTHER, "CR-6");
  ASSERT_EQ(seen.pages.size(), 1u);
  EXPECT_EQ(seen.texts("?HOU:TOTALMILAGE:2"), (std::vector<std::string>{"##########", "0.00"}));
  const Page& p = seen.last();
  EXPECT_EQ(p.text("?HOU:TOTALMILAGE"), "##########");
  EXPECT_EQ(p.text("?HOU:TOTALSECTIONTRAVEL"), std::string(17, '#'));
  EXPECT_EQ(p.text("?HOU:TOTALSECTION"), std::string(17, '#'));
  // What did not add the overflowed amount prints as it is.
  EXPECT_EQ(p.text("?HOU:PARKING:2"), "$1.00");
  EXPECT_EQ(p.text("?HOU:TOTALSECTIONOTHER"), "$2.50");
  closePreview();
}

TEST_F(WorksheetTest, NoExpensesPrintsOnePageForEveryCaseWhateverItsEntries) {
  writer->addCase("CR-0", "United States v. Nobody");
  writer->addCase("CR-50", "United States v. Many");
  std::vector<Values> rows;
  for (int i = 0; i < 50; ++i)
    rows.push_back({{HOU_CASENUMBER, "CR-50"}, {HOU_PARKING, "4.00"}, {HOU_TOTALSECTION, "4.00"}});
  rows.push_back({{HOU_CASENUMBER, "CR-ORPHAN"}, {HOU_MEALS, "9.00"}});
  writer->addEntries(rows);
  struct Case {
    std::string number, name;
  };
  const Case cases[] = {{"CR-0", "United States v. Nobody"}, {"CR-50", "United States v. Many"}, {"CR-ORPHAN", ""}};
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    run(reports::PRT_OTHER_NON, c.number);
    ASSERT_EQ(seen.pages.size(), 1u);
    const Page& p = seen.last();
    EXPECT_EQ(p.text("?HOU:CASENUMBER"), c.number);
    EXPECT_EQ(p.text("?CCS:CASENAME"), c.name);
    EXPECT_EQ(p.text("?NONE"), "NONE");
    EXPECT_EQ(p.text("?AMOUNTBILLED"), "0.");
    EXPECT_EQ(p.all("?FOOTERBAR").size(), 1u);
    EXPECT_EQ(p.find("?HOU:PARKING"), nullptr);
    closePreview();
    EXPECT_EQ(lastResponse, app::ResponseCompleted);
    EXPECT_EQ(stateAfter, stateBefore);
  }
  EXPECT_TRUE(drv->messages().empty());
}

// Every way a worksheet run ends leaves the caller as it was and answers
// as it ended.
TEST_F(WorksheetTest, EveryWayOutLeavesTheCallerAsItWasAndAnswersAsItEnded) {
  struct Way {
    const char* what;
    void (*report)(const std::string&);
    std::string caseNumber;
    std::function<void(WorksheetTest&)> act;
    int response;
    const char* message;  // the title of the one message shown, or ""
  };
  const Way ways[] = {
      {"a blank case", reports::PRT_InCOURT, "    ", [](WorksheetTest& t) { EXPECT_EQ(t.progress(), nullptr); }, 2, ""},
      {"a blank case, no expenses", reports::PRT_OTHER_NON, "", [](WorksheetTest&) {}, 2, ""},
      {"a case without entries", reports::PRT_InCOURT, "CR-9", [](WorksheetTest& t) { t.readToTheEnd(); }, 2,
       "No Records"},
      {"entries, none in court", reports::PRT_InCOURT, "CR-X", [](WorksheetTest& t) { t.readToTheEnd(); }, 2,
       "No Records"},
      {"entries, no expenses", reports::PRT_OTHER, "CR-1", [](WorksheetTest& t) { t.readToTheEnd(); }, 2, "No Records"},
      {"neither a case nor entries", reports::PRT_OTHER_NON, "CR-404", [](WorksheetTest& t) { t.readToTheEnd(); }, 2,
       "No Records"},
      {"cancelled", reports::PRT_OutCOURT, "CR-1",
       [](WorksheetTest& t) { t.drv->click(*t.progress(), ProgressCancel); }, 2, ""},
      {"the preview left", reports::PRT_OutCOURT, "CR-1",
       [](WorksheetTest& t) {
         t.readToTheEnd();
         t.drv->close(*t.preview());
       },
       1, ""},
      {"printed", reports::PRT_OutCOURT, "CR-1",
       [](WorksheetTest& t) {
         t.readToTheEnd();
         t.drv->click(*t.preview(), PreviewPrint);
       },
       1, ""},
      {"the print failed", reports::PRT_OutCOURT, "CR-1",
       [](WorksheetTest& t) {
         t.readToTheEnd();
         t.sink.answer =
             PrintOutcome{PrintOutcome::Kind::Failed, "/nowhere/sheet.pdf", "the file cannot be written", 0};
         t.drv->answer(platform::BtnOk);
         t.drv->click(*t.preview(), PreviewPrint);
         ASSERT_NE(t.preview(), nullptr);
         t.drv->click(*t.preview(), PreviewClose);
       },
       2, "Report Preview"},
  };
  writer->addCase("CR-1", "United States v. Doe", "100");
  writer->addCase("CR-9", "United States v. Empty", "100");
  std::vector<Values> rows;
  for (int i = 0; i < 40; ++i)
    rows.push_back({{HOU_CASENUMBER, "CR-1"}, {HOU_INVESTIGATION, "1.0"}, {HOU_TOTALSECTION_OUTCOURT, "100"}});
  rows.push_back({{HOU_CASENUMBER, "CR-X"}, {HOU_MEALS, "5.00"}, {HOU_TOTALSECTION, "5.00"}});
  writer->addEntries(rows);
  const auto entriesBefore = writer->entries();
  const auto casesBefore = writer->cases();
  start();
  for (const Way& w : ways) {
    SCOPED_TRACE(w.what);
    sink.answer.reset();
    knobs().report = w.report;
    const std::size_t messages = drv->messages().size();
    if (*w.message) drv->answer(platform::BtnOk);
    print(w.caseNumber);
    w.act(*this);
    EXPECT_EQ(progress(), nullptr);
    EXPECT_EQ(preview(), nullptr);
    EXPECT_EQ(lastResponse, w.response);
    EXPECT_EQ(stateAfter, stateBefore);
    EXPECT_EQ(stateAfter.procedures, std::vector<std::string>{"Caller"});
    ASSERT_EQ(drv->messages().size(), messages + (*w.message ? 1 : 0));
    if (*w.message) {
      EXPECT_EQ(drv->messages().back().title, w.message);
    }
  }
  EXPECT_EQ(drv->messages().back().text.find("/nowhere/sheet.pdf") != std::string::npos, true);
  EXPECT_EQ(writer->entries(), entriesBefore);
  EXPECT_EQ(writer->cases(), casesBefore);
}

// "Print by HOU:KeyCaseNumber key" in the frame's hidden menu: the in-court
// worksheet of the case G:CASENUMBER names at the click, on a thread of its
// own, with the case's name and rate from the case's record.
TEST_F(WorksheetTest, TheFramesItemPrintsTheInCourtWorksheetOfTheCaseOnAThreadOfItsOwn) {
  writer->addCase("CR-1", "United States v. Doe", "125");
  writer->addEntries({inCourt("CR-1", "Arraignment", "1.0", "125.00"), inCourt("CR-1", "Trial day", "6.0", "750.00")});
  const int frameThread = app::StartProgram(app::Main);
  ASSERT_NE(frameThread, 0);
  drv->settle();
  Window& gate = drv->window("Please enter your password");
  drv->edit(gate, app::gate::G_PASS, "vimbro");
  drv->click(gate, app::gate::BUTTON2);
  Window& frame = drv->window(app::FrameCaption);

  // The item is hidden: nothing shows it, but it works.
  auto choose = [&] {
    frame.post(platform::EventKind::Accepted, app::frame::REPORTHOURLYBYHOU_KEYCASENUMBER);
    drv->settle();
  };
  // Before any window has named a case: nothing at all.
  app::G_CASENUMBER().setText("");
  choose();
  EXPECT_EQ(progress(), nullptr);
  EXPECT_EQ(preview(), nullptr);
  EXPECT_TRUE(drv->messages().empty());

  app::G_CASENUMBER().setText("CR-1");
  choose();
  ASSERT_NE(progress(), nullptr);
  const int thread = progress()->thread();
  EXPECT_NE(thread, frameThread);
  EXPECT_EQ(platform::threadStackSize(thread), 50000u);
  // Another case named meanwhile does not change the run.
  app::G_CASENUMBER().setText("CR-2");
  readToTheEnd();
  ASSERT_EQ(seen.pages.size(), 1u);
  const Page& p = seen.last();
  EXPECT_EQ(p.text("?HOU:CASENUMBER"), "CR-1");
  EXPECT_EQ(p.text("?CCS:CASENAME"), "United States v. Doe");
  EXPECT_EQ(p.text("?CCS:HOURLYRATE"), "$125.00");
  EXPECT_EQ(p.text("?HOU:TOTALSECTION_INCOURT"), "$875.00");
  EXPECT_EQ(preview()->thread(), thread);
  closePreview();

  // Closing the frame during a run ends the run with the program.
  app::G_CASENUMBER().setText("CR-1");
  choose();
  ASSERT_NE(progress(), nullptr);
  drv->close(frame);
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(progress(), nullptr);
  EXPECT_EQ(preview(), nullptr);
  EXPECT_EQ(seen.shown, 1);
}

// Page 1 of a worksheet painted as the preview and the printer paint it:
// the black band of headings with its white texts, the lines and the sums
// on a white sheet. The image is kept in the build folder for people to
// look at.
TEST_F(WorksheetTest, PageOneOfAWorksheetPaintsAsItIsLaidOut) {
  writer->addCase("CR-2007-0142", "United States v. Okafor", "125");
  std::vector<Values> rows = {
      inCourt("CR-2007-0142", "Initial appearance and arraignment", "1.5", "187.50"),
      inCourt("CR-2007-0142",
              "Detention hearing: proffer by the government, cross-examination of the pretrial services officer and "
              "argument on conditions of release",
              "2.0", "250.00"),
      {{HOU_CASENUMBER, "CR-2007-0142"},
       {HOU_BRIEFDESCRIPTIONSERVICES, "Motion to suppress, hearing"},
       {HOU_MOTIONSREQUESTS, "3.2"},
       {HOU_IN_TOTALHOURS, "3.2"},
       {HOU_TOTALSECTION_INCOURT, "400.00"}},
      inCourt("CR-2007-0142", "Jury trial, day one", "7.5", "937.50"),
      inCourt("CR-2007-0142", "Jury trial, day two", "6.0", "750.00"),
      {{HOU_CASENUMBER, "CR-2007-0142"},
       {HOU_BRIEFDESCRIPTIONSERVICES, "Sentencing hearing"},
       {HOU_SENTENCEHEARINGS, "1.2"},
       {HOU_IN_TOTALHOURS, "1.2"},
       {HOU_TOTALSECTION_INCOURT, "150.00"}},
  };
  int day = 75100;  // from 10/15/2006 on
  for (Values& r : rows) r.push_back({HOU_DATE, std::to_string(day += 9)});
  writer->addEntries(rows);
  start();
  run(reports::PRT_InCOURT, "CR-2007-0142");
  ASSERT_EQ(seen.pages.size(), 1u);
  const Page& page = seen.pages[0];
  constexpr double dpi = 100;
  QImage image(static_cast<int>(page.width * dpi / 1000), static_cast<int>(page.height * dpi / 1000),
               QImage::Format_RGB32);
  image.fill(Qt::red);
  QPainter painter(&image);
  paintPage(painter, page, QRectF(0, 0, image.width(), image.height()));
  painter.end();
  auto at = [&](int x, int y) {
    return qGray(image.pixel(static_cast<int>(x * dpi / 1000), static_cast<int>(y * dpi / 1000)));
  };
  const PageItem* band = page.find("?HEADINGBAND");
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(at(band->rect.x + 10, band->rect.y + 10), 0);
  EXPECT_EQ(at(band->rect.x + band->rect.width - 10, band->rect.y + band->rect.height - 10), 0);
  EXPECT_EQ(at(100, 100), 255) << "the sheet is white outside the printable area";
  // White headings on the band: it is not all black.
  int light = 0;
  const int y0 = static_cast<int>(band->rect.y * dpi / 1000),
            y1 = static_cast<int>((band->rect.y + band->rect.height) * dpi / 1000);
  for (int y = y0 + 1; y < y1 - 1; ++y)
    for (int x = 0; x < image.width(); ++x) light += qGray(image.pixel(x, y)) > 128;
  EXPECT_GT(light, 100);
  const std::filesystem::path file = std::filesystem::path(LV_REVIEW_DIR) / "worksheet-page1.png";
  EXPECT_TRUE(image.save(QString::fromStdString(file.string()), "PNG")) << file;
  closePreview();
}

}  // namespace
}  // namespace reporttest
