// PRINT and the page make-up, read back from the page store as data.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/report/text_metrics.h"
#include "platform/types/daynum.h"
#include "tests/platform/report/gui_app.h"
#include "tests/platform/report/report_fixture.h"

namespace reporttest {
namespace {

const auto* const gui = ::testing::AddGlobalTestEnvironment(new lvtest::GuiApplication);

std::vector<Row> rowsOf(int n, const std::string& caseNumber = "CR-1", const std::string& hours = "1") {
  return std::vector<Row>(static_cast<std::size_t>(n), Row{caseNumber, "entry", hours, "10"});
}

int count(const std::vector<Page>& pages, const std::string& name) {
  int n = 0;
  for (const Page& p : pages) n += static_cast<int>(p.all(name).size());
  return n;
}

TEST(ReportLayout, PagesStartWithTheFirstPrintAndBreakWhenABandDoesNotFit) {
  // The list geometry leaves 850..8000 for the body: 28 lines of 250.
  struct Case {
    int rows, pages, onLast;
  };
  for (const Case c : {Case{0, 0, 0}, Case{1, 1, 1}, Case{28, 1, 28}, Case{29, 2, 1}, Case{57, 3, 1}}) {
    SCOPED_TRACE(c.rows);
    Entry e;
    Report r(listSpec(e));
    PageStore store;
    r.Open(store);
    printRows(r, e, rowsOf(c.rows));
    r.Close();
    const std::vector<Page> pages = pagesOf(store);
    ASSERT_EQ(static_cast<int>(pages.size()), c.pages);
    EXPECT_EQ(r.pages(), c.pages);
    for (const Page& p : pages) {
      // Header, footer and form band on every page; the page number counts.
      EXPECT_EQ(p.text("?PAGECOUNT"), "Page " + std::to_string(p.number));
      EXPECT_EQ(p.text("?REPORTTITLE"), "Report ENTRY file");
      ASSERT_NE(p.find("?REPORTDATEPROMPT"), nullptr);
      EXPECT_EQ(p.find("?REPORTDATEPROMPT")->rect.y, 8000);  // the footer stands on the bottom margin
      const auto lines = p.all("?ENT:CASE");
      ASSERT_FALSE(lines.empty());
      EXPECT_EQ(lines.front()->rect.y, 850);
    }
    if (c.pages) {
      EXPECT_EQ(static_cast<int>(pages.back().all("?ENT:CASE").size()), c.onLast);
    }
  }
}

TEST(ReportLayout, EveryItemStaysInsideThePrintableArea) {
  Entry e;
  ReportSpec spec = listSpec(e);
  // Controls that reach beyond the sheet are cut at the printable area.
  spec.header->Add(Text("?WIDE", {-400, 0, 12000, 200}, std::string(300, 'W')));
  spec.details[0].Add(Line("?DETAILLINE:34", {10600, 0, 0, 250}));
  Report r(spec);
  PageStore store;
  r.Open(store);
  printRows(r, e, rowsOf(60));
  r.Close();
  for (const Page& p : pagesOf(store))
    for (const PageItem& item : p.items) EXPECT_TRUE(inside(item.rect, p.printable())) << item.name << " on " << p.number;
  EXPECT_EQ(r.body().y, 850);
  EXPECT_EQ(r.body().height, 7150);
}

Band groupFooter(Entry& e) {
  Band f = BodyBand("?GROUPFOOTER", 250);
  f.Add(Text("?PAGETOTAL", {0, 0, 1500, 200}, "PAGE TOTAL:"));
  f.Add(Total("?SUM:GROUP", {2050, 0, 900, 200}, e[HOURS], "N-7.1B", Reset::Group).Right());
  f.Add(Total("?SUM:ALL", {3050, 0, 900, 200}, e[HOURS], "N-7.1B", Reset::Never).Right());
  return f;
}

TEST(ReportLayout, AGroupFooterPrintsWhenTheValueChangesAndAtTheEndForOpenedGroupsOnly) {
  Entry e;
  ReportSpec spec = listSpec(e);
  spec.groups.push_back(Group{"case", e[CASE], groupFooter(e)});
  spec.footer->Add(Total("?SUM:PAGE", {3000, 0, 900, 200}, e[HOURS], "N-7.1B", Reset::Page));
  {
    // Letter case and trailing blanks do not make another group.
    Report r(spec);
    PageStore store;
    r.Open(store);
    printRows(r, e, {{"cr-1", "a", "1"}, {"CR-1  ", "b", "2"}, {"CR-2", "c", "4"}});
    r.Close();
    const std::vector<Page> pages = pagesOf(store);
    ASSERT_EQ(pages.size(), 1u);
    const auto groups = pages[0].all("?SUM:GROUP");
    const auto all = pages[0].all("?SUM:ALL");
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0]->text, "3.0");
    EXPECT_EQ(groups[1]->text, "4.0");
    EXPECT_EQ(all[1]->text, "7.0");
    // The first footer comes right after the second line.
    EXPECT_EQ(groups[0]->rect.y, 850 + 2 * 250);
  }
  {
    // 30 lines of one case: the page sums start again with each page; the
    // group's footer follows the last line on page 2.
    Report r(spec);
    PageStore store;
    r.Open(store);
    printRows(r, e, rowsOf(30));
    r.Close();
    const std::vector<Page> pages = pagesOf(store);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].text("?SUM:PAGE"), "28.0");
    EXPECT_EQ(pages[1].text("?SUM:PAGE"), "2.0");
    EXPECT_EQ(count(pages, "?PAGETOTAL"), 1);
    EXPECT_EQ(pages[1].text("?SUM:GROUP"), "30.0");
  }
  {
    // No detail printed: no group opened, no footer, no page.
    Report r(spec);
    PageStore store;
    r.Open(store);
    r.Close();
    EXPECT_EQ(store.count(), 0);
  }
}

