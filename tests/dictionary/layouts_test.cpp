#include "dictionary/layouts.h"

#include <gtest/gtest.h>

namespace {

using dictionary::CaseCloseSummaryLayout;
using dictionary::HOURLYLayout;
using dictionary::RateMilageLayout;
using dictionary::TOTALSLayout;
using platform::RecordLayout;

struct LayoutCase {
  const RecordLayout& (*layout)();
  const char* label;
  const char* prefix;
  const char* storedName;
  unsigned size;
  int entries;
};

TEST(Layouts, EachFileAddsUpToItsRecordSize) {
  const LayoutCase cases[] = {
      {TOTALSLayout, "TOTALS", "TOT", "TOTALS", 160, 33},
      {RateMilageLayout, "RateMilage", "RTM", "RATEMILA", 8, 2},
      {HOURLYLayout, "HOURLY", "HOU", "HOURLY", 1952, 48},
      {CaseCloseSummaryLayout, "CaseCloseSummary", "CCS", "CASECLOS", 3184, 91},
  };
  for (const auto& c : cases) {
    const RecordLayout& l = c.layout();
    SCOPED_TRACE(c.label);
    EXPECT_EQ(l.check(), "");
    EXPECT_EQ(l.label(), c.label);
    EXPECT_EQ(l.prefix(), c.prefix);
    EXPECT_EQ(l.storedName(), c.storedName);
    EXPECT_EQ(l.recordSize(), c.size);
    EXPECT_EQ(l.fieldCount(), c.entries);
    for (const auto& f : l.fields()) EXPECT_EQ(f.name.rfind(std::string(c.prefix) + ":", 0), 0u) << f.name;
  }
}

TEST(Layouts, FieldNumbersMatchTheLayoutOrder) {
  // The entry check looks up the case number as field 2 of HOURLY.
  EXPECT_EQ(HOURLYLayout().field(dictionary::HOU_CASENUMBER).name, "HOU:CASENUMBER");
  EXPECT_EQ(dictionary::HOU_CASENUMBER, 2);
  EXPECT_EQ(CaseCloseSummaryLayout().field(dictionary::CCS_DATESIGNTAURE).offset, 3180u);
  EXPECT_EQ(TOTALSLayout().field(dictionary::TOT_P1).offset, 100u);
  EXPECT_EQ(RateMilageLayout().field(dictionary::RTM_MILAGERATE).digits, 7);
  // The names keep their historical spellings.
  EXPECT_EQ(CaseCloseSummaryLayout().numberOf("CCS:OFFESESCHARGED"), dictionary::CCS_OFFESESCHARGED);
}

}  // namespace
