// The in-court amount of one case as three windows give it: the totals
// window prices the summed hours once, the claim form prices each entry
// at the case's rate as it stands now and sums the cents, and the in-court
// worksheet sums the amounts stored with the entries.

#include <gtest/gtest.h>

#include "cases/money.h"
#include "reports/print_cja.h"
#include "reports/worksheet_reports.h"
#include "tests/reports/report_fixture.h"

namespace reporttest {
namespace {

using namespace platform::report;
using namespace dictionary;

// Keeps the pages of the preview that opened last.
struct PageKeeper final : PreviewObserver {
  std::vector<Page> pages;
  void previewOpened(PreviewSession& s) override {
    pages.clear();
    for (int p = 1; p <= s.pageCount(); ++p) pages.push_back(s.pages().read(p));
  }
};

// The case list's current case on the caller's thread, then the totals
// window on it, as "GRAND TOTAL FOR SELECTED CASE" opens it.
void totalsWindow(const std::string& caseNumber) {
  CCS(CCS_CASENUMBER).setText(caseNumber);
  Access_CaseCloseSummary().UseFile();
  Access_CaseCloseSummary().TryFetch(CCS_KeyCaseNumber);
  cases::MoneY();
}

TEST_F(ReportTest, TheTotalsWindowTheClaimFormAndTheWorksheetEachGiveTheirOwnInCourtAmount) {
  struct Case {
    const char* number;
    const char* rateNow;   // the entries were stored at 10.01 each, priced at 33.35
    const char* totals;    // 0.6 x the rate now, rounded once
    const char* claim;     // 0.3 x the rate now, rounded, twice
    const char* worksheet; // the stored amounts summed
  };
  const Case cases[] = {
      {"CR-1", "33.35", "$20.01", "$20.02", "$20.02"},
      {"CR-2", "33.45", "$20.07", "$20.08", "$20.02"},
  };
  for (const Case& c : cases) {
    writer->addCaseWith([&c](const Writer::Fields& f) {
      f(CCS_CASENUMBER).setText(c.number);
      f(CCS_HOURLYRATE).setDecimal(*Decimal::parse(c.rateNow));
    });
    std::vector<Writer::Fill> two(2, [&c](const Writer::Fields& f) {
      f(HOU_CASENUMBER).setText(c.number);
      f(HOU_TRIAL).setDecimal(*Decimal::parse("0.3"));
      f(HOU_IN_TOTALHOURS).setDecimal(*Decimal::parse("0.3"));
      f(HOU_TOTALSECTION_INCOURT).setDecimal(*Decimal::parse("10.01"));
      f(HOU_GRANDTOTAL).setDecimal(*Decimal::parse("10.01"));
    });
    writer->addEntriesWith(two);
  }
  PageKeeper kept;
  addPreviewObserver(&kept);
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    knobs().report = totalsWindow;
    print(c.number);
    Window& totals = drv->window("TOTALS");
    EXPECT_EQ(drv->text(totals, cases::money::HOU_TOTALSECTION_INCOURT), c.totals);
    drv->close(totals);

    knobs().report = reports::PRINT_CJA;
    knobs().progressCaption = "Report CaseCloseSummary";
    print(c.number);
    readToTheEnd();
    ASSERT_NE(preview(), nullptr);
    drv->close(*preview());
    ASSERT_EQ(kept.pages.size(), 1u);
    EXPECT_EQ(kept.pages[0].text("?HOU:TOTALSECTION_INCOURT"), c.claim);

    knobs().report = reports::PRT_InCOURT;
    knobs().progressCaption = "Report HOURLY";
    print(c.number);
    readToTheEnd();
    ASSERT_NE(preview(), nullptr);
    drv->close(*preview());
    ASSERT_EQ(kept.pages.size(), 1u);
    EXPECT_EQ(kept.pages[0].text("?HOU:TOTALSECTION_INCOURT"), c.worksheet);
  }
  removePreviewObserver(&kept);
}

}  // namespace
}  // namespace reporttest
