// The amount rules and the entry forms on 100,000 cases with 1,000,000
// entries and on 1,000 cases with 10,000 entries (ten entries a case, their
// totals as the rules give them), each set built once per run in a
// temporary directory:
//   - all nine rules on one entry, beside a bare SQLite fetch of an entry
//     by HOU:KEYFN;
//   - an amount typed into UpdateOTHER and the Tab that follows (two
//     events, each recomputed and redisplayed), headless;
//   - UpdateiNCOURT opened for change until its first control has the
//     focus, headless.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "cases/amount_rules.h"
#include "cases/update_other.h"
#include "cases/update_time_entry.h"
#include "dictionary/dictionary.h"
#include "tests/bench/bench_support.h"

namespace {

using bench::fail;
using platform::Decimal;

std::string caseNumber(int i) { return "CR-" + std::to_string(1995 + i % 25) + "-" + std::to_string(100000 + i); }

struct EntrySet {
  bench::ScratchDir dir{"entries"};
  int cases = 0;
  int entries = 0;
};
constexpr int PerCase = 10;

// `cases` cases with ten entries each, the entries numbered 1, 2, ... case
// by case, with hours of both sections, miles at a rate and expenses.
const EntrySet& entrySet(int cases) {
  static std::map<int, std::unique_ptr<EntrySet>> sets;
  auto& set = sets[cases];
  if (set) return *set;
  set = std::make_unique<EntrySet>();
  set->cases = cases;
  set->entries = cases * PerCase;
  const bench::InDirectory in(set->dir.path());
  bench::RecordFiles files{dictionary::CaseCloseSummaryDefinition(), dictionary::HOURLYDefinition()};
  const bench::Record ccs(files[0]), hou(files[1]);
  std::mt19937 random(7);
  files.inTransaction([&] {
    std::int32_t fn = 0;
    for (int i = 0; i < cases; ++i) {
      ccs.clear();
      ccs(dictionary::CCS_CASENUMBER).setText(caseNumber(i));
      ccs(dictionary::CCS_CASENAME).setText("United States v. Defendant " + std::to_string(i));
      const Decimal rate = Decimal::fromParts(9000 + random() % 9000, 2);
      ccs(dictionary::CCS_HOURLYRATE).setDecimal(rate);
      ccs.add();
      for (int j = 0; j < PerCase; ++j) {
        hou.clear();
        hou(dictionary::HOU_FN).setInteger(++fn);
        hou(dictionary::HOU_CASENUMBER).setText(caseNumber(i));
        hou(dictionary::HOU_DATE).setDay(75000 + static_cast<int>(random() % 3000));
        hou(dictionary::HOU_BRIEFDESCRIPTIONSERVICES).setText("Review of discovery and conference with client");
        hou(dictionary::HOU_BRIEFDESCRIPTIONSERVICES3).setText("Travel to the courthouse");
        hou(dictionary::HOU_TRIAL).setDecimal(Decimal::fromParts(random() % 80, 1));
        hou(dictionary::HOU_BAILHEARINGS).setDecimal(Decimal::fromParts(random() % 30, 1));
        hou(dictionary::HOU_LEGALRESEARCH).setDecimal(Decimal::fromParts(random() % 50, 1));
        hou(dictionary::HOU_MILAGERATE).setDecimal(Decimal::fromParts(445 + random() % 3 * 20, 3));
        hou(dictionary::HOU_MILEAGE).setDecimal(Decimal::fromInt(random() % 200));
        hou(dictionary::HOU_PARKING).setDecimal(Decimal::fromParts(random() % 2000, 2));
        hou(dictionary::HOU_COPYING).setDecimal(Decimal::fromParts(random() % 5000, 2));
        cases::ApplyAmountRules(cases::EntryOperands(rate, files[1].record()), cases::EntryTargets(files[1].record()),
                                cases::AllAmountRules);
        hou.add();
      }
    }
  });
  return *set;
}

// Entry numbers to work on, the same in every benchmark of a set.
std::vector<std::int32_t> someEntries(const EntrySet& set, std::size_t count) {
  std::mt19937 random(11);
  std::vector<std::int32_t> out;
  for (std::size_t i = 0; i < count; ++i) out.push_back(1 + static_cast<std::int32_t>(random() % set.entries));
  return out;
}

// --- the rules beside a bare fetch ------------------------------------------------------

// An entry's record by HOU:KEYFN, read by a bare SQLite statement.
class BareFetch {
 public:
  explicit BareFetch(const EntrySet& set)
      : file_(set.dir.path() / "HOURLY.lvd"),
        stmt_(file_.prepare("SELECT image FROM records WHERE owner IS NULL AND " +
                            bench::BareFile::keyColumn(dictionary::HOU_KEYFN) + " = ?1")) {}

  void fetch(std::int32_t fn, std::vector<std::uint8_t>& image) {
    sqlite3_bind_int64(stmt_, 1, fn);
    if (sqlite3_step(stmt_) != SQLITE_ROW) fail("no entry " + std::to_string(fn));
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, 0));
    image.assign(data, data + sqlite3_column_bytes(stmt_, 0));
    sqlite3_reset(stmt_);
  }

 private:
  bench::BareFile file_;
  sqlite3_stmt* stmt_;
};

