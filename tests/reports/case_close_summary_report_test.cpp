// The case-closing summary through the driver, its page read back as data:
// a blank case, the radios and check boxes, a summary never filled in, and
// the long texts whole on one page.

#include "reports/case_close_summary_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/types/latin1.h"
#include "tests/reports/list_fixture.h"

namespace reporttest {
namespace {

using namespace dictionary;
using namespace platform::report;
using Fields = Records::Fields;

// The radios chosen and the check boxes ticked on a page.
std::vector<std::string> marked(const Page& p) {
  std::vector<std::string> names;
  for (const PageItem& item : p.items)
    if ((item.kind == ItemKind::Radio || item.kind == ItemKind::Check) && item.checked) names.push_back(item.name);
  return names;
}

class SummaryTest : public ListTest {
 protected:
  // The summary of `caseNumber`, to its preview and closed.
  std::vector<Page> summary(const std::string& caseNumber) {
    watch.pages.clear();
    run([caseNumber] { reports::ReportCaseCloseSummaryByCCS_KeyCaseNumber(caseNumber); });
    if (preview()) {
      EXPECT_TRUE(preview()->maximized());
      EXPECT_EQ(watch.zoom, Zoom::PageWidth);
      closePreview();
    }
    return watch.pages;
  }
  void addCase(const std::string& number, const std::function<void(const Fields&)>& more = {}) {
    records->add(CaseCloseSummaryFile, [&](const Fields& f) {
      f(CCS_CASENUMBER).setText(number);
      f(CCS_CASENAME).setText("United States v. Doe");
      f(CCS_HOURLYRATE).setDecimal(*Decimal::parse("125"));
      if (more) more(f);
    });
  }
};

TEST_F(SummaryTest, ABlankCaseNumberReturnsAtOnceAndACaseThatIsGoneShowsNoRecords) {
  addCase("CR-1");
  for (const char* blank : {"", "    "}) {
    SCOPED_TRACE(blank);
    EXPECT_TRUE(summary(blank).empty());
    EXPECT_EQ(watch.opened, 0);
    EXPECT_EQ(progressWindow(), nullptr);
    EXPECT_TRUE(drv->messages().empty());
    EXPECT_EQ(response, app::ResponseCancelled);
  }
  drv->answer(platform::BtnOk);
  EXPECT_TRUE(summary("CR-9").empty());
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].title, "No Records");
  EXPECT_EQ(response, app::ResponseCancelled);
}

