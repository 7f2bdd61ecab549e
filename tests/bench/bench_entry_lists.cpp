// The entry list BrowseHOURLY on 1,000,000 entries (100 cases of 10,000, a
// third of each case's entries per section; the expenses carry their date
// in their own field, so the date order lists them first, undated),
// headless:
//   - opened as the frame opens it and switched to "&3) Date", until that
//     tab's first page shows;
//   - a page down on that tab, from the first dated entry on;
//   - the same page read by a bare SQLite query on a connection of its own.
// The data set is built once per run in a temporary directory, which goes
// when the run ends (or before a failed run aborts).

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/frame/program.h"
#include "cases/entry_lists.h"
#include "dictionary/dictionary.h"
#include "platform/types/daynum.h"
#include "tests/bench/bench_support.h"

namespace {

using bench::fail;
using platform::Decimal;
namespace el = cases::entry_list;

constexpr int Cases = 100;
constexpr int PerCase = 10000;

struct EntrySet {
  bench::ScratchDir dir{"entry-lists"};
};

std::string caseNumber(int i) { return "CR-07-" + std::to_string(1000 + i); }

const EntrySet& entrySet() {
  static std::unique_ptr<EntrySet> set;
  if (set) return *set;
  set = std::make_unique<EntrySet>();
  const bench::InDirectory in(set->dir.path());
  bench::RecordFiles files{dictionary::CaseCloseSummaryDefinition(), dictionary::HOURLYDefinition()};
  const bench::Record ccs(files[0]), hou(files[1]);
  std::mt19937 random(11);
  files.inTransaction([&] {
    const std::int32_t first = platform::dayNumber(2004, 1, 1);
    std::int32_t fn = 0;
    for (int i = 0; i < Cases; ++i) {
      ccs.clear();
      ccs(dictionary::CCS_CASENUMBER).setText(caseNumber(i));
      ccs(dictionary::CCS_CASENAME).setText("United States v. Defendant " + std::to_string(i));
      ccs(dictionary::CCS_HOURLYRATE).setDecimal(Decimal::fromInt(100));
      ccs.add();
      for (int j = 0; j < PerCase; ++j) {
        hou.clear();
        hou(dictionary::HOU_FN).setInteger(++fn);
        hou(dictionary::HOU_CASENUMBER).setText(caseNumber(i));
        const std::int32_t day = first + static_cast<std::int32_t>(random() % 3000);
        switch (j % 3) {
          case 0:
            hou(dictionary::HOU_DATE).setDay(day);
            hou(dictionary::HOU_BRIEFDESCRIPTIONSERVICES).setText("Hearing on the motion to suppress");
            hou(dictionary::HOU_TRIAL).setDecimal(Decimal::fromParts(random() % 80, 1));
            break;
          case 1:
            hou(dictionary::HOU_DATE).setDay(day);
            hou(dictionary::HOU_BRIEFDESCRIPTIONSERVICES).setText("Review of discovery");
            hou(dictionary::HOU_LEGALRESEARCH).setDecimal(Decimal::fromParts(random() % 50, 1));
            break;
          default:
            hou(dictionary::HOU_DATE3).setDay(day);
            hou(dictionary::HOU_BRIEFDESCRIPTIONSERVICES3).setText("Travel to the courthouse");
            hou(dictionary::HOU_MILAGERATE).setDecimal(Decimal::fromParts(485, 3));
            hou(dictionary::HOU_MILEAGE).setDecimal(Decimal::fromInt(random() % 200));
            break;
        }
        hou.add();
      }
    }
  });
  return *set;
}

// A running program in the data set's directory; the entry list runs on
// threads it starts.
class Program : public bench::Program {
 public:
  explicit Program(const EntrySet& set) : bench::Program(set.dir.path()) {}

