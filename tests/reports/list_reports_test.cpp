// The seven list reports through the driver, their pages read back as data:
// which records each key holds and in which order, the page's geometry and
// capacity, the column rules, the pictures, and no control character on a
// page.

#include "reports/list_reports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/types/daynum.h"
#include "platform/types/picture.h"
#include "tests/reports/list_fixture.h"

namespace reporttest {
namespace {

using namespace dictionary;
using namespace platform::report;
using platform::Rect;
using Fields = Records::Fields;

// A text without the breaks and blanks of its wrapping.
std::string unwrapped(std::string text) {
  std::erase_if(text, [](char c) { return c == '\n' || c == ' '; });
  return text;
}

bool inside(const Rect& item, const Rect& area) {
  return item.x >= area.x && item.y >= area.y && item.x + item.width <= area.x + area.width &&
         item.y + item.height <= area.y + area.height;
}

Decimal dec(const char* text) { return *Decimal::parse(text); }

// The texts of every item named `name`, page after page.
std::vector<std::string> column(const std::vector<Page>& pages, const std::string& name) {
  std::vector<std::string> texts;
  for (const Page& p : pages)
    for (const PageItem* item : p.all(name)) texts.push_back(item->text);
  return texts;
}

struct Procedure {
  const char* name;
  void (*run)();
  const char* caption;  // of the progress window
  const char* heading;  // the report's title on its pages
  int columns;
};

const Procedure Procedures[] = {
    {"ReportCaseCloseSummaryByCCS:KeyCaseName", reports::ReportCaseCloseSummaryByCCS_KeyCaseName,
     "Report CaseCloseSummary", "Report CaseCloseSummary file", 33},
    {"ReportHOURLYByHOU:KeyCaseName", reports::ReportHOURLYByHOU_KeyCaseName, "Report HOURLY", "Report HOURLY file", 34},
    {"ReportHOURLYByHOU:KeyDate", reports::ReportHOURLYByHOU_KeyDate, "Report HOURLY", "Report HOURLY file", 34},
    {"ReportHOURLYByHOU:KeyMilageRate", reports::ReportHOURLYByHOU_KeyMilageRate, "Report HOURLY",
     "Report HOURLY file", 34},
    {"ReportRateMilageByRTM:KeyMilageRate", reports::ReportRateMilageByRTM_KeyMilageRate, "Report RateMilage",
     "Report RateMilage file", 2},
    {"ReportRateMilageByRTM:KeyDate", reports::ReportRateMilageByRTM_KeyDate, "Report RateMilage",
     "Report RateMilage file", 2},
    {"ReportTOTALSByTOT:KeyCaseNumber", reports::ReportTOTALSByTOT_KeyCaseNumber, "Report TOTALS", "Report TOTALS file",
     30},
};

class ListReportTest : public ListTest {
 protected:
  void SetUp() override {
    ListTest::SetUp();
    format_ = platform::systemDateTimeFormat();
    platform::setSystemDateTimeFormat(platform::DateTimeFormat{});
  }
  void TearDown() override {
    platform::setSystemDateTimeFormat(format_);
    ListTest::TearDown();
  }

  // Runs `report` to its preview and closes it; the pages it showed.
  std::vector<Page> pagesOf(void (*report)()) {
    watch.pages.clear();
    run(report);
    closePreview();
    return watch.pages;
  }

  void addCase(const std::string& number, const std::string& name) {
    records->add(CaseCloseSummaryFile, [&](const Fields& f) {
      f(CCS_CASENUMBER).setText(number);
      f(CCS_CASENAME).setText(name);
    });
  }
  void addEntry(const std::string& number, const std::string& name, std::int32_t day, const char* rate) {
    records->add(HOURLYFile, [&](const Fields& f) {
      f(HOU_FN).setInteger(++fn_);
      f(HOU_CASENUMBER).setText(number);
      f(HOU_CASENAME).setText(name);
      f(HOU_DATE).setDay(day);
      f(HOU_MILAGERATE).setDecimal(dec(rate));
    });
  }
  void addRate(std::int32_t day, const char* rate) {
    records->add(RateMilageFile, [&](const Fields& f) {
      f(RTM_DATEMILAGERATE).setDay(day);
      f(RTM_MILAGERATE).setDecimal(dec(rate));
    });
  }
  void addTotals(const std::string& number) {
    records->add(TOTALSFile, [&](const Fields& f) { f(TOT_CASENUMBER).setText(number); });
  }

