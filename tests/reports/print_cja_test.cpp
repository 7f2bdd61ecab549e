// The claim-form attachment through the driver: the case joined with its
// entries, the rules applied to each entry, the twenty totals, the related
// entry of refresh and load-selection, the radio groups, the page's
// geometry, and the caller's records left as they were.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>

#include "platform/report/report_text.h"
#include "platform/report/text_metrics.h"
#include "platform/types/daynum.h"
#include "reports/claim_form.h"
#include "reports/print_cja.h"
#include "tests/reports/report_fixture.h"

namespace reporttest {
namespace {

using namespace platform::report;
using namespace dictionary;
using Fields = Writer::Fields;
using Fill = Writer::Fill;

// Keeps the pages of the preview that opened last.
struct PageKeeper final : PreviewObserver {
  std::vector<Page> pages;
  Zoom zoom = Zoom::PageWidth;
  void previewOpened(PreviewSession& s) override {
    pages.clear();
    zoom = s.zoom();
    for (int p = 1; p <= s.pageCount(); ++p) pages.push_back(s.pages().read(p));
  }
};

Fill caseFill(const std::string& number, const std::string& rate, std::function<void(const Fields&)> more = {}) {
  return [=](const Fields& f) {
    f(CCS_CASENUMBER).setText(number);
    f(CCS_CASENAME).setText("United States v. " + number);
    f(CCS_HOURLYRATE).setDecimal(*Decimal::parse(rate));
    if (more) more(f);
  };
}

// An entry of `caseNumber` with decimal fields set by number.
Fill entryFill(const std::string& caseNumber, std::map<int, std::string> values) {
  return [=](const Fields& f) {
    f(HOU_CASENUMBER).setText(caseNumber);
    for (const auto& [field, value] : values) f(field).setDecimal(*Decimal::parse(value));
  };
}

// The twenty totals of the claim block.
const std::vector<std::string>& totalNames() {
  static const std::vector<std::string> names = {
      "?HOU:ARRAIGNMENTPLEA",      "?HOU:BAILHEARINGS",      "?HOU:MOTIONSREQUESTS",     "?HOU:TRIAL",
      "?HOU:SENTENCEHEARINGS",     "?HOU:REVOCATIONHEARINGS", "?HOU:APPEALSCOURT",        "?HOU:OTHERIN",
      "?HOU:IN_TOTALHOURS",        "?HOU:TOTALSECTION_INCOURT", "?HOU:INTERVIEWSCONFERENCES", "?HOU:REVIEWRECORDS",
      "?HOU:LEGALRESEARCH",        "?HOU:TRAVELTIME",        "?HOU:INVESTIGATION",       "?HOU:OUT_TOTALHOURS",
      "?HOU:TOTALSECTION_OUTCOURT", "?HOU:TOTALSECTIONTRAVEL", "?HOU:TOTALSECTIONOTHER",   "?HOU:GRANDTOTAL",
  };
  return names;
}

class ClaimFormTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    knobs().report = reports::PRINT_CJA;
    knobs().progressCaption = "Report CaseCloseSummary";
    addPreviewObserver(&kept);
    // Each reading of the loop's clock may cost time.
    platform::scheduler().setTimeSource([this] {
      clock->spend(costPerReading);
      return (*clock)();
    });
  }
  void TearDown() override {
    removePreviewObserver(&kept);
    ReportTest::TearDown();
  }

  // Prints the case through the preview, which it leaves; the one page.
  Page printed(const std::string& caseNumber) {
    kept.pages.clear();
    print(caseNumber);
    readToTheEnd();
    EXPECT_NE(preview(), nullptr);
    if (preview()) drv->close(*preview());
    EXPECT_EQ(lastResponse, app::ResponseCompleted);
    EXPECT_EQ(kept.pages.size(), 1u);
    return kept.pages.empty() ? Page{} : kept.pages.front();
  }

  PageKeeper kept;
  platform::Scheduler::Centis costPerReading = 0;
};

