// The keyed-file driver on data of the real record sizes: 100,000 cases
// (3184 bytes, 4 keys) and 1,000,000 entries (1952 bytes, 5 keys), built once
// per run in one transaction in a temporary directory, and sets of 1,000
// records of each file to compare against: 100 cases with 1,000 entries, and
// 1,000 cases (with 10,000 entries), both with ten entries per case as in
// the big set.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dictionary/fields.h"
#include "dictionary/layouts.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/transaction.h"
#include "platform/types/decimal.h"

namespace {

using namespace dictionary;
using platform::DbContext;
using platform::DbFile;
using platform::DbRow;
using platform::DbStatus;
using platform::DbTransaction;
using platform::Direction;
using platform::FieldRef;
using platform::FileDefinition;
using platform::KeyDefinition;
using platform::KeyValue;
using platform::Seek;

FileDefinition caseDefinition() {
  return {&CaseCloseSummaryLayout(),
          {KeyDefinition{"CCS:KeyCaseName", "Case Name", CCS_CASENAME, false, true, false},
           KeyDefinition{"CCS:KeyCaseNumber", "Case Number", CCS_CASENUMBER, true, true, false},
           KeyDefinition{"CCS:KeyAttorney", "CCS:KeyAttorney", CCS_ATTORNEY, false, false, false},
           KeyDefinition{"CCS:KeyJudge", "CCS:KeyJudge", CCS_JUDGE, false, false, false}}};
}
constexpr int CaseNumberKey = 2;

FileDefinition entryDefinition() {
  return {&HOURLYLayout(),
          {KeyDefinition{"HOU:KEYFN", "FN", HOU_FN, true, true, true},
           KeyDefinition{"HOU:KeyCaseNumber", "HOU:KeyCaseNumber", HOU_CASENUMBER, false, false, false},
           KeyDefinition{"HOU:KeyCaseName", "Case Name", HOU_CASENAME, false, true, false},
           KeyDefinition{"HOU:KeyDate", "Date", HOU_DATE, false, false, false},
           KeyDefinition{"HOU:KeyMilageRate", "Milage Rate", HOU_MILAGERATE, false, true, false}}};
}
constexpr int EntryCaseKey = 2;

FileDefinition totalsDefinition() {
  return {&TOTALSLayout(), {KeyDefinition{"TOT:KeyCaseNumber", "Case Number", TOT_CASENUMBER, true, true, false}}};
}

FieldRef field(DbFile& f, int number) { return FieldRef::of(f.layout().field(number), f.record()); }

void check(DbStatus s, const DbFile& f, const char* what) {
  if (s != DbStatus::Ok) {
    std::fprintf(stderr, "%s: %s %s\n", what, platform::dbStatusName(s), f.error().text.c_str());
    std::abort();
  }
}

// Opens (creating when missing) a file of the data set's directory.
void openIn(const std::string& dir, DbFile& f) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  DbStatus s = f.open();
  if (s == DbStatus::FileNotFound && f.create() == DbStatus::Ok) s = f.open();
  std::filesystem::current_path(previous);
  check(s, f, "opening");
}

std::string caseNumber(int i) { return "CR-" + std::to_string(1995 + i % 25) + "-" + std::to_string(100000 + i); }

const char* const Words[] = {"United", "States", "Miller", "Garcia", "Johnson", "Nguyen", "Okafor", "Schmidt",
                             "Rossi",  "Dubois", "Kowalski", "Tanaka", "Haddad", "Larsen", "Moreau", "Silva"};

struct DataSet {
  std::string dir;
  int cases = 0;
  int entries = 0;
};

void fillCase(DbFile& f, int i, std::mt19937& random) {
  platform::clearRecord(f.layout(), f.record());
  field(f, CCS_DATE).setDay(70000 + static_cast<int>(random() % 9000));
  field(f, CCS_CASENUMBER).setText(caseNumber(i));
  field(f, CCS_CASENAME).setText(std::string("United States v. ") + Words[random() % 16] + " " + Words[random() % 16]);
  field(f, CCS_HOURLYRATE).setDecimal(platform::Decimal::fromParts(12500 + random() % 5000, 2));
  field(f, CCS_ATTORNEY).setText(std::string(Words[random() % 16]) + ", " + Words[random() % 16]);
  field(f, CCS_JUDGE).setText(std::string("Hon. ") + Words[random() % 16]);
}