  // Starts the list as the frame does and shows its date tab.
  platform::Window& openOnDates() {
    if (!app::StartThread(cases::BrowseHOURLY, 50000)) fail("starting the list");
    drv().settle();
    platform::Window& list = drv().window("Browse the HOURLY file");
    drv().selectTab(list, el::CURRENTTAB, 3);
    if (drv().control(list, el::BROWSE_1).rowCount() == 0) fail("an empty date tab");
    return list;
  }
  void closeList() { drv().close(drv().window("Browse the HOURLY file")); }
  // Moves the date tab to its first dated entry: a digit typed on the list.
  void toFirstDated(platform::Window& list) {
    drv().focus(list, el::BROWSE_1);
    drv().press(list, platform::KeyPress::character(U'1'));
    const platform::Control& rows = drv().control(list, el::BROWSE_1);
    if (rows.cell(rows.selected(), 2).empty()) fail("no dated entry found");
  }
};

void BM_EntryListDateTabShows(benchmark::State& state) {
  Program program(entrySet());
  for (auto _ : state) {
    program.openOnDates();
    state.PauseTiming();
    program.closeList();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_EntryListDateTabShows)->Unit(benchmark::kMillisecond);

// The page-down benchmarks cycle through Pages pages from the first dated
// entry on, whose records stay in memory after the first pass.
constexpr int Pages = 64;

void BM_EntryListDatePageDown(benchmark::State& state) {
  Program program(entrySet());
  platform::Window& list = program.openOnDates();
  program.toFirstDated(list);
  const platform::Control& rows = program.drv().control(list, el::BROWSE_1);
  int page = 0;
  for (auto _ : state) {
    program.drv().scroll(list, el::BROWSE_1, platform::ScrollAction::PageDown);
    if (++page == Pages) {
      state.PauseTiming();
      program.toFirstDated(list);
      page = 0;
      state.ResumeTiming();
    }
  }
  state.counters["rows"] = rows.rowCount();
}
BENCHMARK(BM_EntryListDatePageDown)->Unit(benchmark::kMicrosecond);

// The same pages read by bare SQLite queries on a connection of its own, as
// the driver's connections read (memory-mapped): the page's records after
// the last one shown, in date order and by position among equal dates; the
// rest of the last one's date first, then the dates after it.
void BM_EntryListDatePageBare(benchmark::State& state) {
  const EntrySet& set = entrySet();
  int page = 0;
  {
    Program program(set);
    platform::Window& list = program.openOnDates();
    page = program.drv().control(list, el::BROWSE_1).pageRows();
  }
  bench::BareFile bare(set.dir.path() / "HOURLY.lvd");
  const std::string k = bench::BareFile::keyColumn(dictionary::HOU_KeyDate);
  const std::string select = "SELECT pos, image, " + k + " FROM records WHERE owner IS NULL AND ";
  sqlite3_stmt* sameDate = bare.prepare(select + k + " = ?1 AND pos > ?2 ORDER BY pos LIMIT ?3");
  sqlite3_stmt* laterDates = bare.prepare(select + k + " > ?1 ORDER BY " + k + ", pos LIMIT ?2");

  std::vector<std::vector<std::uint8_t>> images;
  sqlite3_int64 key = 0, pos = 0;
  auto read = [&](sqlite3_stmt* stmt) {
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, 1));
      images.emplace_back(data, data + sqlite3_column_bytes(stmt, 1));
      pos = sqlite3_column_int64(stmt, 0);
      key = sqlite3_column_int64(stmt, 2);
    }
    sqlite3_reset(stmt);
  };
  // The first dated entry, where the paging starts.
  sqlite3_bind_int64(laterDates, 1, 0);
  sqlite3_bind_int(laterDates, 2, 1);
  read(laterDates);
  if (images.empty()) fail("no dated entry");
  const sqlite3_int64 startKey = key, startPos = pos;

  int pages = 0;
  for (auto _ : state) {
    images.clear();
    sqlite3_bind_int64(sameDate, 1, key);
    sqlite3_bind_int64(sameDate, 2, pos);
    sqlite3_bind_int(sameDate, 3, page);
    read(sameDate);
    if (static_cast<int>(images.size()) < page) {
      sqlite3_bind_int64(laterDates, 1, key);
      sqlite3_bind_int(laterDates, 2, page - static_cast<int>(images.size()));
      read(laterDates);
    }
    if (++pages == Pages) {
      key = startKey;
      pos = startPos;
      pages = 0;
    }
    benchmark::DoNotOptimize(images.data());
  }
}
BENCHMARK(BM_EntryListDatePageBare)->Unit(benchmark::kMicrosecond);

}  // namespace