TEST_F(ClaimFormTest, ACaseWithoutEntriesPrintsItsDataWithEveryTotalBlankAndLeavesTheCallerAsItWas) {
  writer->addCaseWith(caseFill("CR-1", "125", [](const Fields& f) {
    f(CCS_ATTORNEY).setText("Jane Roe");
    f(CCS_CERTIFICATIONFROM).setDay(platform::dayNumber(2007, 3, 1));
    f(CCS_CERTIFICATIONTO).setDay(platform::dayNumber(2007, 4, 30));
    f(CCS_APPOINTMENTDATE2).setDay(0);
    f(CCS_CASEDISPOSITION).setText("04");
    f(CCS_PAYMENTNUMBER).setText("3");
    f(CCS_DATESIGNTAURE).setDay(platform::dayNumber(2007, 5, 2));
  }));
  // The caller holds an entry of another case in its buffer.
  writer->addCaseWith(caseFill("CR-2", "90"));
  writer->addEntriesWith({entryFill("CR-2", {{HOU_TRIAL, "4.0"}, {HOU_PARKING, "12.00"}})});
  knobs().callerEntryCase = "CR-2";
  const auto entriesBefore = writer->entries();
  const auto casesBefore = writer->cases();
  start();
  print("CR-1");
  drv->move(*progress(), 41, 43);
  readToTheEnd();
  ASSERT_NE(preview(), nullptr);
  EXPECT_EQ(kept.zoom, Zoom::TilePages);
  drv->close(*preview());
  EXPECT_EQ(lastResponse, app::ResponseCompleted);
  EXPECT_EQ(stateAfter, stateBefore);
  EXPECT_EQ(stateAfter.entry[HOURLYLayout().field(HOU_CASENUMBER).offset], 'C');
  EXPECT_EQ(setting("PRINT_CJA", "XPos"), "41");
  EXPECT_EQ(writer->entries(), entriesBefore);
  EXPECT_EQ(writer->cases(), casesBefore);

  ASSERT_EQ(kept.pages.size(), 1u);
  const Page& p = kept.pages[0];
  EXPECT_EQ(p.width, LetterLong);  // landscape
  EXPECT_EQ(p.text("?TITLE"),
            "THIS IS AN ATTACHMENT TO CJA 20 APPOINTMENT OF AND AUTHORITY TO PAY COURT APPOINTED COUNSEL");
  EXPECT_EQ(p.text("?RULE1"), std::string(155, '-'));
  EXPECT_EQ(p.text("?RULE2"), std::string(155, '-'));
  EXPECT_EQ(p.text("?CCS:CASENAME"), "United States v. CR-1");
  EXPECT_EQ(p.text("?CCS:CASENUMBER"), "CR-1");
  EXPECT_EQ(p.text("?CCS:ATTORNEY"), "Jane Roe");
  EXPECT_EQ(p.find("?PAGECOUNT"), nullptr);
  EXPECT_EQ(p.text("?CCS:HOURLYRATE"), "$125.00");
  EXPECT_EQ(p.text("?CCS:HOURLYRATE:2"), "$125.00");
  EXPECT_EQ(p.text("?CCS:CERTIFICATIONFROM"), "3/1/2007");
  EXPECT_EQ(p.text("?CCS:CERTIFICATIONTO"), "4/30/2007");
  EXPECT_EQ(p.text("?CCS:APPOINTMENTDATE2"), "");
  EXPECT_EQ(p.text("?CCS:CASEDISPOSITION"), "04");
  EXPECT_EQ(p.text("?CCS:PAYMENTNUMBER"), "3");
  EXPECT_EQ(p.text("?CCS:DATESIGNTAURE"), "05/02/2007");
  for (const std::string& name : totalNames()) {
    SCOPED_TRACE(name);
    ASSERT_NE(p.find(name), nullptr);
    EXPECT_EQ(p.text(name), "");  // zero, under a picture that shows it blank
  }
  for (const char* text : {"CLAIM FOR SERVICES AND EXPENSES", "FOR COURT USE ONLY",
                           "GRAND TOTALS (CLAIMED AND ADJUSTED):", "APPROVED FOR PAYMENT - COURT USE ONLY"}) {
    auto it = std::find_if(p.items.begin(), p.items.end(), [&](const PageItem& i) { return i.text == text; });
    ASSERT_NE(it, p.items.end()) << text;
    EXPECT_EQ(it->color, White) << text;
    EXPECT_TRUE(it->font.bold) << text;
  }
  // Every text of the block, whole (none cut at its box).
  for (const char* text :
       {"CATEGORIES (Attach itemization of services with dates)", "HOURS", "CLAIMED", "TOTAL AMOUNT", "MATH/TECH",
        "ADJUSTED", "AMOUNT", "ADDITIONAL", "REVIEW", "15.", "IN-COURT", "a. Arraignment and/or Plea",
        "b. Bail and Detention Hearings", "c. Motion Hearings", "d. Trial", "e. Sentencing Hearings",
        "f. Revocation Hearings", "g. Appeals Court", "h. Other (Specify on additional sheets)", "Rate per hour:",
        "TOTALS:", "16.", "OUT-OF-COURT", "a. Interviews and Conferences", "b. Obtaining and reviewing records",
        "c. Legal research and brief writing", "d. Travel time", "e. Investigative and Other work", "17.",
        "Travel Expenses", "(lodging, parking, meals, mileage, etc.)", "18.", "Other Expenses",
        "(other than expert, transcripts, etc.)", "19.", "CERTIFICATION OF ATTORNEY/PAYEE FOR THE PERIOD OF SERVICE",
        "FROM:", "TO:", "20.", "APPOITMENT TERMINATION DATE IF OTHER ", "THAN CASE COMPLETION", "21.",
        "CASE DISPOSITION", "22.", "CLAIM STATUS", "Final Payment", "Interim Payment Number", "Supplemental Payment",
        "Have you previously applied to the court for compensation and/or reimbursement for this case?",
        "If yes, were you paid?", "YES", "NO", "If yes, give details on additional sheets.",
        "I swear or affirm the truth or correctness of the above statements", "Signature of Attorney:", "Date:",
        "23.", "IN COURT COMP.", "24.", "OUT OF COURT COMP.", "25.", "TRAVEL EXPENSES", "26.", "OTHER EXPENSES", "27.",
        "TOTAL AMT. APPR/CERT", "28.", "SIGNATURE OF THE PRESIDING JUDICIAL OFFICER", "DATE", "28a.",
        "JUDGE / MAG. JUDGE CODE", "29.", "30.", "31.", "32.", "33.", "TOTAL AMT. APPROVED", "34.",
        "SIGNATURE OF CHIEF JUDGE, COURT OF APPEALS (OR DELEGATE) Payment",
        "approved in excess of the statutory threshold amount.", "34a.", "Time:", "CASE:", "CASE NUMBER:",
        "ATTORNEY:"}) {
    EXPECT_NE(std::find_if(p.items.begin(), p.items.end(), [&](const PageItem& i) { return i.text == text; }),
              p.items.end())
        << text;
  }
  const std::string question3 = p.text("?QUESTION3");
  EXPECT_EQ(question3.substr(0, 26), "Other than from the court,");
  EXPECT_EQ(question3.substr(question3.size() - 20), "this representation?") << question3;
  // The grey cells: the amounts of the 13 categories and the hours of 17 and 18.
  EXPECT_EQ(std::count_if(p.items.begin(), p.items.end(),
                          [](const PageItem& i) { return i.kind == ItemKind::Box && i.fill == platform::rgb(192, 192, 192); }),
            15);
  EXPECT_EQ(p.find("?INCOURTLABEL")->angle, 900);
  EXPECT_EQ(p.find("?OUTOFCOURTLABEL")->text, "OUT-OF-COURT");
}

