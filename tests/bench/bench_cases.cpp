// The case list on 100,000 and on 1,000 cases, headless: opening it until its
// first page shows, a search by case name, a page down, and the same page
// read by a bare SQLite query. Each data set is built once per run in a
// temporary directory.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/frame/program.h"
#include "cases/browse_case_close_summary.h"
#include "dictionary/dictionary.h"
#include "tests/bench/bench_support.h"

namespace {

using bench::fail;

std::string caseName(int i) { return "United States v. Defendant " + std::to_string(100000 + i); }

struct CaseSet {
  bench::ScratchDir dir{"cases"};
  int cases = 0;
};

// `count` cases, numbered and named in an order of their own, in a fresh
// directory.
const CaseSet& caseSet(int count) {
  static std::map<int, std::unique_ptr<CaseSet>> sets;
  auto& set = sets[count];
  if (set) return *set;
  set = std::make_unique<CaseSet>();
  set->cases = count;
  const bench::InDirectory in(set->dir.path());
  bench::RecordFiles files{dictionary::CaseCloseSummaryDefinition()};
  const bench::Record ccs(files[0]);
  std::vector<int> order(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) order[static_cast<std::size_t>(i)] = i + 1;
  std::shuffle(order.begin(), order.end(), std::mt19937(7));
  files.inTransaction([&] {
    for (int i : order) {
      ccs.clear();
      char number[24];
      std::snprintf(number, sizeof number, "2:07-CR-%06d", i);
      ccs(dictionary::CCS_CASENUMBER).setText(number);
      ccs(dictionary::CCS_CASENAME).setText(caseName(i));
      ccs(dictionary::CCS_HOURLYRATE).setDecimal(*platform::Decimal::parse("125"));
      ccs.add();
    }
  });
  return *set;
}

// A running program in a data set's directory; the case list runs on
// threads it starts.
class Program : public bench::Program {
 public:
  explicit Program(const CaseSet& set) : bench::Program(set.dir.path()) {}

  // Starts the case list as the frame does and waits until it shows.
  platform::Window& openList() {
    if (!app::StartThread(cases::BrowseCaseCloseSummary, 50000)) fail("starting the case list");
    drv().settle();
    platform::Window& list = drv().window("CASE FILE");
    if (drv().control(list, cases::case_list::BROWSE_1).rowCount() == 0) fail("an empty case list");
    return list;
  }
  void closeList() { drv().close(drv().window("CASE FILE")); }
};

// range(0): the number of cases.
void BM_CaseListOpens(benchmark::State& state) {
  Program program(caseSet(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    program.openList();
    state.PauseTiming();
    program.closeList();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CaseListOpens)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A case name typed into the search entry and left with Tab.
void BM_CaseListSearchByName(benchmark::State& state) {
  const CaseSet& set = caseSet(static_cast<int>(state.range(0)));
  Program program(set);
  platform::Window& list = program.openList();
  std::mt19937 random(3);
  for (auto _ : state) {
    const int target = 1 + static_cast<int>(random() % static_cast<unsigned>(set.cases));
    program.drv().type(list, cases::case_list::CCS_CASENAME, caseName(target));
    benchmark::DoNotOptimize(list.focus());
  }
  const platform::Control& rows = program.drv().control(list, cases::case_list::BROWSE_1);
  if (rows.cell(rows.selected(), 2).rfind("United States v. Defendant", 0) != 0) fail("the search found nothing");
}
BENCHMARK(BM_CaseListSearchByName)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Paging benchmarks cycle through the first Pages pages by name, whose
// records stay in memory after the first pass: what a user paging through
// the list meets, on both data sets alike.
constexpr int Pages = 64;

// Page Down through the list by name.
void BM_CaseListPageDown(benchmark::State& state) {
  Program program(caseSet(static_cast<int>(state.range(0))));
  platform::Window& list = program.openList();
  const platform::Control& rows = program.drv().control(list, cases::case_list::BROWSE_1);
  int page = 0;
  for (auto _ : state) {
    program.drv().scroll(list, cases::case_list::BROWSE_1, platform::ScrollAction::PageDown);
    if (++page == Pages) {
      state.PauseTiming();
      program.drv().scroll(list, cases::case_list::BROWSE_1, platform::ScrollAction::Top);
      page = 0;
      state.ResumeTiming();
    }
  }
  state.counters["rows"] = rows.rowCount();
}
BENCHMARK(BM_CaseListPageDown)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The same page read by a bare SQLite query on a connection of its own, as
// the driver's connections read (memory-mapped): the page's records after
// the last one shown, in name order.
void BM_CaseListPageBare(benchmark::State& state) {
  const CaseSet& set = caseSet(static_cast<int>(state.range(0)));
  int page = 0;
  {
    Program program(set);
    platform::Window& list = program.openList();
    page = program.drv().control(list, cases::case_list::BROWSE_1).pageRows();
  }
  bench::BareFile bare(set.dir.path() / "CASECLOS.lvd");
  const std::string k = bench::BareFile::keyColumn(dictionary::CCS_KeyCaseName);
  sqlite3_stmt* stmt = bare.prepare("SELECT pos, image, " + k + " FROM records WHERE owner IS NULL AND " + k +
                                    " > ?1 ORDER BY " + k + ", pos LIMIT ?2");
  std::vector<std::vector<std::uint8_t>> images;
  std::string after, lastKey;
  int pages = 0;
  for (auto _ : state) {
    images.clear();
    sqlite3_bind_blob(stmt, 1, after.data(), static_cast<int>(after.size()), SQLITE_STATIC);
    sqlite3_bind_int(stmt, 2, page);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, 1));
      images.emplace_back(data, data + sqlite3_column_bytes(stmt, 1));
      lastKey.assign(static_cast<const char*>(sqlite3_column_blob(stmt, 2)),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt, 2)));
    }
    sqlite3_reset(stmt);
    after = ++pages == Pages ? std::string() : lastKey;
    if (pages == Pages) pages = 0;
    benchmark::DoNotOptimize(images.data());
  }
}
BENCHMARK(BM_CaseListPageBare)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
