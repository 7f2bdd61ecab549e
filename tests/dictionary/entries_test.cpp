// New records: priming with defaults, the entry numbers of HOURLY and their
// reservations, and the entry's case check.

#include <sqlite3.h>

#include <filesystem>

#include "platform/db/owners.h"
#include "tests/dictionary/dict_fixture.h"

namespace {

using namespace dicttest;
using platform::LevelBenign;
using platform::LevelCancelled;
using platform::LevelNotify;

using EntriesTest = DictTest;

std::vector<std::int64_t> numbers(platform::DbFile& hourly) {
  std::vector<std::int64_t> out;
  for (DbRow& r : rows(hourly, HOU_KEYFN))
    out.push_back(platform::FieldRef::of(HOURLYLayout().field(HOU_FN), r.image.data()).integer());
  return out;
}

TEST_F(EntriesTest, ANewEntryGetsTheHighestNumberInUsePlusOne) {
  struct Case {
    const char* what;
    std::vector<int> stored;
    std::int64_t next;
  };
  const Case cases[] = {
      {"an empty file", {}, 1},
      {"numbers without gaps", {1, 2, 3}, 4},
      {"numbers with gaps: not the first gap", {1, 5, 9}, 10},
      {"a file whose first numbers were deleted", {7}, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir fresh;
    TestThread thread;
    use(thread);
    openFiles();
    ASSERT_EQ(Access_HOURLY().UseFile(), 0);
    for (int fn : c.stored) {
      platform::clearRecord(HOURLYLayout(), HOURLY().record());
      HOU(HOU_FN).setInteger(fn);
      ASSERT_EQ(HOURLY().add(), DbStatus::Ok);
    }
    ASSERT_EQ(Access_HOURLY().PrimeRecord(), 0);
    EXPECT_EQ(HOU(HOU_FN).integer(), c.next);
    HOU(HOU_CASENUMBER).setText("");
    Access_HOURLY().CancelAutoInc();
    Relate_CaseCloseSummary().Close();
    use(*main);
  }
}

TEST_F(EntriesTest, AReservedNumberIsSeenByNoOtherThreadAndGoesWhenNotCompleted) {
  openFiles();
  addCase("CR-1");
  TestThread& other = newThread();
  use(other);
  openFiles();

  use(*main);
  ASSERT_EQ(Access_HOURLY().PrimeRecord(), 0);
  EXPECT_EQ(HOU(HOU_FN).integer(), 1);
  use(other);
  ASSERT_EQ(Access_HOURLY().UseFile(), 0);
  EXPECT_TRUE(numbers(HOURLY()).empty());  // the reservation is no record
  ASSERT_EQ(Access_HOURLY().PrimeRecord(), 0);
  EXPECT_EQ(HOU(HOU_FN).integer(), 2);  // but its number is taken
  HOU(HOU_CASENUMBER).setText("CR-1");
  ASSERT_EQ(Access_HOURLY().Insert(), 0);

  // The first form is cancelled: its number is released, and priming again
  // releases a reservation that was never completed.
  use(*main);
  EXPECT_EQ(Access_HOURLY().CancelAutoInc(), 0);
  EXPECT_EQ(Access_HOURLY().reservation(), 0);
  ASSERT_EQ(Access_HOURLY().PrimeRecord(), 0);
  EXPECT_EQ(HOU(HOU_FN).integer(), 3);
  ASSERT_EQ(Access_HOURLY().PrimeRecord(), 0);
  EXPECT_EQ(HOU(HOU_FN).integer(), 3);
  const std::string hourly = dir.file("HOURLY.lvd");
  EXPECT_EQ(sqlValue(hourly, "SELECT count(*) FROM records WHERE owner IS NOT NULL"), "1");

  // Closing the files releases what is still reserved.
  Relate_CaseCloseSummary().Close();
  EXPECT_FALSE(HOURLY().isOpen());
  EXPECT_EQ(sqlValue(hourly, "SELECT count(*) FROM records WHERE owner IS NOT NULL"), "0");
  use(other);
  EXPECT_EQ(numbers(HOURLY()), (std::vector<std::int64_t>{2}));
  EXPECT_TRUE(port.shown.empty());
}

TEST_F(EntriesTest, PrimingClearsTheBufferThenFillsTheDefaults) {
  platform::setClockSource([] { return platform::LocalDateTime{{2007, 3, 14}, 9, 30}; });
  const std::int32_t today = platform::dayNumber(2007, 3, 14);
  openFiles();

  CCS(CCS_CASENAME).setText("left over");
  CCS(CCS_HOURLYRATE).setInteger(125);
  ASSERT_EQ(Access_CaseCloseSummary().PrimeRecord(), 0);
  EXPECT_EQ(CCS(CCS_DATE).day(), today);
  EXPECT_EQ(CCS(CCS_CASENAME).text(), "");
  EXPECT_TRUE(CCS(CCS_HOURLYRATE).isEmpty());

  RTM(RTM_MILAGERATE).setInteger(1);
  ASSERT_EQ(Access_RateMilage().PrimeRecord(), 0);
  EXPECT_EQ(RTM(RTM_DATEMILAGERATE).day(), today);
  EXPECT_TRUE(RTM(RTM_MILAGERATE).isEmpty());

  TOT(TOT_CASENUMBER).setText("left over");
  ASSERT_EQ(Access_TOTALS().PrimeRecord(), 0);
  EXPECT_EQ(TOT(TOT_CASENUMBER).text(), "");

  // A list that limits its entries to a case fills the case number and
  // primes without clearing again; the entry gets a number but no date.
  platform::clearRecord(HOURLYLayout(), HOURLY().record());
  HOU(HOU_CASENUMBER).setText("CR-1");
  ASSERT_EQ(Access_HOURLY().PrimeRecord(true), 0);
  EXPECT_EQ(HOU(HOU_CASENUMBER).text(), "CR-1");
  EXPECT_EQ(HOU(HOU_FN).integer(), 1);
  EXPECT_EQ(HOU(HOU_DATE).day(), platform::NoDate);
  Access_HOURLY().CancelAutoInc();
}

TEST_F(EntriesTest, NumberingThatKeepsFailingAsksWhetherToTryAgain) {
  openFiles();
  // The owner file of the reservations cannot be opened.
  const std::string owners = dir.file(platform::dbi::OwnerFileName);
  std::filesystem::create_directory(owners);

  port.answers = {platform::BtnNo};
  EXPECT_EQ(Access_HOURLY().PrimeRecord(), LevelCancelled);
  ASSERT_EQ(port.shown.size(), 1u);
  EXPECT_EQ(port.shown[0].title, "Auto Increment Error");
  const std::string& text = port.shown[0].text;
  EXPECT_EQ(text.rfind("Attempts to automatically number this record have failed.|File: HOURLY|Key: HOU:KEYFN|Error: ", 0), 0u)
      << text;
  EXPECT_NE(text.find(owners), std::string::npos) << text;
  EXPECT_TRUE(text.ends_with(".|Try Again?")) << text;
  EXPECT_EQ(Access_HOURLY().reservation(), 0);

  // Yes, once the cause is gone: the entry is numbered.
  port.shown.clear();
  port.answers = {platform::BtnYes};
  port.onShow = [&](const Shown&) { std::filesystem::remove(owners); };
  EXPECT_EQ(Access_HOURLY().PrimeRecord(), 0);
  EXPECT_EQ(port.shown.size(), 1u);
  EXPECT_EQ(HOU(HOU_FN).integer(), 1);
  EXPECT_NE(Access_HOURLY().reservation(), 0);
}

TEST_F(EntriesTest, AnEntryMustNameACaseInTheFirstTwentyCharactersOfItsCaseNumber) {
  openFiles();
  addCase("CR-07-1");
  addCase("ABCDEFGHIJKLMNOPQRST");  // 20 characters
  addCase("CR-07-2", "current");
  const platform::DbFileState listed = CaseCloseSummary().saveState();
  const std::string notFound = "The value of HOU:CaseNumber must be found in the CaseCloseSummary file.";
  struct Case {
    std::string entryCase;
    int field;
    bool messages;
    int level;
    bool shown;
  };
  const Case cases[] = {
      {"CR-07-1", HOU_CASENUMBER, true, LevelBenign, false},
      {"cr-07-1", HOU_CASENUMBER, true, LevelBenign, false},
      {std::string("CR-07-1") + std::string(13, ' ') + "whatever follows", HOU_CASENUMBER, true, LevelBenign, false},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", HOU_CASENUMBER, true, LevelBenign, false},
      {"CR-07-9", HOU_CASENUMBER, true, LevelNotify, true},
      {"CR-07-9", HOU_CASENUMBER, false, LevelNotify, false},
      {"", HOU_CASENUMBER, true, LevelNotify, true},
      {" CR-07-1", HOU_CASENUMBER, false, LevelNotify, false},
      {"CR-07-9", HOU_DATE, true, LevelBenign, false},  // only the case number is checked
  };
  auto& check = static_cast<AccessHOURLY&>(Access_HOURLY());
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.entryCase + "\" field " + std::to_string(c.field) + (c.messages ? " with messages" : ""));
    port.shown.clear();
    HOU(HOU_CASENUMBER).setText(c.entryCase);
    EXPECT_EQ(check.CheckEntryCase(c.field, c.messages), c.level);
    if (c.shown) {
      ASSERT_EQ(port.shown.size(), 1u);
      EXPECT_EQ(port.shown[0].title, "Field contents error");
      EXPECT_EQ(port.shown[0].text, notFound);
    } else {
      EXPECT_TRUE(port.shown.empty());
    }
    // The case list's current record is as it was, found or not.
    EXPECT_EQ(CaseCloseSummary().position(), listed.position);
    EXPECT_TRUE(std::equal(listed.buffer.begin(), listed.buffer.end(), CaseCloseSummary().record()));
  }
}