DataSet build(int cases, int entries) {
  char pattern[] = "/tmp/lv-bench-XXXXXX";
  DataSet set{mkdtemp(pattern), cases, entries};
  DbContext context;
  DbFile c(context, caseDefinition()), e(context, entryDefinition()), t(context, totalsDefinition());
  for (DbFile* f : {&c, &e, &t}) openIn(set.dir, *f);
  std::mt19937 random(7);
  DbTransaction tx(context);
  if (tx.begin({&c, &e, &t}) != DbStatus::Ok) std::abort();
  for (int i = 0; i < cases; ++i) {
    fillCase(c, i, random);
    check(c.add(), c, "adding a case");
    platform::clearRecord(t.layout(), t.record());
    field(t, TOT_CASENUMBER).setText(caseNumber(i));
    check(t.add(), t, "adding totals");
  }
  // Entries are made case by case, the way they accumulate per case.
  const int perCase = entries / cases;
  for (int j = 0; j < entries; ++j) {
    const int i = j / perCase;
    platform::clearRecord(e.layout(), e.record());
    field(e, HOU_FN).setInteger(j + 1);
    field(e, HOU_CASENUMBER).setText(caseNumber(i));
    field(e, HOU_CASENAME).setText(std::string("United States v. ") + Words[i % 16] + " " + Words[(i / 16) % 16]);
    field(e, HOU_DATE).setDay(70000 + static_cast<int>(random() % 9000));
    field(e, HOU_BRIEFDESCRIPTIONSERVICES).setText("Review of discovery and conference with client");
    field(e, HOU_MILAGERATE).setDecimal(platform::Decimal::fromParts(random() % 26 * 25, 3));
    field(e, HOU_INTERVIEWSCONFERENCES).setDecimal(platform::Decimal::fromParts(random() % 80, 1));
    check(e.add(), e, "adding an entry");
  }
  if (tx.commit() != DbStatus::Ok) std::abort();
  return set;
}

struct DataSets {
  std::unique_ptr<DataSet> small, thousandCases, big;
  ~DataSets() {
    std::error_code ec;
    for (auto* s : {small.get(), thousandCases.get(), big.get()})
      if (s) std::filesystem::remove_all(s->dir, ec);
  }
};

DataSets& sets() {
  static DataSets s;
  return s;
}

const DataSet& smallSet() {
  if (!sets().small) sets().small = std::make_unique<DataSet>(build(100, 1000));
  return *sets().small;
}

const DataSet& thousandCasesSet() {
  if (!sets().thousandCases) sets().thousandCases = std::make_unique<DataSet>(build(1000, 10000));
  return *sets().thousandCases;
}

const DataSet& bigSet() {
  if (!sets().big) sets().big = std::make_unique<DataSet>(build(100000, 1000000));
  return *sets().big;
}

const DataSet& setOf(const benchmark::State& state) { return state.range(0) ? bigSet() : smallSet(); }

// The set a read of the next 20 records runs on: the big one, or the one
// whose file holds 1,000 records (range(2): 0 cases, 1 entries).
const DataSet& readSetOf(const benchmark::State& state) {
  if (state.range(0)) return bigSet();
  return state.range(2) ? smallSet() : thousandCasesSet();
}

// Benchmarks of reads take a working set: range "warm" 1 cycles through a
// few hundred start points, whose pages stay in memory after the first pass
// (what a list the user pages through meets); 0 uses a new point for nearly
// every read, so that most of them touch pages that are not in memory yet.
std::size_t workingSet(const benchmark::State& state, std::size_t cold) { return state.range(1) ? 256 : cold; }

// --- fetch by key ------------------------------------------------------------

