#include <gtest/gtest.h>

#include <boost/context/fiber.hpp>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "platform/types/halt.h"
#include "platform/types/switch_check.h"

#if defined(__SANITIZE_ADDRESS__)
#define LV_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LV_TEST_ASAN 1
#endif
#endif

#if defined(LV_TEST_ASAN)
#include <sanitizer/asan_interface.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#endif

namespace platform {
namespace {

class Threads : public ::testing::Test {
 protected:
  void SetUp() override { scheduler().reset(); }
  void TearDown() override {
    EXPECT_EQ(scheduler().violations(), expectedViolations_) << scheduler().lastViolation();
    scheduler().reset();
  }
  // Starts a thread and runs the scheduler until every thread waits.
  int run(ThreadProcedure p, std::size_t stack = 0) {
    int id = StartThread(std::move(p), stack);
    scheduler().runReady();
    return id;
  }
  long expectedViolations_ = 0;
};

struct Counter {
  int value = 0;
};
FiberLocal<Counter> counter;

TEST_F(Threads, NumbersStartAtOneAndThreadsRunOnlyFromTheScheduler) {
  std::vector<int> seen;
  int a = StartThread([&] { seen.push_back(currentThread()); }, 0);
  int b = StartThread([&] { seen.push_back(currentThread()); }, 0);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_TRUE(seen.empty()) << "START must not run the new thread itself";
  EXPECT_EQ(currentThread(), 0);
  scheduler().runReady();
  EXPECT_EQ(seen, (std::vector<int>{1, 2}));
  EXPECT_FALSE(threadAlive(a));
  EXPECT_EQ(scheduler().liveThreads(), 0);
}

TEST_F(Threads, StackSizeIsRecordedRaisedToTheMinimum) {
  struct Case {
    std::size_t given, recorded;
  };
  for (Case c : {Case{0, 20000}, Case{19999, 20000}, Case{20000, 20000}, Case{25000, 25000}, Case{50000, 50000},
                 Case{1 << 20, 1 << 20}}) {
    std::size_t inside = 0;
    int id = StartThread(
        [&] {
          inside = threadStackSize(currentThread());
          waitForWake();
        },
        c.given);
    scheduler().runReady();
    EXPECT_EQ(threadStackSize(id), c.recorded) << c.given;
    EXPECT_EQ(inside, c.recorded) << c.given;
    wakeThread(id);
    scheduler().runReady();
    EXPECT_EQ(threadStackSize(id), 0u) << "an ended thread has no stack";
  }
}

// Uses about 170 KiB of stack: fatal if the thread had only the 20000 bytes it
// asked for.
int deep(int n) {
  volatile char block[4096];
  std::memset(const_cast<char*>(block), n, sizeof block);
  return n == 0 ? block[100] : deep(n - 1) + block[n];
}

TEST_F(Threads, EveryThreadGetsAtLeastTheStackFloor) {
  int result = -1;
  run([&] { result = deep(40); }, 20000);
  EXPECT_GE(result, 0);
}

TEST_F(Threads, StartFailsWithZeroWhenNoStackCanBeMade) {
  EXPECT_EQ(StartThread([] {}, std::size_t{1} << 50), 0);
  EXPECT_EQ(StartThread([] {}, 0), 1) << "a failed START takes no number";
  scheduler().runReady();
}

TEST_F(Threads, StartedThreadSeesItsOwnFreshFiberLocalState) {
  int child = 0;
  int childSaw = -1;
  int parent = run([&] {
    counter->value = 42;
    child = StartThread(
        [&] {
          childSaw = counter->value;
          counter->value = 7;
          waitForWake();
        },
        0);
    waitForWake();
    EXPECT_EQ(counter->value, 42) << "the child's write must not reach the parent";
  });
  EXPECT_EQ(childSaw, 0);
  ASSERT_NE(counter.find(parent), nullptr);
  EXPECT_EQ(counter.find(parent)->value, 42);
  EXPECT_EQ(counter.find(child)->value, 7);
  wakeThread(parent);
  wakeThread(child);
  scheduler().runReady();
  EXPECT_EQ(counter.find(parent), nullptr);
  EXPECT_THROW(counter.get(), std::logic_error) << "no fiber-local state outside a logical thread";
}

// A value whose making uses fiber-local values made after it.
struct Later {
  int value = 5;
};
struct Earlier {
  int seen;
  Earlier();
};
FiberLocal<Earlier> earlier;
FiberLocal<Later> later1, later2, later3, later4, later5, later6, later7, later8;
Earlier::Earlier()
    : seen(later1->value + later2->value + later3->value + later4->value + later5->value + later6->value +
           later7->value + later8->value) {}

TEST_F(Threads, FiberLocalValueMayUseOthersWhileItIsMade) {
  int seen = 0;
  run([&] { seen = earlier->seen; });
  EXPECT_EQ(seen, 40);
}

struct Noisy {
  static std::vector<std::string>* log;
  std::string name;
  ~Noisy() {
    if (log && !name.empty()) log->push_back("~" + name + " on " + std::to_string(currentThread()));
  }
};
std::vector<std::string>* Noisy::log = nullptr;
FiberLocal<Noisy> first;
FiberLocal<Noisy> second;

TEST_F(Threads, HooksRunOnTheThreadInOrderAroundTheProcedure) {
  std::vector<std::string> log;
  Noisy::log = &log;
  auto on = [&](const char* what) { return [&log, what] { log.push_back(what + (" on " + std::to_string(currentThread()))); }; };
  int h1 = addThreadStartHook(on("files"));
  int h2 = addThreadStartHook(on("setup"));
  int h3 = addThreadEndHook(on("shutdown"));
  run([&] {
    second->name = "second";  // made first, so destroyed last
    first->name = "first";
    log.push_back("procedure on " + std::to_string(currentThread()));
  });
  removeThreadHook(h1);
  removeThreadHook(h2);
  removeThreadHook(h3);
  Noisy::log = nullptr;
  EXPECT_EQ(log, (std::vector<std::string>{"files on 1", "setup on 1", "procedure on 1", "shutdown on 1",
                                           "~first on 1", "~second on 1"}));
}

TEST_F(Threads, ThreadEndedFromOutsideSkipsEndHooksButUnwindsItsStack) {
  std::vector<std::string> log;
  Noisy::log = &log;
  int h = addThreadEndHook([&] { log.push_back("shutdown"); });
  run([&] {
    first->name = "local";
    Noisy onStack{"stack"};
    waitForWake();
    log.push_back("resumed");
  });
  scheduler().endAllThreads();
  removeThreadHook(h);
  Noisy::log = nullptr;
  EXPECT_EQ(log, (std::vector<std::string>{"~stack on 1", "~local on 1"}));
  EXPECT_EQ(scheduler().liveThreads(), 0);
}

TEST_F(Threads, WakeOnlyQueuesTheThread) {
  int steps = 0;
  int id = run([&] {
    ++steps;
    waitForWake();
    ++steps;
  });
  EXPECT_EQ(steps, 1);
  wakeThread(id);
  EXPECT_EQ(steps, 1) << "a wake must not resume the thread itself";
  EXPECT_TRUE(scheduler().hasReady());
  scheduler().runReady();
  EXPECT_EQ(steps, 2);
  EXPECT_THROW(waitForWake(), std::logic_error);
}

TEST_F(Threads, JoinWaitsUntilEveryGivenThreadHasEnded) {
  std::vector<std::string> log;
  int b = 0, c = 0;
  run([&] {
    b = StartThread([&] { waitForWake(); log.push_back("b ends"); }, 0);
    c = StartThread([&] { waitForWake(); log.push_back("c ends"); }, 0);
    joinThreads({b, c, 99});
    log.push_back("joined");
  });
  EXPECT_TRUE(log.empty());
  wakeThread(c);
  scheduler().runReady();
  EXPECT_EQ(log, (std::vector<std::string>{"c ends"}));
  wakeThread(b);
  scheduler().runReady();
  EXPECT_EQ(log, (std::vector<std::string>{"c ends", "b ends", "joined"}));
  bool threw = false;
  run([&] {
    try {
      joinThreads({currentThread()});
    } catch (const std::logic_error&) {
      threw = true;
    }
  });
  EXPECT_TRUE(threw);
}

TEST_F(Threads, HaltFromANestedThreadEndsEveryThreadAndHandsOverTheExitCode) {
  std::vector<std::string> log;
  Noisy::log = &log;
  int h = addThreadEndHook([&] { log.push_back("shutdown"); });
  scheduler().startProgram([&] {
    Noisy frame{"frame"};
    StartThread(
        [&] {
          Noisy list{"list"};
          StartThread([] { haltProgram(ExitWrongPassword); }, 25000);
          waitForWake();
        },
        50000);
    waitForWake();
  });
  scheduler().runReady();
  removeThreadHook(h);
  Noisy::log = nullptr;
  EXPECT_TRUE(scheduler().programEnded());
  EXPECT_EQ(scheduler().exitCode(), ExitWrongPassword);
  EXPECT_EQ(scheduler().liveThreads(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"~list on 2", "~frame on 1"}));
  EXPECT_EQ(StartThread([] {}, 0), 0) << "no new thread once the program has ended";
}

TEST_F(Threads, ProgramEndsWhenItsFirstThreadReturns) {
  bool listUnwound = false;
  scheduler().startProgram([&] {
    int list = StartThread(
        [&] {
          struct Flag {
            bool& f;
            ~Flag() { f = true; }
          } flag{listUnwound};
          wakeThread(1);
          waitForWake();
        },
        0);
    EXPECT_EQ(list, 2);
    waitForWake();  // until the list runs
  });
  scheduler().runReady();
  EXPECT_TRUE(scheduler().programEnded());
  EXPECT_EQ(scheduler().exitCode(), ExitNormal);
  EXPECT_TRUE(listUnwound);
}

TEST_F(Threads, CatchAllThatRethrowsThreadExitStillLetsTheThreadEnd) {
  int swallowed = 0;
  bool afterWait = false;
  run([&] {
    for (int i = 0; i < 2; ++i) {
      try {
        if (i == 0) throw std::runtime_error("ordinary");
        waitForWake();
        afterWait = true;
      } catch (...) {
        rethrowThreadExit();
        ++swallowed;
      }
    }
  });
  scheduler().endAllThreads();
  EXPECT_EQ(swallowed, 1) << "only the ordinary exception is handled";
  EXPECT_FALSE(afterWait);
  EXPECT_EQ(scheduler().liveThreads(), 0);

  int code = -1;
  run([&] {
    try {
      haltProgram(3);
    } catch (...) {
      rethrowThreadExit();
      code = 0;
    }
  });
  EXPECT_EQ(code, -1);
  EXPECT_EQ(scheduler().exitCode(), 3);
}

TEST_F(Threads, FaultOfAThreadSurfacesFromTheScheduler) {
  StartThread([] { throw std::runtime_error("broken procedure"); }, 0);
  try {
    scheduler().runReady();
    FAIL() << "the thread's exception must reach the scheduler's caller";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "broken procedure");
  }
  EXPECT_EQ(scheduler().liveThreads(), 0);
}

