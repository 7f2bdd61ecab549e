// The form shape, through the case form: adding, changing, viewing and
// deleting a case, the required entries, the history copy, the questions on
// the way out, and what the record buffer holds when the form ends.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>

#include "platform/ui/keys.h"
#include "tests/cases/form_fixture.h"

namespace casetest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const Case Doe{"CR-07-101", "US v. Doe", "125.00"};
const Case Roe{"CR-07-202", "US v. Roe", "90.50"};

using FormTest = CaseFormTest;

TEST_F(FormTest, AnInsertAddsTheCaseAndLeavesItInTheBuffer) {
  insert();
  Window& w = added();
  EXPECT_EQ(w.control(cf::CURRENTTAB).selected(), 1);
  EXPECT_EQ(w.focus(), cf::CCS_CASENUMBER);
  fill(w, Doe);
  drv->click(w, cf::OK);
  EXPECT_FALSE(formOpen());
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_THAT(caseNumbers(), ElementsAre(Doe.number));
  EXPECT_EQ(buffer(dictionary::CCS_CASENAME), Doe.name);
  EXPECT_THAT(titles(), IsEmpty());
}

TEST_F(FormTest, ADuplicateCaseNumberInAnotherLetterCaseIsRefusedAndTheFormStaysOpen) {
  seed({Doe});
  insert();
  Window& w = added();
  fill(w, {"cr-07-101", "Another", "80.00"});
  drv->selectTab(w, cf::CURRENTTAB, 5);
  drv->answer(BtnOk);
  drv->click(w, cf::OK);

  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].title, "Duplicate Key Error");
  EXPECT_THAT(drv->messages()[0].text, HasSubstr("duplicate entry for the key: Case Number"));
  ASSERT_TRUE(formOpen());
  EXPECT_EQ(w.control(cf::CURRENTTAB).selected(), 1) << "the first control's tab comes forward";
  EXPECT_EQ(w.focus(), cf::CCS_CASENUMBER);
  EXPECT_EQ(drv->text(w, cf::CCS_CASENAME), "Another") << "what the user typed stays";

  drv->answer(BtnYes);  // "Changes will be lost!"
  drv->click(w, cf::CANCEL);
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_THAT(caseNumbers(), ElementsAre(Doe.number));
}

TEST_F(FormTest, ARequiredEntryThatIsEmptyTakesTheFocusAndNothingIsSaved) {
  struct Required {
    const char* what;
    Case typed;
    int empty;
  };
  const Required cases[] = {
      {"blank case number", {"", "US v. Doe", "125.00"}, cf::CCS_CASENUMBER},
      {"zero hourly rate", {"CR-1", "US v. Doe", "0"}, cf::CCS_HOURLYRATE},
  };
  for (const Required& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t shown = drv->messages().size();
    insert();
    Window& w = added();
    fill(w, c.typed);
    // OK pressed on another tab: the entry's tab comes forward.
    drv->selectTab(w, cf::CURRENTTAB, 4);
    drv->click(w, cf::OK);
    ASSERT_TRUE(formOpen());
    EXPECT_EQ(w.control(cf::CURRENTTAB).selected(), 1);
    EXPECT_EQ(w.focus(), c.empty);
    EXPECT_EQ(drv->messages().size(), shown) << "no message";
    drv->answer(BtnYes);
    drv->click(w, cf::CANCEL);
  }
  EXPECT_THAT(caseNumbers(), IsEmpty());
}

TEST_F(FormTest, RenumberingACaseCarriesTheNewNumberToItsEntriesAndTotals) {
  on([] {
    addCase(Doe);
    addEntry(Doe.number);
    addEntry(Doe.number);
    addTotals(Doe.number);
  });
  call(app::RequestChange, Doe.number);
  Window& w = changed();
  drv->type(w, cf::CCS_CASENUMBER, "CR-07-999");
  drv->click(w, cf::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_THAT(caseNumbers(), ElementsAre("CR-07-999"));
  on([] {
    EXPECT_THAT(column(dictionary::Access_HOURLY(), dictionary::HOU_KeyDate, dictionary::HOU_CASENUMBER),
                ElementsAre("CR-07-999", "CR-07-999"));
    EXPECT_THAT(column(dictionary::Access_TOTALS(), dictionary::TOT_KeyCaseNumber, dictionary::TOT_CASENUMBER),
                ElementsAre("CR-07-999"));
  });
}

TEST_F(FormTest, OkOnAnUnchangedRecordWritesNothingAndCompletes) {
  seed({Doe});
  startSecondList();
  call(app::RequestChange, Doe.number);
  // Meanwhile another thread renames the case: a write of the form would
  // find the stored record changed and fail.
  on(second, [] {
    load(Doe.number);
    const std::vector<std::uint8_t> before(dictionary::CaseCloseSummary().image().begin(),
                                           dictionary::CaseCloseSummary().image().end());
    dictionary::CCS(dictionary::CCS_CASENAME).setText("Renamed");
    ASSERT_EQ(dictionary::Relate_CaseCloseSummary().Update(before), 0);
  });
  drv->click(changed(), cf::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_THAT(titles(), IsEmpty());
  on([] {
    load(Doe.number);
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_CASENAME).text(), "Renamed");
  });
}