  const std::int32_t march5 = platform::dayNumber(2007, 3, 5), june1 = platform::dayNumber(2007, 6, 1);

 private:
  platform::DateTimeFormat format_;
  int fn_ = 0;
};

TEST_F(ListReportTest, EachKeyLeavesOutItsEmptyValuesAndPrintsDuplicatesInKeyOrder) {
  addCase("CR-3", "beta");
  addCase("CR-1", "Alpha");
  addCase("CR-2", "");
  addCase("CR-4", "alpha");
  addEntry("E-1", "beta", june1, "0.345");
  addEntry("E-2", "", 0, "0");
  addEntry("E-3", "Alpha", march5, "0.3");
  addEntry("E-4", "alpha", june1, "0.345");
  addRate(june1, "0.345");
  addRate(0, "0.3");
  addRate(march5, "0");
  addRate(march5, "0.345");
  addTotals("cr-2");
  addTotals("CR-1");
  addTotals("");
  addTotals("CR-3");

  struct Case {
    const Procedure& procedure;
    const char* line;  // the item that names each line
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {Procedures[0], "?CCS:CASENUMBER", {"CR-1", "CR-4", "CR-3"}},
      {Procedures[1], "?HOU:CASENUMBER", {"E-3", "E-4", "E-1"}},
      {Procedures[2], "?HOU:CASENUMBER", {"E-2", "E-3", "E-1", "E-4"}},  // undated first
      {Procedures[3], "?HOU:CASENUMBER", {"E-3", "E-1", "E-4"}},
      {Procedures[4], "?RTM:MILAGERATE", {"0.000", "0.300", "0.345", "0.345"}},
      {Procedures[5], "?RTM:DATEMILAGERATE", {"", "3/5/2007", "3/5/2007", "6/1/2007"}},
      {Procedures[6], "?TOT:CASENUMBER", {"CR-1", "cr-2", "CR-3"}},
  };
  const auto before = std::vector{records->all(CaseCloseSummaryFile, CCS_KeyCaseNumber),
                                  records->all(HOURLYFile, HOU_KEYFN), records->all(RateMilageFile, RTM_KeyDate),
                                  records->all(TOTALSFile, TOT_KeyCaseNumber)};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.procedure.name);
    watch.pages.clear();
    run(c.procedure.run);
    EXPECT_EQ(stack, 0u) << "the thread is still in its preview";
    ASSERT_NE(preview(), nullptr);
    EXPECT_TRUE(preview()->maximized());
    EXPECT_EQ(watch.zoom, Zoom::TilePages);
    closePreview();
    EXPECT_EQ(stack, 50000u);
    EXPECT_EQ(response, app::ResponseCompleted);
    ASSERT_EQ(watch.pages.size(), 1u);
    const Page& page = watch.pages[0];
    EXPECT_EQ(page.width, 11000);  // landscape
    EXPECT_EQ(page.text("?REPORTTITLE"), c.procedure.heading);
    EXPECT_EQ(page.text("?PAGECOUNT"), "Page 1");
    EXPECT_EQ(column(watch.pages, c.line), c.lines);
    EXPECT_EQ(page.all("?DETAILENDLINE").size(), c.lines.size());
  }
  // The rates by date: the rate beside each date, in the key's order.
  watch.pages.clear();
  EXPECT_EQ(column(pagesOf(reports::ReportRateMilageByRTM_KeyDate), "?RTM:MILAGERATE"),
            (std::vector<std::string>{"0.300", "0.000", "0.345", "0.345"}));
  // A report reads and writes nothing else.
  EXPECT_EQ(before, (std::vector{records->all(CaseCloseSummaryFile, CCS_KeyCaseNumber),
                                 records->all(HOURLYFile, HOU_KEYFN), records->all(RateMilageFile, RTM_KeyDate),
                                 records->all(TOTALSFile, TOT_KeyCaseNumber)}));
}