TEST(ReportLayout, TotalsAreExactDecimalSums) {
  Entry e;
  ReportSpec spec = listSpec(e);
  spec.groups.push_back(Group{"case", e[CASE], groupFooter(e)});
  Report r(spec);
  PageStore store;
  r.Open(store);
  // Ten tenths: a binary sum would not give exactly 1.0.
  printRows(r, e, rowsOf(10, "CR-1", "0.1"));
  r.Close();
  EXPECT_EQ(store.read(1).text("?SUM:GROUP"), "1.0");
}

TEST(ReportLayout, AValueNotKnownPrintsHashesAndSoDoesEveryTotalOfIt) {
  Entry e;
  ReportSpec spec = listSpec(e);
  spec.groups.push_back(Group{"case", e[CASE], groupFooter(e)});
  Report r(spec);
  PageStore store;
  r.Open(store);
  e.set({"CR-1", "a", "1"});
  r.Print();
  e.set({"CR-1", "b", "2"});
  r.SetUnknown(e[HOURS], true);
  r.Print();
  r.SetUnknown(e[HOURS], false);
  e.set({"CR-2", "c", "4"});
  r.Print();
  r.Close();
  const Page page = store.read(1);
  const auto hours = page.all("?ENT:HOURS");
  ASSERT_EQ(hours.size(), 3u);
  EXPECT_EQ(hours[1]->text, "#######");
  const auto group = page.all("?SUM:GROUP"), all = page.all("?SUM:ALL");
  EXPECT_EQ(group[0]->text, "#######");
  EXPECT_EQ(group[1]->text, "4.0");  // the next group starts again
  EXPECT_EQ(all[1]->text, "#######");
}