TEST_F(FormTest, CancelAsksOnlyWhenTheRecordChanged) {
  seed({Doe});
  call(app::RequestChange, Doe.number);
  drv->click(changed(), cf::CANCEL);
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_THAT(titles(), IsEmpty()) << "no question without a change";

  call(app::RequestChange, Doe.number);
  Window& w = changed();
  drv->type(w, cf::CCS_CASENAME, "US v. Doe et al.");
  drv->selectTab(w, cf::CURRENTTAB, 2);
  drv->answer(BtnNo);
  drv->click(w, cf::CANCEL);
  ASSERT_TRUE(formOpen()) << "No keeps the form open";
  EXPECT_EQ(drv->messages().back().title, "Changes will be lost!");
  EXPECT_EQ(drv->messages().back().text, "Are you sure you want to cancel?");
  EXPECT_EQ(w.focus(), cf::CCS_CASENUMBER);
  EXPECT_EQ(w.control(cf::CURRENTTAB).selected(), 1);

  drv->answer(BtnYes);
  drv->close(w);  // the close box asks the same
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_EQ(titles().size(), 2u);
  on([] {
    load(Doe.number);
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_CASENAME).text(), Doe.name);
  });
}

TEST_F(FormTest, TheCloseBoxTakesTheTypingNotYetAcceptedBeforeItAsks) {
  // The close box and the system menu's Close are one request of the
  // desktop; the text typed last has not left its entry.
  seed({Doe});
  call(app::RequestChange, Doe.number);
  Window& w = changed();
  drv->edit(w, cf::CCS_CASENAME, "US v. Doe et al.");
  drv->answer(BtnNo);
  drv->close(w);
  ASSERT_TRUE(formOpen()) << "No keeps the form open";
  EXPECT_THAT(titles(), ElementsAre("Changes will be lost!"));
  EXPECT_EQ(drv->text(w, cf::CCS_CASENAME), "US v. Doe et al.");
  drv->answer(BtnYes);
  drv->close(w);
  EXPECT_FALSE(formOpen());
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_EQ(buffer(dictionary::CCS_CASENAME), Doe.name);

  // A typed value that does not read: its message, and the form stays open
  // on it without asking.
  insert();
  Window& a = added();
  drv->edit(a, cf::CCS_HOURLYRATE, "1000000");
  drv->answer(BtnOk);
  drv->close(a);
  ASSERT_TRUE(formOpen());
  EXPECT_THAT(drv->messages().back().text, HasSubstr("too large"));
  EXPECT_EQ(titles().size(), 3u) << "no question after the refused value";
  EXPECT_EQ(a.focus(), cf::CCS_HOURLYRATE);
  drv->edit(a, cf::CCS_HOURLYRATE, "");
  drv->close(a);
  EXPECT_FALSE(formOpen()) << "an unchanged new record closes without a question";
  EXPECT_THAT(caseNumbers(), ElementsAre(Doe.number));
}

TEST_F(FormTest, AFormThatDoesNotCompleteLeavesTheListsRecordInTheBuffer) {
  seed({Doe, Roe});
  // Change, given up: the loaded record comes back, not what was typed.
  call(app::RequestChange, Roe.number);
  drv->type(changed(), cf::CCS_CASENAME, "typed");
  drv->answer(BtnYes);
  drv->click(changed(), cf::CANCEL);
  EXPECT_EQ(buffer(dictionary::CCS_CASENAME), Roe.name);

  // Insert, cancelled: the record that was current before the priming.
  on([] { load(Doe.number); });
  insert();
  fill(added(), {"CR-9", "typed", "1.00"});
  drv->answer(BtnYes);
  drv->close(added());
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_EQ(buffer(dictionary::CCS_CASENUMBER), Doe.number);
  EXPECT_EQ(buffer(dictionary::CCS_CASENAME), Doe.name);
  EXPECT_THAT(caseNumbers(), ElementsAre(Doe.number, Roe.number));

  // View mode: a check box stays editable, and its tick does not outlive
  // the form.
  call(app::RequestView, Roe.number);
  Window& w = form("View Record");
  drv->selectTab(w, cf::CURRENTTAB, 4);
  drv->click(w, cf::CCS_APPEALWAIVED);
  drv->click(w, cf::OK);
  EXPECT_EQ(buffer(dictionary::CCS_APPEALWAIVED), "0");
}

