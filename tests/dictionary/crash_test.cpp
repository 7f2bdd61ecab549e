// A child process that deletes and renumbers real cases through the
// relation objects is killed again and again; after each kill every file is
// sound and every case has all its records or none, under one number.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "tests/dictionary/dict_fixture.h"
#include "tests/platform/db/crash_loop.h"

namespace {

using namespace dicttest;

std::string textOf(const platform::RecordLayout& layout, std::vector<std::uint8_t>& image, int field) {
  return platform::FieldRef::of(layout.field(field), image.data()).text();
}

// Empty when every case is whole, else the first fault found.
std::string checkCases(const ScratchDir& dir) {
  if (std::string fault = dbtest::integrityOf(dir, {"CASECLOS.lvd", "HOURLY.lvd", "TOTALS.lvd"}); !fault.empty())
    return fault;
  platform::DbContext context;
  platform::DbFile cases(context, CaseCloseSummaryDefinition()), entries(context, HOURLYDefinition()),
      totals(context, TOTALSDefinition());
  for (platform::DbFile* f : {&cases, &entries, &totals})
    if (f->open() != DbStatus::Ok) return "cannot open " + f->path() + ": " + f->error().text;
  dbtest::CaseTally tally;
  for (DbRow& r : rows(cases, CCS_KeyCaseNumber))
    tally.addCase(textOf(CaseCloseSummaryLayout(), r.image, CCS_CASENUMBER),
                  textOf(CaseCloseSummaryLayout(), r.image, CCS_XXXXXXXX),
                  std::atoi(textOf(CaseCloseSummaryLayout(), r.image, CCS_NUMBER).c_str()));
  for (DbRow& r : rows(entries, HOU_KeyCaseNumber))
    tally.addEntry(textOf(HOURLYLayout(), r.image, HOU_CASENUMBER), textOf(HOURLYLayout(), r.image, HOU_XXX));
  for (DbRow& r : rows(totals, TOT_KeyCaseNumber)) tally.addTotals(textOf(TOTALSLayout(), r.image, TOT_CASENUMBER));
  return tally.fault();
}

TEST(CrashTest, KilledCascadesLeaveEveryCaseWholeOrAbsent) {
  ScratchDir dir;
  dbtest::killRepeatedly(dir, {"crash", dir.path()}, 20070314, std::chrono::microseconds(2000),
                         std::chrono::microseconds(60000), [&dir] { return checkCases(dir); });
}

}  // namespace