// Each thread keeps its own exceptions in handling: a thread that waits inside
// a catch block gets its own exception back from `throw;`.
TEST_F(Threads, ExceptionInHandlingStaysWithItsThread) {
  std::string a, b;
  auto body = [](const char* name, std::string& out) {
    return [name, &out] {
      try {
        try {
          throw std::runtime_error(name);
        } catch (...) {
          waitForWake();
          throw;
        }
      } catch (const std::runtime_error& e) {
        out = e.what();
      }
    };
  };
  int ta = run(body("a", a));
  int tb = run(body("b", b));
  wakeThread(ta);
  scheduler().runReady();
  wakeThread(tb);
  scheduler().runReady();
  EXPECT_EQ(a, "a");
  EXPECT_EQ(b, "b");
  EXPECT_EQ(std::uncaught_exceptions(), 0);
}

TEST_F(Threads, NestedEventLoopIsCountedOnlyOnALogicalThread) {
  scheduler().noteNestedEventLoop("outside");
  EXPECT_EQ(scheduler().nestedLoopViolations(), 0);
  run([] {
    scheduler().noteNestedEventLoop("modal dialog");
    scheduler().runReady();
  });
  EXPECT_EQ(scheduler().nestedLoopViolations(), 2);
  expectedViolations_ = 2;
}