TEST_F(ClaimFormTest, EachEntryIsPricedAfreshAtTheCasesRateAndTheBlockSumsTheRoundedResults) {
  struct Case {
    const char* what;
    std::string rate;
    std::vector<std::map<int, std::string>> entries;
    std::map<std::string, std::string> expected;  // item, text
  };
  const Case cases[] = {
      {"0.3 + 0.3 at 33.35: 10.005 is stored as 10.01 twice",
       "33.35",
       {{{HOU_TRIAL, "0.3"}}, {{HOU_TRIAL, "0.3"}}},
       {{"?HOU:TRIAL", "0.6"},
        {"?HOU:IN_TOTALHOURS", "0.6"},
        {"?HOU:TOTALSECTION_INCOURT", "$20.02"},
        {"?HOU:GRANDTOTAL", "$20.02"}}},
      {"stored at 10.01 each under 33.35, printed at the case's 33.45 now",
       "33.45",
       {{{HOU_ARRAIGNMENTPLEA, "0.3"}, {HOU_TOTALSECTION_INCOURT, "10.01"}, {HOU_GRANDTOTAL, "10.01"}},
        {{HOU_ARRAIGNMENTPLEA, "0.3"}, {HOU_TOTALSECTION_INCOURT, "10.01"}, {HOU_GRANDTOTAL, "10.01"}}},
       {{"?HOU:TOTALSECTION_INCOURT", "$20.08"}, {"?HOU:GRANDTOTAL", "$20.08"}}},
      {"stale amounts: a mileage amount never computed, an out-of-court amount from another rate",
       "100",
       {{{HOU_MILAGERATE, "0.485"}, {HOU_MILEAGE, "37"}, {HOU_MEALS, "10.00"}, {HOU_TOTALMILAGE, "0"},
         {HOU_TOTALSECTIONTRAVEL, "10.00"}},
        {{HOU_LEGALRESEARCH, "1.5"}, {HOU_TOTALSECTION_OUTCOURT, "99.00"}, {HOU_OUT_TOTALHOURS, "9.9"}}},
       {{"?HOU:TOTALSECTIONTRAVEL", "$27.95"},
        {"?HOU:LEGALRESEARCH", "1.5"},
        {"?HOU:OUT_TOTALHOURS", "1.5"},
        {"?HOU:TOTALSECTION_OUTCOURT", "$150.00"},
        {"?HOU:GRANDTOTAL", "$177.95"}}},
      {"expenses only add to travel, other and the grand total",
       "100",
       {{{HOU_PARKING, "5.00"}, {HOU_COPYING, "2.25"}, {HOU_TELEGRAMS, "0.75"}}},
       {{"?HOU:TOTALSECTIONTRAVEL", "$5.00"},
        {"?HOU:TOTALSECTIONOTHER", "$3.00"},
        {"?HOU:GRANDTOTAL", "$8.00"},
        {"?HOU:IN_TOTALHOURS", ""},
        {"?HOU:OUT_TOTALHOURS", ""}}},
      {"hours only add nothing to the expenses; every category and rule",
       "10.05",
       {{{HOU_BAILHEARINGS, "0.5"}, {HOU_INTERVIEWSCONFERENCES, "0.5"}},
        {{HOU_MOTIONSREQUESTS, "1.0"}, {HOU_SENTENCEHEARINGS, "1.0"}, {HOU_REVOCATIONHEARINGS, "1.0"},
         {HOU_APPEALSCOURT, "1.0"}, {HOU_OTHERIN, "1.0"}, {HOU_REVIEWRECORDS, "-0.5"}, {HOU_TRAVELTIME, "2.0"},
         {HOU_INVESTIGATION, "1.0"}}},
       {{"?HOU:BAILHEARINGS", "0.5"},
        {"?HOU:OTHERIN", "1.0"},
        {"?HOU:IN_TOTALHOURS", "5.5"},
        {"?HOU:TOTALSECTION_INCOURT", "$55.28"},  // 5.03 + 50.25
        {"?HOU:REVIEWRECORDS", "-0.5"},
        {"?HOU:OUT_TOTALHOURS", "3.0"},
        {"?HOU:TOTALSECTION_OUTCOURT", "$30.16"},  // 5.03 + 25.13
        {"?HOU:TOTALSECTIONTRAVEL", ""},
        {"?HOU:TOTALSECTIONOTHER", ""},
        {"?HOU:GRANDTOTAL", "$85.44"}}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string number = "CR-" + std::to_string(++n);
    writer->addCaseWith(caseFill(number, c.rate));
    std::vector<Fill> fills;
    for (const auto& e : c.entries) fills.push_back(entryFill(number, e));
    writer->addEntriesWith(fills);
  }
  // Another case's entry between them in the file changes nothing.
  writer->addEntriesWith({entryFill("CR-10", {{HOU_TRIAL, "7.0"}})});
  start();
  n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Page p = printed("CR-" + std::to_string(++n));
    for (const auto& [item, text] : c.expected) EXPECT_EQ(p.text(item), text) << item;
    EXPECT_EQ(stateAfter, stateBefore);
  }
}

