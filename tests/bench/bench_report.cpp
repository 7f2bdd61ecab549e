// The report engine on an entry file of 1,000,000 entries, headless: the
// in-court worksheet of one case (PRT_InCOURT: a line per entry with its
// eight hour columns, the sums and the totals block under the last line)
// over cases of 1,000 entries (about 40 pages), 10,000 (about 400) and
// 100,000 (about 4,000). The timer ticks come at once (the virtual clock does not move, so
// the first timer event reads the whole view) and a preview of the
// benchmarks' own stands in for the window: it measures what it is asked
// to on the run's page store while the run holds it.
//
//   BM_ReportLayout       the record loop with the layout of every page;
//                         per entry against the 1,000-entry case
//   BM_ReportReader(Bare) the record reader alone over the 10,000 entries,
//                         against a bare SQLite query of the same rows
//   BM_ReportPdf          every page to a PDF file; per page against the
//                         1,000-entry case
//   BM_ReportPreview      the preview's own page view: page 1 shown at the
//                         end of the loop, then a jump to the last page
//   BM_ReportResident     the peak resident size of a run, and the peak of
//                         the process's own memory, sampled beside it
//
// The data set is built once per run in a temporary directory, which goes
// with every file in it when the run ends.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QPrinter>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "dictionary/dictionary.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/transaction.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/os/os_fakes.h"
#include "platform/qt/preview_view.h"
#include "platform/report/page_store.h"
#include "platform/report/preview.h"
#include "platform/report/process.h"
#include "platform/report/progress_window.h"
#include "platform/types/latin1.h"
#include "platform/ui/headless/driver.h"
#include "reports/worksheet_reports.h"

