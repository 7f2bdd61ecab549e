// Auto-numbered keys: reserving a number, completing and releasing it.

#include <gtest/gtest.h>

#include "tests/platform/db/db_fixture.h"

namespace {

using namespace dbtest;
using platform::DbContext;
using platform::DbRow;
using platform::DbStatus;
using platform::Direction;
using platform::KeyValue;

class Reservations : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(openOrCreate(mine), DbStatus::Ok) << mine.error().text;
    ASSERT_EQ(theirs.open(), DbStatus::Ok);
  }

  // A new entry primed the way a list primes it, then reserved.
  DbStatus reserve(DbFile& f, const std::string& note) {
    clear(f);
    field(f, ENT_CASENUMBER).setText("C1");
    field(f, ENT_NOTE).setText(note);
    return f.reserveAutoNumber();
  }

  std::int64_t highest(DbFile& f) {
    KeyValue v;
    EXPECT_EQ(f.maxValue(KeyEntryFN, v), DbStatus::Ok);
    return std::holds_alternative<std::int64_t>(v) ? std::get<std::int64_t>(v) : 0;
  }

  std::vector<std::string> notes(DbFile& f, int key) {
    std::vector<DbRow> rows;
    EXPECT_EQ(f.readPage(key, Direction::Forward, std::nullopt, 100, std::nullopt, rows), DbStatus::Ok);
    std::vector<std::string> out;
    for (const DbRow& r : rows) out.push_back(textOf(entryLayout(), r.image, ENT_NOTE));
    return out;
  }

  ScratchDir dir;
  DbContext context, otherContext;
  DbFile mine{context, entryDefinition()}, theirs{otherContext, entryDefinition()};
};

TEST_F(Reservations, ANewNumberIsTheHighestInUsePlusOne) {
  ASSERT_EQ(reserve(mine, "first"), DbStatus::Ok) << mine.error().text;
  EXPECT_EQ(field(mine, ENT_FN).integer(), 1);
  ASSERT_EQ(mine.completeReserved(mine.position()), DbStatus::Ok);

  clear(theirs);
  field(theirs, ENT_FN).setInteger(41);
  ASSERT_EQ(theirs.add(), DbStatus::Ok);
  ASSERT_EQ(reserve(mine, "second"), DbStatus::Ok);
  EXPECT_EQ(field(mine, ENT_FN).integer(), 42);
  // An outstanding reservation holds its number against other threads.
  ASSERT_EQ(reserve(theirs, "third"), DbStatus::Ok);
  EXPECT_EQ(field(theirs, ENT_FN).integer(), 43);
  EXPECT_EQ(highest(mine), 43);
}

TEST_F(Reservations, NoReadSeesAReservationUntilItIsCompleted) {
  ASSERT_EQ(reserve(mine, "typed later"), DbStatus::Ok);
  const std::int64_t pos = mine.position();
  EXPECT_TRUE(notes(theirs, KeyEntryFN).empty());
  EXPECT_TRUE(notes(theirs, KeyEntryCase).empty());
  EXPECT_TRUE(notes(mine, KeyEntryCase).empty());
  EXPECT_EQ(theirs.get(pos), DbStatus::NotFound);
  clear(theirs);
  field(theirs, ENT_FN).setInteger(1);
  EXPECT_EQ(theirs.fetch(KeyEntryFN), DbStatus::NotFound);
  // Nor can another thread change or delete it.
  EXPECT_EQ(theirs.remove(pos), DbStatus::NotFound);
  EXPECT_EQ(theirs.completeReserved(pos), DbStatus::Invalid);

  // Completing writes the form's record over the reservation.
  field(mine, ENT_NOTE).setText("as saved");
  ASSERT_EQ(mine.completeReserved(pos), DbStatus::Ok) << mine.error().text;
  EXPECT_EQ(mine.position(), pos);
  EXPECT_TRUE(mine.reservations().empty());
  EXPECT_EQ(notes(theirs, KeyEntryFN), std::vector<std::string>{"as saved"});
  ASSERT_EQ(theirs.fetch(KeyEntryFN), DbStatus::Ok);
  EXPECT_EQ(theirs.position(), pos);
  EXPECT_EQ(mine.completeReserved(pos), DbStatus::Invalid);  // once only
}

TEST_F(Reservations, EveryWayOfNotCompletingRemovesTheReservation) {
  ASSERT_EQ(reserve(mine, "kept"), DbStatus::Ok);
  ASSERT_EQ(mine.completeReserved(mine.position()), DbStatus::Ok);

  // Released by the form's cancel, by closing the file, by the file's end
  // and by the thread's end.
  ASSERT_EQ(reserve(mine, "cancelled"), DbStatus::Ok);
  ASSERT_EQ(mine.releaseReserved(mine.position()), DbStatus::Ok);
  EXPECT_EQ(highest(theirs), 1);

  ASSERT_EQ(reserve(mine, "closed"), DbStatus::Ok);
  EXPECT_EQ(highest(theirs), 2);
  mine.close();
  EXPECT_EQ(highest(theirs), 1);

  {
    DbFile shortLived(context, entryDefinition());
    ASSERT_EQ(shortLived.open(), DbStatus::Ok);
    ASSERT_EQ(reserve(shortLived, "file ends"), DbStatus::Ok);
    EXPECT_EQ(highest(theirs), 2);
  }
  EXPECT_EQ(highest(theirs), 1);

  {
    DbContext thread;
    DbFile f(thread, entryDefinition());
    ASSERT_EQ(f.open(), DbStatus::Ok);
    ASSERT_EQ(reserve(f, "thread ends"), DbStatus::Ok);
    EXPECT_EQ(highest(theirs), 2);
  }
  EXPECT_EQ(highest(theirs), 1);
  EXPECT_EQ(notes(theirs, KeyEntryFN), std::vector<std::string>{"kept"});
}

TEST_F(Reservations, CompletingChecksTheRecordsKeys) {
  ASSERT_EQ(reserve(mine, "one"), DbStatus::Ok);
  ASSERT_EQ(mine.completeReserved(mine.position()), DbStatus::Ok);
  ASSERT_EQ(reserve(mine, "two"), DbStatus::Ok);
  const std::int64_t pos = mine.position();
  field(mine, ENT_FN).setInteger(1);  // the number was typed over
  EXPECT_EQ(mine.completeReserved(pos), DbStatus::Duplicate);
  EXPECT_EQ(mine.error().duplicateKey, KeyEntryFN);
  EXPECT_EQ(mine.reservations(), std::vector<std::int64_t>{pos});
  field(mine, ENT_FN).setInteger(2);
  EXPECT_EQ(mine.completeReserved(pos), DbStatus::Ok) << mine.error().text;
}

TEST(ReservationLimits, AFileWithoutAnAutoNumberOrWithoutNumbersLeftIsRefused) {
  ScratchDir dir;
  DbContext context;
  DbFile cases(context, caseDefinition());
  ASSERT_EQ(openOrCreate(cases), DbStatus::Ok);
  EXPECT_EQ(cases.reserveAutoNumber(), DbStatus::Invalid);

  DbFile entries(context, entryDefinition());
  ASSERT_EQ(openOrCreate(entries), DbStatus::Ok);
  clear(entries);
  field(entries, ENT_FN).setInteger(2147483647);
  ASSERT_EQ(entries.add(), DbStatus::Ok);
  clear(entries);
  EXPECT_EQ(entries.reserveAutoNumber(), DbStatus::Failed);
  EXPECT_EQ(field(entries, ENT_FN).integer(), 0);  // the buffer is as it was
  EXPECT_TRUE(entries.reservations().empty());
}

}  // namespace