TEST_F(ClaimFormTest, RefreshAndLoadSelectionBetweenOneEntryBatchesLeaveEveryTotalExact) {
  writer->addCaseWith(caseFill("CR-1", "33.35"));
  std::vector<Fill> fills;
  for (int i = 0; i < 7; ++i) fills.push_back(entryFill("CR-1", {{HOU_TRIAL, "0.3"}, {HOU_PARKING, "1.10"}}));
  writer->addEntriesWith(fills);
  writer->addEntriesWith({entryFill("CR-0", {{HOU_TRIAL, "5.0"}})});
  start();
  // Each timer event takes a whole time slice: the batch stays at one row.
  costPerReading = platform::report::ReportController::TimeSlice;
  print("CR-1");
  Window& w = *progress();
  platform::WindowController* window = platform::WindowController::inEventLoop(w);
  ASSERT_NE(window, nullptr);
  int ticks = 0;
  while (progress() && ticks < 100) {
    window->Refresh(true);
    window->LoadSelection();
    drv->advance(ProgressTimer);
    ++ticks;
  }
  costPerReading = 0;
  EXPECT_EQ(ticks, 7);
  ASSERT_NE(preview(), nullptr);
  drv->close(*preview());
  ASSERT_EQ(kept.pages.size(), 1u);
  const Page& p = kept.pages[0];
  EXPECT_EQ(p.text("?HOU:TRIAL"), "2.1");
  EXPECT_EQ(p.text("?HOU:TOTALSECTION_INCOURT"), "$70.07");  // 7 x 10.01
  EXPECT_EQ(p.text("?HOU:TOTALSECTIONTRAVEL"), "$7.70");
  EXPECT_EQ(p.text("?HOU:GRANDTOTAL"), "$77.77");
}