bool transactionOpen = false;
const char* transactionCheck() { return transactionOpen ? "an open database transaction" : nullptr; }

TEST_F(Threads, SwitchWithSomethingHeldOpenIsCounted) {
  addSwitchCheck(transactionCheck);
  int id = run([] { waitForWake(); });
  EXPECT_EQ(scheduler().switchCheckViolations(), 0);
  run([] {
    transactionOpen = true;
    waitForWake();
  });
  transactionOpen = false;
  EXPECT_EQ(scheduler().switchCheckViolations(), 1);
  EXPECT_NE(scheduler().lastViolation().find("transaction"), std::string::npos);
  wakeThread(id);
  scheduler().runReady();
  expectedViolations_ = 1;
}

TEST_F(Threads, TimersFireInOrderAndSkipMissedPeriods) {
  Scheduler::Centis now = 1000;
  scheduler().setTimeSource([&] { return now; });
  std::vector<std::string> fired;
  int fast = scheduler().addTimer(10, [&] { fired.push_back("fast"); });
  scheduler().addTimer(25, [&] { fired.push_back("slow"); });
  EXPECT_EQ(scheduler().nextTimerDue(), 1010);
  scheduler().fireDueTimers();
  EXPECT_TRUE(fired.empty());
  now = 1010;
  scheduler().fireDueTimers();
  now = 1025;
  scheduler().fireDueTimers();
  EXPECT_EQ(fired, (std::vector<std::string>{"fast", "fast", "slow"}));
  fired.clear();
  now = 1200;  // far behind: each fires once, then again a period from now
  scheduler().fireDueTimers();
  EXPECT_EQ(fired, (std::vector<std::string>{"fast", "slow"}));
  EXPECT_EQ(scheduler().nextTimerDue(), 1210);
  scheduler().removeTimer(fast);
  EXPECT_EQ(scheduler().nextTimerDue(), 1225);
  scheduler().setTimeSource({});
}

