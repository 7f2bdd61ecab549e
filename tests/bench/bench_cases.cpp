// The case list on 100,000 and on 1,000 cases, headless: opening it until its
// first page shows, a search by case name, a page down, and the same page
// read by a bare SQLite query. Each data set is built once per run in a
// temporary directory.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "cases/browse_case_close_summary.h"
#include "dictionary/dictionary.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/transaction.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "platform/os/os_fakes.h"
#include "platform/types/latin1.h"
#include "platform/ui/headless/driver.h"

namespace {

using platform::DbStatus;
using platform::FieldRef;


std::string caseName(int i) { return "United States v. Defendant " + std::to_string(100000 + i); }

// A data set's directory goes when the set does: at the end of the run, or
// before a failed run aborts.
struct CaseSet {
  std::string dir;
  int cases = 0;
  CaseSet() = default;
  CaseSet(const CaseSet&) = delete;
  CaseSet& operator=(const CaseSet&) = delete;
  ~CaseSet() {
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
};

std::map<int, std::unique_ptr<CaseSet>>& caseSets() {
  static std::map<int, std::unique_ptr<CaseSet>> sets;
  return sets;
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "bench_cases: %s\n", what.c_str());
  caseSets().clear();
  std::abort();
}

// `count` cases, numbered and named in an order of their own, in a fresh
// directory.
const CaseSet& caseSet(int count) {
  auto& set = caseSets()[count];
  if (set) return *set;
  set = std::make_unique<CaseSet>();
  std::string pattern = (std::filesystem::temp_directory_path() / "lv-bench-cases-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) fail("no temporary directory");
  set->dir = pattern;
  set->cases = count;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(set->dir);
  {
    platform::DbContext context;
    platform::DbFile file(context, dictionary::CaseCloseSummaryDefinition());
    if (file.create() != DbStatus::Ok || file.open() != DbStatus::Ok) fail("creating the case file");
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) order[static_cast<std::size_t>(i)] = i + 1;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    platform::DbTransaction t(context);
    if (t.begin({&file}) != DbStatus::Ok) fail("a transaction");
    auto field = [&](int f) { return FieldRef::of(file.layout().field(f), file.record()); };
    for (int i : order) {
      platform::clearRecord(file.layout(), file.record());
      char number[24];
      std::snprintf(number, sizeof number, "2:07-CR-%06d", i);
      field(dictionary::CCS_CASENUMBER).setText(number);
      field(dictionary::CCS_CASENAME).setText(caseName(i));
      field(dictionary::CCS_HOURLYRATE).setDecimal(*platform::Decimal::parse("125"));
      if (file.add() != DbStatus::Ok) fail("adding a case");
    }
    if (t.commit() != DbStatus::Ok) fail("committing");
  }
  std::filesystem::current_path(previous);
  return *set;
}

// The data layer on the program's threads.
class BenchDataLayer final : public app::ThreadDataLayer {
 public:
  BenchDataLayer() {
    dictionary::setThreadDataSource([this]() -> dictionary::ThreadData& { return *local_; });
  }
  ~BenchDataLayer() override { dictionary::setThreadDataSource({}); }
  void MakeThreadFiles() override { local_->MakeFiles(); }
  void ConstructDictionary() override { local_->ConstructDictionary(app::ThreadErrors()); }
  void DestroyDictionary() override { local_->DestroyDictionary(); }
  void ReleaseThreadFiles() override { local_->ReleaseFiles(); }

 private:
  platform::FiberLocal<dictionary::ThreadData> local_;
};

// A running program in a data set's directory, whose first thread waits in
// a window of its own; the case list runs on threads it starts.
class Program {
 public:
  explicit Program(const CaseSet& set) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(set.dir);
    ::setenv("XDG_CONFIG_HOME", set.dir.c_str(), 1);
    app::SetThreadDataLayer(&layer_);
    drv_.emplace();
    if (!app::StartProgram([] {
          platform::WindowSpec spec;
          spec.caption = "Host";
          platform::Window host(spec);
          host.open();
          while (host.accept()) host.endEvent(platform::EventLevel::Continue);
        }))
      fail("starting the program");
    drv_->settle();
  }
  ~Program() {
    drv_->close(drv_->window("Host"));
    drv_.reset();
    app::SetThreadDataLayer(nullptr);
    std::filesystem::current_path(previous_);
  }

  platform::HeadlessDriver& drv() { return *drv_; }
  // Starts the case list as the frame does and waits until it shows.
  platform::Window& openList() {
    if (!app::StartThread(cases::BrowseCaseCloseSummary, 50000)) fail("starting the case list");
    drv_->settle();
    platform::Window& list = drv_->window("CASE FILE");
    if (drv_->control(list, cases::case_list::BROWSE_1).rowCount() == 0) fail("an empty case list");
    return list;
  }
  void closeList() { drv_->close(drv_->window("CASE FILE")); }

 private:
  std::filesystem::path previous_;
  platform::RecordingFullDrag drag_{false};
  platform::ScopedOsServices services_{platform::OsServices{nullptr, nullptr, nullptr, &drag_}};
  BenchDataLayer layer_;
  std::optional<platform::HeadlessDriver> drv_;
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
  sqlite3* db = nullptr;
  if (sqlite3_open_v2((set.dir + "/CASECLOS.lvd").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
    fail("opening the case file");
  sqlite3_exec(db, "PRAGMA mmap_size = 2147418112", nullptr, nullptr, nullptr);
  sqlite3_stmt* stmt = nullptr;
  const std::string k = "k" + std::to_string(dictionary::CCS_KeyCaseName);
  const std::string sql = "SELECT pos, image, " + k + " FROM records WHERE owner IS NULL AND " + k + " > ?1 ORDER BY " +
                          k + ", pos LIMIT ?2";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) fail(sqlite3_errmsg(db));
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
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}
BENCHMARK(BM_CaseListPageBare)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