TEST_F(ClaimFormTest, AResultThatDoesNotFitItsFieldMarksEveryTotalThatSumsIt) {
  writer->addCaseWith(caseFill("CR-1", "100"));
  writer->addEntriesWith({
      // 2.000 x 60000 miles = 120000.00: more than the mileage amount holds.
      entryFill("CR-1", {{HOU_MILAGERATE, "2.000"}, {HOU_MILEAGE, "60000"}, {HOU_COPYING, "1.00"}}),
      entryFill("CR-1", {{HOU_TRIAL, "1.0"}, {HOU_MEALS, "3.00"}}),
  });
  start();
  const Page p = printed("CR-1");
  EXPECT_EQ(p.text("?HOU:TOTALSECTIONTRAVEL"), OverflowMark(platform::Picture::of("N$-17.2B")));
  EXPECT_EQ(p.text("?HOU:GRANDTOTAL"), OverflowMark(platform::Picture::of("N$-17.2B")));
  // What does not read the mileage amount is known.
  EXPECT_EQ(p.text("?HOU:TOTALSECTIONOTHER"), "$1.00");
  EXPECT_EQ(p.text("?HOU:TOTALSECTION_INCOURT"), "$100.00");
  EXPECT_EQ(p.text("?HOU:TRIAL"), "1.0");
}

TEST_F(ClaimFormTest, AFailedReadOfTheEntriesShowsRecordRetrievalErrorAndEndsCancelled) {
  writer->addCaseWith(caseFill("CR-1", "10"));
  std::vector<Fill> many(300, entryFill("CR-1", {{HOU_TRIAL, "1.0"}}));
  writer->addEntriesWith(many);
  start();
  costPerReading = platform::report::ReportController::TimeSlice;  // one row an event
  print("CR-1");
  drv->advance(ProgressTimer);
  // The entry file goes bad under the run, before its next read-ahead.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "HOURLY.lvd").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "ALTER TABLE records RENAME TO gone", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  drv->answer(platform::BtnOk);
  for (int i = 0; i < 400 && progress(); ++i) drv->advance(ProgressTimer);
  EXPECT_EQ(progress(), nullptr);
  EXPECT_EQ(preview(), nullptr);
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].title, "Record Retrieval Error");
  EXPECT_EQ(lastResponse, app::ResponseCancelled);
}

TEST_F(ClaimFormTest, TheRadioGroupsMarkTheButtonWhoseTextTheFieldHolds) {
  struct Row {
    const char* status;
    const char* answer;  // of the three questions
    int statusChosen;    // 0: none
    int answerChosen;
  };
  const Row rows[] = {
      {"Final Payment", "YES", 1, 1},
      {"Interim Payment Numb", "NO", 2, 2},  // the case form's 20 characters
      {"Supplemental Payment", "", 3, 0},
      {"", "yes", 0, 0},
      {"Partial Payment", "N", 0, 0},
  };
  int n = 0;
  for (const Row& r : rows) {
    writer->addCaseWith(caseFill("CR-" + std::to_string(++n), "1", [&r](const Fields& f) {
      f(CCS_CLAIMSTATUS).setText(r.status);
      f(CCS_APPLY).setText(r.answer);
      f(CCS_PAID).setText(r.answer);
      f(CCS_CONNECTION).setText(r.answer);
    }));
  }
  start();
  n = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.status);
    const Page p = printed("CR-" + std::to_string(++n));
    auto chosen = [&p](const std::string& group, int radios) {
      int found = 0;
      for (int i = 1; i <= radios; ++i) {
        const PageItem* radio = p.find(group + ":RADIO" + std::to_string(i));
        EXPECT_NE(radio, nullptr) << group << i;
        if (radio && radio->checked) {
          EXPECT_EQ(found, 0) << "two buttons of " << group;
          found = i;
        }
      }
      return found;
    };
    EXPECT_EQ(chosen("?CCS:CLAIMSTATUS", 3), r.statusChosen);
    EXPECT_EQ(p.text("?CCS:CLAIMSTATUS:RADIO2"), "Interim Payment Number");
    for (const char* question : {"?CCS:APPLY", "?CCS:PAID", "?CCS:CONNECTION"})
      EXPECT_EQ(chosen(question, 2), r.answerChosen) << question;
  }
}

