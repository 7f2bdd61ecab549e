// The record files through the access and relation objects, on 100,000
// cases and 1,000,000 entries in a temporary directory (built once per run,
// through the driver, in one transaction): fetching a case by its number,
// deleting a case with 10,000 entries, and adding one entry the way the
// entry form does (number reserved when primed, entry checked and stored
// when completed), every write durable.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "platform/db/transaction.h"
#include "platform/types/decimal.h"
#include "platform/ui/message_port.h"

namespace {

using namespace dictionary;
using platform::DbStatus;

// Every message of the data layer is a failure here.
class NoMessages final : public platform::MessagePort {
 public:
  unsigned show(const platform::MessageRequest& r) override {
    std::fprintf(stderr, "unexpected message: %s: %s\n", r.title.c_str(), r.text.c_str());
    std::abort();
  }
};

void check(DbStatus s, const platform::DbFile& f, const char* what) {
  if (s != DbStatus::Ok) {
    std::fprintf(stderr, "%s: %s %s\n", what, platform::dbStatusName(s), f.error().text.c_str());
    std::abort();
  }
}

void check(int level, const char* what) {
  if (level != 0) {
    std::fprintf(stderr, "%s: level %d\n", what, level);
    std::abort();
  }
}

std::string caseNumber(int i) { return "CR-" + std::to_string(1995 + i % 25) + "-" + std::to_string(100000 + i); }

const char* const Words[] = {"United", "States", "Miller", "Garcia", "Johnson", "Nguyen", "Okafor", "Schmidt",
                             "Rossi",  "Dubois", "Kowalski", "Tanaka", "Haddad", "Larsen", "Moreau", "Silva"};

// One logical thread of the data layer, its files in `dir`, opened by a
// window with their related files.
class Thread {
 public:
  explicit Thread(const std::string& dir) {
    platform::setMessagePort(&port_);
    setThreadDataSource([this]() -> ThreadData& { return data_; });
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    data_.MakeFiles();
    data_.ConstructDictionary(errors_);
    check(Relate_CaseCloseSummary().Open(), "opening");
    for (platform::FileManager* a : {&Access_CaseCloseSummary(), &Access_HOURLY(), &Access_RateMilage(), &Access_TOTALS()})
      check(a->UseFile(), "opening");
    std::filesystem::current_path(previous);
  }
  ~Thread() {
    data_.ReleaseFiles();
    setThreadDataSource({});
    platform::setMessagePort(nullptr);
  }

