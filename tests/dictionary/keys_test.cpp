// The keys of the record files through the access objects: which values
// count as duplicates, what the duplicate-key message names, and which
// records are missing from which order.

#include <type_traits>

#include "tests/dictionary/dict_fixture.h"

namespace {

using namespace dicttest;
using platform::Decimal;

// A field of one file cannot be used on another.
static_assert(std::is_invocable_v<decltype(&CCS), CaseCloseSummaryField>);
static_assert(!std::is_invocable_v<decltype(&CCS), HOURLYField>);
static_assert(!std::is_invocable_v<decltype(&HOU), TOTALSField>);
static_assert(!std::is_invocable_v<decltype(&TOT), int>);

using KeysTest = DictTest;

TEST_F(KeysTest, ASecondRecordIsRefusedOnlyWhereAKeyWithoutDuplicatesHoldsItsValue) {
  struct Case {
    const char* what;
    bool totals;  // TOTALS records, else cases (number, name)
    const char *firstNumber, *firstName, *secondNumber, *secondName;
    bool refused;
  };
  const Case cases[] = {
      {"the same case number in another letter case", false, "cr-07-1", "Doe", "CR-07-1", "Roe", true},
      // The case name's key comes first and allows duplicates: the message
      // names the key that does not.
      {"the same name and the same number", false, "CR-07-1", "Doe", "CR-07-1", "Doe", true},
      {"two blank case numbers", false, "", "Doe", "", "Roe", false},
      {"the same name and attorney under another number", false, "CR-07-1", "Doe", "CR-07-2", "Doe", false},
      {"a second totals record of a case", true, "CR-07-1", "", "cr-07-1", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir fresh;
    TestThread thread;
    use(thread);
    openFiles();
    port.shown.clear();
    // A totals record must name a case.
    if (c.totals) addCase("CR-07-1");
    platform::FileManager& access = c.totals ? Access_TOTALS() : Access_CaseCloseSummary();
    platform::DbFile& file = access.file();
    auto prime = [&](const char* number, const char* name) {
      ASSERT_EQ(access.PrimeRecord(), 0);
      if (c.totals) {
        TOT(TOT_CASENUMBER).setText(number);
      } else {
        CCS(CCS_CASENUMBER).setText(number);
        CCS(CCS_CASENAME).setText(name);
        CCS(CCS_ATTORNEY).setText("Same Attorney");
      }
    };
    // The records in an order that leaves none of them out here.
    auto count = [&] { return rows(file, c.totals ? int{TOT_KeyCaseNumber} : int{CCS_KeyAttorney}).size(); };
    prime(c.firstNumber, c.firstName);
    ASSERT_EQ(access.Insert(), 0);
    const std::int64_t first = file.position();
    prime(c.secondNumber, c.secondName);
    const std::vector<std::uint8_t> typed(file.image().begin(), file.image().end());
    if (c.refused) {
      EXPECT_EQ(access.Insert(), platform::LevelNotify);
      ASSERT_EQ(port.shown.size(), 1u);
      EXPECT_EQ(port.shown[0].title, "Duplicate Key Error");
      EXPECT_EQ(port.shown[0].text, "Adding this record creates a duplicate entry for the key: Case Number");
      // Nothing was added and the typed values are still there.
      EXPECT_EQ(std::vector<std::uint8_t>(file.image().begin(), file.image().end()), typed);
      EXPECT_EQ(count(), 1u);
    } else {
      EXPECT_EQ(access.Insert(), 0);
      EXPECT_TRUE(port.shown.empty());
      EXPECT_NE(file.position(), first);  // a record of its own
      if (!c.totals) {
        EXPECT_EQ(count(), 2u);
      }
    }
    Relate_CaseCloseSummary().Close();
    use(*main);
  }
}

TEST_F(KeysTest, RecordsWithAnEmptyComponentAreMissingOnlyFromKeysThatLeaveThemOut) {
  openFiles();
  addCase("CR-1", "");       // no name
  addCase("", "Nameless");   // no number
  addCase("CR-2", "Named");
  // "Named" sorts before "Nameless"; CR-1 has no name.
  EXPECT_EQ(texts(CaseCloseSummary(), CCS_KeyCaseName, CCS_CASENUMBER), (std::vector<std::string>{"CR-2", ""}));
  EXPECT_EQ(texts(CaseCloseSummary(), CCS_KeyCaseNumber, CCS_CASENUMBER), (std::vector<std::string>{"CR-1", "CR-2"}));
  EXPECT_EQ(rows(CaseCloseSummary(), CCS_KeyAttorney).size(), 3u);  // kept: every case

  // Entries: a zero mileage rate is missing in rate order, a blank case
  // name in name order; the number and date orders keep everything.
  addEntry("CR-1", "no rate");
  ASSERT_EQ(Access_HOURLY().PrimeRecord(), 0);
  HOU(HOU_CASENUMBER).setText("CR-2");
  HOU(HOU_CASENAME).setText("Doe");
  HOU(HOU_MILAGERATE).setDecimal(*Decimal::parse("0.345"));
  HOU(HOU_BRIEFDESCRIPTIONSERVICES).setText("with rate");
  ASSERT_EQ(Access_HOURLY().Insert(), 0);
  EXPECT_EQ(texts(HOURLY(), HOU_KeyMilageRate, HOU_BRIEFDESCRIPTIONSERVICES), (std::vector<std::string>{"with rate"}));
  EXPECT_EQ(texts(HOURLY(), HOU_KeyCaseName, HOU_BRIEFDESCRIPTIONSERVICES), (std::vector<std::string>{"with rate"}));
  for (int key : {int{HOU_KEYFN}, int{HOU_KeyCaseNumber}, int{HOU_KeyDate}}) EXPECT_EQ(rows(HOURLY(), key).size(), 2u) << key;

  // Mileage rates keep a zero rate in rate order.
  for (const char* rate : {"0", "0.485"}) {
    ASSERT_EQ(Access_RateMilage().PrimeRecord(), 0);
    RTM(RTM_MILAGERATE).setDecimal(*Decimal::parse(rate));
    ASSERT_EQ(Access_RateMilage().Insert(), 0);
  }
  EXPECT_EQ(rows(RateMilage(), RTM_KeyMilageRate).size(), 2u);
  EXPECT_TRUE(port.shown.empty());
}

}  // namespace