TEST_F(FormTest, ViewModeLocksTheEntriesAndOkClosesWithoutSaving) {
  seed({Doe});
  call(app::RequestView, Doe.number);
  Window& w = form("View Record");
  for (int control : {cf::CCS_CASENUMBER, cf::CCS_CASENAME, cf::CCS_HOURLYRATE, cf::CCS_ATTORNEY, cf::CCS_DEFENDANT,
                      cf::CCS_JUDGE, cf::CCS_AUSA, cf::CCS_USPO, cf::CCS_NUMBER, cf::CCS_CODEFNUM,
                      cf::CCS_TAPERECORDINGNUMBER, cf::CCS_INVESTIGATIVEHOURS, cf::CCS_PARALEGALHOURS,
                      cf::CCS_WITENESSESINTERVIEWED, cf::CCS_NUMBERTESTIFYINGWITNESSES, cf::CCS_LENGTH,
                      cf::CCS_PAYMENTNUMBER_2})
    EXPECT_TRUE(w.control(control).readOnly()) << control;
  for (int control : {cf::BUTTON4, cf::CCS_DISCOVERY, cf::CCS_CASEDISPOSITION, cf::BUTTON3})
    EXPECT_TRUE(w.control(control).disabled()) << control;
  for (int control : {cf::CCS_DATE, cf::CCS_CHARGES, cf::CCS_DISPOSITION, cf::CCS_DETAINED, cf::CCS_TRIAL,
                      cf::CCS_COMMENTS, cf::CCS_CLAIMSTATUS, cf::CCS_DATESIGNTAURE, cf::OK, cf::CANCEL})
    EXPECT_TRUE(!w.control(control).readOnly() && !w.control(control).disabled()) << control;

  EXPECT_THROW(drv->edit(w, cf::CCS_CASENAME, "typed"), platform::DriverError);
  drv->selectTab(w, cf::CURRENTTAB, 3);
  drv->choose(w, cf::CCS_TRIAL, "Jury Trial");
  drv->selectTab(w, cf::CURRENTTAB, 2);
  drv->edit(w, cf::CCS_CHARGES, "typed in view mode");
  drv->click(w, cf::OK);
  EXPECT_FALSE(formOpen());
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_THAT(titles(), IsEmpty()) << "no question in view mode";
  on([] {
    load(Doe.number);
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_TRIAL).integer(), 0);
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_CHARGES).text(), "");
  });
}

TEST_F(FormTest, ADeleteAsksWithoutOpeningTheWindowAndTakesTheRelatedRecords) {
  on([] {
    addCase(Doe);
    addEntry(Doe.number);
    addTotals(Doe.number);
    addCase(Roe);
    addEntry(Roe.number);
  });
  drv->answer(BtnNo);
  call(app::RequestDelete, Doe.number);
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_FALSE(formOpen());
  EXPECT_THAT(caseNumbers(), ElementsAre(Doe.number, Roe.number));

  drv->answer(BtnYes);
  call(app::RequestDelete, Doe.number);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_THAT(titles(), ElementsAre("Confirm Delete", "Confirm Delete"));
  EXPECT_EQ(drv->messages()[1].text, "Are you sure you want to delete the highlighted record?");
  EXPECT_THAT(caseNumbers(), ElementsAre(Roe.number));
  on([] {
    EXPECT_THAT(column(dictionary::Access_HOURLY(), dictionary::HOU_KeyDate, dictionary::HOU_CASENUMBER),
                ElementsAre(Roe.number));
    EXPECT_THAT(column(dictionary::Access_TOTALS(), dictionary::TOT_KeyCaseNumber, dictionary::TOT_CASENUMBER),
                IsEmpty());
  });
}