 private:
  NoMessages port_;
  platform::ErrorManager errors_;
  ThreadData data_;
};

void fillCase(int i, std::mt19937& random) {
  platform::clearRecord(CaseCloseSummaryLayout(), CaseCloseSummary().record());
  CCS(CCS_DATE).setDay(70000 + static_cast<int>(random() % 9000));
  CCS(CCS_CASENUMBER).setText(caseNumber(i));
  CCS(CCS_CASENAME).setText(std::string("United States v. ") + Words[random() % 16] + " " + Words[random() % 16]);
  CCS(CCS_HOURLYRATE).setDecimal(platform::Decimal::fromParts(12500 + random() % 5000, 2));
  CCS(CCS_ATTORNEY).setText(std::string(Words[random() % 16]) + ", " + Words[random() % 16]);
  CCS(CCS_JUDGE).setText(std::string("Hon. ") + Words[random() % 16]);
}

void fillEntry(std::int64_t fn, const std::string& number, int day, std::mt19937& random) {
  platform::clearRecord(HOURLYLayout(), HOURLY().record());
  HOU(HOU_FN).setInteger(fn);
  HOU(HOU_CASENUMBER).setText(number);
  HOU(HOU_CASENAME).setText("United States v. Miller");
  HOU(HOU_DATE).setDay(day);
  HOU(HOU_BRIEFDESCRIPTIONSERVICES).setText("Review of discovery and conference with client");
  HOU(HOU_MILAGERATE).setDecimal(platform::Decimal::fromParts(random() % 26 * 25, 3));
  HOU(HOU_INTERVIEWSCONFERENCES).setDecimal(platform::Decimal::fromParts(random() % 80, 1));
}

constexpr int Cases = 100000;
constexpr int Entries = 1000000;

struct DataSet {
  std::string dir;
  ~DataSet() {
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
};

const DataSet& dataSet() {
  static DataSet set = [] {
    char pattern[] = "/tmp/lv-bench-dict-XXXXXX";
    DataSet s{mkdtemp(pattern)};
    Thread thread(s.dir);
    std::mt19937 random(7);
    platform::DbTransaction tx(threadData().context());
    if (tx.begin({&CaseCloseSummary(), &HOURLY(), &TOTALS()}) != DbStatus::Ok) std::abort();
    for (int i = 0; i < Cases; ++i) {
      fillCase(i, random);
      check(CaseCloseSummary().add(), CaseCloseSummary(), "adding a case");
      platform::clearRecord(TOTALSLayout(), TOTALS().record());
      TOT(TOT_CASENUMBER).setText(caseNumber(i));
      check(TOTALS().add(), TOTALS(), "adding totals");
    }
    const int perCase = Entries / Cases;
    for (int j = 0; j < Entries; ++j) {
      fillEntry(j + 1, caseNumber(j / perCase), 70000 + static_cast<int>(random() % 9000), random);
      check(HOURLY().add(), HOURLY(), "adding an entry");
    }
    if (tx.commit() != DbStatus::Ok) std::abort();
    return s;
  }();
  return set;
}

// range(0) "warm" 1 cycles through a few hundred cases, whose pages stay in
// memory after the first pass; 0 looks up a new case nearly every time.
void BM_DictFetchCaseByNumber(benchmark::State& state) {
  Thread thread(dataSet().dir);
  std::mt19937 random(11);
  std::vector<std::string> numbers;
  for (std::size_t i = 0; i < (state.range(0) ? 256u : 100000u); ++i)
    numbers.push_back(caseNumber(static_cast<int>(random() % Cases)));
  platform::FileManager& cases = Access_CaseCloseSummary();
  std::size_t i = 0;
  for (auto _ : state) {
    CCS(CCS_CASENUMBER).setText(numbers[i++ % numbers.size()]);
    check(cases.TryFetch(CCS_KeyCaseNumber), "fetching");
  }
}
BENCHMARK(BM_DictFetchCaseByNumber)->ArgNames({"warm"})->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_DictDeleteCaseWith10000Entries(benchmark::State& state) {
  Thread thread(dataSet().dir);
  std::mt19937 random(5);
  // Google Benchmark may call the function more than once.
  static int serial = 0;
  static std::int64_t fn = 5000000;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string number = "CASCADE-" + std::to_string(++serial);
    {
      platform::DbTransaction tx(threadData().context());
      if (tx.begin({&CaseCloseSummary(), &HOURLY(), &TOTALS()}) != DbStatus::Ok) std::abort();
      fillCase(Cases + serial, random);
      CCS(CCS_CASENUMBER).setText(number);
      check(CaseCloseSummary().add(), CaseCloseSummary(), "adding a case");
      platform::clearRecord(TOTALSLayout(), TOTALS().record());
      TOT(TOT_CASENUMBER).setText(number);
      check(TOTALS().add(), TOTALS(), "adding totals");
      for (int j = 0; j < 10000; ++j) {
        fillEntry(++fn, number, 70000 + j % 3000, random);
        check(HOURLY().add(), HOURLY(), "adding an entry");
      }
      if (tx.commit() != DbStatus::Ok) std::abort();
    }
    CCS(CCS_CASENUMBER).setText(number);
    check(Access_CaseCloseSummary().TryFetch(CCS_KeyCaseNumber), "fetching the case");
    state.ResumeTiming();

    check(Relate_CaseCloseSummary().Delete(false), "deleting the case");
  }
}
BENCHMARK(BM_DictDeleteCaseWith10000Entries)->Iterations(5)->Unit(benchmark::kMillisecond);

// The whole add of the entry form: priming (which reserves the number),
// then OK (the entry's case is checked and the reservation completed).
void BM_DictAddEntry(benchmark::State& state) {
  Thread thread(dataSet().dir);
  std::mt19937 random(3);
  for (auto _ : state) {
    check(Access_HOURLY().PrimeRecord(), "priming");
    HOU(HOU_CASENUMBER).setText(caseNumber(static_cast<int>(random() % Cases)));
    HOU(HOU_DATE).setDay(75000);
    HOU(HOU_BRIEFDESCRIPTIONSERVICES).setText("Motion hearing");
    check(Access_HOURLY().Insert(), "adding");
  }
}
BENCHMARK(BM_DictAddEntry)->Unit(benchmark::kMillisecond);

}  // namespace