// One band with a control of every kind.
struct Kinds {
  Entry e;
  ReportSpec spec;
  Kinds() {
    spec.body = {250, 250, 8000, 10500};
    Band b = BodyBand("?DETAIL", 3000);
    b.Add(Text("?LABEL", {0, 0, 1000, 200}, "CASE NAME:").Bold().Underline());
    b.Add(Field("?RIGHT", {0, 200, 2000, 200}, e[AMOUNT], "N$-17.2B").Right());
    b.Add(Field("?CENTRE", {0, 400, 2000, 200}, e[CASE], "s20").Center());
    b.Add(Field("?POINT", {2000, 0, 2000, 200}, e[HOURS], "N-10.1").AlignDecimal(300));
    b.Add(CheckBox("?CHECK", {0, 600, 2000, 200}, "No co-defendants", e[FLAG]));
    b.Add(Option("?BYTEXT", {0, 800, 3000, 700}, "TRIAL", e[STATUS],
                 {{"?R:1", {100, 1000, 900, 200}, "No Trial", {}, false},
                  {"?R:2", {1000, 1000, 900, 200}, "Jury Trial", {}, false},
                  {"?R:3", {2000, 1000, 900, 200}, "Interim Payment Number", {}, false},
                  {"?R:HIDDEN", {100, 1200, 900, 200}, "Tape Recordings", {}, true}}));
    b.Add(Option("?BYVALUE", {3000, 800, 3000, 700}, "VALUE", e[CHOICE],
                 {{"?V:1", {3100, 1000, 900, 200}, "One", 1, false},
                  {"?V:2", {4000, 1000, 900, 200}, "Two", 2, false}}));
    b.Add(Box("?BOX", {0, 1600, 1000, 300}).Rounded().Fill(platform::rgb(0xC0, 0xC0, 0xC0)));
    b.Add(Line("?RULE", {0, 2000, 8000, 0}).Pen(20));
    b.Add(Text("?BAR", {0, 2100, 8000, 200}, "CLAIM FOR SERVICES AND EXPENSES").Fill(Black).Colour(White).Bold());
    b.Add(Text("?VERTICAL", {7700, 2300, 200, 600}, "IN-COURT").Vertical());
    b.Add(Image("?FORMIMAGE", {0, 2300, 500, 500}));
    b.Add(Image("?LOGO", {600, 2300, 500, 500}, "logo.png"));
    b.Add(PageNumber("?PAGECOUNT", {4000, 2300, 1000, 200}, "pPAGE <<#p"));
    b.Add(Text("?GONE", {0, 2600, 1000, 200}, "hidden").Hidden());
    spec.details.push_back(b);
  }
  Page print(const std::string& status, int choice, int flag, const std::string& hours) {
    Report r(spec);
    PageStore store;
    r.Open(store);
    e.set({"CR-9", "x", hours, "1234.5"});
    e[STATUS].setText(status);
    e[CHOICE].setInteger(choice);
    e[FLAG].setInteger(flag);
    r.Print();
    r.Close();
    return store.read(1);
  }
};

