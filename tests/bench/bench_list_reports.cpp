// The list reports over large files, headless: the entries by date over an
// entry file of 1,000,000 entries (about 35,700 pages) and the cases by
// name over 100,000 cases, each beside the same report over 1,000 rows of
// a small data set, measured in the same run. The timer ticks come at once
// (the virtual clock does not move, so the first timer event reads the
// whole view) and a recording preview stands in for the window.
//
//   BM_ListReport         pages laid out a second over the whole run, and
//                         the rate against the 1,000-row run (from the
//                         timer event that reads the view to the preview)
//   BM_ListReportResident the peak resident size of a run (VmHWM, which
//                         counts the pages of the record file the driver
//                         has mapped and read), against the 1,000-row run
//
// The data sets are built once per run in temporary directories, which go
// with every file in them when the run ends.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "dictionary/dictionary.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/transaction.h"
#include "platform/fiber/fiber_local.h"
#include "platform/os/os_fakes.h"
#include "platform/report/preview.h"
#include "platform/report/progress_window.h"
#include "platform/types/daynum.h"
#include "platform/ui/headless/driver.h"
#include "reports/list_reports.h"

namespace {

namespace pr = platform::report;
using namespace dictionary;
using platform::DbStatus;
using platform::FieldRef;
using Clock = std::chrono::steady_clock;

void fail(const std::string& what) {
  std::fprintf(stderr, "bench_list_reports: %s\n", what.c_str());
  std::abort();
}

// --- the data sets ------------------------------------------------------------------

struct DataSet {
  std::filesystem::path dir;
  ~DataSet() {
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
};

// A directory with `entries` entries and `cases` cases.
const DataSet& dataSet(int entries, int cases) {
  static std::map<std::pair<int, int>, DataSet> sets;
  DataSet& set = sets[{entries, cases}];
  if (!set.dir.empty()) return set;
  std::string pattern = (std::filesystem::temp_directory_path() / "lv-bench-lists-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) fail("no temporary directory");
  set.dir = pattern;
  std::filesystem::create_directory(set.dir / "config");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(set.dir);
  {
    platform::DbContext context;
    platform::DbFile caseFile(context, CaseCloseSummaryDefinition()), entryFile(context, HOURLYDefinition());
    for (platform::DbFile* f : {&caseFile, &entryFile})
      if (f->create() != DbStatus::Ok || f->open() != DbStatus::Ok) fail("creating the files");
    auto ccs = [&](int f) { return FieldRef::of(caseFile.layout().field(f), caseFile.record()); };
    auto hou = [&](int f) { return FieldRef::of(entryFile.layout().field(f), entryFile.record()); };
    const std::int32_t first = platform::dayNumber(2000, 1, 1);
    constexpr int Batch = 50000;
    for (int from = 0; from < std::max(entries, cases); from += Batch) {
      platform::DbTransaction t(context);
      if (t.begin({&caseFile, &entryFile}) != DbStatus::Ok) fail("a transaction");
      for (int i = from; i < from + Batch; ++i) {
        if (i < cases) {
          platform::clearRecord(caseFile.layout(), caseFile.record());
          ccs(CCS_CASENUMBER).setText("2:07-CR-" + std::to_string(100000 + i));
          ccs(CCS_CASENAME).setText("United States v. Defendant " + std::to_string((i * 7919) % 1000003));
          ccs(CCS_DATE).setDay(first + i % 3000);
          ccs(CCS_HOURLYRATE).setDecimal(platform::Decimal::fromParts(12500, 2));
          ccs(CCS_ATTORNEY).setText("Jane Attorney");
          ccs(CCS_JUDGE).setText("Hon. R. Judge");
          ccs(CCS_CHARGES).setText("Conspiracy to distribute a controlled substance");
          ccs(CCS_DISCOVERY).setText("100-300 Pages");
          ccs(CCS_TRIAL).setInteger(1 + i % 3);
          if (caseFile.add() != DbStatus::Ok) fail("adding a case");
        }
        if (i < entries) {
          platform::clearRecord(entryFile.layout(), entryFile.record());
          hou(HOU_FN).setInteger(i + 1);
          hou(HOU_CASENUMBER).setText("2:07-CR-" + std::to_string(100000 + i / 10));
          hou(HOU_DATE).setDay(first + (i * 37) % 3000);
          hou(HOU_BRIEFDESCRIPTIONSERVICES).setText("Court appearance and conference with client");
          hou(HOU_TRIAL).setDecimal(platform::Decimal::fromParts(1 + i % 30, 1));
          hou(HOU_IN_TOTALHOURS).setDecimal(platform::Decimal::fromParts(1 + i % 30, 1));
          hou(HOU_TOTALSECTION_INCOURT).setDecimal(platform::Decimal::fromParts(12500 * (1 + i % 30), 3));
          hou(HOU_MILAGERATE).setDecimal(platform::Decimal::fromParts(485, 3));
          if (entryFile.add() != DbStatus::Ok) fail("adding an entry");
        }
      }
      if (t.commit() != DbStatus::Ok) fail("committing");
    }
  }
  std::filesystem::current_path(previous);
  return set;
}

void ensureApplication() {
  if (QCoreApplication::instance()) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "lv_benchmarks";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives as long as the process
}

long statusKiB(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(in, line))
    if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
  return 0;
}

// Resets the peak resident size (VmHWM) to the resident size now.
void resetPeak() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
}

class BenchDataLayer final : public app::ThreadDataLayer {
 public:
  BenchDataLayer() {
    dictionary::setThreadDataSource([this]() -> dictionary::ThreadData& {
      return platform::currentThread() ? *local_ : outside_;
    });
  }
  ~BenchDataLayer() override { dictionary::setThreadDataSource({}); }
  void MakeThreadFiles() override { local_->MakeFiles(); }
  void ConstructDictionary() override { local_->ConstructDictionary(app::ThreadErrors()); }
  void DestroyDictionary() override { local_->DestroyDictionary(); }
  void ReleaseThreadFiles() override { local_->ReleaseFiles(); }