TEST_F(FormTest, TheHistoryKeyRepeatsTheLastCompletedCaseOnThisThreadOnly) {
  insert();
  Window& first = added();
  drv->focus(first, cf::CCS_CASENAME);
  drv->press(first, cases::HistoryKey);
  EXPECT_EQ(drv->text(first, cf::CCS_CASENAME), "") << "blank before the first completion";
  fill(first, Doe);
  drv->click(first, cf::OK);

  insert();
  Window& next = added();
  drv->edit(next, cf::CCS_CASENAME, "half typed");
  drv->press(next, cases::HistoryKey);
  EXPECT_EQ(drv->text(next, cf::CCS_CASENAME), Doe.name);
  drv->focus(next, cf::CCS_HOURLYRATE);
  drv->press(next, cases::HistoryKey);
  EXPECT_EQ(drv->text(next, cf::CCS_HOURLYRATE), "$125.00");
  drv->type(next, cf::CCS_CASENUMBER, Roe.number);
  drv->click(next, cf::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
  on([] {
    load(Roe.number);
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_CASENAME).text(), Doe.name);
  });

  // Another thread's form starts with a blank copy.
  startSecondList();
  on(second, [this] {
    platform::clearRecord(dictionary::CaseCloseSummaryLayout(), dictionary::CaseCloseSummary().record());
    ASSERT_EQ(dictionary::Access_CaseCloseSummary().PrimeRecord(true), 0);
    response = app::CallWithRequest(cases::UpdateCaseCloseSummary, app::RequestInsert);
  });
  Window& other = added();
  drv->focus(other, cf::CCS_CASENAME);
  drv->press(other, cases::HistoryKey);
  EXPECT_EQ(drv->text(other, cf::CCS_CASENAME), "");
  drv->click(other, cf::CANCEL);
}

TEST_F(FormTest, AValueTooLargeForItsEntryIsRefusedAndTheFormStaysOpen) {
  insert();
  Window& w = added();
  drv->type(w, cf::CCS_CASENUMBER, Doe.number);
  drv->edit(w, cf::CCS_HOURLYRATE, "1000000");
  drv->answer(BtnOk);
  drv->click(w, cf::OK);
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_THAT(drv->messages()[0].text, HasSubstr("too large"));
  ASSERT_TRUE(formOpen());
  EXPECT_EQ(w.focus(), cf::CCS_HOURLYRATE);
  drv->type(w, cf::CCS_HOURLYRATE, "1000");
  drv->click(w, cf::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_EQ(drv->messages().size(), 1u) << "the refused OK saved nothing: the second found no duplicate";
  EXPECT_THAT(caseNumbers(), ElementsAre(Doe.number));
}

// How many boxes with this title were shown.
class UpdateErrorTest : public CaseFormTest {
 protected:
  long count(const std::string& title) const {
    const std::vector<std::string> t = titles();
    return std::count(t.begin(), t.end(), title);
  }
};

// Another copy of the program holds the case file locked while it writes.
class LockedCaseFile {
 public:
  LockedCaseFile() {
    EXPECT_EQ(sqlite3_open("CASECLOS.lvd", &db_), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  }
  ~LockedCaseFile() {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
  }
  LockedCaseFile(const LockedCaseFile&) = delete;
  LockedCaseFile& operator=(const LockedCaseFile&) = delete;

 private:
  sqlite3* db_ = nullptr;
};

TEST_F(UpdateErrorTest, AChangeThatFindsTheFilesLockedAsksWhetherToTryAgain) {
  seed({Doe});
  call(app::RequestChange, Doe.number);
  drv->type(changed(), cf::CCS_CASENAME, "US v. Doe et al.");

  std::vector<unsigned> answers = {BtnYes, platform::BtnCancel};
  drv->answerWith([&](const platform::MessageRequest& m) -> unsigned {
    if (m.title != "Record Update Error") return BtnOk;
    const unsigned a = answers.front();
    answers.erase(answers.begin());
    return a;
  });
  std::optional<LockedCaseFile> lock(std::in_place);
  drv->click(changed(), cf::OK);  // Yes tries again, Cancel stays
  ASSERT_TRUE(formOpen());
  EXPECT_EQ(count("Record Update Error"), 2);
  EXPECT_EQ(changed().focus(), cf::CCS_CASENUMBER);

  lock.reset();
  drv->click(changed(), cf::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
  on([] {
    load(Doe.number);
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_CASENAME).text(), "US v. Doe et al.");
  });
}

TEST_F(UpdateErrorTest, NoToTheUpdateQuestionGivesTheChangeUp) {
  seed({Doe});
  call(app::RequestChange, Doe.number);
  drv->type(changed(), cf::CCS_CASENAME, "US v. Doe et al.");
  drv->answerWith([](const platform::MessageRequest& m) -> unsigned {
    return m.title == "Record Update Error" ? BtnNo : BtnOk;
  });
  {
    LockedCaseFile lock;
    drv->click(changed(), cf::OK);
  }
  EXPECT_FALSE(formOpen());
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_EQ(count("Changes will be lost!"), 0) << "no second question";
  EXPECT_EQ(buffer(dictionary::CCS_CASENAME), Doe.name);
  on([] {
    load(Doe.number);
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_CASENAME).text(), Doe.name);
  });
}

}  // namespace
}  // namespace casetest