// range(0): the number of cases.
void BM_EntryRulesAllNine(benchmark::State& state) {
  const EntrySet& set = entrySet(static_cast<int>(state.range(0)));
  std::vector<std::vector<std::uint8_t>> images;
  {
    BareFetch bare(set);
    for (std::int32_t fn : someEntries(set, 1000)) {
      images.emplace_back();
      bare.fetch(fn, images.back());
    }
  }
  const Decimal rate = Decimal::fromParts(12500, 2);
  std::size_t i = 0;
  for (auto _ : state) {
    std::uint8_t* record = images[i++ % images.size()].data();
    const cases::AmountResult r =
        cases::ApplyAmountRules(cases::EntryOperands(rate, record), cases::EntryTargets(record), cases::AllAmountRules);
    benchmark::DoNotOptimize(r.overflowed);
  }
}
BENCHMARK(BM_EntryRulesAllNine)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_EntryFetchBare(benchmark::State& state) {
  const EntrySet& set = entrySet(static_cast<int>(state.range(0)));
  BareFetch bare(set);
  const std::vector<std::int32_t> fns = someEntries(set, 1000);
  std::vector<std::uint8_t> image;
  std::size_t i = 0;
  for (auto _ : state) {
    bare.fetch(fns[i++ % fns.size()], image);
    benchmark::DoNotOptimize(image.data());
  }
}
BENCHMARK(BM_EntryFetchBare)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// --- the forms -----------------------------------------------------------------------------

// A running program in a set's directory whose first thread plays a
// worksheet: its files stay open, and each click of its button runs the
// steps queued for it (loading an entry and calling a form).
class Program : public bench::StepProgram {
 public:
  explicit Program(const EntrySet& set) : bench::StepProgram(set.dir.path(), "Worksheet") {}

  // Loads entry `fn` with its case current, as a worksheet has them.
  void load(std::int32_t fn) {
    on([fn] {
      dictionary::HOU(dictionary::HOU_FN).setInteger(fn);
      if (dictionary::Access_HOURLY().TryFetch(dictionary::HOU_KEYFN) != 0) fail("no entry");
      dictionary::CCS(dictionary::CCS_CASENUMBER).setText(dictionary::HOU(dictionary::HOU_CASENUMBER).text());
      if (dictionary::Access_CaseCloseSummary().TryFetch(dictionary::CCS_KeyCaseNumber) != 0) fail("no case");
    });
  }
  // Calls a form on the loaded entry.
  void call(void (*form)(), std::uint8_t request) {
    on([form, request] { app::CallWithRequest(form, request); });
  }
};

// An amount typed into the expense form and the Tab that leaves it: the
// entry accepted and the next one focused, each event recomputing the
// totals and redisplaying them. The focus goes down the eight amounts;
// putting it back on the first one is not timed.
void BM_ExpenseFormTypeAmountAndTab(benchmark::State& state) {
  namespace ox = cases::other_expenses;
  const EntrySet& set = entrySet(static_cast<int>(state.range(0)));
  Program program(set);
  program.load(someEntries(set, 1)[0]);
  program.call(cases::UpdateOTHER, app::RequestChange);
  platform::Window& form = program.drv().window("Record Will Be Changed");
  const int amounts[] = {ox::HOU_PARKING, ox::HOU_MEALS,  ox::HOU_LODGING,   ox::HOU_COPYING,
                         ox::HOU_POSTAGE, ox::HOU_OTHER, ox::HOU_TOLLCALLS, ox::HOU_TELEGRAMS};
  const char* values[] = {"12.34", "5.67"};
  program.drv().focus(form, amounts[0]);
  std::size_t next = 0, pass = 0;
  for (auto _ : state) {
    program.drv().edit(form, amounts[next], values[pass % 2]);
    program.drv().tab(form);
    if (++next == std::size(amounts)) {
      state.PauseTiming();
      next = 0;
      ++pass;
      program.drv().focus(form, amounts[0]);
      state.ResumeTiming();
    }
  }
  if (program.drv().text(form, ox::HOU_TOTALSECTION).empty()) fail("no expense total");
  program.drv().answer(platform::BtnYes);  // the changes are given up
  program.drv().click(form, ox::CANCEL);
}
BENCHMARK(BM_ExpenseFormTypeAmountAndTab)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// UpdateiNCOURT opened for change on an entry, until its first control has
// the focus; the worksheet's load of the entry and its case before the call,
// and closing the form, are not timed.
void BM_InCourtOpensForChange(benchmark::State& state) {
  namespace ic = cases::in_court;
  const EntrySet& set = entrySet(static_cast<int>(state.range(0)));
  Program program(set);
  const std::vector<std::int32_t> fns = someEntries(set, 1000);
  std::size_t i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    program.load(fns[i++ % fns.size()]);
    state.ResumeTiming();
    program.call(cases::UpdateiNCOURT, app::RequestChange);
    platform::Window& form = program.drv().window("Record Will Be Changed");
    if (form.focus() != ic::HOU_DATE) fail("the date has no focus");
    state.PauseTiming();
    program.drv().click(form, ic::CANCEL);  // nothing was repriced: no question
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InCourtOpensForChange)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
