// The time-entry forms, both through one table: the totals while the user
// types, the price of the entry's own case, repricing, the required
// description, view mode, the calendar and the history key.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "cases/update_time_entry.h"
#include "tests/cases/entry_form_fixture.h"

namespace casetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// One of the two forms, as the tests use it.
struct TimeForm {
  const char* name;
  void (*form)();
  // Two hour categories (controls and fields), the totals, the rest.
  int first, second;
  HOURLYField firstField, secondField;
  HOURLYField totalField, amountField;
  int total, amount, date, calendar, description, ok, cancel, rate;
};

void PrintTo(const TimeForm& f, std::ostream* os) { *os << f.name; }

const TimeForm InCourt{"UpdateiNCOURT",
                       cases::UpdateiNCOURT,
                       cases::in_court::HOU_TRIAL,
                       cases::in_court::HOU_BAILHEARINGS,
                       dictionary::HOU_TRIAL,
                       dictionary::HOU_BAILHEARINGS,
                       dictionary::HOU_IN_TOTALHOURS,
                       dictionary::HOU_TOTALSECTION_INCOURT,
                       cases::in_court::HOU_IN_TOTALHOURS,
                       cases::in_court::HOU_TOTALSECTION_INCOURT,
                       cases::in_court::HOU_DATE,
                       cases::in_court::BUTTON3,
                       cases::in_court::HOU_BRIEFDESCRIPTIONSERVICES,
                       cases::in_court::OK,
                       cases::in_court::CANCEL,
                       cases::in_court::CCS_HOURLYRATE};
const TimeForm OutOfCourt{"UpdateOUTofCOURT",
                          cases::UpdateOUTofCOURT,
                          cases::out_of_court::HOU_LEGALRESEARCH,
                          cases::out_of_court::HOU_REVIEWRECORDS,
                          dictionary::HOU_LEGALRESEARCH,
                          dictionary::HOU_REVIEWRECORDS,
                          dictionary::HOU_OUT_TOTALHOURS,
                          dictionary::HOU_TOTALSECTION_OUTCOURT,
                          cases::out_of_court::HOU_OUT_TOTALHOURS,
                          cases::out_of_court::HOU_TOTALSECTION_OUTCOURT,
                          cases::out_of_court::HOU_DATE,
                          cases::out_of_court::BUTTON3,
                          cases::out_of_court::HOU_BRIEFDESCRIPTIONSERVICES,
                          cases::out_of_court::OK,
                          cases::out_of_court::CANCEL,
                          cases::out_of_court::CCS_HOURLYRATE};

const Case A{"CR-07-101", "US v. Able", "33.35"};
const Case B{"CR-07-202", "US v. Baker", "80.00"};

class TimeEntryTest : public EntryFormTest, public ::testing::WithParamInterface<TimeForm> {
 protected:
  const TimeForm& f() const { return GetParam(); }
  // An entry of a case with `hours` in the first category and totals as
  // stored before the case's rate changed.
  std::int32_t seedHours(const Case& c, const char* hours, const char* amount) {
    return seedEntry(c.number, [&] {
      HOU(dictionary::HOU_BRIEFDESCRIPTIONSERVICES).setText("Hearing");
      HOU(f().firstField).setText(hours);
      HOU(f().totalField).setText(hours);
      HOU(f().amountField).setText(amount);
    });
  }
  std::vector<std::string> totals(std::int32_t fn) { return stored(fn, {f().totalField, f().amountField}); }
};

