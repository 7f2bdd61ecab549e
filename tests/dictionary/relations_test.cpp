// Deleting and changing through the relation objects: the cascades of a
// case to its totals record and entries, the transaction around them, and
// what is left when something fails.

#include <sqlite3.h>

#include <map>

#include "tests/dictionary/dict_fixture.h"

namespace {

using namespace dicttest;
using platform::BtnNo;
using platform::BtnYes;
using platform::LevelBenign;
using platform::LevelCancelled;
using platform::LevelNotify;

// A failure of the driver whenever a record is deleted from (or, with
// "UPDATE", changed in) a file while `condition` holds for it.
std::string failingTrigger(const std::string& when, const std::string& condition) {
  return "CREATE TRIGGER fail BEFORE " + when + " ON records WHEN " + condition +
         " BEGIN SELECT RAISE(ABORT, 'the disk refused the write'); END";
}

class RelationsTest : public DictTest {
 protected:
  void SetUp() override {
    DictTest::SetUp();
    openFiles();
  }

  // A case with its totals record and `entries` entries.
  void makeCase(const std::string& number, int entries) {
    addCase(number, "United States v. " + number);
    addTotals(number);
    for (int i = 0; i < entries; ++i) addEntry(number, number + " entry " + std::to_string(i + 1));
  }

  // What each file holds, by case number: "case", "totals", and "entry" for
  // each entry, e.g. {"CR-1": "case totals entry entry"}.
  std::map<std::string, std::string> contents() {
    std::map<std::string, std::string> out;
    auto note = [&](const std::string& number, const char* what) {
      std::string& s = out[number];
      s += s.empty() ? what : std::string(" ") + what;
    };
    for (const std::string& n : texts(CaseCloseSummary(), CCS_KeyAttorney, CCS_CASENUMBER)) note(n, "case");
    for (const std::string& n : texts(TOTALS(), TOT_KeyCaseNumber, TOT_CASENUMBER)) note(n, "totals");
    for (const std::string& n : texts(HOURLY(), HOU_KEYFN, HOU_CASENUMBER)) note(n, "entry");
    return out;
  }