namespace {

namespace pr = platform::report;
using namespace dictionary;
using platform::DbStatus;
using platform::FieldRef;
using Clock = std::chrono::steady_clock;

void fail(const std::string& what) {
  std::fprintf(stderr, "bench_report: %s\n", what.c_str());
  std::abort();
}

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// --- the data set --------------------------------------------------------------

const std::map<int, std::string> CaseOfSize = {{1000, "CR-2007-SMALL"}, {10000, "CR-2007-BIG"}, {100000, "CR-2007-HUGE"}};
constexpr int Entries = 1000000;

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
  std::string pattern = (std::filesystem::temp_directory_path() / "lv-bench-report-XXXXXX").string();
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
      ccs(CCS_HOURLYRATE).setDecimal(*platform::Decimal::parse("125"));
      if (cases.add() != DbStatus::Ok) fail("adding a case");
      for (int i = 0; i < count; ++i) {
        platform::clearRecord(entries.layout(), entries.record());
        hou(HOU_FN).setInteger(++fn);
        hou(HOU_CASENUMBER).setText(number);
        hou(HOU_DATE).setDay(75000 + fn % 3000);
        hou(HOU_BRIEFDESCRIPTIONSERVICES).setText("Court appearance and conference with client");
        for (int f : {HOU_ARRAIGNMENTPLEA, HOU_BAILHEARINGS, HOU_MOTIONSREQUESTS, HOU_TRIAL})
          hou(f).setDecimal(platform::Decimal::fromParts(1 + fn % 30, 1));
        hou(HOU_IN_TOTALHOURS).setDecimal(platform::Decimal::fromParts(4 * (1 + fn % 30), 1));
        hou(HOU_TOTALSECTION_INCOURT).setDecimal(platform::Decimal::fromParts(50000 + fn % 9000, 2));
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
  new QApplication(argc, argv);  // lives as long as the process
}

// --- resident memory ----------------------------------------------------------

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

struct Resident {
  std::atomic<long> peakAnonKiB{0};
  void sample() {
    const long now = statusKiB("RssAnon");
    for (long seen = peakAnonKiB.load(); now > seen && !peakAnonKiB.compare_exchange_weak(seen, now);) {
    }
  }
};
std::atomic<Resident*> sampling{nullptr};

// Samples the process's own memory every few milliseconds while it lives.
class Sampler {
 public:
  explicit Sampler(Resident& r) : thread_([this, &r] {
    while (!stop_) {
      r.sample();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }) {}
  ~Sampler() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// --- the report ------------------------------------------------------------------

// What the benchmarks' preview measures on the run's pages.
struct Measures {
  bool preview = false;
  bool pdf = false;
  int pages = 0;
  double firstPage = 0, lastPage = 0, pdfSeconds = 0;
};

class MeasuringPreview final : public pr::Preview {
 public:
  explicit MeasuringPreview(Measures& m) : m_(m) {}
  pr::PreviewResult Display(const pr::PageStore& pages) override {
    if (Resident* r = sampling.load()) r->sample();
    m_.pages = pages.count();
    if (m_.preview) {
      // The desktop's own page view, as the preview window puts it up.
      auto t = Clock::now();
      QWidget host;
      host.resize(1000, 700);
      platform::WindowSpec spec;
      spec.caption = "Report Preview";
      platform::Window window(spec);
      pr::PreviewSession session(window, pages, pr::Zoom::PageWidth);
      platform::qt::PageView view(session, &host, 0);
      // Painted as the screen would, without waiting for a screen.
      QImage screen(view.viewport()->size(), QImage::Format_RGB32);
      view.viewport()->render(&screen);
      m_.firstPage = secondsSince(t);
      if (view.painted().empty() || view.painted().front() != 1) fail("page 1 was not shown");
      t = Clock::now();
      session.goTo(pages.count());
      view.followPage();
      view.viewport()->render(&screen);
      m_.lastPage = secondsSince(t);
      if (view.painted().empty() || view.painted().back() != pages.count()) fail("the last page was not shown");
      view.detach();
    }
    if (m_.pdf) {
      const std::string file = (dataSet().dir / "bench.pdf").string();
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(file));
      printer.setPageOrientation(QPageLayout::Landscape);
      const auto t = Clock::now();
      const pr::PrintOutcome outcome = platform::qt::printPages(printer, pages, 1, 0);
      m_.pdfSeconds = secondsSince(t);
      std::filesystem::remove(file);
      if (outcome.kind != pr::PrintOutcome::Kind::Printed) fail("the PDF was not written: " + outcome.reason);
    }
    return pr::PreviewResult::Left;
  }

 private:
  Measures& m_;
};

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

// One run of the report of a case, as its own program whose first thread
// calls it; answers the seconds of the record loop (the one timer event
// that reads the whole view, lays out every page and ends in the preview).
double runReport(int entries, Measures& measures) {
  ensureApplication();
  const DataSet& set = dataSet();
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(set.dir);
  ::setenv("XDG_CONFIG_HOME", (set.dir / "config").c_str(), 1);
  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  BenchDataLayer layer;
  app::SetThreadDataLayer(&layer);
  pr::setPreviewFactory([&measures] { return std::make_unique<MeasuringPreview>(measures); });
  double seconds = 0;
  {
    platform::HeadlessDriver drv;
    const std::string number = CaseOfSize.at(entries);
    if (!app::StartProgram([number] { reports::PRT_InCOURT(number); })) fail("starting the program");
    drv.settle();
    if (!drv.findWindow("Report HOURLY")) fail("no progress window");
    const auto t = Clock::now();
    drv.advance(pr::ProgressTimer);
    seconds = secondsSince(t);
    if (drv.findWindow("Report HOURLY") || !drv.programEnded()) fail("the run did not end in one timer event");
  }
  pr::setPreviewFactory({});
  app::SetThreadDataLayer(nullptr);
  std::filesystem::current_path(previous);
  return seconds;
}

// Results of the smaller runs, for the ratios of the larger ones.
std::map<std::string, double>& results() {
  static std::map<std::string, double> r;
  return r;
}

// --- the benchmarks ------------------------------------------------------------------

// range(0): entries of the case.
void BM_ReportLayout(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  Measures m;
  runReport(entries, m);  // fonts, files and caches warmed up first
  double total = 0;
  for (auto _ : state) {
    const double s = runReport(entries, m);
    state.SetIterationTime(s);
    total += s;
  }
  const double perEntry = total / static_cast<double>(state.iterations()) / entries;
  state.counters["pages"] = m.pages;
  state.counters["us_per_entry"] = perEntry * 1e6;
  if (entries == 1000) results()["layout"] = perEntry;
  if (entries > 1000 && results().count("layout")) state.counters["per_entry_x_1000"] = perEntry / results()["layout"];
}
BENCHMARK(BM_ReportLayout)->Arg(1000)->Arg(10000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// The bare query of the case's entries in key order, every image copied.
void BM_ReportReaderBare(benchmark::State& state) {
  const DataSet& set = dataSet();
  sqlite3* db = nullptr;
  if (sqlite3_open_v2((set.dir / "HOURLY.lvd").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
    fail("opening the entry file");
  sqlite3_exec(db, "PRAGMA mmap_size = 2147418112", nullptr, nullptr, nullptr);
  const std::string k = "k" + std::to_string(HOU_KeyCaseNumber);
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, ("SELECT pos, image FROM records WHERE owner IS NULL AND " + k + " = ?1 ORDER BY pos").c_str(),
                         -1, &stmt, nullptr) != SQLITE_OK)
    fail(sqlite3_errmsg(db));
  const std::string key = platform::latin1Upper(CaseOfSize.at(10000));
  std::vector<std::uint8_t> image(HOURLYLayout().recordSize());
  long rows = 0;
  double total = 0;
  for (auto _ : state) {
    const auto t = Clock::now();
    rows = 0;
    sqlite3_bind_blob(stmt, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      std::memcpy(image.data(), sqlite3_column_blob(stmt, 1), image.size());
      benchmark::DoNotOptimize(image.data());
      ++rows;
    }
    sqlite3_reset(stmt);
    const double s = secondsSince(t);
    state.SetIterationTime(s);
    total += s;
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  if (rows != 10000) fail("the bare query read " + std::to_string(rows) + " rows");
  results()["bare"] = total / static_cast<double>(state.iterations());
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ReportReaderBare)->UseManualTime()->Unit(benchmark::kMillisecond);

// The record reader of a run over the same rows, read ahead with quick-scan.
void BM_ReportReader(benchmark::State& state) {
  ensureApplication();
  const DataSet& set = dataSet();
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(set.dir);
  platform::ErrorManager errors;
  dictionary::ThreadData thread;
  thread.MakeFiles();
  thread.ConstructDictionary(errors);
  platform::FileRelations& relation = thread.relate(HOURLYFile);
  relation.Open();
  std::vector<std::uint8_t> number(CaseOfSize.at(10000).begin(), CaseOfSize.at(10000).end());
  long rows = 0;
  double total = 0;
  for (auto _ : state) {
    const auto t = Clock::now();
    pr::Process reader;
    reader.Init(thread.access(HOURLYFile), relation, HOU_KeyCaseNumber);
    reader.SetRange(FieldRef(platform::FieldType::String, number.data(), static_cast<std::uint32_t>(number.size())));
    reader.SwitchQuickScan(true);
    for (auto read = reader.Reset(); read == pr::Process::Read::Record; read = reader.Next())
      benchmark::DoNotOptimize(reader.record().data());
    rows = reader.recordsRead();
    reader.Kill();
    const double s = secondsSince(t);
    state.SetIterationTime(s);
    total += s;
  }
  relation.Close();
  thread.DestroyDictionary();
  thread.ReleaseFiles();
  std::filesystem::current_path(previous);
  if (rows != 10000) fail("the reader read " + std::to_string(rows) + " records");
  state.counters["rows"] = static_cast<double>(rows);
  if (results().count("bare"))
    state.counters["x_bare"] = total / static_cast<double>(state.iterations()) / results()["bare"];
}
BENCHMARK(BM_ReportReader)->UseManualTime()->Unit(benchmark::kMillisecond);

// Every page of a run to a PDF file; range(0): entries of the case.
void BM_ReportPdf(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  Measures m;
  m.pdf = true;
  double total = 0;
  for (auto _ : state) {
    runReport(entries, m);
    state.SetIterationTime(m.pdfSeconds);
    total += m.pdfSeconds;
  }
  const double perPage = total / static_cast<double>(state.iterations()) / m.pages;
  state.counters["pages"] = m.pages;
  state.counters["ms_per_page"] = perPage * 1e3;
  if (entries == 1000) results()["pdf"] = perPage;
  if (entries > 1000 && results().count("pdf")) state.counters["per_page_x_1000"] = perPage / results()["pdf"];
}
BENCHMARK(BM_ReportPdf)->Arg(1000)->Arg(10000)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

// The preview's page view at the end of the loop: page 1, then the last
// page; range(0): entries of the case.
void BM_ReportPreview(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  Measures m;
  m.preview = true;
  double first = 0, last = 0;
  for (auto _ : state) {
    runReport(entries, m);
    state.SetIterationTime(m.firstPage + m.lastPage);
    first += m.firstPage;
    last += m.lastPage;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["pages"] = m.pages;
  state.counters["first_page_ms"] = first / n * 1e3;
  state.counters["last_page_ms"] = last / n * 1e3;
  if (entries == 1000) {
    results()["first"] = first / n;
    results()["last"] = last / n;
  } else if (results().count("first")) {
    state.counters["first_x_40_pages"] = first / n / results()["first"];
    state.counters["last_x_40_pages"] = last / n / results()["last"];
  }
}
BENCHMARK(BM_ReportPreview)->Arg(1000)->Arg(100000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// The peak resident size of a run: VmHWM (which counts the pages of the
// record file the driver maps and reads), and the peak of the process's
// own memory (RssAnon, sampled every 5 ms beside the run and when the
// preview is shown); range(0): entries of the case.
void BM_ReportResident(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  Measures m;
  Resident resident;
  long peak = 0;
  for (auto _ : state) {
    malloc_trim(0);
    resetPeak();
    resident.peakAnonKiB = 0;
    sampling = &resident;
    {
      Sampler sampler(resident);
      runReport(entries, m);
    }
    sampling = nullptr;
    peak = statusKiB("VmHWM");
  }
  state.counters["pages"] = m.pages;
  state.counters["peak_MiB"] = static_cast<double>(peak) / 1024;
  state.counters["peak_anon_MiB"] = static_cast<double>(resident.peakAnonKiB.load()) / 1024;
  if (entries == 1000) {
    results()["peak"] = static_cast<double>(peak);
    results()["anon"] = static_cast<double>(resident.peakAnonKiB.load());
  } else if (results().count("peak")) {
    state.counters["peak_above_40_pages_MiB"] = (static_cast<double>(peak) - results()["peak"]) / 1024;
    state.counters["anon_above_40_pages_MiB"] =
        (static_cast<double>(resident.peakAnonKiB.load()) - results()["anon"]) / 1024;
  }
}
BENCHMARK(BM_ReportResident)->Arg(1000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
