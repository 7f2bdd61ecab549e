// The claim-form attachment, headless, on an entry file of 100,000 entries:
// a case of 1,000 entries and one of 10,000, each entry with hours in court
// and out of court, miles and expenses, so that every one of the nine rules
// works on every row. The timer ticks come at once (the virtual clock does
// not move, so the first timer event reads the whole view) and a recording
// preview stands in for the window.
//
//   BM_ClaimFormLayout   the record loop over the case joined with its
//                        entries, the rules, the totals and the one page;
//                        per entry against the 1,000-entry case
//
// The data set is built once per run in a temporary directory, which goes
// with every file in it when the run ends.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "dictionary/dictionary.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/transaction.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/os/os_fakes.h"
#include "platform/report/preview.h"
#include "platform/report/progress_window.h"
#include "platform/ui/headless/driver.h"
#include "reports/print_cja.h"

namespace {

namespace pr = platform::report;
using namespace dictionary;
using platform::DbStatus;
using platform::Decimal;
using platform::FieldRef;
using Clock = std::chrono::steady_clock;

void fail(const std::string& what) {
  std::fprintf(stderr, "bench_print_cja: %s\n", what.c_str());
  std::abort();
}

const std::map<int, std::string> CaseOfSize = {{1000, "CJA-SMALL"}, {10000, "CJA-BIG"}};
constexpr int Entries = 100000;

struct DataSet {
  std::filesystem::path dir;
  ~DataSet() {
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
};

const DataSet& dataSet() {
  static DataSet set;
  if (!set.dir.empty()) return set;
  std::string pattern = (std::filesystem::temp_directory_path() / "lv-bench-cja-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) fail("no temporary directory");
  set.dir = pattern;
  std::filesystem::create_directory(set.dir / "config");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(set.dir);
  {
    platform::DbContext context;
    platform::DbFile cases(context, CaseCloseSummaryDefinition()), entries(context, HOURLYDefinition());
    for (platform::DbFile* f : {&cases, &entries})
      if (f->create() != DbStatus::Ok || f->open() != DbStatus::Ok) fail("creating the files");
    platform::DbTransaction t(context);
    if (t.begin({&cases, &entries}) != DbStatus::Ok) fail("a transaction");
    auto ccs = [&](int f) { return FieldRef::of(cases.layout().field(f), cases.record()); };
    auto hou = [&](int f) { return FieldRef::of(entries.layout().field(f), entries.record()); };
    int fn = 0;
    auto addCase = [&](const std::string& number, int count) {
      platform::clearRecord(cases.layout(), cases.record());
      ccs(CCS_CASENUMBER).setText(number);
      ccs(CCS_CASENAME).setText("United States v. Okafor");
      ccs(CCS_HOURLYRATE).setDecimal(*Decimal::parse("33.45"));
      ccs(CCS_CLAIMSTATUS).setText("Final Payment");
      if (cases.add() != DbStatus::Ok) fail("adding a case");
      for (int i = 0; i < count; ++i) {
        platform::clearRecord(entries.layout(), entries.record());
        hou(HOU_FN).setInteger(++fn);
        hou(HOU_CASENUMBER).setText(number);
        hou(HOU_DATE).setDay(75000 + fn % 3000);
        hou(HOU_TRIAL).setDecimal(Decimal::fromParts(1 + fn % 30, 1));
        hou(HOU_BAILHEARINGS).setDecimal(Decimal::fromParts(fn % 7, 1));
        hou(HOU_LEGALRESEARCH).setDecimal(Decimal::fromParts(fn % 11, 1));
        hou(HOU_MILAGERATE).setDecimal(*Decimal::parse("0.485"));
        hou(HOU_MILEAGE).setDecimal(Decimal::fromParts(fn % 90, 0));
        hou(HOU_MEALS).setDecimal(Decimal::fromParts(fn % 2000, 2));
        hou(HOU_COPYING).setDecimal(Decimal::fromParts(fn % 500, 2));
        if (entries.add() != DbStatus::Ok) fail("adding an entry");
      }
    };
    int made = 0;
    for (const auto& [size, number] : CaseOfSize) {
      addCase(number, size);
      made += size;
    }
    // The rest of the file: cases of ten entries.
    for (int c = 0; made < Entries; ++c, made += 10) addCase("CR-" + std::to_string(1000000 + c), 10);
    if (t.commit() != DbStatus::Ok) fail("committing");
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
  new QGuiApplication(argc, argv);  // lives as long as the process
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

// One run of the claim form of a case, as its own program whose first
// thread calls it; answers the seconds of the record loop (the one timer
// event that reads the whole view, lays out the page and ends in the
// preview, which only counts the pages).
double runClaimForm(int entries) {
  ensureApplication();
  const DataSet& set = dataSet();
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(set.dir);
  ::setenv("XDG_CONFIG_HOME", (set.dir / "config").c_str(), 1);
  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  BenchDataLayer layer;
  app::SetThreadDataLayer(&layer);
  int pages = 0;
  pr::setPreviewFactory([&pages] {
    struct Counting final : pr::Preview {
      explicit Counting(int& n) : n_(n) {}
      pr::PreviewResult Display(const pr::PageStore& store) override {
        n_ = store.count();
        return pr::PreviewResult::Left;
      }
      int& n_;
    };
    return std::unique_ptr<pr::Preview>(new Counting(pages));
  });
  double seconds = 0;
  {
    platform::HeadlessDriver drv;
    const std::string number = CaseOfSize.at(entries);
    if (!app::StartProgram([number] { reports::PRINT_CJA(number); })) fail("starting the program");
    drv.settle();
    if (!drv.findWindow("Report CaseCloseSummary")) fail("no progress window");
    const auto t = Clock::now();
    drv.advance(pr::ProgressTimer);
    seconds = std::chrono::duration<double>(Clock::now() - t).count();
    if (drv.findWindow("Report CaseCloseSummary") || !drv.programEnded()) fail("the run did not end in one timer event");
  }
  pr::setPreviewFactory({});
  app::SetThreadDataLayer(nullptr);
  std::filesystem::current_path(previous);
  if (pages != 1) fail("the claim form made " + std::to_string(pages) + " pages");
  return seconds;
}

double& perEntryAt1000() {
  static double v = 0;
  return v;
}

// range(0): entries of the case.
void BM_ClaimFormLayout(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  runClaimForm(entries);  // fonts, files and caches warmed up first
  double total = 0;
  for (auto _ : state) {
    const double s = runClaimForm(entries);
    state.SetIterationTime(s);
    total += s;
  }
  const double each = total / static_cast<double>(state.iterations());
  const double perEntry = each / entries;
  state.counters["ms"] = each * 1e3;
  state.counters["us_per_entry"] = perEntry * 1e6;
  if (entries == 1000) perEntryAt1000() = perEntry;
  if (entries > 1000 && perEntryAt1000() > 0) state.counters["per_entry_x_1000"] = perEntry / perEntryAt1000();
}
BENCHMARK(BM_ClaimFormLayout)->Arg(1000)->Arg(10000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
