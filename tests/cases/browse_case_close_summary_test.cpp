// The case list on the real record files, through the driver.

#include "cases/browse_case_close_summary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cases/update_case_close_summary.h"
#include "platform/types/clock.h"
#include "platform/types/picture.h"
#include "tests/cases/list_case_fixture.h"

namespace browsetest {
namespace {

using ::testing::ElementsAre;
using namespace cases::case_list;
namespace cf = cases::case_form;
using platform::Key;
using platform::KeyPress;

class BrowseCaseTest : public CaseListTest {
 protected:
  // Five cases; the one numbered 5 has no name.
  void addFive() {
    writer->add({"2:07-CR-003", "United States v. Carter", "125", "Judge C"});
    writer->add({"2:07-CR-001", "united states v. adams", "100", "Judge A"});
    writer->add({"2:07-CR-005", "", "90", "Judge E"});
    writer->add({"2:07-CR-002", "United States v. Baker", "110", "Judge B"});
    writer->add({"2:07-CR-004", "United States v. Dunn", "150", "Judge D"});
  }
  void open() { start([] { cases::BrowseCaseCloseSummary(); }); }

  Window& list() { return drv->window("CASE FILE"); }
  platform::Control& listControl() { return drv->control(list(), BROWSE_1); }
  std::vector<std::string> shown(int column = 1) {
    std::vector<std::string> out;
    for (int r = 1; r <= listControl().rowCount(); ++r) out.push_back(listControl().cell(r, column));
    return out;
  }
  std::string selectedNumber() {
    const int r = listControl().selected();
    return r ? listControl().cell(r, 1) : std::string();
  }
  void pressOwn(int control) { drv->click(list(), control); }
};

TEST_F(BrowseCaseTest, OpensByNameAndTheSecondTabListsByNumber) {
  addFive();
  open();
  EXPECT_EQ(list().caption(), "CASE FILE");
  // By name, ignoring case; the case without a name is missing.
  EXPECT_THAT(shown(), ElementsAre("2:07-CR-001", "2:07-CR-002", "2:07-CR-003", "2:07-CR-004"));
  EXPECT_THAT(listControl().row(2), ElementsAre("2:07-CR-002", "United States v. Baker", "$110.00"));
  EXPECT_EQ(drv->text(list(), CCS_CASENAME_2), "united states v. adams");
  EXPECT_EQ(drv->text(list(), CCS_CASENUMBER_2), "2:07-CR-001");

  drv->selectTab(list(), CURRENTTAB, 2);
  EXPECT_THAT(shown(), ElementsAre("2:07-CR-001", "2:07-CR-002", "2:07-CR-003", "2:07-CR-004", "2:07-CR-005"));
  drv->selectRow(list(), BROWSE_1, 5);
  EXPECT_EQ(drv->text(list(), CCS_CASENUMBER_2), "2:07-CR-005");
  EXPECT_EQ(drv->text(list(), CCS_CASENAME_3), "");
  drv->selectTab(list(), CURRENTTAB, 1);
  EXPECT_THAT(shown(), ElementsAre("2:07-CR-001", "2:07-CR-002", "2:07-CR-003", "2:07-CR-004"));
  EXPECT_EQ(selectedNumber(), "2:07-CR-001");
}

TEST_F(BrowseCaseTest, SearchesByNameAndByNumber) {
  addFive();
  open();
  struct Search {
    int tab, entry;
    const char* text;
    const char* selected;
  } searches[] = {
      {1, CCS_CASENAME, "united states v. d", "2:07-CR-004"},
      {1, CCS_CASENAME, "UNITED STATES V. BA", "2:07-CR-002"},
      {1, CCS_CASENAME, "United States v. Bz", "2:07-CR-003"},  // no match: the next one
      {1, CCS_CASENAME, "Z", "2:07-CR-004"},                    // past the end: the last
      {2, CCS_CASENUMBER, "2:07-cr-003", "2:07-CR-003"},
      {2, CCS_CASENUMBER, "2:07-CR-0045", "2:07-CR-005"},
      {2, CCS_CASENUMBER, "3", "2:07-CR-005"},
  };
  for (const Search& s : searches) {
    drv->selectTab(list(), CURRENTTAB, s.tab);
    drv->type(list(), s.entry, s.text);
    EXPECT_EQ(selectedNumber(), s.selected) << s.text;
    EXPECT_EQ(list().focus(), BROWSE_1) << s.text;
  }
  // Enter in a search entry searches and opens no form.
  drv->selectTab(list(), CURRENTTAB, 1);
  drv->edit(list(), CCS_CASENAME, "united states v. c");
  drv->press(list(), KeyPress(Key::Enter));
  EXPECT_EQ(selectedNumber(), "2:07-CR-003");
  EXPECT_EQ(drv->findWindow("Record Will Be Changed"), nullptr);
  EXPECT_TRUE(list().takesInput());
  // The searches never wrote the case record.
  EXPECT_EQ(drv->text(list(), CCS_CASENAME_2), "United States v. Carter");
  // A search text is cut to 39 characters.
  drv->type(list(), CCS_CASENAME, std::string(45, 'u'));
  EXPECT_EQ(drv->text(list(), CCS_CASENAME), std::string(39, 'u'));
}

TEST_F(BrowseCaseTest, EnterInASearchEntryNeverPressesTheChangeButton) {
  addFive();
  open();
  struct Press {
    int tab, entry;
    const char* typed;  // nullptr: the search text as it stands
    const char* selected;
  } presses[] = {
      {1, CCS_CASENAME, nullptr, "2:07-CR-001"},
      {1, CCS_CASENAME, "united states v. c", "2:07-CR-003"},
      {1, CCS_CASENAME, nullptr, "2:07-CR-003"},  // the same text again
      {2, CCS_CASENUMBER, nullptr, "2:07-CR-001"},
      {2, CCS_CASENUMBER, "2:07-cr-004", "2:07-CR-004"},
      {2, CCS_CASENUMBER, nullptr, "2:07-CR-004"},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(std::to_string(p.tab) + (p.typed ? p.typed : " unchanged"));
    drv->selectTab(list(), CURRENTTAB, p.tab);
    drv->selectRow(list(), BROWSE_1, 2);  // a case is selected
    if (p.typed)
      drv->edit(list(), p.entry, p.typed);
    else
      drv->focus(list(), p.entry);
    drv->press(list(), KeyPress(Key::Enter));
    EXPECT_EQ(drv->findWindow("Record Will Be Changed"), nullptr);
    EXPECT_EQ(selectedNumber(), p.selected);
    EXPECT_EQ(list().focus(), BROWSE_1);
  }
}

TEST_F(BrowseCaseTest, TheTabOrderFromTheListIsTheDescriptionsAfterAButtonPressedEitherWay) {
  addFive();
  open();
  // From the list, the controls that take the focus in the order of the
  // window's description, round to the list again.
  const std::vector<int> order = {BROWSEHOURLY_3, BUTTON10,       INSERT_3,   CHANGE_3,     DELETE_3, BROWSEHOURLY,
                                  BUTTON9,        BROWSEHOURLY_2, CURRENTTAB, CCS_CASENAME, BROWSE_1};
  struct Way {
    const char* what;
    int button;
    bool keyboard;
  } ways[] = {
      {"IN COURT clicked", BROWSEHOURLY, false},
      {"IN COURT from the keyboard", BROWSEHOURLY, true},
      {"CREATE NEW CASE clicked", INSERT_3, false},
      {"CREATE NEW CASE from the keyboard", INSERT_3, true},
  };
  for (const Way& w : ways) {
    SCOPED_TRACE(w.what);
    if (w.keyboard) {
      drv->focus(list(), w.button);
      drv->press(list(), KeyPress(Key::Enter));
    } else {
      drv->click(list(), w.button);
    }
    if (Window* form = drv->findWindow("Record Will Be Added")) drv->click(*form, cf::CANCEL);
    drv->selectRow(list(), BROWSE_1, 2);
    std::vector<int> reached;
    for (std::size_t i = 0; i < order.size(); ++i) {
      drv->tab(list());
      reached.push_back(list().focus());
    }
    EXPECT_EQ(reached, order);
  }
}

TEST_F(BrowseCaseTest, AClickAfterASearchTextTakesTheRowTheUserSaw) {
  struct Click {
    const char* what;
    int row;  // on the page shown before the search
    bool twice;
    const char* selected;  // afterwards
    bool form;
  } clicks[] = {
      {"a row the search keeps on its page", 7, false, "2:07-CR-007", false},
      {"a row the search takes off the page", 2, false, "2:07-CR-005", false},
      {"a double-click on a row still shown", 7, true, "2:07-CR-007", true},
      {"a double-click on a row gone", 2, true, "2:07-CR-005", false},
  };
  for (const Click& c : clicks) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    // Thirty cases, more than a page; the first page shows Case 01 onwards.
    writer->addMany(30, [](int i, FieldRef number, FieldRef name) {
      const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
      number.setText("2:07-CR-0" + n);
      name.setText("Case " + n);
    });
    open();
    ASSERT_EQ(listControl().cell(c.row, 2), c.row == 7 ? "Case 07" : "Case 02");
    // The search text is typed, and the click comes without a Tab.
    drv->edit(list(), CCS_CASENAME, "case 05");
    if (c.twice)
      drv->doubleClick(list(), BROWSE_1, c.row);
    else
      drv->selectRow(list(), BROWSE_1, c.row);
    EXPECT_EQ(listControl().cell(1, 2), "Case 05") << "the search ran first";
    EXPECT_EQ(selectedNumber(), c.selected);
    EXPECT_EQ(drv->text(list(), CCS_CASENUMBER_2), c.selected);
    Window* form = drv->findWindow("Record Will Be Changed");
    EXPECT_EQ(form != nullptr, c.form);
    if (form) {
      EXPECT_EQ(drv->text(*form, cf::CCS_CASENUMBER), c.selected);
      drv->click(*form, cf::CANCEL);
    }
  }
}

TEST_F(BrowseCaseTest, WithNoCasesOnlyInsertAndTheOwnButtonsRun) {
  app::G_CASENUMBER().setText("LEFTOVER");
  open();
  EXPECT_EQ(listControl().rowCount(), 0);
  EXPECT_FALSE(drv->control(list(), CHANGE_3).enabled());
  EXPECT_FALSE(drv->control(list(), DELETE_3).enabled());
  EXPECT_TRUE(drv->control(list(), INSERT_3).enabled());
  for (int own : {BROWSEHOURLY, BROWSEHOURLY_2, BROWSEHOURLY_3, BUTTON10, BUTTON9}) pressOwn(own);
  ASSERT_EQ(caseSeen().calls.size(), 5u);
  std::vector<std::string> procedures;
  for (const auto& c : caseSeen().calls) {
    procedures.push_back(c.procedure);
    EXPECT_EQ(c.number, "") << c.procedure;
  }
  EXPECT_THAT(procedures,
              ElementsAre("BrowseInCourt", "BrowseOutOfCourt", "BrowseOtherExpenses", "MoneY", "PRINT_LIST"));
  EXPECT_EQ(caseSeen().calls[4].printCase, "");  // written even for no case
  EXPECT_FALSE(drv->control(list(), BROWSETOTALS).visible());

  // A new case in the case form: primed with today's date and nothing
  // else, then listed and selected.
  drv->click(list(), INSERT_3);
  Window& form = drv->window("Record Will Be Added");
  EXPECT_EQ(drv->text(form, cf::CCS_DATE), platform::formatDay(platform::today(), platform::Picture::of("D17B")));
  EXPECT_EQ(drv->text(form, cf::CCS_CASENUMBER), "");
  EXPECT_EQ(drv->text(form, cf::CCS_JUDGE), "");
  drv->type(form, cf::CCS_CASENUMBER, "2:08-CR-100");
  drv->type(form, cf::CCS_CASENAME, "United States v. Roe");
  drv->type(form, cf::CCS_HOURLYRATE, "125");
  drv->click(form, cf::OK);
  EXPECT_EQ(drv->findWindow("Record Will Be Added"), nullptr);
  EXPECT_THAT(shown(), ElementsAre("2:08-CR-100"));
  EXPECT_EQ(drv->text(list(), CCS_CASENAME_2), "United States v. Roe");
  EXPECT_TRUE(drv->control(list(), CHANGE_3).enabled());
  EXPECT_EQ(writer->cases("2:08-CR-100"), 1);
  dictionary::ThreadData* data = layer.of(list().thread());
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(platform::FieldRef::of(data->file(dictionary::CaseCloseSummaryFile).layout().field(dictionary::CCS_DATE),
                                   data->file(dictionary::CaseCloseSummaryFile).record())
                .day(),
            platform::today());
}

TEST_F(BrowseCaseTest, OwnButtonsCallTheirWindowOnTheWholeSelectedCase) {
  addFive();
  open();
  // HOURLY is open on the list's thread for the windows it calls.
  EXPECT_TRUE(layer.of(list().thread())->file(dictionary::HOURLYFile).isOpen());
  drv->selectRow(list(), BROWSE_1, 3);  // Carter
  app::G_CASENUMBER().setText("");
  pressOwn(BUTTON9);
  pressOwn(BROWSEHOURLY);
  ASSERT_EQ(caseSeen().calls.size(), 2u);
  const auto& print = caseSeen().calls[0];
  EXPECT_EQ(print.procedure, "PRINT_LIST");
  EXPECT_EQ(print.request, 0);
  EXPECT_EQ(print.printCase, "2:07-CR-003");
  EXPECT_EQ(print.judge, "Judge C");  // not a column: the whole record was read
  EXPECT_EQ(caseSeen().calls[1].procedure, "BrowseInCourt");
  EXPECT_EQ(caseSeen().calls[1].number, "2:07-CR-003");
  // The list stays where it was.
  EXPECT_EQ(selectedNumber(), "2:07-CR-003");
}

TEST_F(BrowseCaseTest, PrintAllFormsTakesTheListedCaseNumberBeforeTheCaseIsReadAgain) {
  writer->add({"2:07-CR-001", "Adams"});
  const std::int64_t baker = writer->add({"2:07-CR-002", "Baker", "100", "Judge B"});
  open();
  drv->selectRow(list(), BROWSE_1, 2);
  writer->renumber(baker, "2:07-CR-009");  // another thread renumbers the case meanwhile
  pressOwn(BUTTON9);
  ASSERT_EQ(caseSeen().calls.size(), 1u);
  EXPECT_EQ(caseSeen().calls[0].printCase, "2:07-CR-002");  // what the list showed
  EXPECT_EQ(caseSeen().calls[0].number, "2:07-CR-009");     // the case read again
  EXPECT_EQ(caseSeen().calls[0].judge, "Judge B");
}

TEST_F(BrowseCaseTest, ANewCaseAmongOthersIsListedInItsPlaceAndSelected) {
  addFive();
  open();
  drv->selectRow(list(), BROWSE_1, 4);  // Dunn
  drv->click(list(), INSERT_3);
  Window& form = drv->window("Record Will Be Added");
  drv->type(form, cf::CCS_CASENUMBER, "2:07-CR-006");
  drv->type(form, cf::CCS_CASENAME, "United States v. Chase");
  drv->type(form, cf::CCS_HOURLYRATE, "95");
  drv->click(form, cf::OK);
  EXPECT_THAT(shown(), ElementsAre("2:07-CR-001", "2:07-CR-002", "2:07-CR-003", "2:07-CR-006", "2:07-CR-004"));
  EXPECT_EQ(selectedNumber(), "2:07-CR-006");
  EXPECT_EQ(drv->text(list(), CCS_CASENAME_2), "United States v. Chase");
  EXPECT_EQ(list().focus(), BROWSE_1);
  drv->selectTab(list(), CURRENTTAB, 2);
  EXPECT_THAT(shown(),
              ElementsAre("2:07-CR-001", "2:07-CR-002", "2:07-CR-003", "2:07-CR-004", "2:07-CR-005", "2:07-CR-006"));
}

TEST_F(BrowseCaseTest, ACaseDeletedElsewhereIsDroppedBeforeAnAction) {
  std::vector<std::int64_t> at;
  at.push_back(writer->add({"2:07-CR-001", "Adams"}));
  at.push_back(writer->add({"2:07-CR-002", "Baker"}));
  at.push_back(writer->add({"2:07-CR-003", "Carter"}));
  open();
  drv->selectRow(list(), BROWSE_1, 2);
  writer->remove(at[1]);
  drv->click(list(), CHANGE_3);  // the form's action is skipped
  EXPECT_EQ(drv->findWindow("Record Will Be Changed"), nullptr);
  EXPECT_THAT(shown(), ElementsAre("2:07-CR-001", "2:07-CR-003"));

  // An own button still runs, on the case the user chose.
  writer->remove(at[2]);
  pressOwn(BUTTON9);
  ASSERT_EQ(caseSeen().calls.size(), 1u);
  EXPECT_EQ(caseSeen().calls[0].printCase, "2:07-CR-003");
  EXPECT_EQ(caseSeen().calls[0].number, "2:07-CR-003");
  EXPECT_THAT(shown(), ElementsAre("2:07-CR-001"));
}

TEST_F(BrowseCaseTest, DeletingACaseAsksAndTakesItsEntriesAndTotals) {
  struct Answer {
    unsigned button;
    int cases, entries, totals;
    std::vector<std::string> shown;
  } answers[] = {
      {platform::BtnYes, 0, 0, 0, {"2:07-CR-001", "2:07-CR-003"}},
      {platform::BtnNo, 1, 3, 1, {"2:07-CR-001", "2:07-CR-002", "2:07-CR-003"}},
  };
  for (const Answer& a : answers) {
    SCOPED_TRACE(a.button == platform::BtnYes ? "Yes" : "No");
    TearDown();
    SetUp();
    writer->add({"2:07-CR-001", "Adams"});
    writer->add({"2:07-CR-002", "Baker"});
    writer->add({"2:07-CR-003", "Carter"});
    for (int fn = 1; fn <= 3; ++fn) writer->addEntry("2:07-CR-002", fn);
    writer->addEntry("2:07-CR-001", 4);
    writer->addTotals("2:07-CR-002");
    open();
    drv->selectRow(list(), BROWSE_1, 2);
    drv->answer(a.button);
    drv->focus(list(), BROWSE_1);
    drv->press(list(), KeyPress(Key::Delete));
    ASSERT_EQ(drv->messages().size(), 1u);
    EXPECT_EQ(drv->messages()[0].title, "Confirm Delete");
    EXPECT_EQ(drv->messages()[0].text, "Are you sure you want to delete the highlighted record?");
    EXPECT_EQ(writer->cases("2:07-CR-002"), a.cases);
    EXPECT_EQ(writer->entries("2:07-CR-002"), a.entries);
    EXPECT_EQ(writer->totals("2:07-CR-002"), a.totals);
    EXPECT_EQ(writer->entries("2:07-CR-001"), 1);
    EXPECT_THAT(shown(), ::testing::ElementsAreArray(a.shown));
    EXPECT_EQ(selectedNumber(), a.button == platform::BtnYes ? "2:07-CR-003" : "2:07-CR-002");
  }
}

TEST_F(BrowseCaseTest, DeletingTheLastCaseLeavesNothingOfItBehind) {
  writer->add({"2:07-CR-001", "Adams", "100", "Judge A"});
  open();
  drv->answer(platform::BtnYes);
  drv->click(list(), DELETE_3);
  EXPECT_EQ(listControl().rowCount(), 0);
  for (int shown : {CCS_CASENAME_2, CCS_CASENUMBER_2, CCS_CASENAME_3}) EXPECT_EQ(drv->text(list(), shown), "") << shown;
  app::G_CASENUMBER().setText("LEFTOVER");
  pressOwn(BUTTON9);
  ASSERT_EQ(caseSeen().calls.size(), 1u);
  EXPECT_EQ(caseSeen().calls[0].printCase, "");
  EXPECT_EQ(caseSeen().calls[0].number, "");
  EXPECT_EQ(caseSeen().calls[0].judge, "");
}

TEST_F(BrowseCaseTest, AChangedCaseIsFoundAgainUnderItsNewName) {
  addFive();
  open();
  drv->selectRow(list(), BROWSE_1, 1);       // Adams
  drv->press(list(), KeyPress(Key::Enter));  // Change is the default button
  Window& form = drv->window("Record Will Be Changed");
  EXPECT_EQ(drv->text(form, cf::CCS_JUDGE), "Judge A");  // the whole case, read again
  drv->type(form, cf::CCS_CASENAME, "United States v. Young");
  drv->click(form, cf::OK);
  EXPECT_THAT(shown(), ElementsAre("2:07-CR-002", "2:07-CR-003", "2:07-CR-004", "2:07-CR-001"));
  EXPECT_EQ(selectedNumber(), "2:07-CR-001");
  EXPECT_EQ(drv->text(list(), CCS_CASENAME_2), "United States v. Young");
}

TEST_F(BrowseCaseTest, AFormThatDoesNotCompleteLeavesTheSelectedCaseInTheBuffer) {
  addFive();
  open();
  drv->selectRow(list(), BROWSE_1, 2);  // Baker
  struct Way {
    const char* what;
    int button;
    const char* caption;
  } ways[] = {
      {"a cancelled insert", INSERT_3, "Record Will Be Added"},
      {"a cancelled change", CHANGE_3, "Record Will Be Changed"},
  };
  for (const Way& w : ways) {
    SCOPED_TRACE(w.what);
    drv->click(list(), w.button);
    Window& form = drv->window(w.caption);
    drv->type(form, cf::CCS_CASENAME, "Typed and given up");
    drv->answer(platform::BtnYes);  // "Changes will be lost!"
    drv->click(form, cf::CANCEL);
    ASSERT_FALSE(drv->messages().empty());
    EXPECT_EQ(drv->messages().back().title, "Changes will be lost!");
    EXPECT_EQ(drv->findWindow(w.caption), nullptr);
    EXPECT_EQ(selectedNumber(), "2:07-CR-002");
    EXPECT_EQ(drv->text(list(), CCS_CASENAME_2), "United States v. Baker");
    // The own buttons find the case as the list has it.
    pressOwn(BUTTON9);
    ASSERT_FALSE(caseSeen().calls.empty());
    EXPECT_EQ(caseSeen().calls.back().name, "United States v. Baker");
    EXPECT_EQ(caseSeen().calls.back().judge, "Judge B");
  }
  EXPECT_EQ(writer->cases("2:07-CR-002"), 1);
}

}  // namespace
}  // namespace browsetest