// range(0): big set; range(1): warm.
void BM_DbFetchByKey(benchmark::State& state) {
  const DataSet& set = setOf(state);
  DbContext context;
  DbFile cases(context, caseDefinition());
  openIn(set.dir, cases);
  std::mt19937 random(11);
  std::vector<std::string> numbers;
  for (std::size_t i = 0; i < workingSet(state, 100000); ++i)
    numbers.push_back(caseNumber(static_cast<int>(random() % static_cast<unsigned>(set.cases))));
  std::size_t i = 0;
  for (auto _ : state) {
    field(cases, CCS_CASENUMBER).setText(numbers[i++ % numbers.size()]);
    check(cases.fetch(CaseNumberKey), cases, "fetching");
  }
}

// The same fetch by a bare SQLite statement on a connection of its own.
void BM_DbFetchByKeyBare(benchmark::State& state) {
  const DataSet& set = setOf(state);
  sqlite3* db = nullptr;
  sqlite3_open_v2((set.dir + "/CASECLOS.lvd").c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_exec(db, "PRAGMA mmap_size = 2147418112", nullptr, nullptr, nullptr);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "SELECT pos, image FROM records WHERE k2 = ?1 AND owner IS NULL ORDER BY pos LIMIT 1", -1,
                     &stmt, nullptr);
  std::mt19937 random(11);
  std::vector<std::string> numbers;
  for (std::size_t i = 0; i < workingSet(state, 100000); ++i)
    numbers.push_back(caseNumber(static_cast<int>(random() % static_cast<unsigned>(set.cases))));
  std::vector<std::uint8_t> image(3184);
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& n = numbers[i++ % numbers.size()];
    sqlite3_bind_blob(stmt, 1, n.data(), static_cast<int>(n.size()), SQLITE_STATIC);
    if (sqlite3_step(stmt) != SQLITE_ROW) std::abort();
    std::memcpy(image.data(), sqlite3_column_blob(stmt, 1), image.size());
    sqlite3_reset(stmt);
    benchmark::DoNotOptimize(image.data());
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}

void fetchArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"big", "warm"})->Args({0, 1})->Args({1, 1})->Args({1, 0})->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_DbFetchByKey)->Apply(fetchArgs);
BENCHMARK(BM_DbFetchByKeyBare)->Apply(fetchArgs);

// --- the next 20 records in key order ----------------------------------------

// Random records of the file as start points in the key's order.
std::vector<Seek> startPoints(DbFile& f, int key, int records, std::size_t count) {
  std::mt19937 random(static_cast<unsigned>(key) * 31 + static_cast<unsigned>(records));
  std::vector<Seek> points;
  while (points.size() < count) {
    const std::int64_t pos = 1 + static_cast<std::int64_t>(random() % static_cast<unsigned>(records));
    if (f.get(pos) != DbStatus::Ok) continue;
    KeyValue v = f.keyValue(key);
    if (!std::holds_alternative<std::monostate>(v)) points.push_back(Seek{v, pos, false});
  }
  return points;
}

// range(0): big set (else a file of 1,000 records); range(1): warm;
// range(2): 0 cases, 1 entries; range(3): key number.
void BM_DbReadNext20(benchmark::State& state) {
  const DataSet& set = readSetOf(state);
  const bool entries = state.range(2) != 0;
  DbContext context;
  DbFile f(context, entries ? entryDefinition() : caseDefinition());
  openIn(set.dir, f);
  const int key = static_cast<int>(state.range(3));
  const std::vector<Seek> points = startPoints(f, key, entries ? set.entries : set.cases, workingSet(state, 20000));
  std::vector<DbRow> rows;
  std::size_t i = 0;
  for (auto _ : state) {
    check(f.readPage(key, Direction::Forward, points[i++ % points.size()], 20, std::nullopt, rows), f, "reading");
    benchmark::DoNotOptimize(rows.data());
  }
}

