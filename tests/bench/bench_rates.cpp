// The mileage-rate list on 100,000 and on 1,000 rates, headless: started as
// the frame starts it, until its first page shows. Each data set is built
// once per run in a temporary directory, which is removed when the run
// ends.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "cases/browse_rate_milage.h"
#include "cases/rate_windows.h"
#include "dictionary/dictionary.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/transaction.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/os/os_fakes.h"
#include "platform/types/daynum.h"
#include "platform/ui/headless/driver.h"

namespace {

using platform::DbStatus;
using platform::FieldRef;

void fail(const std::string& what) {
  std::fprintf(stderr, "bench_rates: %s\n", what.c_str());
  std::abort();
}

// `count` rates of random values and dates in a directory of their own.
struct RateSet {
  std::filesystem::path dir;
  explicit RateSet(int count) {
    std::string pattern = (std::filesystem::temp_directory_path() / "lv-bench-rates-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) fail("no temporary directory");
    dir = pattern;
    platform::DbContext context;
    platform::DbFile file(context, dictionary::RateMilageDefinition());
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    if (file.create() != DbStatus::Ok || file.open() != DbStatus::Ok) fail("creating the rate file");
    std::mt19937 random(11);
    platform::DbTransaction t(context);
    if (t.begin({&file}) != DbStatus::Ok) fail("a transaction");
    const std::int32_t first = platform::dayNumber(1990, 1, 1);
    for (int i = 0; i < count; ++i) {
      platform::clearRecord(file.layout(), file.record());
      FieldRef::of(file.layout().field(dictionary::RTM_MILAGERATE), file.record())
          .setDecimal(platform::Decimal::fromParts(static_cast<std::int64_t>(random() % 100000), 3));
      FieldRef::of(file.layout().field(dictionary::RTM_DATEMILAGERATE), file.record())
          .setDay(first + static_cast<std::int32_t>(random() % 15000));
      if (file.add() != DbStatus::Ok) fail("adding a rate");
    }
    if (t.commit() != DbStatus::Ok) fail("committing");
    std::filesystem::current_path(previous);
  }
  ~RateSet() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

const RateSet& rateSet(int count) {
  static std::map<int, std::unique_ptr<RateSet>> sets;
  auto& set = sets[count];
  if (!set) set = std::make_unique<RateSet>(count);
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
// a window of its own; the rate list runs on threads it starts.
class Program {
 public:
  explicit Program(const RateSet& set) : previous_(std::filesystem::current_path()) {
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

  // Starts the rate list as the frame's menu does and waits until it shows.
  void openList() {
    if (!app::StartThread(cases::BrowseRateMilage, 50000)) fail("starting the rate list");
    drv_->settle();
    platform::Window& list = drv_->window("Mileage Rate");
    if (drv_->control(list, cases::rate_list::BROWSE_1).rowCount() == 0) fail("an empty rate list");
  }
  void closeList() { drv_->close(drv_->window("Mileage Rate")); }

 private:
  std::filesystem::path previous_;
  platform::RecordingFullDrag drag_{false};
  platform::ScopedOsServices services_{platform::OsServices{nullptr, nullptr, nullptr, &drag_}};
  BenchDataLayer layer_;
  std::optional<platform::HeadlessDriver> drv_;
};

// range(0): the number of rates.
void BM_RateListOpens(benchmark::State& state) {
  Program program(rateSet(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    program.openList();
    state.PauseTiming();
    program.closeList();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RateListOpens)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