TEST_F(ClaimFormTest, ABlankOrUnknownCaseShowsNoRecords) {
  writer->addCaseWith(caseFill("CR-1", "1"));
  writer->addEntriesWith({entryFill("", {{HOU_TRIAL, "1.0"}}), entryFill("CR-9", {{HOU_TRIAL, "1.0"}})});
  start();
  for (const char* number : {"", "    ", "CR-9"}) {
    SCOPED_TRACE(std::string("'") + number + "'");
    const std::size_t shown = drv->messages().size();
    drv->answer(platform::BtnOk);
    print(number);
    EXPECT_EQ(progress(), nullptr);
    EXPECT_EQ(preview(), nullptr);
    ASSERT_EQ(drv->messages().size(), shown + 1);
    EXPECT_EQ(drv->messages().back().title, "No Records");
    EXPECT_EQ(lastResponse, app::ResponseCancelled);
    EXPECT_EQ(stateAfter, stateBefore);
  }
}

TEST_F(ClaimFormTest, TheHeaderAndTheBlockFitOnePageInsideThePrintableArea) {
  writer->addCaseWith(caseFill("CR-1", "99999999.99", [](const Fields& f) {
    f(CCS_CASENAME).setText(std::string(100, 'W'));
    f(CCS_ATTORNEY).setText(std::string(100, 'M'));
    f(CCS_CASENUMBER).setText(std::string(20, 'W'));
  }));
  std::vector<Fill> many;
  for (int i = 0; i < 300; ++i) many.push_back(entryFill(std::string(20, 'W'), {{HOU_TRIAL, "99.9"}}));
  writer->addEntriesWith(many);
  start();
  const Page p = printed(std::string(20, 'W'));
  const platform::Rect area = p.printable();
  for (const PageItem& item : p.items) {
    SCOPED_TRACE(item.name + " " + item.text);
    EXPECT_GE(item.rect.x, area.x);
    EXPECT_GE(item.rect.y, area.y);
    EXPECT_LE(item.rect.x + item.rect.width, area.x + area.width);
    EXPECT_LE(item.rect.y + item.rect.height, area.y + area.height);
  }
  // The block under the header and above the footer, whole.
  const PageItem* rule = p.find("?RULE2");
  int blockTop = area.y + area.height, blockBottom = 0;
  for (const PageItem& item : p.items) {
    if (item.name.rfind("?BOX", 0) != 0) continue;
    blockTop = std::min(blockTop, item.rect.y);
    blockBottom = std::max(blockBottom, item.rect.y + item.rect.height);
  }
  EXPECT_GE(blockTop, rule->rect.y + rule->rect.height);
  EXPECT_EQ(blockBottom - blockTop, reports::claim_form::BlockHeight);
  EXPECT_LE(blockBottom, p.find("?REPORTDATEPROMPT")->rect.y);
  // Texts cut at their boxes, numbers that fit.
  EXPECT_EQ(p.text("?CCS:CASENAME"), std::string(100, 'W').substr(0, p.text("?CCS:CASENAME").size()));

  // Every entry counted, over more than one read-ahead of the entries.
  EXPECT_EQ(p.text("?HOU:TRIAL"), platform::formatDecimal(*Decimal::parse("29970.0"), platform::Picture::of("N-7.1B")));

  // The rules: Courier 8 is the largest whole size at which 155 hyphens fit
  // the printable width.
  const PageItem* r1 = p.find("?RULE1");
  ASSERT_NE(r1, nullptr);
  EXPECT_EQ(r1->font.face, "Courier");
  EXPECT_EQ(r1->font.size, 8);
  EXPECT_EQ(r1->rect.width, area.width);
  TextMetrics& m = TextMetrics::shared();
  EXPECT_LE(m.width({"Courier", 8}, std::string(155, '-')), area.width);
  EXPECT_GT(m.width({"Courier", 9}, std::string(155, '-')), area.width);
}

}  // namespace
}  // namespace reporttest
