#include <benchmark/benchmark.h>

#include <string>

// Keeps the benchmark target buildable before the real benchmarks exist.
static void BM_StringCopy(benchmark::State& state) {
  std::string s(64, 'x');
  for (auto _ : state) {
    std::string copy = s;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_StringCopy);