TEST_P(TimeEntryTest, TheTotalsFollowTheHoursBeforeOkAndAreSaved) {
  seed({A});
  insertEntry(f().form, A.number);
  Window& w = added();
  EXPECT_EQ(w.focus(), f().date);
  EXPECT_EQ(drv->text(w, f().date), "") << "a new entry has no date";
  EXPECT_EQ(drv->text(w, f().rate), "$33.35");
  drv->type(w, f().first, "2.5");
  drv->type(w, f().second, "1.0");
  EXPECT_EQ(drv->text(w, f().total), "3.5");
  EXPECT_EQ(drv->text(w, f().amount), "$116.73") << "3.5 x 33.35 = 116.725";
  drv->type(w, f().description, "Trial day and bail hearing");
  drv->click(w, f().ok);
  EXPECT_EQ(response, app::ResponseCompleted);
  const std::vector<std::int32_t> saved = entries();
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_THAT(totals(saved[0]), ElementsAre("3.5", "116.73"));
  EXPECT_THAT(stored(saved[0], {dictionary::HOU_CASENUMBER, dictionary::HOU_CASENAME}), ElementsAre(A.number, ""));
  EXPECT_THAT(titles(), IsEmpty());
}

TEST_P(TimeEntryTest, AnEntrySavedBeforeItsCasesRateChangedIsRepricedOnItsFirstControlEvent) {
  seed({{"CR-1", "US v. Rate", "150.00"}});
  const std::int32_t fn = seedHours({"CR-1", "", ""}, "2.0", "200.00");  // priced at 100.00 once

  // Cancel without touching anything asks, since the repriced amount differs.
  callEntry(f().form, app::RequestChange, fn, "CR-1");
  Window& w = changed();
  EXPECT_EQ(drv->text(w, f().amount), "$300.00");
  drv->answer(BtnNo);
  drv->click(w, f().cancel);
  ASSERT_TRUE(formOpen()) << "No keeps the form open";
  drv->answer(BtnYes);
  drv->click(w, f().cancel);
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_THAT(titles(), ElementsAre("Changes will be lost!", "Changes will be lost!"));
  EXPECT_THAT(totals(fn), ElementsAre("2.0", "200.00")) << "Cancel drops the repricing";

  // OK saves the new amount, though no hour changed.
  callEntry(f().form, app::RequestChange, fn, "CR-1");
  drv->click(changed(), f().ok);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_THAT(totals(fn), ElementsAre("2.0", "300.00"));
}

TEST_P(TimeEntryTest, AnEntryIsPricedAtItsOwnCasesRateAndLeavesTheCurrentCaseAsItWas) {
  seed({A, B});
  const std::int32_t fn = seedHours(B, "1.0", "0.00");
  std::vector<std::uint8_t> before, after;
  std::int64_t positionBefore = 0, positionAfter = 0;
  on([&] {
    load(A.number);
    const auto image = dictionary::CaseCloseSummary().image();
    before.assign(image.begin(), image.end());
    positionBefore = dictionary::CaseCloseSummary().position();
    loadEntry(fn);
    response = app::CallWithRequest(f().form, app::RequestChange);
    const auto now = dictionary::CaseCloseSummary().image();
    after.assign(now.begin(), now.end());
    positionAfter = dictionary::CaseCloseSummary().position();
  });
  Window& w = changed();
  EXPECT_EQ(drv->text(w, f().rate), "$80.00");
  EXPECT_EQ(drv->text(w, f().amount), "$80.00");
  drv->click(w, f().ok);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_THAT(totals(fn), ElementsAre("1.0", "80.00"));
  EXPECT_EQ(after, before) << "case A's buffer";
  EXPECT_EQ(positionAfter, positionBefore);
}

TEST_P(TimeEntryTest, AnEntryWhoseCaseWasDeletedMeanwhileIsRefusedAndNothingIsSaved) {
  seed({A, B});
  startSecondList();
  insertEntry(f().form, A.number);
  on(second, [] {
    load(A.number);
    ASSERT_EQ(dictionary::Relate_CaseCloseSummary().Delete(false), 0);
  });
  Window& w = added();
  drv->type(w, f().description, "Arraignment");
  drv->type(w, f().first, "1.0");
  drv->answer(BtnOk);
  drv->click(w, f().ok);
  ASSERT_TRUE(formOpen());
  EXPECT_THAT(titles(), ElementsAre("Field contents error"));
  drv->answer(BtnYes);
  drv->click(w, f().cancel);
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_THAT(entries(), IsEmpty());
}