TEST(ReportLayout, ElementKinds) {
  Kinds k;
  const Page p = k.print("Jury Trial  ", 2, 1, "12.5");
  struct Expect {
    const char* name;
    ItemKind kind;
    const char* text;
    bool checked;
  };
  const Expect expected[] = {
      {"?LABEL", ItemKind::Text, "CASE NAME:", false},
      {"?RIGHT", ItemKind::Text, "$1,234.50", false},
      {"?CENTRE", ItemKind::Text, "CR-9", false},
      {"?POINT", ItemKind::Text, "12.5", false},
      {"?CHECK", ItemKind::Check, "No co-defendants", true},
      {"?BYTEXT", ItemKind::GroupBox, "TRIAL", false},
      {"?R:1", ItemKind::Radio, "No Trial", false},
      {"?R:2", ItemKind::Radio, "Jury Trial", true},
      {"?V:1", ItemKind::Radio, "One", false},
      {"?V:2", ItemKind::Radio, "Two", true},
      {"?BOX", ItemKind::Box, "", false},
      {"?RULE", ItemKind::Line, "", false},
      {"?BAR", ItemKind::Text, "CLAIM FOR SERVICES AND EXPENSES", false},
      {"?VERTICAL", ItemKind::Text, "IN-COURT", false},
      {"?LOGO", ItemKind::Image, "logo.png", false},
      {"?PAGECOUNT", ItemKind::Text, "PAGE 1", false},
  };
  for (const Expect& x : expected) {
    SCOPED_TRACE(x.name);
    const PageItem* item = p.find(x.name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->kind, x.kind);
    EXPECT_EQ(item->text, x.text);
    EXPECT_EQ(item->checked, x.checked);
  }
  // Never printed: a hidden radio, an image without a picture, a hidden control.
  for (const char* absent : {"?R:HIDDEN", "?FORMIMAGE", "?GONE"}) EXPECT_EQ(p.find(absent), nullptr) << absent;
  EXPECT_TRUE(p.find("?LABEL")->font.bold && p.find("?LABEL")->font.underline);
  EXPECT_EQ(p.find("?RIGHT")->align, ItemAlign::Right);
  EXPECT_EQ(p.find("?CENTRE")->align, ItemAlign::Center);
  EXPECT_TRUE(p.find("?BOX")->rounded);
  EXPECT_EQ(p.find("?RULE")->pen, 20);
  EXPECT_EQ(p.find("?BAR")->fill, Black);
  EXPECT_EQ(p.find("?BAR")->color, White);
  EXPECT_EQ(p.find("?VERTICAL")->angle, 900);

  // The radio's text as the 20-character field holds it; the hidden
  // radio's value chooses nothing; value 0 chooses no radio.
  const Page cut = k.print("Interim Payment Numb", 0, 0, "1234.5");
  EXPECT_TRUE(cut.find("?R:3")->checked);
  EXPECT_FALSE(cut.find("?CHECK")->checked);
  const Page tape = k.print("Tape Recordings", 0, 0, "1");
  for (const char* radio : {"?R:1", "?R:2", "?R:3", "?V:1", "?V:2"}) EXPECT_FALSE(tape.find(radio)->checked) << radio;

  // On the decimal point: the point stands 300 from the right edge, so
  // 12.5 and 1234.5 end at the same place, inside the box.
  const int end = p.find("?POINT")->rect.x + p.find("?POINT")->rect.width;
  EXPECT_EQ(cut.find("?POINT")->rect.x + cut.find("?POINT")->rect.width, end);
  EXPECT_EQ(cut.find("?POINT")->text, "1,234.5");
  EXPECT_LT(end, 250 + 4000);
  EXPECT_EQ(p.find("?POINT")->align, ItemAlign::Right);
}

TEST(ReportLayout, AGrowingTextGrowsItsLineWhichNeverSplitsAcrossPages) {
  Entry e;
  ReportSpec spec;
  spec.body = {250, 1000, 8000, 1000};
  Band b = BodyBand("?DETAIL", 250);
  b.Add(Field("?ENT:DESC", {0, 0, 1500, 250}, e[DESC]).Grows());
  b.Add(Line("?DETAILENDLINE", {0, 250, 8000, 0}).Anchored(Anchor::Bottom));
  b.Add(Line("?DETAILLINE:1", {1600, 0, 0, 250}).Anchored(Anchor::Stretch));
  spec.details.push_back(b);
  Report r(spec);
  PageStore store;
  r.Open(store);
  printRows(r, e, {{"CR-1", "short"}, {"CR-1", "short"}, {"CR-1", "short"}});
  const std::string longText = "Interview with the defendant about the plea offer and bail";
  printRows(r, e, {{"CR-1", longText}});
  r.Close();
  ASSERT_EQ(store.count(), 2);
  const Page second = store.read(2);
  const PageItem* desc = second.find("?ENT:DESC");
  ASSERT_NE(desc, nullptr);
  // The whole text, on more than one line, at the top of the new page.
  EXPECT_EQ(desc->rect.y, 1000);
  EXPECT_NE(desc->text.find('\n'), std::string::npos);
  std::string joined = desc->text;
  std::replace(joined.begin(), joined.end(), '\n', ' ');
  EXPECT_EQ(joined, longText);
  EXPECT_GT(desc->rect.height, 250);
  // The rule under the line moves down with it; the column rule stretches.
  EXPECT_EQ(second.find("?DETAILENDLINE")->rect.y, desc->rect.y + desc->rect.height);
  EXPECT_EQ(second.find("?DETAILLINE:1")->rect.height, desc->rect.height);
}

