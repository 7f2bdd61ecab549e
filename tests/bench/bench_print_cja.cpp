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

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "dictionary/dictionary.h"
#include "platform/report/preview.h"
#include "reports/print_cja.h"
#include "tests/bench/bench_support.h"

namespace {

namespace pr = platform::report;
using namespace dictionary;
using bench::fail;
using platform::Decimal;

const std::map<int, std::string> CaseOfSize = {{1000, "CJA-SMALL"}, {10000, "CJA-BIG"}};
constexpr int Entries = 100000;

struct DataSet {
  bench::ScratchDir dir{"cja"};
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
      ccs(CCS_HOURLYRATE).setDecimal(*Decimal::parse("33.45"));
      ccs(CCS_CLAIMSTATUS).setText("Final Payment");
      ccs.add();
      for (int i = 0; i < count; ++i) {
        hou.clear();
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

// One run of the claim form of a case, as its own program whose first
// thread calls it; answers the seconds of the record loop (the one timer
// event that reads the whole view, lays out the page and ends in the
// preview, which only counts the pages).
double runClaimForm(int entries) {
  int pages = 0;
  const std::string number = CaseOfSize.at(entries);
  const bench::ReportRun run = bench::runReport(
      dataSet().dir.path(), [number] { reports::PRINT_CJA(number); }, "Report CaseCloseSummary", [&pages] {
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
  if (pages != 1) fail("the claim form made " + std::to_string(pages) + " pages");
  return run.seconds();
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