#if defined(LV_TEST_ASAN)
// A thread's stack goes back to the system when the thread ends. The
// sanitizer's marks on it must go too: memory mapped at that place later
// would otherwise read as a stack overflow inside whatever code uses it.
TEST_F(Threads, AnEndedThreadLeavesNoSanitizerMarksWhereItsStackWas) {
  enum class End { Returns, Throws, EndedFromOutside };
  const struct {
    const char* name;
    End end;
  } cases[] = {{"returns", End::Returns}, {"throws", End::Throws}, {"ended from outside", End::EndedFromOutside}};
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  const std::size_t span = 16 * page;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::uintptr_t local = 0;
    const End end = c.end;
    StartThread(
        [&local, end] {
          char buffer[64];
          std::memset(buffer, 1, sizeof buffer);
          local = reinterpret_cast<std::uintptr_t>(buffer);
          if (end == End::Throws) throw std::runtime_error("fault");
          if (end == End::EndedFromOutside) waitForWake();
        },
        0);
    try {
      scheduler().runReady();
    } catch (const std::runtime_error&) {
    }
    scheduler().endAllThreads();
    ASSERT_NE(local, 0u);
    // The pages at and below the local, which were the thread's stack.
    const std::uintptr_t top = (local / page + 1) * page;
    void* at = reinterpret_cast<void*>(top - span);
    void* mapped = mmap(at, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    ASSERT_EQ(mapped, at) << "the ended thread's stack is still mapped";
    EXPECT_EQ(__asan_region_is_poisoned(mapped, span), nullptr);
    __asan_unpoison_memory_region(mapped, span);  // each case on its own
    munmap(mapped, span);
  }
}
#endif

}  // namespace
}  // namespace platform
