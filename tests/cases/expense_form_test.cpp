// The expense form: the mileage amount and the section totals while the
// user types, the rate looked up in RateMilage with the picker for a rate
// that is not defined, a result too large for its field, and the calendar
// button's case for the printouts.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "app/frame/globals.h"
#include "cases/update_other.h"
#include "platform/types/decimal.h"
#include "platform/ui/desktop.h"
#include "tests/cases/entry_form_fixture.h"

namespace casetest {
namespace {

namespace ox = cases::other_expenses;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const Case A{"CR-07-101", "US v. Able", "33.35"};

// The mileage-rate picker's window: its caption and its list.
constexpr const char* PickerCaption = "Select a Rate ";
constexpr int PickerList = 1;

// Counts the picker's windows as they open.
struct PickerCount final : platform::DesktopObserver {
  int opened = 0;
  void windowOpened(Window& w) override { opened += w.caption() == PickerCaption; }
};

class ExpenseFormTest : public EntryFormTest {
 protected:
  void SetUp() override {
    EntryFormTest::SetUp();
    platform::desktop().addObserver(&pickers);
    seed({A});
  }
  void TearDown() override {
    platform::desktop().removeObserver(&pickers);
    EntryFormTest::TearDown();
  }
  Window& picker() { return drv->window(PickerCaption); }
  bool pickerOpen() const { return drv->findWindow(PickerCaption) != nullptr; }
  // Picks the rate shown in the picker's row.
  void pick(int row) { drv->doubleClick(picker(), PickerList, row); }
  int pickerCalls() const { return pickers.opened; }
  PickerCount pickers;
  std::vector<std::string> expenses(std::int32_t fn) {
    return stored(fn, {dictionary::HOU_MILAGERATE, dictionary::HOU_MILEAGE, dictionary::HOU_TOTALMILAGE,
                       dictionary::HOU_TOTALSECTIONTRAVEL, dictionary::HOU_TOTALSECTION});
  }
};

TEST_F(ExpenseFormTest, ADefinedRateIsKeptAndPricesTheMilesBeforeOk) {
  seedRates({{"0.485"}});
  insertEntry(cases::UpdateOTHER, A.number);
  Window& w = added();
  EXPECT_EQ(w.focus(), ox::HOU_DATE3);
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALMILAGE), "0.00") << "a zero amount shows";
  EXPECT_EQ(drv->text(w, ox::CCS_HOURLYRATE), "$33.35");
  drv->type(w, ox::HOU_BRIEFDESCRIPTIONSERVICES3, "Drive to the courthouse");
  drv->type(w, ox::HOU_MILAGERATE, "0.485");
  drv->answer(BtnOk);
  drv->type(w, ox::HOU_MILEAGE, "1.5");
  EXPECT_THAT(titles(), ElementsAre("Invalid Entry")) << "miles are whole numbers";
  EXPECT_EQ(w.focus(), ox::HOU_MILEAGE);
  drv->type(w, ox::HOU_MILEAGE, "37");
  drv->type(w, ox::HOU_PARKING, "5.00");
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALMILAGE), "17.95") << "0.485 x 37 = 17.945";
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALSECTIONTRAVEL), "$22.95");
  drv->type(w, ox::HOU_TELEGRAMS, "1.25");
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALSECTIONOTHER), "$1.25");
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALSECTION), "$24.20");
  drv->click(w, ox::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_EQ(pickerCalls(), 0);
  EXPECT_THAT(titles(), ElementsAre("Invalid Entry"));
  EXPECT_THAT(expenses(entries().at(0)), ElementsAre("0.485", "37.00", "17.95", "22.95", "24.20"));
}

TEST_F(ExpenseFormTest, ARateNotDefinedIsPickedAndPricesTheMiles) {
  seedRates({{"0.485"}, {"0.445"}});
  insertEntry(cases::UpdateOTHER, A.number);
  Window& w = added();
  drv->type(w, ox::HOU_MILAGERATE, "0.450");
  ASSERT_TRUE(pickerOpen());
  EXPECT_EQ(drv->control(picker(), PickerList).cell(1, 2), "0.445") << "lowest first";
  pick(1);
  EXPECT_EQ(drv->text(w, ox::HOU_MILAGERATE), "0.445");
  drv->type(w, ox::HOU_MILEAGE, "1");
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALMILAGE), "0.45");
  drv->type(w, ox::HOU_BRIEFDESCRIPTIONSERVICES3, "Copies");
  drv->click(w, ox::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_EQ(pickerCalls(), 1) << "the picked rate is found in OK's check";
  EXPECT_THAT(expenses(entries().at(0)), ElementsAre("0.445", "1.00", "0.45", "0.45", "0.45"));
}

TEST_F(ExpenseFormTest, ThePickerCancelledTwiceSavesNothingAndARateOfZeroNeverCallsIt) {
  seedRates({{"0.485"}});
  insertEntry(cases::UpdateOTHER, A.number);
  Window& w = added();
  drv->type(w, ox::HOU_BRIEFDESCRIPTIONSERVICES3, "Mileage");
  drv->type(w, ox::HOU_MILAGERATE, "0.450");
  drv->close(picker());
  EXPECT_EQ(w.focus(), ox::HOU_MILAGERATE);
  EXPECT_EQ(drv->text(w, ox::HOU_MILAGERATE), "0.450") << "the typed rate stays";
  drv->click(w, ox::OK);
  ASSERT_TRUE(pickerOpen()) << "OK's check asks again";
  drv->close(picker());
  ASSERT_TRUE(formOpen());
  EXPECT_EQ(w.focus(), ox::HOU_MILAGERATE);
  EXPECT_EQ(pickerCalls(), 2);

  drv->type(w, ox::HOU_MILAGERATE, "0");
  drv->type(w, ox::HOU_MILEAGE, "120");
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALMILAGE), "0.00");
  drv->click(w, ox::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_EQ(pickerCalls(), 2);
  EXPECT_THAT(expenses(entries().at(0)), ElementsAre("0.000", "120.00", "0.00", "0.00", "0.00"));
}