TEST_F(EntriesTest, AnEntryOfNoCaseIsNotAddedAndKeepsItsNumberForTheNextTry) {
  openFiles();
  addCase("CR-1");
  ASSERT_EQ(Access_HOURLY().PrimeRecord(), 0);
  const std::int64_t fn = HOU(HOU_FN).integer();
  HOU(HOU_CASENUMBER).setText("CR-9");
  EXPECT_EQ(Access_HOURLY().Insert(), LevelNotify);
  EXPECT_EQ(port.titles(), (std::vector<std::string>{"Field contents error"}));
  EXPECT_TRUE(numbers(HOURLY()).empty());
  HOU(HOU_CASENUMBER).setText("CR-1");
  EXPECT_EQ(Access_HOURLY().Insert(), 0);
  EXPECT_EQ(numbers(HOURLY()), (std::vector<std::int64_t>{fn}));
  EXPECT_EQ(Access_HOURLY().reservation(), 0);
}

TEST_F(EntriesTest, ATotalsRecordMustNameACaseWhenAddedAndWhenChanged) {
  openFiles();
  addCase("CR-1");
  addCase("CR-2", "current");
  const platform::DbFileState listed = CaseCloseSummary().saveState();
  const std::string notFound = "The value of TOT:CaseNumber must be found in the CaseCloseSummary file.";
  struct Case {
    const char* number;
    bool added;
  };
  for (const Case& c : {Case{"cr-1", true}, Case{"CR-9", false}, Case{"", false}}) {
    SCOPED_TRACE(std::string("\"") + c.number + "\"");
    port.shown.clear();
    ASSERT_EQ(Access_TOTALS().PrimeRecord(), 0);
    TOT(TOT_CASENUMBER).setText(c.number);
    EXPECT_EQ(Access_TOTALS().Insert(), c.added ? LevelBenign : LevelNotify);
    if (c.added) {
      EXPECT_TRUE(port.shown.empty());
    } else {
      ASSERT_EQ(port.shown.size(), 1u);
      EXPECT_EQ(port.shown[0].title, "Field contents error");
      EXPECT_EQ(port.shown[0].text, notFound);
    }
    EXPECT_EQ(CaseCloseSummary().position(), listed.position);
    EXPECT_TRUE(std::equal(listed.buffer.begin(), listed.buffer.end(), CaseCloseSummary().record()));
  }
  EXPECT_EQ(rows(TOTALS(), TOT_KeyCaseNumber).size(), 1u);

  // Moved to a number that names no case: refused, the stored record kept.
  port.shown.clear();
  TOT(TOT_CASENUMBER).setText("CR-1");
  ASSERT_EQ(Access_TOTALS().TryFetch(TOT_KeyCaseNumber), 0);
  const std::vector<std::uint8_t> original(TOTALS().image().begin(), TOTALS().image().end());
  TOT(TOT_CASENUMBER).setText("CR-9");
  EXPECT_EQ(Relate_TOTALS().Update(original), LevelNotify);
  EXPECT_EQ(port.titles(), (std::vector<std::string>{"Field contents error"}));
  TOT(TOT_CASENUMBER).setText("CR-2");
  EXPECT_EQ(Relate_TOTALS().Update(original), LevelBenign);
  EXPECT_EQ(texts(TOTALS(), TOT_KeyCaseNumber, TOT_CASENUMBER), (std::vector<std::string>{"CR-2"}));
}

}  // namespace
