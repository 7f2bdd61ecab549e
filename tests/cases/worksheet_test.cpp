// The three worksheets, opened from the real case list, with the real
// entry forms: what each lists and totals, the section figures, the '#'
// mark, the figures after the form and after a print, two case lists on two
// threads, a read that fails in the middle of a walk, and Insert only for a
// case that exists.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cases/update_time_entry.h"
#include "tests/cases/worksheet_fixture.h"

namespace sheettest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using platform::BtnOk;
using platform::BtnYes;
namespace ic = cases::in_court;

const std::string Hashes7(7, '#'), Hashes17(17, '#');

// The case of the fixture, and its four entries: in-court hours with their
// amount, in-court hours stored without one, an expense only, and
// out-of-court hours.
const Case A{"CR-A", "Adams", "100"};
void seedA(EntryWriter& w) {
  using namespace dictionary;
  w.add({A.number, {{HOU_TRIAL, "2.0"}, {HOU_IN_TOTALHOURS, "2.0"}, {HOU_TOTALSECTION_INCOURT, "200.00"}}, "Trial day"});
  w.add({A.number, {{HOU_BAILHEARINGS, "1.5"}, {HOU_IN_TOTALHOURS, "1.5"}}, "Bail, unpriced"});
  w.add({A.number,
         {{HOU_PARKING, "5.00"}, {HOU_TOTALSECTIONTRAVEL, "5.00"}, {HOU_TOTALSECTION, "5.00"}},
         "Parking"});
  w.add({A.number,
         {{HOU_LEGALRESEARCH, "1.0"}, {HOU_OUT_TOTALHOURS, "1.0"}, {HOU_TOTALSECTION_OUTCOURT, "100.00"}},
         "Research"});
}

// The 22 globals with one of them set.
std::vector<std::string> globalsWith(int i, const std::string& value) {
  std::vector<std::string> g;
  for (int k = 0; k < cases::TotalCount; ++k) g.push_back(k < cases::HourTotals ? "0.0" : "0.00");
  g[static_cast<std::size_t>(i)] = value;
  return g;
}
// The 22 displays of a worksheet: '-' where it has none, blank for zero,
// `value` for total i.
std::vector<std::string> shownWith(std::vector<int> has, int i, const std::string& value) {
  std::vector<std::string> s(cases::TotalCount, "-");
  for (int k : has) s[static_cast<std::size_t>(k)] = "";
  s[static_cast<std::size_t>(i)] = value;
  return s;
}
std::vector<int> range(int first, int last) {
  std::vector<int> r;
  for (int i = first; i <= last; ++i) r.push_back(i);
  return r;
}

TEST_F(SheetTest, EachWorksheetListsItsSectionAndTotalsIt) {
  writer->add(A);
  seedA(*entries);
  openList();

  struct Sheet {
    const char* what;
    Window& (SheetTest::*open)(const std::string&);
    std::vector<std::string> descriptions;
    std::vector<int> hasTotals;  // first tab and hidden tabs
    int total;
    std::string shown;
    std::vector<std::pair<int, std::string>> section;
    std::string global;
  } sheets[] = {
      {"in court",
       &SheetTest::inCourt,
       {"Trial day"},
       range(0, 21),
       4,
       "2.0",
       {{ws::HOU_IN_TOTALHOURS, "2.0"}, {ws::HOU_TOTALSECTION_INCOURT, "$200.00"}},
       "2.0"},
      {"out of court",
       &SheetTest::outOfCourt,
       {"Research"},
       range(8, 21),
       10,
       "1.0",
       {{ws::HOU_OUT_TOTALHOURS, "1.0"}, {ws::HOU_TOTALSECTION_OUTCOURT, "$100.00"}},
       "1.0"},
      {"other expenses",
       &SheetTest::otherExpenses,
       {"Parking"},
       range(8, 21),
       14,
       "$5.00",
       {{ws::HOU_TOTALSECTIONTRAVEL, "$5.00"}, {ws::HOU_TOTALSECTIONOTHER, ""}, {ws::HOU_TOTALSECTION, "$5.00"}},
       "5.00"},
  };
  for (const Sheet& s : sheets) {
    SCOPED_TRACE(s.what);
    Window& w = (this->*s.open)(A.name);
    EXPECT_EQ(drv->text(w, ws::CCS_CASENUMBER), "CR-A");
    EXPECT_EQ(drv->text(w, ws::CCS_CASENAME), "Adams");
    EXPECT_EQ(drv->text(w, ws::CCS_HOURLYRATE), "$100.00");
    EXPECT_EQ(column(w, ws::BROWSE_1, 2), s.descriptions);
    EXPECT_EQ(totalsShown(w), shownWith(s.hasTotals, s.total, s.shown));
    for (const auto& [control, text] : s.section) EXPECT_EQ(drv->text(w, control), text) << control;
    EXPECT_EQ(globals(), globalsWith(s.total, s.global));
    // The hidden tabs stay hidden and their lists empty.
    EXPECT_TRUE(drv->control(w, ws::TAB2).hidden());
    EXPECT_TRUE(drv->control(w, ws::TAB3).hidden());
    EXPECT_EQ(drv->control(w, ws::LIST).rowCount(), 0);
    EXPECT_EQ(drv->control(w, ws::LIST_2).rowCount(), 0);
    drv->close(w);
  }
  // An hours row in the in-court list, each value under its column.
  Window& w = inCourt(A.name);
  EXPECT_THAT(drv->control(w, ws::BROWSE_1).row(1),
              ElementsAre("", "Trial day", "", "", "", "", "2.0", "", "", ""));
}

