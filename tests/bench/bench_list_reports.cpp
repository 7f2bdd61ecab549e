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

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "dictionary/dictionary.h"
#include "platform/report/preview.h"
#include "platform/types/daynum.h"
#include "reports/list_reports.h"
#include "tests/bench/bench_support.h"

namespace {

namespace pr = platform::report;
using namespace dictionary;
using bench::Clock;
using bench::fail;

// --- the data sets ------------------------------------------------------------------

struct DataSet {
  bench::ScratchDir dir{"lists"};
};

// A directory with `entries` entries and `cases` cases.
const DataSet& dataSet(int entries, int cases) {
  static std::map<std::pair<int, int>, std::unique_ptr<DataSet>> sets;
  auto& set = sets[{entries, cases}];
  if (set) return *set;
  set = std::make_unique<DataSet>();
  std::filesystem::create_directory(set->dir.path() / "config");
  const bench::InDirectory in(set->dir.path());
  bench::RecordFiles files{CaseCloseSummaryDefinition(), HOURLYDefinition()};
  const bench::Record ccs(files[0]), hou(files[1]);
  const std::int32_t first = platform::dayNumber(2000, 1, 1);
  constexpr int Batch = 50000;
  for (int from = 0; from < std::max(entries, cases); from += Batch) {
    files.inTransaction([&] {
      for (int i = from; i < from + Batch; ++i) {
        if (i < cases) {
          ccs.clear();
          ccs(CCS_CASENUMBER).setText("2:07-CR-" + std::to_string(100000 + i));
          ccs(CCS_CASENAME).setText("United States v. Defendant " + std::to_string((i * 7919) % 1000003));
          ccs(CCS_DATE).setDay(first + i % 3000);
          ccs(CCS_HOURLYRATE).setDecimal(platform::Decimal::fromParts(12500, 2));
          ccs(CCS_ATTORNEY).setText("Jane Attorney");
          ccs(CCS_JUDGE).setText("Hon. R. Judge");
          ccs(CCS_CHARGES).setText("Conspiracy to distribute a controlled substance");
          ccs(CCS_DISCOVERY).setText("100-300 Pages");
          ccs(CCS_TRIAL).setInteger(1 + i % 3);
          ccs.add();
        }
        if (i < entries) {
          hou.clear();
          hou(HOU_FN).setInteger(i + 1);
          hou(HOU_CASENUMBER).setText("2:07-CR-" + std::to_string(100000 + i / 10));
          hou(HOU_DATE).setDay(first + (i * 37) % 3000);
          hou(HOU_BRIEFDESCRIPTIONSERVICES).setText("Court appearance and conference with client");
          hou(HOU_TRIAL).setDecimal(platform::Decimal::fromParts(1 + i % 30, 1));
          hou(HOU_IN_TOTALHOURS).setDecimal(platform::Decimal::fromParts(1 + i % 30, 1));
          hou(HOU_TOTALSECTION_INCOURT).setDecimal(platform::Decimal::fromParts(12500 * (1 + i % 30), 3));
          hou(HOU_MILAGERATE).setDecimal(platform::Decimal::fromParts(485, 3));
          hou.add();
        }
      }
    });
  }
  return *set;
}

struct Run {
  double seconds = 0;
  int pages = 0;
};

// One run of `report` on the data set in `dir`, as its own program whose
// first thread calls it; a preview that notes when it is shown and what it
// shows stands in for the window.
Run runReport(void (*report)(), const std::filesystem::path& dir, const char* caption) {
  Clock::time_point shown;
  Run run;
  run.pages = -1;
  const bench::ReportRun r = bench::runReport(dir, report, caption, [&shown, &run] {
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
  // From the timer event that reads the view to the preview, which shows
  // the pages once the last is laid out.
  run.seconds = std::chrono::duration<double>(shown - r.start).count();
  if (run.pages < 0) fail("no preview");
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

const std::filesystem::path& small() { return dataSet(1000, 1000).dir.path(); }
const std::filesystem::path& large() { return dataSet(1000000, 100000).dir.path(); }

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
    bench::startPeak();
    pages = runReport(r.run, dir, r.caption).pages;
    peak = bench::statusKiB("VmHWM");
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