  // The buffers and positions of the related files, which a cascade leaves
  // as they were.
  std::vector<platform::DbFileState> relatedStates() { return {HOURLY().saveState(), TOTALS().saveState()}; }
  void expectRelatedStates(const std::vector<platform::DbFileState>& before) {
    const auto now = relatedStates();
    for (std::size_t i = 0; i < before.size(); ++i) {
      EXPECT_EQ(now[i].buffer, before[i].buffer) << i;
      EXPECT_EQ(now[i].position, before[i].position) << i;
    }
  }
};

TEST_F(RelationsTest, DeletingACaseDeletesItsTotalsAndEntriesOrNothing) {
  struct Case {
    const char* what;
    std::vector<unsigned> answers;
    std::function<void(const ScratchDir&)> before;  // runs just before the delete
    int level;
    std::vector<std::string> titles;
    bool deleted;
  };
  sqlite3* holder = nullptr;
  const Case cases[] = {
      {"confirmed", {BtnYes}, [](const ScratchDir&) {}, LevelBenign, {"Confirm Delete"}, true},
      {"not confirmed", {BtnNo}, [](const ScratchDir&) {}, LevelCancelled, {"Confirm Delete"}, false},
      {"the transaction cannot be started: another copy holds the entries' file",
       {BtnYes},
       [&](const ScratchDir& d) {
         ASSERT_EQ(sqlite3_open(d.file("HOURLY.lvd").c_str(), &holder), SQLITE_OK);
         ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
       },
       LevelNotify,
       {"Confirm Delete", "Transaction cancelled"},
       false},
      {"the third entry cannot be deleted",
       {BtnYes, BtnNo},
       [](const ScratchDir& d) { execOn(d.file("HOURLY.lvd"), failingTrigger("DELETE", "old.k1 = 3")); },
       LevelCancelled,
       {"Confirm Delete", "Record Delete Error"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir fresh;
    TestThread thread;
    use(thread);
    openFiles();
    makeCase("CR-1", 5);  // entries 1 to 5
    makeCase("CR-2", 2);
    const auto all = contents();
    ASSERT_EQ(all.at("CR-1"), "case totals entry entry entry entry entry");
    c.before(fresh);
    findCase("CR-1");
    HOU(HOU_CASENUMBER).setText("the entry form's record");
    const auto states = relatedStates();
    port.shown.clear();
    port.answers.assign(c.answers.begin(), c.answers.end());

    EXPECT_EQ(Relate_CaseCloseSummary().Delete(), c.level);
    EXPECT_EQ(port.titles(), c.titles);
    if (port.shown.size() == 2 && port.shown[1].title == "Transaction cancelled") {
      EXPECT_EQ(port.shown[1].text.rfind("Error: (", 0), 0u);
      EXPECT_TRUE(port.shown[1].text.ends_with(") attempting to frame the transaction on CaseCloseSummary."))
          << port.shown[1].text;
    }
    if (holder) {
      sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
      sqlite3_close(holder);
      holder = nullptr;
    }
    auto expected = all;
    if (c.deleted) expected.erase("CR-1");
    EXPECT_EQ(contents(), expected);
    expectRelatedStates(states);
    Relate_CaseCloseSummary().Close();
    use(*main);
  }
}

TEST_F(RelationsTest, TryingADeleteAgainDeletesTheWholeCaseAgain) {
  struct Case {
    const char* what;
    const char* file;
    std::string trigger;
  };
  const Case cases[] = {
      {"an entry failed", "HOURLY.lvd", failingTrigger("DELETE", "old.k1 = 2")},
      {"the case itself failed", "CASECLOS.lvd", failingTrigger("DELETE", "1")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir fresh;
    TestThread thread;
    use(thread);
    openFiles();
    makeCase("CR-1", 3);
    makeCase("CR-2", 1);
    execOn(fresh.file(c.file), c.trigger);
    findCase("CR-1");
    port.shown.clear();
    // The cause goes away while the question is up; Yes tries again.
    port.onShow = [&](const Shown& s) {
      if (s.title == "Record Delete Error") execOn(fresh.file(c.file), "DROP TRIGGER fail");
    };
    port.answers = {BtnYes};
    EXPECT_EQ(Relate_CaseCloseSummary().Delete(false), LevelBenign);
    EXPECT_EQ(port.titles(), (std::vector<std::string>{"Record Delete Error"}));
    EXPECT_EQ(port.shown[0].text, "An error was experienced deleting this record. Do you want to try to delete it again?");
    EXPECT_EQ(contents(), (std::map<std::string, std::string>{{"CR-2", "case totals entry"}}));
    port.onShow = nullptr;
    Relate_CaseCloseSummary().Close();
    use(*main);
  }
}

TEST_F(RelationsTest, ANewCaseNumberMovesTheTotalsAndEveryEntry) {
  for (const char* renumbered : {"CR-1-2007", "cr-1"}) {
    SCOPED_TRACE(renumbered);
    ScratchDir fresh;
    TestThread thread;
    use(thread);
    openFiles();
    makeCase("CR-1", 3);
    makeCase("CR-2", 1);
    findCase("CR-1");
    const std::vector<std::uint8_t> original(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());
    const auto states = relatedStates();
    CCS(CCS_CASENUMBER).setText(renumbered);
    CCS(CCS_CASENAME).setText("renamed too");

    EXPECT_EQ(Relate_CaseCloseSummary().Update(original), LevelBenign);
    EXPECT_TRUE(port.shown.empty());
    EXPECT_EQ(contents(), (std::map<std::string, std::string>{{renumbered, "case totals entry entry entry"},
                                                              {"CR-2", "case totals entry"}}));
    // The new 20 characters fill the first 20 of the entry's 100, the rest
    // is blank.
    const std::string number = std::string(renumbered) + std::string(20 - std::string(renumbered).size(), ' ');
    for (DbRow& r : rows(HOURLY(), HOU_KEYFN)) {
      const std::string bytes(reinterpret_cast<const char*>(r.image.data()) + 4, 100);
      if (bytes.starts_with("CR-2")) continue;
      EXPECT_EQ(bytes, number + std::string(80, ' '));
    }
    EXPECT_EQ(texts(CaseCloseSummary(), CCS_KeyCaseNumber, CCS_CASENAME),
              (std::vector<std::string>{"renamed too", "United States v. CR-2"}));
    expectRelatedStates(states);
    Relate_CaseCloseSummary().Close();
    use(*main);
  }
}

TEST_F(RelationsTest, AChangeThatFailsChangesNothing) {
  makeCase("CR-1", 2);
  makeCase("CR-2", 1);
  const auto all = contents();
  struct Case {
    const char* what;
    std::function<void()> apply;
    const char* title;
  };
  const Case cases[] = {
      {"the new number is another case's",
       [] { CCS(CCS_CASENUMBER).setText("cr-2"); },
       "Duplicate Key Error"},
      {"an entry cannot take the new number",
       [&] {
         execOn(dir.file("HOURLY.lvd"), failingTrigger("UPDATE", "old.k1 = 2"));
         CCS(CCS_CASENUMBER).setText("CR-3");
       },
       "Record was not updated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    findCase("CR-1");
    const std::vector<std::uint8_t> original(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());
    c.apply();
    const std::vector<std::uint8_t> typed(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());
    port.shown.clear();
    EXPECT_EQ(Relate_CaseCloseSummary().Update(original), LevelNotify);
    EXPECT_EQ(port.titles(), (std::vector<std::string>{c.title}));
    EXPECT_EQ(contents(), all);
    // The form keeps what was typed.
    EXPECT_TRUE(std::equal(typed.begin(), typed.end(), CaseCloseSummary().record()));
  }
  EXPECT_NE(port.shown[0].text.find("the disk refused the write"), std::string::npos) << port.shown[0].text;
}

TEST_F(RelationsTest, AChangeMadeElsewhereSinceTheRecordWasReadIsNotOverwritten) {
  makeCase("CR-1", 1);
  findCase("CR-1");
  const std::vector<std::uint8_t> original(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());

  TestThread& other = newThread();
  use(other);
  openFiles();
  findCase("CR-1");
  const std::vector<std::uint8_t> seen(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());
  CCS(CCS_JUDGE).setText("Hon. Other Thread");
  ASSERT_EQ(Relate_CaseCloseSummary().Update(seen), LevelBenign);

  use(*main);
  CCS(CCS_CASENUMBER).setText("CR-1-NEW");
  EXPECT_EQ(Relate_CaseCloseSummary().Update(original), LevelNotify);
  ASSERT_EQ(port.titles(), (std::vector<std::string>{"Record was not updated"}));
  EXPECT_NE(port.shown[0].text.find("changed by another station"), std::string::npos) << port.shown[0].text;
  EXPECT_EQ(contents(), (std::map<std::string, std::string>{{"CR-1", "case totals entry"}}));
  findCase("CR-1");
  EXPECT_EQ(CCS(CCS_JUDGE).text(), "Hon. Other Thread");

  // A delete of the stale record is refused the same way: the other
  // thread's change could have moved its entries.
  CCS(CCS_JUDGE).setText("");
  port.shown.clear();
  EXPECT_EQ(Relate_CaseCloseSummary().Delete(false), LevelNotify);
  EXPECT_EQ(port.titles(), (std::vector<std::string>{"Record was not deleted"}));
  EXPECT_EQ(contents(), (std::map<std::string, std::string>{{"CR-1", "case totals entry"}}));
}

TEST_F(RelationsTest, MileageRatesAndCasesWithoutANumberLinkNoEntries) {
  // A rate, and entries that use it.
  ASSERT_EQ(Access_RateMilage().PrimeRecord(), 0);
  RTM(RTM_MILAGERATE).setDecimal(*platform::Decimal::parse("0.485"));
  ASSERT_EQ(Access_RateMilage().Insert(), 0);
  makeCase("CR-1", 0);
  ASSERT_EQ(Access_HOURLY().PrimeRecord(), 0);
  HOU(HOU_CASENUMBER).setText("CR-1");
  HOU(HOU_MILAGERATE).setDecimal(*platform::Decimal::parse("0.485"));
  ASSERT_EQ(Access_HOURLY().Insert(), 0);
  // A case without a number, and an entry without one (stored before the
  // entry check existed).
  addCase("", "no number yet");
  platform::clearRecord(HOURLYLayout(), HOURLY().record());
  HOU(HOU_FN).setInteger(99);
  ASSERT_EQ(HOURLY().add(), DbStatus::Ok);
  const auto all = contents();

  // Changing and deleting the rate leaves the entry as it was.
  RTM(RTM_MILAGERATE).setDecimal(*platform::Decimal::parse("0.485"));
  ASSERT_EQ(Access_RateMilage().TryFetch(RTM_KeyMilageRate), 0);
  const std::vector<std::uint8_t> rate(RateMilage().image().begin(), RateMilage().image().end());
  RTM(RTM_MILAGERATE).setDecimal(*platform::Decimal::parse("0.5"));
  EXPECT_EQ(Relate_RateMilage().Update(rate), LevelBenign);
  EXPECT_EQ(Relate_RateMilage().Delete(false), LevelBenign);
  EXPECT_TRUE(rows(RateMilage(), RTM_KeyDate).empty());
  EXPECT_EQ(rows(HOURLY(), HOU_KeyMilageRate).size(), 1u);

  // Deleting the case without a number leaves the entry without one.
  CCS(CCS_CASENAME).setText("no number yet");
  ASSERT_EQ(Access_CaseCloseSummary().TryFetch(CCS_KeyCaseName), 0);
  EXPECT_EQ(Relate_CaseCloseSummary().Delete(false), LevelBenign);
  auto expected = all;
  expected[""] = "entry";
  EXPECT_EQ(contents(), expected);
  EXPECT_EQ(rows(HOURLY(), HOU_KEYFN).size(), 2u);
  EXPECT_TRUE(port.shown.empty());
}

TEST_F(RelationsTest, OpeningAnyFileWithItsRelatedFilesUsesAllFourOnce) {
  // The fixture's window has opened them through CaseCloseSummary.
  for (platform::FileManager* a : {&Access_CaseCloseSummary(), &Access_HOURLY(), &Access_RateMilage(), &Access_TOTALS()})
    EXPECT_EQ(a->useCount(), 1) << a->FILENAMEVALUE;
  ASSERT_EQ(Relate_TOTALS().Open(), 0);
  for (platform::FileManager* a : {&Access_CaseCloseSummary(), &Access_HOURLY(), &Access_RateMilage(), &Access_TOTALS()})
    EXPECT_EQ(a->useCount(), 2) << a->FILENAMEVALUE;
  ASSERT_EQ(Access_HOURLY().UseFile(), 0);
  Relate_HOURLY().Close();
  EXPECT_TRUE(HOURLY().isOpen());
  Relate_RateMilage().Close();
  EXPECT_FALSE(HOURLY().isOpen());
  for (platform::FileManager* a : {&Access_CaseCloseSummary(), &Access_HOURLY(), &Access_RateMilage(), &Access_TOTALS()})
    EXPECT_EQ(a->useCount(), 0) << a->FILENAMEVALUE;
  Relate_RateMilage().Close();  // one close too many does nothing
  EXPECT_EQ(Access_TOTALS().useCount(), 0);
}

}  // namespace