TEST_P(TimeEntryTest, AnEmptyDescriptionTakesTheFocusAndNothingIsSaved) {
  seed({A});
  insertEntry(f().form, A.number);
  Window& w = added();
  drv->type(w, f().first, "1.5");
  drv->click(w, f().ok);
  ASSERT_TRUE(formOpen());
  EXPECT_EQ(w.focus(), f().description);
  EXPECT_THAT(titles(), IsEmpty());
  drv->answer(BtnYes);
  drv->click(w, f().cancel);
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_THAT(entries(), IsEmpty());
}

TEST_P(TimeEntryTest, ViewModeShowsTheRepricedTotalsAndWritesNothing) {
  seed({{"CR-1", "US v. Rate", "150.00"}});
  const std::int32_t fn = seedHours({"CR-1", "", ""}, "2.0", "200.00");
  callEntry(f().form, app::RequestView, fn, "CR-1");
  Window& w = form("View Record");
  EXPECT_TRUE(w.control(f().description).readOnly());
  EXPECT_TRUE(w.control(f().first).readOnly());
  EXPECT_FALSE(w.control(f().date).readOnly());
  EXPECT_FALSE(w.control(f().calendar).enabled());
  EXPECT_EQ(drv->text(w, f().amount), "$300.00") << "recomputed on screen";
  drv->type(w, f().date, "03/01/2007");  // the date box stays editable
  drv->click(w, f().ok);
  EXPECT_FALSE(formOpen());
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_THAT(totals(fn), ElementsAre("2.0", "200.00"));
  EXPECT_THAT(stored(fn, {dictionary::HOU_DATE}), ElementsAre("0"));
}

TEST_P(TimeEntryTest, TheCalendarOpensOnTodayForABlankDateAndACancelChangesNothing) {
  seed({A});
  insertEntry(f().form, A.number);
  Window& w = added();
  drv->click(w, f().calendar);
  EXPECT_EQ(drv->text(calendar(), cases::select_date::XMNTHYR), "March - 2007");
  drv->click(calendar(), cases::select_date::CANCELBUTTON);
  ASSERT_TRUE(formOpen());
  EXPECT_EQ(drv->text(w, f().date), "");
  drv->click(w, f().calendar);
  pickDay(20);
  EXPECT_EQ(drv->text(w, f().date), "03/20/2007");
  drv->type(w, f().description, "Motion");
  drv->click(w, f().ok);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_THAT(stored(entries().at(0), {dictionary::HOU_DATE}),
              ElementsAre(std::to_string(platform::dayNumber(2007, 3, 20))));
}

TEST_P(TimeEntryTest, TheHistoryKeyRepeatsTheLastEntryAndTheTotalsFollowIt) {
  seed({A});
  insertEntry(f().form, A.number);
  Window& first = added();
  drv->focus(first, f().first);
  drv->press(first, cases::HistoryKey);
  EXPECT_EQ(drv->text(first, f().first), "") << "blank before the first completion";
  drv->type(first, f().first, "4.0");
  drv->type(first, f().description, "Sentencing");
  drv->click(first, f().ok);

  insertEntry(f().form, A.number);
  Window& next = added();
  drv->focus(next, f().first);
  drv->press(next, cases::HistoryKey);
  EXPECT_EQ(drv->text(next, f().first), "4.0");
  EXPECT_EQ(drv->text(next, f().total), "4.0") << "the totals follow a restored hour";
  EXPECT_EQ(drv->text(next, f().amount), "$133.40");
  drv->focus(next, f().description);
  drv->press(next, cases::HistoryKey);
  EXPECT_EQ(drv->text(next, f().description), "Sentencing");
  drv->click(next, f().ok);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_EQ(entries().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Forms, TimeEntryTest, ::testing::Values(InCourt, OutOfCourt),
                         [](const ::testing::TestParamInfo<TimeForm>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace casetest
