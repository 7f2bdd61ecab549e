// The worksheets and the case totals window on an entry file of 1,000,000
// entries: a case of 10,000 entries (a third in court, a third out of
// court, a third of expenses), a case of 1,000 alike, and 989 further cases
// of 1,000, the entries of all cases mixed through the file as they are
// added over time. Built once per run in a temporary directory, removed
// when the run ends.
//   - the in-court worksheet's walk of its column totals over the case of
//     10,000, beside a bare SQLite read of the same case's records in the
//     same order;
//   - BrowseInCourt opened until its first page shows and its walk has
//     ended, headless;
//   - MoneY opened likewise, on the case of 10,000 and on the case of 1,000
//     (its cost per entry is reported as a counter);
//   - a change completed through the worksheet's form: the form opened for
//     change, OK, and the worksheet's reload of its page and its walk.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "cases/column_totals.h"
#include "cases/money.h"
#include "cases/update_time_entry.h"
#include "cases/worksheets.h"
#include "dictionary/dictionary.h"
#include "platform/types/latin1.h"
#include "tests/bench/bench_support.h"

namespace {

using bench::fail;
using platform::DbStatus;
using platform::Decimal;
using platform::FieldRef;

constexpr const char* BigCase = "CR-2007-BIG";      // 10,000 entries
constexpr const char* SmallCase = "CR-2007-SMALL";  // 1,000 entries
constexpr int Entries = 1000000;
constexpr int BigEntries = 10000;
constexpr int SmallEntries = 1000;
constexpr int OtherCases = (Entries - BigEntries - SmallEntries) / 1000;

struct SheetSet {
  bench::ScratchDir dir{"sheets"};
};

// The case of entry i of a case's own: in court, out of court or expenses
// by turns.
void fillEntry(platform::DbFile& e, const std::string& caseNumber, int i, std::int32_t fn, std::mt19937& random) {
  const bench::Record hou(e);
  hou.clear();
  hou(dictionary::HOU_FN).setInteger(fn);
  hou(dictionary::HOU_CASENUMBER).setText(caseNumber);
  hou(dictionary::HOU_DATE).setDay(75000 + static_cast<int>(random() % 3000));
  hou(dictionary::HOU_BRIEFDESCRIPTIONSERVICES).setText("Review of discovery and conference with client");
  const Decimal rate = Decimal::fromParts(12500, 2);
  switch (i % 3) {
    case 0:
      hou(dictionary::HOU_TRIAL).setDecimal(Decimal::fromParts(1 + random() % 80, 1));
      hou(dictionary::HOU_BAILHEARINGS).setDecimal(Decimal::fromParts(random() % 30, 1));
      break;
    case 1: hou(dictionary::HOU_LEGALRESEARCH).setDecimal(Decimal::fromParts(1 + random() % 50, 1)); break;
    default:
      hou(dictionary::HOU_BRIEFDESCRIPTIONSERVICES3).setText("Travel to the courthouse");
      hou(dictionary::HOU_MILAGERATE).setDecimal(Decimal::fromParts(485, 3));
      hou(dictionary::HOU_MILEAGE).setDecimal(Decimal::fromInt(1 + random() % 200));
      hou(dictionary::HOU_PARKING).setDecimal(Decimal::fromParts(random() % 2000, 2));
      break;
  }
  cases::ApplyAmountRules(cases::EntryOperands(rate, e.record()), cases::EntryTargets(e.record()),
                          cases::AllAmountRules);
}

const SheetSet& sheetSet() {
  static std::unique_ptr<SheetSet> set;
  if (set) return *set;
  set = std::make_unique<SheetSet>();
  const bench::InDirectory in(set->dir.path());
  bench::RecordFiles files{dictionary::CaseCloseSummaryDefinition(), dictionary::HOURLYDefinition()};
  const bench::Record ccs(files[0]), hou(files[1]);
  std::vector<std::string> numbers = {BigCase, SmallCase};
  for (int i = 0; i < OtherCases; ++i) numbers.push_back("CR-" + std::to_string(1995 + i % 12) + "-" + std::to_string(1000 + i));
  // Which case each entry belongs to, in the order they are added.
  std::vector<std::uint16_t> owner;
  owner.reserve(Entries);
  owner.insert(owner.end(), BigEntries, 0);
  owner.insert(owner.end(), SmallEntries, 1);
  for (int i = 0; i < OtherCases; ++i) owner.insert(owner.end(), 1000, static_cast<std::uint16_t>(2 + i));
  std::mt19937 random(7);
  std::shuffle(owner.begin(), owner.end(), random);

  files.inTransaction([&] {
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      ccs.clear();
      ccs(dictionary::CCS_CASENUMBER).setText(numbers[i]);
      ccs(dictionary::CCS_CASENAME).setText("United States v. " + numbers[i]);
      ccs(dictionary::CCS_HOURLYRATE).setDecimal(Decimal::fromParts(12500, 2));
      ccs.add();
    }
    std::vector<int> added(numbers.size(), 0);
    for (std::size_t k = 0; k < owner.size(); ++k) {
      fillEntry(files[1], numbers[owner[k]], added[owner[k]]++, static_cast<std::int32_t>(k + 1), random);
      hou.add();
    }
  });
  return *set;
}