TEST_F(SheetTest, ASectionWithoutEntriesShowsBlanksAndOnlyInsert) {
  writer->add(A);
  entries->add({A.number, {{dictionary::HOU_PARKING, "5.00"}, {dictionary::HOU_TOTALSECTION, "5.00"}}});
  openList();
  Window& w = inCourt(A.name);
  EXPECT_EQ(drv->control(w, ws::BROWSE_1).rowCount(), 0);
  for (int i = 0; i < cases::TotalCount; ++i) EXPECT_EQ(drv->text(w, ws::G(i)), "") << i;
  EXPECT_EQ(drv->text(w, ws::HOU_IN_TOTALHOURS), "");
  EXPECT_EQ(drv->text(w, ws::HOU_TOTALSECTION_INCOURT), "");
  EXPECT_FALSE(drv->control(w, ws::CHANGE_3).enabled());
  EXPECT_FALSE(drv->control(w, ws::DELETE_3).enabled());
  EXPECT_TRUE(drv->control(w, ws::INSERT_3).enabled());
  EXPECT_EQ(globals(), globalsWith(0, "0.0"));
}

// Hours that sum without a float's error, hours too wide for their picture
// (first without commas, then '#'), and hours too large for their field:
// the '#' reaches the amount computed from them.
TEST_F(SheetTest, TotalsRoundTheirSumsAndMarkWhatDoesNotFit) {
  struct Row {
    const char* name;
    std::vector<std::string> hours;  // each an entry
    const char* total;
    const char* amount;
    const char* global;  // G:A afterwards
  } rows[] = {
      {"Tenths", std::vector<std::string>(10, "0.1"), "1.0", "$100.00", "1.0"},
      {"Wide", {"12345.6"}, "12345.6", "$1,234,560.00", "12345.6"},
      {"Wider", {"123456.7"}, Hashes7.c_str(), Hashes17.c_str(), "123456.7"},
      {"Overflowing", {"600000.0", "600000.0"}, Hashes7.c_str(), Hashes17.c_str(), "123456.7"},  // G:A as it was
  };
  for (const Row& r : rows) {
    writer->add({r.name, r.name, "100"});
    std::vector<Entry> list;
    for (const std::string& h : r.hours)
      list.push_back({r.name, {{dictionary::HOU_ARRAIGNMENTPLEA, h}, {dictionary::HOU_TOTALSECTION_INCOURT, "1.00"}}});
    entries->addMany(list);
  }
  openList();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Window& w = inCourt(r.name);
    EXPECT_EQ(drv->text(w, ws::G(0)), r.total);
    EXPECT_EQ(drv->text(w, ws::HOU_IN_TOTALHOURS), r.total);
    EXPECT_EQ(drv->text(w, ws::HOU_TOTALSECTION_INCOURT), r.amount);
    EXPECT_EQ(cases::TotalGlobal(0).text(), r.global);
    // The other totals are not touched by the mark.
    EXPECT_EQ(drv->text(w, ws::G(1)), "");
    drv->close(w);
  }
}