// Another copy of the program renames the rate file's records away while
// this one has the file open, so that reading it fails.
void renameRates(const char* from, const char* to) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open("RATEMILA.lvd", &db), SQLITE_OK);
  const std::string sql = std::string("ALTER TABLE ") + from + " RENAME TO " + to;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TEST_F(ExpenseFormTest, AFailedRateReadIsShownAndKeepsTheFocusOnTheRateWithoutThePicker) {
  seedRates({{"0.485"}});
  insertEntry(cases::UpdateOTHER, A.number);
  Window& w = added();
  renameRates("records", "gone");
  drv->answer(BtnOk);
  drv->type(w, ox::HOU_MILAGERATE, "0.485");
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].title, "Record Retrieval Error");
  EXPECT_THAT(drv->messages()[0].text, ::testing::HasSubstr("RateMilage"));
  EXPECT_EQ(w.focus(), ox::HOU_MILAGERATE);
  EXPECT_EQ(pickerCalls(), 0);
  renameRates("gone", "records");
  drv->answer(BtnYes);
  drv->click(w, ox::CANCEL);
  EXPECT_EQ(response, app::ResponseCancelled);
}

TEST_F(ExpenseFormTest, AnEntryWhoseRateWasDeletedAsksForADefinedRate) {
  seedRates({{"0.485"}, {"0.445"}});
  const std::int32_t fn = seedEntry(A.number, [] {
    HOU(dictionary::HOU_BRIEFDESCRIPTIONSERVICES3).setText("Old trip");
    HOU(dictionary::HOU_MILAGERATE).setText("0.485");
    HOU(dictionary::HOU_MILEAGE).setText("10");
    HOU(dictionary::HOU_TOTALMILAGE).setText("4.85");
  });
  on([] {
    dictionary::RTM(dictionary::RTM_MILAGERATE).setText("0.485");
    ASSERT_EQ(dictionary::Access_RateMilage().TryFetch(dictionary::RTM_KeyMilageRate), 0);
    ASSERT_EQ(dictionary::Relate_RateMilage().Delete(false), 0);
  });
  EXPECT_THAT(expenses(fn), ElementsAre("0.485", "10.00", "4.85", "0.00", "0.00")) << "the entry keeps its rate";
  callEntry(cases::UpdateOTHER, app::RequestChange, fn, A.number);
  Window& w = changed();
  drv->click(w, ox::OK);
  ASSERT_TRUE(pickerOpen());
  pick(1);  // 0.445
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_THAT(expenses(fn), ElementsAre("0.445", "10.00", "4.45", "4.45", "4.45"));
}

TEST_F(ExpenseFormTest, AMileageAmountTooLargeShowsHashesAndOkRefusesTheEntry) {
  seedRates({{"2.000"}});
  insertEntry(cases::UpdateOTHER, A.number);
  Window& w = added();
  drv->type(w, ox::HOU_BRIEFDESCRIPTIONSERVICES3, "Long drive");
  drv->type(w, ox::HOU_PARKING, "5.00");
  drv->type(w, ox::HOU_MILAGERATE, "2.000");
  drv->type(w, ox::HOU_MILEAGE, "60000");
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALMILAGE), "##########") << "2.000 x 60000 = 120000.00";
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALSECTIONTRAVEL), std::string(17, '#'));
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALSECTION), std::string(17, '#'));
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALSECTIONOTHER), "") << "what does not read the mileage amount is shown";

  drv->answer(BtnOk);
  drv->click(w, ox::OK);
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].title, "Invalid Entry");
  EXPECT_EQ(drv->messages()[0].text, platform::overflowMessage("Total Mileage", 7, 2));
  ASSERT_TRUE(formOpen());
  EXPECT_EQ(drv->text(w, ox::HOU_MILEAGE), "60,000") << "what was typed stays";
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALMILAGE), "##########");

  // Back to a value that fits, the same as was stored before: shown again.
  drv->type(w, ox::HOU_MILEAGE, "0");
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALMILAGE), "0.00");
  EXPECT_EQ(drv->text(w, ox::HOU_TOTALSECTIONTRAVEL), "$5.00");
  drv->answer(BtnYes);
  drv->click(w, ox::CANCEL);
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_THAT(entries(), IsEmpty());
}

TEST_F(ExpenseFormTest, TheCalendarButtonNamesTheCurrentCaseForThePrintoutsEvenWhenCancelled) {
  insertEntry(cases::UpdateOTHER, A.number);
  Window& w = added();
  EXPECT_EQ(app::G_CASENUMBER().text(), "");
  drv->click(w, ox::BUTTON3);
  EXPECT_EQ(drv->text(calendar(), cases::select_date::XMNTHYR), "March - 2007");
  drv->click(calendar(), cases::select_date::CANCELBUTTON);
  EXPECT_EQ(drv->text(w, ox::HOU_DATE3), "") << "a cancelled calendar leaves the date";
  EXPECT_EQ(app::G_CASENUMBER().text(), A.number);
  drv->click(w, ox::CANCEL);
  EXPECT_EQ(response, app::ResponseCancelled);
}

}  // namespace
}  // namespace casetest