// The same read by bare SQLite statements on a connection of its own, in
// one read transaction: the rest of the start value's records by position,
// then the records beyond it.
void BM_DbReadNext20Bare(benchmark::State& state) {
  const DataSet& set = readSetOf(state);
  const bool entries = state.range(2) != 0;
  const int key = static_cast<int>(state.range(3));
  std::vector<Seek> points;
  {
    DbContext context;
    DbFile f(context, entries ? entryDefinition() : caseDefinition());
    openIn(set.dir, f);
    points = startPoints(f, key, entries ? set.entries : set.cases, workingSet(state, 20000));
  }
  sqlite3* db = nullptr;
  sqlite3_open_v2((set.dir + (entries ? "/HOURLY.lvd" : "/CASECLOS.lvd")).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_exec(db, "PRAGMA mmap_size = 2147418112", nullptr, nullptr, nullptr);
  const std::string k = "k" + std::to_string(key);
  sqlite3_stmt *same = nullptr, *beyond = nullptr, *begin = nullptr, *commit = nullptr;
  sqlite3_prepare_v2(db,
                     ("SELECT pos, image FROM records WHERE owner IS NULL AND " + k +
                      " = ?1 AND pos > ?2 ORDER BY pos LIMIT ?3")
                         .c_str(),
                     -1, &same, nullptr);
  sqlite3_prepare_v2(db,
                     ("SELECT pos, image FROM records WHERE owner IS NULL AND " + k + " > ?1 ORDER BY " + k +
                      ", pos LIMIT ?3")
                         .c_str(),
                     -1, &beyond, nullptr);
  sqlite3_prepare_v2(db, "BEGIN", -1, &begin, nullptr);
  sqlite3_prepare_v2(db, "COMMIT", -1, &commit, nullptr);
  std::vector<std::uint8_t> image(entries ? 1952 : 3184);
  auto bind = [](sqlite3_stmt* s, const KeyValue& v) {
    if (const auto* n = std::get_if<std::int64_t>(&v)) {
      sqlite3_bind_int64(s, 1, *n);
    } else {
      const std::string& t = std::get<std::string>(v);
      sqlite3_bind_blob(s, 1, t.data(), static_cast<int>(t.size()), SQLITE_STATIC);
    }
  };
  std::size_t i = 0;
  for (auto _ : state) {
    const Seek& from = points[i++ % points.size()];
    int got = 0;
    sqlite3_step(begin);
    sqlite3_reset(begin);
    for (sqlite3_stmt* s : {same, beyond}) {
      if (got == 20) break;
      bind(s, from.value);
      sqlite3_bind_int64(s, 2, from.position);
      sqlite3_bind_int(s, 3, 20 - got);
      while (sqlite3_step(s) == SQLITE_ROW) {
        std::memcpy(image.data(), sqlite3_column_blob(s, 1), image.size());
        benchmark::DoNotOptimize(sqlite3_column_int64(s, 0));
        ++got;
      }
      sqlite3_reset(s);
    }
    sqlite3_step(commit);
    sqlite3_reset(commit);
    benchmark::DoNotOptimize(image.data());
  }
  for (sqlite3_stmt* s : {same, beyond, begin, commit}) sqlite3_finalize(s);
  sqlite3_close(db);
}

void readArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"big", "warm", "entries", "key"});
  for (auto [big, warm] : {std::pair{0, 1}, std::pair{1, 1}, std::pair{1, 0}}) {
    for (int key = 1; key <= 4; ++key) b->Args({big, warm, 0, key});
    for (int key = 1; key <= 5; ++key) b->Args({big, warm, 1, key});
  }
  b->Unit(benchmark::kMicrosecond);
}
BENCHMARK(BM_DbReadNext20)->Apply(readArgs);
BENCHMARK(BM_DbReadNext20Bare)->Apply(readArgs);

// --- cascade delete of a case with 10,000 entries ----------------------------

