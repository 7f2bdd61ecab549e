// The mileage-rate list on 100,000 and on 1,000 rates, headless: started as
// the frame starts it, until its first page shows. Each data set is built
// once per run in a temporary directory, which is removed when the run
// ends.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>

#include "app/frame/program.h"
#include "cases/browse_rate_milage.h"
#include "cases/rate_windows.h"
#include "dictionary/dictionary.h"
#include "platform/types/daynum.h"
#include "tests/bench/bench_support.h"

namespace {

using bench::fail;

// `count` rates of random values and dates in a directory of their own.
struct RateSet {
  bench::ScratchDir dir{"rates"};
  explicit RateSet(int count) {
    const bench::InDirectory in(dir.path());
    bench::RecordFiles files{dictionary::RateMilageDefinition()};
    const bench::Record rtm(files[0]);
    std::mt19937 random(11);
    const std::int32_t first = platform::dayNumber(1990, 1, 1);
    files.inTransaction([&] {
      for (int i = 0; i < count; ++i) {
        rtm.clear();
        rtm(dictionary::RTM_MILAGERATE)
            .setDecimal(platform::Decimal::fromParts(static_cast<std::int64_t>(random() % 100000), 3));
        rtm(dictionary::RTM_DATEMILAGERATE).setDay(first + static_cast<std::int32_t>(random() % 15000));
        rtm.add();
      }
    });
  }
};

const RateSet& rateSet(int count) {
  static std::map<int, std::unique_ptr<RateSet>> sets;
  auto& set = sets[count];
  if (!set) set = std::make_unique<RateSet>(count);
  return *set;
}

// A running program in a data set's directory; the rate list runs on
// threads it starts.
class Program : public bench::Program {
 public:
  explicit Program(const RateSet& set) : bench::Program(set.dir.path()) {}

  // Starts the rate list as the frame's menu does and waits until it shows.
  void openList() {
    if (!app::StartThread(cases::BrowseRateMilage, 50000)) fail("starting the rate list");
    drv().settle();
    platform::Window& list = drv().window("Mileage Rate");
    if (drv().control(list, cases::rate_list::BROWSE_1).rowCount() == 0) fail("an empty rate list");
  }
  void closeList() { drv().close(drv().window("Mileage Rate")); }
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
