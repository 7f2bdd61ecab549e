// Logical threads and the window model: event throughput from the driver to
// a handler, the cost of START, and the memory of a thread with a window.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "platform/ui/headless/driver.h"
#include "platform/ui/window.h"

namespace {

using namespace platform;

// A form-sized window: a sheet, twenty bound entries, a list and buttons.
struct Form {
  std::array<std::array<std::uint8_t, 40>, 20> fields{};
  explicit Form(Window& w) {
    ControlSpec sheet;
    sheet.number = 100;
    sheet.kind = ControlKind::Sheet;
    w.add(sheet);
    ControlSpec tab;
    tab.number = 101;
    tab.kind = ControlKind::Tab;
    tab.parent = 100;
    tab.text = "Case Information";
    w.add(tab);
    for (int i = 0; i < 20; ++i) {
      ControlSpec e;
      e.number = 1 + i;
      e.kind = ControlKind::Entry;
      e.parent = 101;
      e.rect = {10, 10 + 12 * i, 100, 10};
      e.var = FieldRef(FieldType::String, fields[static_cast<std::size_t>(i)].data(), 40);
      e.picture = "s40";
      e.var.setText("value " + std::to_string(i));
      w.add(e);
    }
    ControlSpec list;
    list.number = 50;
    list.kind = ControlKind::List;
    list.rect = {120, 10, 200, 120};
    list.columns = {{80, Justify::Left, "Case Number", Justify::Left, "s20"},
                    {200, Justify::Left, "Case Name", Justify::Left, "s100"}};
    w.add(list);
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < 10; ++r) rows.push_back({"CR-" + std::to_string(r), "United States v. Doe " + std::to_string(r)});
    w.control(50).setRows(rows);
    ControlSpec ok;
    ok.number = 60;
    ok.kind = ControlKind::Button;
    ok.text = "&OK";
    ok.defaultButton = true;
    w.add(ok);
  }
};

void formProcedure(long* handled) {
  WindowSpec spec;
  spec.kind = WindowKind::Child;
  spec.caption = "ADD/UPDATE CASE";
  spec.rect = {0, 0, 400, 300};
  Window w(spec);
  Form form(w);
  w.open();
  while (w.accept()) {
    if (w.event().kind == EventKind::Accepted && handled) ++*handled;
    w.endEvent(EventLevel::Continue);
  }
}

// One click fed in by the driver, up to the handler's return and the thread
// waiting again.
void BM_RtEventDriverToHandler(benchmark::State& state) {
  HeadlessDriver drv;
  long handled = 0;
  drv.start([&] { formProcedure(&handled); }, 50000);
  Window& w = drv.window("ADD/UPDATE CASE");
  for (auto _ : state) drv.click(w, 60);
  if (handled != static_cast<long>(state.iterations())) state.SkipWithError("events were lost");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RtEventDriverToHandler);

// START of a thread, its run to the end of an empty procedure included.
void BM_RtStartThread(benchmark::State& state) {
  HeadlessDriver drv;
  long ran = 0;
  for (auto _ : state) {
    StartThread([&] { ++ran; }, 50000);
    scheduler().runReady();
  }
  if (ran != static_cast<long>(state.iterations())) state.SkipWithError("threads did not run");
}
BENCHMARK(BM_RtStartThread);

long residentKiB() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Resident memory per thread waiting in the event loop of a form-sized
// window.
void BM_RtResidentPerThreadWithWindow(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  double perThread = 0;
  for (auto _ : state) {
    HeadlessDriver drv;
    malloc_trim(0);  // memory freed by an earlier run must not be counted as reused
    long before = residentKiB();
    for (int i = 0; i < threads; ++i) StartThread([] { formProcedure(nullptr); }, 50000);
    drv.settle();
    long after = residentKiB();
    perThread = static_cast<double>(after - before) / threads;
  }
  state.counters["KiB_per_thread"] = perThread;
}
BENCHMARK(BM_RtResidentPerThreadWithWindow)->Arg(200)->Iterations(1);

}  // namespace