TEST_F(SummaryTest, TheRadiosAndCheckBoxesPrintWhatTheCaseHolds) {
  const std::string d = "?CCS:DISCOVERY:RADIO", t = "?CCS:TRIAL:RADIO";
  struct Case {
    const char* what;
    std::function<void(const Fields&)> set;
    std::vector<std::string> marked;
  };
  const Case cases[] = {
      {"Under 100 Pages", [](const Fields& f) { f(CCS_DISCOVERY).setText("Under 100 Pages"); }, {d + "1"}},
      {"100-300 Pages", [](const Fields& f) { f(CCS_DISCOVERY).setText("100-300 Pages"); }, {d + "2"}},
      {"300-500 Pages", [](const Fields& f) { f(CCS_DISCOVERY).setText("300-500 Pages"); }, {d + "3"}},
      {"500-1000 Pages", [](const Fields& f) { f(CCS_DISCOVERY).setText("500-1000 Pages"); }, {d + "4"}},
      {"1.000-5.000 Pages", [](const Fields& f) { f(CCS_DISCOVERY).setText("1.000-5.000 Pages"); }, {d + "5"}},
      {"5.000-10.000 Pages", [](const Fields& f) { f(CCS_DISCOVERY).setText("5.000-10.000 Pages"); }, {d + "6"}},
      {"Over 10.000 Pages", [](const Fields& f) { f(CCS_DISCOVERY).setText("Over 10.000 Pages"); }, {d + "7"}},
      {"Tape Recordings: its radio is hidden", [](const Fields& f) { f(CCS_DISCOVERY).setText("Tape Recordings"); }, {}},
      {"a discovery text no radio has", [](const Fields& f) { f(CCS_DISCOVERY).setText("Under 100"); }, {}},
      {"no trial recorded", [](const Fields& f) { f(CCS_TRIAL).setInteger(0); }, {}},
      {"No Trial", [](const Fields& f) { f(CCS_TRIAL).setInteger(1); }, {t + "1"}},
      {"Jury Trial", [](const Fields& f) { f(CCS_TRIAL).setInteger(2); }, {t + "2"}},
      {"Court Trial", [](const Fields& f) { f(CCS_TRIAL).setInteger(3); }, {t + "3"}},
      {"a trial value no radio has", [](const Fields& f) { f(CCS_TRIAL).setInteger(4); }, {}},
      {"check-box byte 0", [](const Fields& f) { f(CCS_DETENTIONAPPEAL).setInteger(0); }, {}},
      {"check-box byte 1", [](const Fields& f) { f(CCS_DETENTIONAPPEAL).setInteger(1); }, {"?CCS:DETENTIONAPPEAL"}},
      {"check-box byte 2", [](const Fields& f) { f(CCS_DETENTIONAPPEAL).setInteger(2); }, {"?CCS:DETENTIONAPPEAL"}},
      {"no co-defendants, and a motion", [](const Fields& f) {
         f(CCS_CODEFNUM).setInteger(1);
         f(CCS_MOTIONLIMINE).setInteger(2);
       }, {"?CCS:CODEFNUM", "?CCS:MOTIONLIMINE"}},
  };
  int n = 0;
  for (const Case& c : cases) addCase("CR-" + std::to_string(++n), c.set);
  n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<Page> pages = summary("CR-" + std::to_string(++n));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(marked(pages[0]), c.marked);
    // The hidden radio never prints; the count of tapes stands in its place.
    EXPECT_EQ(pages[0].find(d + "8"), nullptr);
    EXPECT_EQ(pages[0].all("?CCS:DISCOVERY:RADIO1").size(), 1u);
  }
}

TEST_F(SummaryTest, ASummaryNeverFilledInPrintsEmptyBoxesAndNoCaseName) {
  addCase("CR-1");
  const std::vector<Page> pages = summary("CR-1");
  ASSERT_EQ(pages.size(), 1u);
  const Page& p = pages[0];
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_EQ(p.width, 8500);  // portrait
  EXPECT_EQ(p.text("?REPORTTITLE"), "CASE CLOSING SUMMARY");
  EXPECT_EQ(p.text("?REPORTTITLE:2"), "(Confidential - Internal Use Only)");
  EXPECT_EQ(p.text("?PAGECOUNT"), "Page 1");
  EXPECT_EQ(p.text("?CCS:CASENUMBER"), "CR-1");
  EXPECT_EQ(marked(p), std::vector<std::string>{});
  int checks = 0, radios = 0;
  for (const PageItem& item : p.items) {
    checks += item.kind == ItemKind::Check;
    radios += item.kind == ItemKind::Radio;
    // The case is named by its number and parties only.
    EXPECT_EQ(item.text.find("Doe"), std::string::npos) << item.name;
    EXPECT_EQ(item.text.find("125"), std::string::npos) << item.name;
    if (item.name.rfind("?CCS:", 0) == 0 && item.kind == ItemKind::Text && item.name != "?CCS:CASENUMBER") {
      EXPECT_EQ(item.text, "") << item.name;
    }
  }
  EXPECT_EQ(checks, 21);
  EXPECT_EQ(radios, 10);
  // The labels and texts as they stand.
  std::vector<std::string> texts;
  for (const PageItem& item : p.items)
    if (item.kind != ItemKind::Text || item.name.rfind("?CCS:", 0) != 0) texts.push_back(item.text);
  for (const char* expected :
       {"ATTORNEY:", "JUDGE:", "CASE NO:", "AUSA:", "DEFENDANT:", "USPO:", "CHARGES:", "CO-DEFENDANT:", "Number",
        "No co-defendants", "DISPOSITION: (Including resolution of formal charges and any uncharged conduct)",
        "DETENTION STATUS:", "Detention   Appeal", "DISCOVERY", "Tape recordings (number)", "INVESTIGATION:",
        "Investigative Hours:", "Paralegal Hours:", "Witnesses Interviewed:", "TRIAL", "Length (days):",
        "PRETRIAL MOTIONS:", "Number of Testifying Witnesses:", "SENTENCING:", "APPEALS:", "COMMENTS:",
        "Notice of Appeal Filed", "Date:", "Time:"})
    EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
  for (const PageItem& item : p.items) {
    if (item.text.size() > 2 && item.text.back() == ':') {
      EXPECT_TRUE(item.font.bold == (item.text == platform::latin1Upper(item.text))) << item.text;
    }
  }
}