// The progress of a number or date key follows the value between the
// lowest and the highest; a text key's, the text.
TEST_F(ListReportTest, ThePercentageGrowsWithTheKeyValue) {
  for (int i = 0; i < 40; ++i) {
    const std::int32_t day = march5 + 3 * i;
    const std::string rate = "0." + std::to_string(300 + 5 * i);
    addEntry("E-" + std::to_string(10 + i), "Name " + std::to_string(10 + i), day, rate.c_str());
    addRate(day, rate.c_str());
  }
  // Each look at the clock finds time gone by: every timer event reads a
  // batch and leaves the rest for the next.
  platform::Scheduler::Centis now = 0;
  platform::scheduler().setTimeSource([&now] { return now += 60; });
  for (const Procedure* p : {&Procedures[1], &Procedures[2], &Procedures[3], &Procedures[4], &Procedures[5]}) {
    SCOPED_TRACE(p->name);
    begin(p->run);
    std::vector<int> seen;
    while (Window* w = progressWindow()) {
      const std::string text = w->control(ProgressPctText).text();
      seen.push_back(std::stoi(text));
      EXPECT_EQ(text, std::to_string(seen.back()) + "% Complete");
      drv->advance(ProgressTimer);
    }
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen.front(), 0);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.back(), 30);
    EXPECT_LE(seen.back(), 100);
    closePreview();
  }
}

TEST_F(ListReportTest, AReportWhoseKeyHoldsNoRecordShowsNoRecords) {
  // Entries made through the forms have no case name: the key by case name
  // holds none of them.
  addEntry("E-1", "", march5, "0");
  drv->answer(platform::BtnOk);
  run(reports::ReportHOURLYByHOU_KeyCaseName);
  EXPECT_EQ(preview(), nullptr);
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].title, "No Records");
  EXPECT_EQ(drv->messages()[0].text, "There are no records available to process.");
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_EQ(watch.opened, 0);
}

// The page: the footer stands on the bottom margin, its top at 8000; the
// body from 850 holds 28 lines; a 29th goes to a page of its own, which has
// the heading row, its number and the stamps again.
TEST_F(ListReportTest, TwentyEightLinesFillAPageAndTheTwentyNinthStartsTheNext) {
  records->addAll(TOTALSFile, 28, [](const Fields& f, int i) { f(TOT_CASENUMBER).setText(std::to_string(100 + i)); });
  std::vector<Page> pages = pagesOf(reports::ReportTOTALSByTOT_KeyCaseNumber);
  ASSERT_EQ(pages.size(), 1u);
  std::vector<const PageItem*> ends = pages[0].all("?DETAILENDLINE");
  ASSERT_EQ(ends.size(), 28u);
  EXPECT_EQ(pages[0].all("?DETAILLINE:0").front()->rect.y, 850);
  EXPECT_EQ(ends.back()->rect.y, 850 + 28 * 250);

  addTotals("200");
  pages = pagesOf(reports::ReportTOTALSByTOT_KeyCaseNumber);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].all("?TOT:CASENUMBER").size(), 28u);
  EXPECT_EQ(column({pages[1]}, "?TOT:CASENUMBER"), std::vector<std::string>{"200"});
  for (const Page& p : pages) {
    SCOPED_TRACE(p.number);
    EXPECT_EQ(p.text("?PAGECOUNT"), "Page " + std::to_string(p.number));
    EXPECT_EQ(unwrapped(p.text("?HEADERTITLE:1")), "CaseNumber");
    ASSERT_NE(p.find("?HEADERBOX"), nullptr);
    EXPECT_EQ(p.find("?HEADERBOX")->rect, (Rect{250, 600, 8000, 250}));
    EXPECT_EQ(p.text("?REPORTDATEPROMPT"), "Date:");
    EXPECT_EQ(p.text("?REPORTTIMEPROMPT"), "Time:");
    EXPECT_NE(p.text("?REPORTDATESTAMP"), "<-- Date Stamp -->");
    EXPECT_EQ(p.find("?REPORTDATEPROMPT")->rect.y, 8000 + 25);
    EXPECT_EQ(p.all("?DETAILLINE:0").front()->rect.y, 850);
    for (const PageItem& item : p.items) {
      EXPECT_TRUE(inside(item.rect, p.printable())) << item.name;
      if (item.name.rfind("?TOT:", 0) == 0 || item.name == "?DETAILENDLINE") {
        EXPECT_LE(item.rect.y + item.rect.height, 8000) << item.name;
      }
    }
  }
}