TEST_F(SheetTest, TheFiguresFollowTheFormAtOnceAndStayAfterAPrint) {
  writer->add(A);
  seedA(*entries);
  openList();
  Window& w = inCourt(A.name);
  auto figures = [&] {
    return std::vector<std::string>{drv->text(w, ws::G(4)), drv->text(w, ws::HOU_IN_TOTALHOURS),
                                    drv->text(w, ws::HOU_TOTALSECTION_INCOURT)};
  };
  ASSERT_THAT(figures(), ElementsAre("2.0", "2.0", "$200.00"));

  // Insert: a second trial day of 3 hours.
  drv->click(w, ws::INSERT_3);
  Window& added = drv->window("Record Will Be Added");
  drv->type(added, ic::HOU_BRIEFDESCRIPTIONSERVICES, "Second day");
  drv->type(added, ic::HOU_TRIAL, "3.0");
  drv->click(added, ic::OK);
  EXPECT_EQ(column(w, ws::BROWSE_1, 2), (std::vector<std::string>{"Trial day", "Second day"}));
  EXPECT_THAT(figures(), ElementsAre("5.0", "5.0", "$500.00"));

  // Change the first to 1.5 hours.
  drv->selectRow(w, ws::BROWSE_1, 1);
  drv->click(w, ws::CHANGE_3);
  Window& changed = drv->window("Record Will Be Changed");
  drv->type(changed, ic::HOU_TRIAL, "1.5");
  drv->click(changed, ic::OK);
  EXPECT_THAT(figures(), ElementsAre("4.5", "4.5", "$450.00"));

  // Delete the second.
  drv->selectRow(w, ws::BROWSE_1, 2);
  drv->answer(BtnYes);
  drv->click(w, ws::DELETE_3);
  EXPECT_EQ(column(w, ws::BROWSE_1, 2), std::vector<std::string>{"Trial day"});
  EXPECT_THAT(figures(), ElementsAre("1.5", "1.5", "$150.00"));
  EXPECT_EQ(cases::TotalGlobal(4).text(), "1.5");

  // The print: G:CASENUMBER first, seen on the worksheet's thread; the
  // figures stay.
  app::G_CASENUMBER().setText("OTHER");
  drv->click(w, ws::BUTTON5);
  ASSERT_EQ(printed().size(), 1u);
  EXPECT_EQ(printed()[0].procedure, "PRT_InCOURT");
  EXPECT_EQ(printed()[0].given, "CR-A");
  EXPECT_EQ(printed()[0].printCase, "CR-A");
  EXPECT_EQ(printed()[0].thread, w.thread());
  EXPECT_EQ(app::G_CASENUMBER().text(), "CR-A");
  EXPECT_THAT(figures(), ElementsAre("1.5", "1.5", "$150.00"));
}

TEST_F(SheetTest, EachPrintButtonCallsItsPrintout) {
  writer->add(A);
  openList();
  struct Button {
    Window& (SheetTest::*open)(const std::string&);
    int control;
    const char* caption;
    const char* procedure;
  } buttons[] = {
      {&SheetTest::inCourt, ws::BUTTON5, "PRINT IN COURT WORKSHEET", "PRT_InCOURT"},
      {&SheetTest::outOfCourt, ws::BUTTON5, "PRINT OUT OF COURT WORKSHEET", "PRT_OutCOURT"},
      {&SheetTest::otherExpenses, ws::BUTTON4, "PRINT OTHER EXPENSES WORKSHEET", "PRT_OTHER"},
      {&SheetTest::otherExpenses, ws::BUTTON4_2, "IF NO ENTRIES,  CLICK HERE", "PRT_OTHER_NON"},
  };
  for (const Button& b : buttons) {
    SCOPED_TRACE(b.procedure);
    printed().clear();
    Window& w = (this->*b.open)(A.name);
    EXPECT_EQ(drv->text(w, b.control), b.caption);
    drv->click(w, b.control);
    ASSERT_EQ(printed().size(), 1u);
    EXPECT_EQ(printed()[0].procedure, b.procedure);
    EXPECT_EQ(printed()[0].given, "CR-A");
    drv->close(w);
  }
}