void BM_DbCascadeDelete(benchmark::State& state) {
  const DataSet& set = bigSet();
  DbContext context;
  DbFile cases(context, caseDefinition()), entries(context, entryDefinition()), totals(context, totalsDefinition());
  for (DbFile* f : {&cases, &entries, &totals}) openIn(set.dir, *f);
  std::mt19937 random(5);
  // Google Benchmark may call the function more than once.
  static int serial = 0;
  static std::int64_t fn = 5000000;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string number = "CASCADE-" + std::to_string(++serial);
    {
      DbTransaction tx(context);
      if (tx.begin({&cases, &entries, &totals}) != DbStatus::Ok) std::abort();
      fillCase(cases, set.cases + serial, random);
      field(cases, CCS_CASENUMBER).setText(number);
      check(cases.add(), cases, "adding a case");
      platform::clearRecord(totals.layout(), totals.record());
      field(totals, TOT_CASENUMBER).setText(number);
      check(totals.add(), totals, "adding totals");
      for (int j = 0; j < 10000; ++j) {
        platform::clearRecord(entries.layout(), entries.record());
        field(entries, HOU_FN).setInteger(++fn);
        field(entries, HOU_CASENUMBER).setText(number);
        field(entries, HOU_DATE).setDay(70000 + j % 3000);
        check(entries.add(), entries, "adding an entry");
      }
      if (tx.commit() != DbStatus::Ok) std::abort();
    }
    field(cases, CCS_CASENUMBER).setText(number);
    check(cases.fetch(CaseNumberKey), cases, "fetching the case");
    state.ResumeTiming();

    // What the relation object does: one transaction over the three files,
    // the entries read page by page through their key and deleted, then the
    // totals record and the case.
    DbTransaction tx(context);
    if (tx.begin({&cases, &entries, &totals}) != DbStatus::Ok) std::abort();
    platform::clearRecord(entries.layout(), entries.record());
    field(entries, HOU_CASENUMBER).setText(number);
    const KeyValue caseKey = entries.keyValue(EntryCaseKey);
    std::vector<DbRow> rows;
    std::optional<Seek> from;
    int deleted = 0;
    do {
      check(entries.readPage(EntryCaseKey, Direction::Forward, from, 100, caseKey, rows), entries, "reading entries");
      for (const DbRow& r : rows) check(entries.remove(r.position, r.image), entries, "deleting an entry");
      deleted += static_cast<int>(rows.size());
      if (!rows.empty()) from = Seek{caseKey, rows.back().position, false};
    } while (rows.size() == 100);
    platform::clearRecord(totals.layout(), totals.record());
    field(totals, TOT_CASENUMBER).setText(number);
    check(totals.fetch(1), totals, "fetching totals");
    check(totals.remove(totals.position()), totals, "deleting totals");
    check(cases.remove(cases.position(), cases.image()), cases, "deleting the case");
    if (tx.commit() != DbStatus::Ok || deleted != 10000) std::abort();
  }
}
BENCHMARK(BM_DbCascadeDelete)->Iterations(5)->Unit(benchmark::kMillisecond);

// --- adding one entry, durably -------------------------------------------------

// range(0): 0 a plain add with its number, 1 a reserved number completed
// (the form's way: reserved when primed, completed on OK).
void BM_DbAddEntry(benchmark::State& state) {
  const DataSet& set = bigSet();
  DbContext context;
  DbFile entries(context, entryDefinition());
  openIn(set.dir, entries);
  static std::int64_t fn = 9000000;
  for (auto _ : state) {
    platform::clearRecord(entries.layout(), entries.record());
    field(entries, HOU_CASENUMBER).setText(caseNumber(7));
    field(entries, HOU_DATE).setDay(75000);
    if (state.range(0) == 0) {
      field(entries, HOU_FN).setInteger(++fn);
      check(entries.add(), entries, "adding");
    } else {
      check(entries.reserveAutoNumber(), entries, "reserving");
      check(entries.completeReserved(entries.position()), entries, "completing");
    }
  }
}
BENCHMARK(BM_DbAddEntry)->ArgNames({"reserved"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// --- opening a big file -----------------------------------------------------------

void BM_DbOpen(benchmark::State& state) {
  const DataSet& set = setOf(state);
  for (auto _ : state) {
    DbContext context;
    DbFile entries(context, entryDefinition());
    openIn(set.dir, entries);
  }
}
BENCHMARK(BM_DbOpen)->ArgNames({"big"})->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