// Equal columns: the k-th of n rules at 8000 * k / n, cut down to a whole
// thousandth; each heading and value 50 right of its left rule, up to its
// right rule.
TEST_F(ListReportTest, TheColumnRulesDivideTheWidthEqually) {
  addCase("CR-1", "United States v. Doe");
  addEntry("E-1", "x", march5, "0.3");
  addRate(march5, "0.3");
  addTotals("CR-1");
  struct Case {
    const Procedure& procedure;
    std::set<int> widths;
    const char* first;
    const char* last;
    std::vector<std::pair<int, const char*>> headings;  // as they are written, misspelt ones too
  };
  const Case cases[] = {
      {Procedures[0], {242, 243}, "Date", "Date", {{11, "Co-Defendants"}, {17, "Pretrail Motions"}, {21, "days"}}},
      {Procedures[2], {235, 236}, "Case Number", "Total Section", {{4, "Arraignment and/or Plea:"}, {22, "Mileage"}}},
      {Procedures[6], {266, 267}, "Case Number", "Other", {{25, "TollCals"}, {28, "Other"}, {29, "Other"}}},
      {Procedures[5], {4000}, "Date Milage Rate", "Milage Rate", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.procedure.name);
    const std::vector<Page> pages = pagesOf(c.procedure.run);
    ASSERT_EQ(pages.size(), 1u);
    const Page& p = pages[0];
    const int n = c.procedure.columns;
    auto rule = [n](int k) { return 250 + 8000 * k / n; };
    std::set<int> widths;
    for (int k = 0; k <= n; ++k) {
      const PageItem* line = p.find("?DETAILLINE:" + std::to_string(k));
      ASSERT_NE(line, nullptr) << k;
      EXPECT_EQ(line->rect, (Rect{rule(k), 850, 0, 250})) << k;
      if (k > 0 && k < n) {
        const PageItem* heading = p.find("?HEADERLINE:" + std::to_string(k));
        ASSERT_NE(heading, nullptr) << k;
        EXPECT_EQ(heading->rect, (Rect{rule(k), 600, 0, 250})) << k;
      }
      if (k < n) {
        widths.insert(rule(k + 1) - rule(k));
        const PageItem* title = p.find("?HEADERTITLE:" + std::to_string(k + 1));
        ASSERT_NE(title, nullptr) << k;
        EXPECT_EQ(title->rect.x, rule(k) + 50) << k;
        EXPECT_EQ(title->rect.x + title->rect.width, rule(k + 1)) << k;
      }
    }
    EXPECT_EQ(p.find("?HEADERLINE:0"), nullptr);
    EXPECT_EQ(p.find("?HEADERLINE:" + std::to_string(n)), nullptr);
    EXPECT_EQ(p.find("?DETAILLINE:" + std::to_string(n + 1)), nullptr);
    EXPECT_EQ(widths, c.widths);
    // The headings, whole or wrapped within their columns.
    EXPECT_EQ(unwrapped(p.text("?HEADERTITLE:1")), unwrapped(c.first));
    EXPECT_EQ(unwrapped(p.text("?HEADERTITLE:" + std::to_string(n))), unwrapped(c.last));
    // As much of it as the heading row holds.
    for (const auto& [k, heading] : c.headings) {
      const std::string shown = unwrapped(p.text("?HEADERTITLE:" + std::to_string(k))), whole = unwrapped(heading);
      EXPECT_EQ(whole.rfind(shown, 0), 0u) << k << ": " << shown;
      EXPECT_GE(shown.size(), std::min<std::size_t>(whole.size(), 8)) << k << ": " << shown;
    }
    EXPECT_EQ(p.find("?DETAILENDLINE")->rect, (Rect{250, 1100, 8000, 0}));
    // Every value within its column.
    for (const PageItem& item : p.items) {
      if (item.kind != ItemKind::Text || item.rect.y < 850 || item.rect.y >= 8000) continue;
      int k = 0;
      while (k < n && rule(k + 1) <= item.rect.x) ++k;
      EXPECT_GE(item.rect.x, rule(k) + 50) << item.name;
      EXPECT_LE(item.rect.x + item.rect.width, rule(k + 1)) << item.name;
    }
  }
}