TEST(ReportLayout, SingleLinesAreCutAtTheirBoxAndNumbersAndDatesThatDoNotFitPrintHashes) {
  Entry e;
  ReportSpec spec;
  spec.body = {250, 250, 8000, 10000};
  Band b = BodyBand("?DETAIL", 600);
  b.Add(Field("?ENT:DESC", {0, 0, 600, 200}, e[DESC]));
  b.Add(Field("?ENT:AMOUNT", {1000, 0, 300, 200}, e[AMOUNT], "N$-17.2B").Right());
  // Cut, "12/31/2007" would read as another date.
  b.Add(Field("?ENT:DAY", {1500, 0, 300, 200}, e[DAY], "D02B"));
  b.Add(Field("?BOXED", {2000, 0, 700, 600}, e[DESC]).MultiLine());
  spec.details.push_back(b);
  Report r(spec);
  PageStore store;
  r.Open(store);
  const std::string text = "A description much wider than its column, and then some more words after it";
  e.set({"CR-1", text, "0", "123456789"});
  e[DAY].setDay(platform::dayNumber(2007, 12, 31));
  r.Print();
  r.Close();
  const Page p = store.read(1);
  const std::string shown = p.text("?ENT:DESC");
  EXPECT_FALSE(shown.empty());
  EXPECT_EQ(text.rfind(shown, 0), 0u);
  EXPECT_LT(shown.size(), text.size());
  EXPECT_LE(TextMetrics::shared().width(ReportFont{}, shown), 600);
  const std::string amount = p.text("?ENT:AMOUNT");
  EXPECT_FALSE(amount.empty());
  EXPECT_EQ(amount.find_first_not_of('#'), std::string::npos);
  const std::string day = p.text("?ENT:DAY");
  EXPECT_FALSE(day.empty());
  EXPECT_EQ(day.find_first_not_of('#'), std::string::npos) << day;
  // A multi-line box that does not grow keeps the lines that fit it.
  const std::string boxed = p.text("?BOXED");

  const int lines = static_cast<int>(std::count(boxed.begin(), boxed.end(), '\n')) + 1;
  EXPECT_EQ(lines, static_cast<int>(600 / TextMetrics::shared().lineHeight(ReportFont{})));
}

TEST(ReportLayout, ACancelledRunDropsItsPageAndTheStampsCanBeSet) {
  Entry e;
  Report r(listSpec(e));
  r.SetText("?REPORTDATESTAMP", "3/5/2007");
  PageStore store;
  r.Open(store);
  printRows(r, e, rowsOf(3));
  r.Drop();
  EXPECT_EQ(store.count(), 0);
  EXPECT_FALSE(r.isOpen());
  r.Open(store);
  printRows(r, e, rowsOf(1));
  r.Close();
  EXPECT_EQ(store.read(1).text("?REPORTDATESTAMP"), "3/5/2007");
  EXPECT_THROW(r.SetText("?NOSUCH", "x"), std::invalid_argument);
  ReportSpec twice;
  twice.details = {BodyBand("?DETAIL", 1), BodyBand("?DETAIL", 1)};
  EXPECT_THROW(Report{twice}, std::invalid_argument);
}

}  // namespace
}  // namespace reporttest