 private:
  platform::FiberLocal<dictionary::ThreadData> local_;
  dictionary::ThreadData outside_;
};

struct Run {
  double seconds = 0;
  int pages = 0;
};


// One run of `report` on the data set in `dir`, as its own program whose
// first thread calls it.
Run runReport(void (*report)(), const std::filesystem::path& dir, const char* caption) {
  ensureApplication();
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  BenchDataLayer layer;
  app::SetThreadDataLayer(&layer);
  Clock::time_point shown;
  Run run;
  run.pages = -1;
  pr::setPreviewFactory([&shown, &run] {
    // Copies what it saw before the run disposes of it.
    class Preview final : public pr::Preview {
     public:
      Preview(Clock::time_point& shown, Run& run) : shown_(shown), run_(run) {}
      pr::PreviewResult Display(const pr::PageStore& pages) override {
        shown_ = Clock::now();
        run_.pages = pages.count();
        return pr::PreviewResult::Left;
      }

     private:
      Clock::time_point& shown_;
      Run& run_;
    };
    return std::make_unique<Preview>(shown, run);
  });
  {
    platform::HeadlessDriver drv;
    if (!app::StartProgram(report)) fail("starting the program");
    drv.settle();
    if (!drv.findWindow(caption)) fail(std::string("no progress window ") + caption);
    // From the timer event that reads the view to the preview, which
    // shows the pages once the last is laid out.
    const auto t = Clock::now();
    drv.advance(pr::ProgressTimer);
    run.seconds = std::chrono::duration<double>(shown - t).count();
    if (drv.findWindow(caption) || !drv.programEnded()) fail("the run did not end in one timer event");
    if (run.pages < 0) fail("no preview");
  }
  pr::setPreviewFactory({});
  app::SetThreadDataLayer(nullptr);
  std::filesystem::current_path(previous);
  return run;
}

struct Report {
  void (*run)();
  const char* caption;
  int large;  // rows of the large data set
};
const std::map<int, Report> Reports = {
    {0, {reports::ReportHOURLYByHOU_KeyDate, "Report HOURLY", 1000000}},
    {1, {reports::ReportCaseCloseSummaryByCCS_KeyCaseName, "Report CaseCloseSummary", 100000}},
};

const std::filesystem::path& small() { return dataSet(1000, 1000).dir; }
const std::filesystem::path& large() { return dataSet(1000000, 100000).dir; }

std::map<std::string, double>& results() {
  static std::map<std::string, double> r;
  return r;
}

// range(0): the report (0 entries by date, 1 cases by name); range(1): 0
// the 1,000-row data set, 1 the large one.
void BM_ListReport(benchmark::State& state) {
  const Report& r = Reports.at(static_cast<int>(state.range(0)));
  const bool big = state.range(1) == 1;
  const std::filesystem::path& dir = big ? large() : small();
  if (!big) runReport(r.run, dir, r.caption);  // fonts and caches warmed up first
  double seconds = 0;
  int pages = 0;
  for (auto _ : state) {
    const Run run = runReport(r.run, dir, r.caption);
    state.SetIterationTime(run.seconds);
    seconds += run.seconds;
    pages += run.pages;
  }
  const double rate = pages / seconds;
  state.counters["pages"] = pages / static_cast<double>(state.iterations());
  state.counters["pages_per_s"] = rate;
  const std::string key = "rate" + std::to_string(state.range(0));
  if (!big) results()[key] = rate;
  if (big && results().count(key)) state.counters["small_rate_over_this"] = results()[key] / rate;
}
// The small runs many times over, the large ones once.
BENCHMARK(BM_ListReport)->Args({0, 0})->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListReport)->Args({0, 1})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListReport)->Args({1, 0})->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListReport)->Args({1, 1})->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The peak resident size of a run; range(0) and range(1) as above.
void BM_ListReportResident(benchmark::State& state) {
  const Report& r = Reports.at(static_cast<int>(state.range(0)));
  const bool big = state.range(1) == 1;
  const std::filesystem::path& dir = big ? large() : small();
  long peak = 0;
  int pages = 0;
  for (auto _ : state) {
    malloc_trim(0);
    resetPeak();
    pages = runReport(r.run, dir, r.caption).pages;
    peak = statusKiB("VmHWM");
  }
  state.counters["pages"] = pages;
  state.counters["peak_MiB"] = static_cast<double>(peak) / 1024;
  const std::string key = "peak" + std::to_string(state.range(0));
  if (!big) results()[key] = static_cast<double>(peak);
  if (big && results().count(key))
    state.counters["peak_above_small_MiB"] = (static_cast<double>(peak) - results()[key]) / 1024;
}
BENCHMARK(BM_ListReportResident)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
