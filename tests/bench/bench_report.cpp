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
#include <sqlite3.h>

#include <QImage>
#include <QPrinter>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dictionary/dictionary.h"
#include "platform/qt/preview_view.h"
#include "platform/report/page_store.h"
#include "platform/report/preview.h"
#include "platform/report/process.h"
#include "platform/types/latin1.h"
#include "reports/worksheet_reports.h"
#include "tests/bench/bench_support.h"

namespace {

namespace pr = platform::report;
using namespace dictionary;
using bench::Clock;
using bench::fail;
using platform::FieldRef;

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// --- the data set --------------------------------------------------------------

const std::map<int, std::string> CaseOfSize = {{1000, "CR-2007-SMALL"}, {10000, "CR-2007-BIG"}, {100000, "CR-2007-HUGE"}};
constexpr int Entries = 1000000;

struct DataSet {
  bench::ScratchDir dir{"report"};
};

const DataSet& dataSet() {
  static std::unique_ptr<DataSet> set;
  if (set) return *set;
  set = std::make_unique<DataSet>();
  std::filesystem::create_directory(set->dir.path() / "config");
  const bench::InDirectory in(set->dir.path());
  bench::RecordFiles files{CaseCloseSummaryDefinition(), HOURLYDefinition()};
  const bench::Record ccs(files[0]), hou(files[1]);
  files.inTransaction([&] {
    int fn = 0;
    auto addCase = [&](const std::string& number, int count) {
      ccs.clear();
      ccs(CCS_CASENUMBER).setText(number);
      ccs(CCS_CASENAME).setText("United States v. Okafor");
      ccs(CCS_HOURLYRATE).setDecimal(*platform::Decimal::parse("125"));
      ccs.add();
      for (int i = 0; i < count; ++i) {
        hou.clear();
        hou(HOU_FN).setInteger(++fn);
        hou(HOU_CASENUMBER).setText(number);
        hou(HOU_DATE).setDay(75000 + fn % 3000);
        hou(HOU_BRIEFDESCRIPTIONSERVICES).setText("Court appearance and conference with client");
        for (int f : {HOU_ARRAIGNMENTPLEA, HOU_BAILHEARINGS, HOU_MOTIONSREQUESTS, HOU_TRIAL})
          hou(f).setDecimal(platform::Decimal::fromParts(1 + fn % 30, 1));
        hou(HOU_IN_TOTALHOURS).setDecimal(platform::Decimal::fromParts(4 * (1 + fn % 30), 1));
        hou(HOU_TOTALSECTION_INCOURT).setDecimal(platform::Decimal::fromParts(50000 + fn % 9000, 2));
        hou.add();
      }
    };
    int made = 0;
    for (const auto& [size, number] : CaseOfSize) {
      addCase(number, size);
      made += size;
    }
    // The rest of the file: cases of ten entries.
    for (int c = 0; made < Entries; ++c, made += 10) addCase("CR-" + std::to_string(1000000 + c), 10);
  });
  return *set;
}

// --- resident memory ----------------------------------------------------------

struct Resident {
  std::atomic<long> peakAnonKiB{0};
  void sample() {
    const long now = bench::statusKiB("RssAnon");
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
      const std::string file = (dataSet().dir.path() / "bench.pdf").string();
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

// One run of the report of a case, as its own program whose first thread
// calls it; answers the seconds of the record loop (the one timer event
// that reads the whole view, lays out every page and ends in the preview).
double runReport(int entries, Measures& measures) {
  const std::string number = CaseOfSize.at(entries);
  return bench::runReport(
             dataSet().dir.path(), [number] { reports::PRT_InCOURT(number); }, "Report HOURLY",
             [&measures] { return std::make_unique<MeasuringPreview>(measures); })
      .seconds();
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
  bench::BareFile bare(dataSet().dir.path() / "HOURLY.lvd");
  sqlite3_stmt* stmt = bare.prepare("SELECT pos, image FROM records WHERE owner IS NULL AND " +
                                    bench::BareFile::keyColumn(HOU_KeyCaseNumber) + " = ?1 ORDER BY pos");
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
  if (rows != 10000) fail("the bare query read " + std::to_string(rows) + " rows");
  results()["bare"] = total / static_cast<double>(state.iterations());
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ReportReaderBare)->UseManualTime()->Unit(benchmark::kMillisecond);

// The record reader of a run over the same rows, read ahead with quick-scan.
void BM_ReportReader(benchmark::State& state) {
  bench::ensureApplication();
  const bench::InDirectory in(dataSet().dir.path());
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
    bench::startPeak();
    resident.peakAnonKiB = 0;
    sampling = &resident;
    {
      Sampler sampler(resident);
      runReport(entries, m);
    }
    sampling = nullptr;
    peak = bench::statusKiB("VmHWM");
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