TEST_F(SheetTest, ShiftEnterOnATimeWorksheetOpensTheFormToView) {
  writer->add(A);
  seedA(*entries);
  openList();
  Window& w = inCourt(A.name);
  drv->focus(w, ws::BROWSE_1);
  drv->press(w, platform::KeyPress(platform::Key::Enter, platform::ModShift));
  Window& view = drv->window("View Record");
  EXPECT_EQ(drv->text(view, ic::HOU_TRIAL), "2.0");
  drv->click(view, ic::OK);
  EXPECT_EQ(drv->findWindow("View Record"), nullptr);
  EXPECT_EQ(drv->text(w, ws::HOU_TOTALSECTION_INCOURT), "$200.00");
}

TEST_F(SheetTest, TwoCaseListsOnTwoThreadsKeepTheirOwnFigures) {
  const Case B{"CR-B", "Baker", "50"};
  writer->add(A);
  writer->add(B);
  seedA(*entries);
  entries->add({B.number, {{dictionary::HOU_TRIAL, "4.0"}, {dictionary::HOU_TOTALSECTION_INCOURT, "200.00"}}});
  openList();
  Window& first = list();
  drv->start(cases::BrowseCaseCloseSummary, 50000);
  Window* second = nullptr;
  for (Window* o : drv->openWindows())
    if (o->caption() == "CASE FILE" && o != &first) second = o;
  ASSERT_NE(second, nullptr);
  ASSERT_NE(second->thread(), first.thread());

  Window& a = open(first, A.name, cl::BROWSEHOURLY, "IN COURT WORKSHEET");
  Window& b = open(*second, B.name, cl::BROWSEHOURLY, "IN COURT WORKSHEET");
  ASSERT_NE(&a, &b);
  EXPECT_EQ(drv->text(a, ws::G(4)), "2.0");
  EXPECT_EQ(drv->text(a, ws::HOU_TOTALSECTION_INCOURT), "$200.00");
  EXPECT_EQ(drv->text(b, ws::G(4)), "4.0");
  EXPECT_EQ(drv->text(b, ws::HOU_TOTALSECTION_INCOURT), "$200.00") << "4.0 hours at 50.00";
  EXPECT_EQ(cases::TotalGlobal(4).text(), "4.0") << "the last walk's";

  // Events in A's worksheet, then a new walk in A's: B's keeps its own.
  drv->selectRow(a, ws::BROWSE_1, 1);
  EXPECT_EQ(drv->text(a, ws::G(4)), "2.0");
  EXPECT_EQ(drv->text(a, ws::HOU_TOTALSECTION_INCOURT), "$200.00");
  drv->click(a, ws::INSERT_3);
  drv->click(drv->window("Record Will Be Added"), ic::CANCEL);
  EXPECT_EQ(cases::TotalGlobal(4).text(), "2.0");
  drv->selectRow(b, ws::BROWSE_1, 1);
  EXPECT_EQ(drv->text(b, ws::G(4)), "4.0");
  EXPECT_EQ(drv->text(b, ws::HOU_IN_TOTALHOURS), "4.0");
  EXPECT_EQ(drv->text(b, ws::HOU_TOTALSECTION_INCOURT), "$200.00");
  EXPECT_EQ(drv->text(a, ws::HOU_IN_TOTALHOURS), "2.0");
}