// --- the bare read -------------------------------------------------------------------------

void BM_SheetCaseReadBare(benchmark::State& state) {
  const SheetSet& set = sheetSet();
  bench::BareFile bare(set.dir.path() / "HOURLY.lvd");
  sqlite3_stmt* stmt = bare.prepare("SELECT pos, image FROM records WHERE owner IS NULL AND " +
                                    bench::BareFile::keyColumn(dictionary::HOU_KeyCaseNumber) + " = ?1 ORDER BY pos");
  const bool big = state.range(0) == BigEntries;
  const std::string value = platform::latin1Upper(big ? BigCase : SmallCase);
  std::vector<std::uint8_t> image;
  for (auto _ : state) {
    sqlite3_bind_blob(stmt, 1, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, 1));
      image.assign(data, data + sqlite3_column_bytes(stmt, 1));
      benchmark::DoNotOptimize(image.data());
      ++rows;
    }
    sqlite3_reset(stmt);
    if (rows != state.range(0)) fail("the case has " + std::to_string(rows) + " entries");
  }
  state.counters["per_entry"] = benchmark::Counter(static_cast<double>(state.range(0)) * state.iterations(),
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SheetCaseReadBare)->Arg(SmallEntries)->Arg(BigEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- the program -----------------------------------------------------------------------------

// A running program in the set's directory whose first thread plays the
// case list: its files stay open, a case is current, and each click of its
// button runs the steps queued for it (a worksheet called, a walk).
class Program : public bench::StepProgram {
 public:
  explicit Program(const char* caseNumber) : bench::StepProgram(sheetSet().dir.path(), "CASE FILE") {
    on([caseNumber] {
      dictionary::CCS(dictionary::CCS_CASENUMBER).setText(caseNumber);
      if (dictionary::Access_CaseCloseSummary().TryFetch(dictionary::CCS_KeyCaseNumber) != 0) fail("no case");
    });
  }
};

// --- the walk ----------------------------------------------------------------------------------

// The in-court worksheet's walk over its view of the case of 10,000: the
// case's entries by HOU:KeyCaseNumber whose in-court amount is not zero.
void BM_InCourtWalk(benchmark::State& state) {
  Program program(BigCase);
  program.on([&state] {
    platform::WindowSpec spec;
    spec.caption = "Walk";
    platform::Window w(spec);
    if (dictionary::Access_HOURLY().UseFile() != 0) fail("no entry file");
    platform::ListView view(dictionary::HOURLY());
    view.setKey(dictionary::HOU_KeyCaseNumber);
    view.setRange(platform::KeyValue{platform::latin1Upper(BigCase)});
    const platform::FieldDesc& amount = dictionary::HOURLYLayout().field(dictionary::HOU_TOTALSECTION_INCOURT);
    view.setFilter([&amount](const std::uint8_t* image) {
      return !FieldRef::of(amount, const_cast<std::uint8_t*>(image)).decimal().isZero();
    });
    cases::SheetFigures figures(cases::WorksheetRules);
    for (auto _ : state)
      if (figures.ColumnTotals(view, w, dictionary::Relate_HOURLY()) != DbStatus::Ok) fail("the walk failed");
    if (figures.total(4).decimal().isZero()) fail("no trial hours");
  });
}
BENCHMARK(BM_InCourtWalk)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- the windows -------------------------------------------------------------------------------

// A window called on the case list's thread, opened until its first page
// shows and its walk has ended; closing it is not timed.
void opens(benchmark::State& state, const char* caseNumber, void (*procedure)(), const char* caption, int entries) {
  Program program(caseNumber);
  for (auto _ : state) {
    program.on(procedure);
    platform::Window& w = program.drv().window(caption);
    state.PauseTiming();
    program.drv().close(w);
    state.ResumeTiming();
  }
  state.counters["per_entry"] = benchmark::Counter(static_cast<double>(entries) * state.iterations(),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_InCourtOpens(benchmark::State& state) {
  opens(state, BigCase, cases::BrowseInCourt, "IN COURT WORKSHEET", BigEntries);
}
BENCHMARK(BM_InCourtOpens)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MoneyOpens(benchmark::State& state) {
  const bool big = state.range(0) == BigEntries;
  opens(state, big ? BigCase : SmallCase, cases::MoneY, "TOTALS", big ? BigEntries : SmallEntries);
}
BENCHMARK(BM_MoneyOpens)->Arg(SmallEntries)->Arg(BigEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

// A change completed through the in-court worksheet: Change pressed, the
// form's OK, the list reloaded at its page and walked again.
void BM_InCourtChangeCompleted(benchmark::State& state) {
  namespace ic = cases::in_court;
  Program program(BigCase);
  platform::HeadlessDriver& drv = program.drv();
  // The worksheet stays open on the case list's thread.
  program.on(cases::BrowseInCourt);
  platform::Window& sheet = drv.window("IN COURT WORKSHEET");
  for (auto _ : state) {
    drv.click(sheet, cases::worksheet::CHANGE_3);
    platform::Window& form = drv.window("Record Will Be Changed");
    drv.click(form, ic::OK);
    if (drv.findWindow("Record Will Be Changed")) fail("the change was not completed");
  }
  drv.close(sheet);
}
BENCHMARK(BM_InCourtChangeCompleted)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