TEST_F(ListReportTest, ValuesPrintThroughTheirPicturesZeroAndMilesIncluded) {
  // An entry with nothing in it, one with miles, one with half a mile less.
  records->add(HOURLYFile, [](const Fields& f) {
    f(HOU_FN).setInteger(1);
    f(HOU_CASENUMBER).setText("E-0");
  });
  records->add(HOURLYFile, [&](const Fields& f) {
    f(HOU_FN).setInteger(2);
    f(HOU_CASENUMBER).setText("E-1");
    f(HOU_DATE).setDay(march5);
    f(HOU_MILAGERATE).setDecimal(dec("0.485"));
    f(HOU_MILEAGE).setDecimal(dec("12.5"));
    f(HOU_TOTALMILAGE).setDecimal(dec("6.06"));
    f(HOU_TRIAL).setDecimal(dec("1.5"));
    f(HOU_PARKING).setDecimal(dec("3"));
  });
  records->add(HOURLYFile, [&](const Fields& f) {
    f(HOU_FN).setInteger(3);
    f(HOU_CASENUMBER).setText("E-2");
    f(HOU_DATE).setDay(june1);
    f(HOU_MILEAGE).setDecimal(dec("-12.5"));
  });
  records->add(CaseCloseSummaryFile, [](const Fields& f) {
    f(CCS_CASENUMBER).setText("CR-1");
    f(CCS_CASENAME).setText("Doe");
    f(CCS_DISCOVERY).setText("12 pages");
    f(CCS_TRIAL).setInteger(2);
    f(CCS_DAYS).setDecimal(dec("3"));
  });
  records->add(CaseCloseSummaryFile, [](const Fields& f) {
    f(CCS_CASENUMBER).setText("CR-2");
    f(CCS_CASENAME).setText("Roe");
    f(CCS_DISCOVERY).setText("Over 10.000 Pages");
    f(CCS_NOTDETAINED).setInteger(1);
  });
  addRate(0, "0");

  struct Case {
    void (*report)();
    const char* item;
    std::vector<std::string> printed;  // line by line
  };
  const Case cases[] = {
      // A date is wider than a column of 34: its '#' mark, never a cut date.
      {reports::ReportHOURLYByHOU_KeyDate, "?HOU:DATE", {"", "#", "#"}},
      {reports::ReportHOURLYByHOU_KeyDate, "?HOU:MILAGERATE", {"0.000", "0.485", "0.000"}},
      {reports::ReportHOURLYByHOU_KeyDate, "?HOU:MILEAGE", {"", "13", "-13"}},  // half away from zero
      {reports::ReportHOURLYByHOU_KeyDate, "?HOU:TOTALMILAGE", {"0.00", "6.06", "0.00"}},
      {reports::ReportHOURLYByHOU_KeyDate, "?HOU:TRIAL", {"", "1.5", ""}},
      {reports::ReportHOURLYByHOU_KeyDate, "?HOU:PARKING", {"", "$3.00", ""}},
      {reports::ReportCaseCloseSummaryByCCS_KeyCaseName, "?CCS:DISCOVERY", {"12", "0"}},  // its leading number
      {reports::ReportCaseCloseSummaryByCCS_KeyCaseName, "?CCS:TRIAL", {"2", "0"}},
      {reports::ReportCaseCloseSummaryByCCS_KeyCaseName, "?CCS:DAYS", {"3", ""}},
      {reports::ReportCaseCloseSummaryByCCS_KeyCaseName, "?CCS:DETENTIONSTATUS", {"0", "0"}},  // check-box bytes
      {reports::ReportCaseCloseSummaryByCCS_KeyCaseName, "?CCS:HOURLYRATE", {"", ""}},
      {reports::ReportRateMilageByRTM_KeyDate, "?RTM:DATEMILAGERATE", {""}},
      {reports::ReportRateMilageByRTM_KeyDate, "?RTM:MILAGERATE", {"0.000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    std::vector<std::string> printed = column(pagesOf(c.report), c.item);
    for (std::string& t : printed)
      if (!t.empty() && t.find_first_not_of('#') == std::string::npos) t = "#";
    EXPECT_EQ(printed, c.printed);
  }
  // The co-defendants' column has a heading and nothing under it.
  const std::vector<Page> cases33 = pagesOf(reports::ReportCaseCloseSummaryByCCS_KeyCaseName);
  EXPECT_EQ(cases33[0].text("?HEADERTITLE:11").substr(0, 3), "Co-");
}

TEST_F(ListReportTest, NoControlCharacterReachesAPage) {
  const std::string dirty = std::string("A\0B\x01" "C\r\nD\x7f" "E\x9f" "F", 12);
  records->add(CaseCloseSummaryFile, [&](const Fields& f) {
    f(CCS_CASENUMBER).setText(dirty);
    f(CCS_CASENAME).setText(dirty);
    f(CCS_CHARGES).setText(dirty);
    f(CCS_DISPOSITION).setText(dirty);
    f(CCS_COMMENTS).setText(dirty);
    f(CCS_TAPERECORDINGNUMBER).setText(dirty);
    f(CCS_WITENESSESINTERVIEWED).setText(dirty);
    f(CCS_NUMBERTESTIFYINGWITNESSES).setText(dirty);
    f(CCS_CLAIMSTATUS).setText(dirty);
    for (int b : {CCS_NOTDETAINED, CCS_DISCOVERYMOTION, CCS_INVESTIGATOREMPLOYED, CCS_APPEALWAIVED})
      f(b).setInteger(1);
  });
  records->add(HOURLYFile, [&](const Fields& f) {
    f(HOU_FN).setInteger(1);
    f(HOU_CASENUMBER).setText(dirty);
    f(HOU_CASENAME).setText(dirty);
    f(HOU_BRIEFDESCRIPTIONSERVICES).setText(dirty);
    f(HOU_MILAGERATE).setDecimal(dec("0.3"));
  });
  addRate(march5, "0.3");
  records->add(TOTALSFile, [&](const Fields& f) { f(TOT_CASENUMBER).setText(dirty); });
  for (const Procedure& p : Procedures) {
    SCOPED_TRACE(p.name);
    const std::vector<Page> pages = pagesOf(p.run);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(controlCharacters(pages), std::vector<std::string>{});
  }
  // The text shows with a blank for each control byte.
  EXPECT_EQ(column(pagesOf(reports::ReportTOTALSByTOT_KeyCaseNumber), "?TOT:CASENUMBER")[0].substr(0, 3), "A B");
}

}  // namespace
}  // namespace reporttest