// A walk over 2,500 entries reads a batch a query; a read that fails in
// its third batch stores nothing, keeps the window's figures, switches the
// read-ahead and the wait cursor off, is reported, and closes the window.
TEST_F(SheetTest, AReadThatFailsInTheMiddleOfAWalkStoresNothingAndClosesTheWorksheet) {
  writer->add(A);
  std::vector<Entry> many;
  for (int i = 0; i < 2500; ++i)
    many.push_back({A.number, {{dictionary::HOU_TRIAL, "1.0"}, {dictionary::HOU_TOTALSECTION_INCOURT, "100.00"}}});
  entries->addMany(many);

  struct Reads {
    int walkQueries = 0;
    long firstQuery = 0, lastQuery = 0;  // the view's count of its queries
    int failAt = 0;  // the walk query that fails; 0 none
    bool quickScanAfter = false;
    bool waitCursor = true;  // during every query of the walk
  } reads;
  platform::ListView::setReadFault([&reads](const platform::ListView& view) {
    if (&view.file() == &dictionary::HOURLY() && dictionary::Relate_HOURLY().quickScan()) {
      if (++reads.walkQueries == 1) reads.firstQuery = view.stats().queries;
      reads.lastQuery = view.stats().queries;
      const Window* sheet = platform::desktop().findByCaption("IN COURT WORKSHEET");
      reads.waitCursor = reads.waitCursor && sheet && sheet->waitCursor();
      if (reads.walkQueries == reads.failAt) return DbStatus::Failed;
    } else if (&view.file() == &dictionary::CaseCloseSummary()) {
      reads.quickScanAfter = reads.quickScanAfter || dictionary::Relate_HOURLY().quickScan();
    }
    return DbStatus::Ok;
  });
  openList();
  Window& w = inCourt(A.name);
  EXPECT_EQ(drv->text(w, ws::G(4)), "2,500.0");
  EXPECT_EQ(drv->text(w, ws::HOU_TOTALSECTION_INCOURT), "$250,000.00");
  EXPECT_GE(reads.walkQueries, 5) << "read in batches, never whole";
  EXPECT_EQ(reads.lastQuery - reads.firstQuery + 1, reads.walkQueries);
  EXPECT_TRUE(reads.waitCursor);
  EXPECT_FALSE(w.waitCursor());

  // A second walk, after a cancelled insert, fails in its third query.
  entries->add({A.number, {{dictionary::HOU_TRIAL, "7.0"}, {dictionary::HOU_TOTALSECTION_INCOURT, "700.00"}}});
  cases::TotalGlobal(4).setText("9.9");
  reads.walkQueries = 0;
  reads.failAt = 3;
  std::vector<std::string> duringMessage;
  bool waiting = true;
  drv->answerWith([&](const platform::MessageRequest& m) -> unsigned {
    duringMessage = {m.title, drv->text(w, ws::G(4)), drv->text(w, ws::HOU_TOTALSECTION_INCOURT)};
    waiting = w.waitCursor();
    return BtnOk;
  });
  drv->click(w, ws::INSERT_3);
  drv->click(drv->window("Record Will Be Added"), ic::CANCEL);
  EXPECT_EQ(reads.walkQueries, 3);
  EXPECT_THAT(duringMessage, ElementsAre("Record Retrieval Error", "2,500.0", "$250,000.00"));
  EXPECT_FALSE(waiting);
  EXPECT_EQ(cases::TotalGlobal(4).text(), "9.9") << "nothing stored";
  EXPECT_EQ(drv->findWindow("IN COURT WORKSHEET"), nullptr);
  EXPECT_FALSE(reads.quickScanAfter);
}

TEST_F(SheetTest, InsertOnlyForACaseThatExists) {
  writer->add(A);
  seedA(*entries);
  const std::int64_t b = writer->add({"CR-B", "Baker", "50"});
  openList();
  // A case deleted while its worksheet is open: Insert opens no form.
  Window& w = inCourt("Baker");
  EXPECT_TRUE(drv->control(w, ws::INSERT_3).enabled());
  writer->remove(b);
  drv->click(w, ws::INSERT_3);
  EXPECT_EQ(drv->findWindow("Record Will Be Added"), nullptr);
  EXPECT_FALSE(drv->control(w, ws::INSERT_3).enabled());
  drv->close(w);
}

TEST_F(SheetTest, AWorksheetOpenedOnAnEmptyCaseListTakesNoEntry) {
  openList();
  drv->click(list(), cl::BROWSEHOURLY_2);
  Window& w = drv->window("OUT OF COURT WORKSHEET");
  EXPECT_EQ(drv->text(w, ws::CCS_CASENUMBER), "");
  EXPECT_FALSE(drv->control(w, ws::INSERT_3).enabled());
  EXPECT_FALSE(drv->control(w, ws::CHANGE_3).enabled());
  EXPECT_EQ(globals(), globalsWith(0, "0.0"));
}

}  // namespace
}  // namespace sheettest