// The charges, the disposition and the comments at their full length, of
// the widest characters and of words: every character on the one page.
TEST_F(SummaryTest, LongTextsPrintWholeAndTheSummaryStaysOnePage) {
  auto words = [](std::size_t length) {
    const char* w[] = {"Conspiracy ", "to ", "distribute ", "methamphetamine; ", "superseding ", "indictment ",
                       "dismissed ", "on ", "motion; ", "WWWWWWWWWWWW "};
    std::string s;
    for (std::size_t i = 0; s.size() < length; ++i) s += w[i % 10];
    return s.substr(0, length);
  };
  struct Variant {
    const char* what;
    std::function<std::string(std::size_t)> text;
  };
  const Variant variants[] = {
      {"the widest character", [](std::size_t n) { return std::string(n, '@'); }},
      {"words", words},
  };
  int n = 0;
  for (const Variant& v : variants) {
    SCOPED_TRACE(v.what);
    const std::string number = "CR-" + std::to_string(++n);
    addCase(number, [&](const Fields& f) {
      for (int field : {CCS_CHARGES, CCS_DISPOSITION, CCS_COMMENTS}) f(field).setText(v.text(f(field).capacity()));
    });
    const std::vector<Page> pages = summary(number);
    ASSERT_EQ(pages.size(), 1u);
    const Page& p = pages[0];
    for (auto [name, capacity] : {std::pair{"?CCS:CHARGES", 249}, {"?CCS:DISPOSITION", 499}, {"?CCS:COMMENTS", 254}}) {
      SCOPED_TRACE(name);
      std::string printed = p.text(name), stored = v.text(static_cast<std::size_t>(capacity));
      std::erase(printed, '\n');
      std::erase(printed, ' ');
      std::erase(stored, ' ');
      EXPECT_EQ(printed, stored);
      // Inside its box.
      const PageItem* text = p.find(name);
      const PageItem* box = p.find(std::string("?BOX:") + (name + 1));
      ASSERT_NE(box, nullptr);
      EXPECT_GE(text->rect.y, box->rect.y);
      EXPECT_LE(text->rect.y + text->rect.height, box->rect.y + box->rect.height);
    }
    for (const PageItem& item : p.items) {
      const platform::Rect& r = item.rect;
      EXPECT_TRUE(r.x >= 250 && r.y >= 250 && r.x + r.width <= 8250 && r.y + r.height <= 10750) << item.name;
      if (item.name != "?REPORTDATEPROMPT" && item.name != "?REPORTDATESTAMP" && item.name != "?REPORTTIMEPROMPT" &&
          item.name != "?REPORTTIMESTAMP" && item.name != "?PAGECOUNT") {
        EXPECT_LE(r.y + r.height, 10500) << item.name << " reaches into the footer";
      }
    }
  }
}

}  // namespace
}  // namespace reporttest
