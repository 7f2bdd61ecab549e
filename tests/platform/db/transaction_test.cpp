// Transactions over several files, and the switch check that no lock is held
// between calls.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/types/switch_check.h"
#include "tests/platform/db/db_fixture.h"

namespace {

using namespace dbtest;
using platform::DbContext;
using platform::DbRow;
using platform::DbStatus;
using platform::DbTransaction;
using platform::Direction;

std::size_t countOf(DbFile& f, int key = 1) {
  std::vector<DbRow> rows;
  EXPECT_EQ(f.readPage(key, Direction::Forward, std::nullopt, 100000, std::nullopt, rows), DbStatus::Ok)
      << f.error().text;
  return rows.size();
}

class Transactions : public ::testing::Test {
 protected:
  void SetUp() override {
    for (DbFile* f : {&cases, &entries, &totals}) ASSERT_EQ(openOrCreate(*f), DbStatus::Ok) << f->error().text;
    for (DbFile* f : {&otherCases, &otherEntries, &otherTotals}) ASSERT_EQ(f->open(), DbStatus::Ok);
  }

  // A case with its totals and `n` entries, as one unit.
  void addCase(const std::string& number, int n) {
    clear(cases);
    field(cases, CAS_NUMBER).setText(number);
    ASSERT_EQ(cases.add(), DbStatus::Ok) << cases.error().text;
    clear(totals);
    field(totals, TOT_CASENUMBER).setText(number);
    ASSERT_EQ(totals.add(), DbStatus::Ok);
    for (int i = 0; i < n; ++i) {
      clear(entries);
      field(entries, ENT_FN).setInteger(static_cast<std::int64_t>(countOf(otherEntries)) * 100 + i + 1);
      field(entries, ENT_CASENUMBER).setText(number);
      ASSERT_EQ(entries.add(), DbStatus::Ok) << entries.error().text;
    }
  }

  ScratchDir dir;
  DbContext context;
  DbFile cases{context, caseDefinition()}, entries{context, entryDefinition()}, totals{context, totalDefinition()};
  DbContext other;
  DbFile otherCases{other, caseDefinition()}, otherEntries{other, entryDefinition()},
      otherTotals{other, totalDefinition()};
};

TEST_F(Transactions, CommitStoresEveryFileAndRollbackNone) {
  {
    DbTransaction tx(context);
    ASSERT_EQ(tx.begin({&cases, &entries, &totals}), DbStatus::Ok) << tx.error().text;
    addCase("C1", 5);
    // Ends without commit: rolled back.
  }
  EXPECT_EQ(countOf(otherCases) + countOf(otherEntries) + countOf(otherTotals), 0u);

  DbTransaction tx(context);
  ASSERT_EQ(tx.begin({&cases, &entries, &totals}), DbStatus::Ok);
  addCase("C2", 5);
  // A failed step inside leaves the transaction and its other changes alone.
  clear(totals);
  field(totals, TOT_CASENUMBER).setText("c2");
  EXPECT_EQ(totals.add(), DbStatus::Duplicate);
  EXPECT_TRUE(tx.active());
  ASSERT_EQ(tx.commit(), DbStatus::Ok) << tx.error().text;
  EXPECT_EQ(countOf(otherCases), 1u);
  EXPECT_EQ(countOf(otherEntries), 5u);
  EXPECT_EQ(countOf(otherTotals), 1u);
  EXPECT_EQ(tx.commit(), DbStatus::Invalid);
}

TEST_F(Transactions, BeginGivesUpAfterItsTimeoutAndHoldsNothing) {
  DbTransaction holder(other);
  ASSERT_EQ(holder.begin({&otherEntries}), DbStatus::Ok);

  DbTransaction tx(context);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(tx.begin({&cases, &entries, &totals}, std::chrono::milliseconds(300)), DbStatus::Locked);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(290));
  EXPECT_LT(waited, std::chrono::milliseconds(1500));
  EXPECT_FALSE(tx.active());
  EXPECT_FALSE(context.inTransaction());
  EXPECT_FALSE(tx.error().text.empty());
  // The files it did lock are free again.
  clear(otherCases);
  field(otherCases, CAS_NUMBER).setText("free");
  EXPECT_EQ(otherCases.add(), DbStatus::Ok) << otherCases.error().text;

  holder.rollback();
  EXPECT_EQ(tx.begin({&cases, &entries, &totals}), DbStatus::Ok);
}

TEST_F(Transactions, BeginRefusesFilesItCannotCover) {
  DbTransaction tx(context);
  EXPECT_EQ(tx.begin({&cases, &otherEntries}), DbStatus::Invalid);
  EXPECT_EQ(tx.begin({}), DbStatus::Invalid);
  totals.close();
  EXPECT_EQ(tx.begin({&cases, &totals}), DbStatus::NotOpen);
  DbFile readOnly(context, totalDefinition());
  ASSERT_EQ(readOnly.open(platform::Access::ReadOnly), DbStatus::Ok);
  EXPECT_EQ(tx.begin({&readOnly}), DbStatus::ReadOnly);
  ASSERT_EQ(tx.begin({&cases}), DbStatus::Ok);
  DbTransaction second(context);
  EXPECT_EQ(second.begin({&entries}), DbStatus::Invalid);
}

TEST_F(Transactions, OnlyAnOpenTransactionIsHeldAcrossASwitch) {
  EXPECT_EQ(platform::runSwitchChecks(), nullptr);
  addCase("C1", 3);
  std::vector<DbRow> rows;
  ASSERT_EQ(cases.readPage(KeyCaseNumber, Direction::Forward, std::nullopt, 1, std::nullopt, rows), DbStatus::Ok);
  ASSERT_EQ(entries.readPage(KeyEntryCase, Direction::Backward, std::nullopt, 2, std::nullopt, rows), DbStatus::Ok);
  clear(cases);
  field(cases, CAS_NUMBER).setText("c1");
  ASSERT_EQ(cases.fetch(KeyCaseNumber), DbStatus::Ok);
  ASSERT_EQ(cases.get(cases.position()), DbStatus::Ok);
  platform::KeyValue max;
  ASSERT_EQ(entries.maxValue(KeyEntryFN, max), DbStatus::Ok);
  ASSERT_EQ(entries.reserveAutoNumber(), DbStatus::Ok);
  EXPECT_EQ(platform::runSwitchChecks(), nullptr);
  ASSERT_EQ(entries.completeReserved(entries.position()), DbStatus::Ok);
  EXPECT_EQ(platform::runSwitchChecks(), nullptr);

  DbTransaction tx(other);
  ASSERT_EQ(tx.begin({&otherTotals}), DbStatus::Ok);
  EXPECT_STREQ(platform::runSwitchChecks(), "a database transaction");
  ASSERT_EQ(tx.commit(), DbStatus::Ok);
  EXPECT_EQ(platform::runSwitchChecks(), nullptr);
}

}  // namespace
