#include "platform/fiber/scheduler.h"

#include <cxxabi.h>

#include <algorithm>
#include <boost/context/fiber.hpp>
#include <boost/context/protected_fixedsize_stack.hpp>
#include <boost/context/stack_traits.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/fiber/fiber_local.h"
#include "platform/types/halt.h"
#include "platform/types/switch_check.h"

// The annotations are needed whenever AddressSanitizer is on, whichever
// build turned it on (the sanitizer pass, the fuzz targets).
#if defined(__SANITIZE_ADDRESS__)
#define LV_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LV_ASAN 1
#endif
#endif

#if defined(LV_ASAN)
#include <sanitizer/asan_interface.h>
#include <sanitizer/common_interface_defs.h>
#endif

namespace platform {
namespace {

namespace ctx = boost::context;

// --- sanitizer annotations -------------------------------------------------
// AddressSanitizer must be told about every switch between stacks, or it
// takes a fiber's stack for a corrupted main stack. startSwitch runs just
// before a switch (fakeSave nullptr when the stack we leave is finished),
// finishSwitch right after landing on the new stack.

inline void startSwitch([[maybe_unused]] void** fakeSave, [[maybe_unused]] const void* bottom,
                        [[maybe_unused]] std::size_t size) {
#if defined(LV_ASAN)
  __sanitizer_start_switch_fiber(fakeSave, bottom, size);
#endif
}

inline void finishSwitch([[maybe_unused]] void* fakeSave, [[maybe_unused]] const void** bottomOld,
                         [[maybe_unused]] std::size_t* sizeOld) {
#if defined(LV_ASAN)
  __sanitizer_finish_switch_fiber(fakeSave, bottomOld, sizeOld);
#endif
}

// --- exception-handling state ----------------------------------------------
// The C++ runtime keeps the exceptions being handled (the stack behind
// `throw;` and std::current_exception) and the count of uncaught exceptions
// per OS thread. A logical thread may wait inside a catch block (a message
// box about an error), so each one keeps its own copy, swapped in and out at
// every switch.

struct EhGlobals {
  void* caughtExceptions;
  unsigned int uncaughtExceptions;
};

EhGlobals* ehGlobals() { return reinterpret_cast<EhGlobals*>(abi::__cxa_get_globals()); }

// --- threads -----------------------------------------------------------------

enum class State { Created, Running, Waiting, Done };

struct ThreadRec {
  int id = 0;
  std::size_t recordedStack = 0;
  ThreadProcedure procedure;
  ctx::fiber fiber;  // the thread's continuation while it does not run
  ctx::fiber sink;   // on the thread: the scheduler's continuation
  State state = State::Created;
  bool queued = false;
  bool cancelling = false;
  bool program = false;
  std::exception_ptr failure;
  EhGlobals eh{nullptr, 0};
  // Stack bounds for the sanitizer.
  const void* stackBottom = nullptr;
  std::size_t stackBytes = 0;
  const void* schedBottom = nullptr;
  std::size_t schedBytes = 0;
  void* fakeStack = nullptr;
  // Fiber-local values, by slot, and the order they were made in.
  std::vector<detail::LocalSlot> locals;
  std::vector<int> localOrder;
  std::vector<int> joiners;
};

// A protected stack that tells the thread where it lies, and runs
// `allocated` once the stack exists (just before the first jump onto it).
class RecordingStack {
 public:
  RecordingStack(std::size_t size, ThreadRec* rec, std::function<void()> allocated)
      : inner_(size), rec_(rec), allocated_(std::move(allocated)) {}
  ctx::stack_context allocate() {
    ctx::stack_context s = inner_.allocate();
    rec_->stackBottom = static_cast<const char*>(s.sp) - s.size;
    rec_->stackBytes = s.size;
    if (allocated_) std::exchange(allocated_, {})();
    return s;
  }
  // The frames that ran on the stack leave the sanitizer's marks on it (a
  // thread that throws, or is unwound, never clears its frames' red zones).
  // The marks outlive the mapping: whatever is mapped there next would read
  // as poisoned, so they are cleared before the stack goes back.
  void deallocate(ctx::stack_context& s) noexcept {
#if defined(LV_ASAN)
    __asan_unpoison_memory_region(static_cast<char*>(s.sp) - s.size, s.size);
#endif
    inner_.deallocate(s);
  }

 private:
  ctx::protected_fixedsize_stack inner_;
  ThreadRec* rec_;
  std::function<void()> allocated_;
};

struct Hook {
  int id;
  bool start;
  std::function<void()> fn;
};

struct Timer {
  int id;
  Scheduler::Centis period;
  Scheduler::Centis due;
  std::function<void()> fire;
};

struct Impl {
  std::map<int, std::unique_ptr<ThreadRec>> threads;
  std::deque<int> ready;
  ThreadRec* current = nullptr;
  int nextId = 1;
  bool running = false;  // inside runReady
  bool ending = false;   // ending every thread
  std::function<void()> readyNotifier;

  std::vector<Hook> hooks;
  int nextHookId = 1;
  int localSlots = 0;

  std::vector<Timer> timers;
  int nextTimerId = 1;
  std::function<Scheduler::Centis()> timeSource;

  bool programEnded = false;
  bool halted = false;
  int exitCode = 0;

  long nestedLoops = 0;
  long switchViolations = 0;
  std::string lastViolation;

  ThreadRec* find(int id) {
    auto it = threads.find(id);
    return it == threads.end() ? nullptr : it->second.get();
  }

  void queue(ThreadRec& t) {
    if (t.queued || t.state == State::Done || t.state == State::Running) return;
    t.queued = true;
    ready.push_back(t.id);
    if (!running && readyNotifier) readyNotifier();
  }

  void checkSwitch() {
    if (const char* held = runSwitchChecks()) {
      ++switchViolations;
      lastViolation = std::string("held across a switch of logical threads: ") + held;
    }
  }

  // Switches from the scheduler into `t` and back. When `unwind` is set the
  // thread's stack is unwound instead of resumed.
  void enter(ThreadRec& t, bool unwind) {
    checkSwitch();
    current = &t;
    t.state = State::Running;
    EhGlobals saved = *ehGlobals();
    *ehGlobals() = t.eh;
    void* fake = nullptr;
    startSwitch(&fake, t.stackBottom, t.stackBytes);
    if (unwind) {
      ctx::fiber dying = std::move(t.fiber);  // its destructor unwinds the thread
    } else {
      t.fiber = std::move(t.fiber).resume();
    }
    finishSwitch(fake, nullptr, nullptr);
    t.eh = *ehGlobals();
    *ehGlobals() = saved;
    current = nullptr;
    if (!t.fiber) t.state = State::Done;
  }

  void runHooks(bool start) {
    // A copy: a hook may register or remove hooks.
    std::vector<Hook> list = hooks;
    for (const Hook& h : list)
      if (h.start == start) h.fn();
  }

  void destroyLocals(ThreadRec& t) {
    // A destructor may make another value; go on until none is left.
    while (!t.localOrder.empty()) {
      int slot = t.localOrder.back();
      t.localOrder.pop_back();
      detail::LocalSlot s = std::exchange(t.locals[static_cast<std::size_t>(slot)], detail::LocalSlot{});
      if (s.value) s.destroy(s.value);
    }
  }

  ctx::fiber body(ThreadRec& t, ctx::fiber&& sink);

  void finish(ThreadRec& t) {
    std::vector<int> joiners = std::move(t.joiners);
    bool program = t.program;
    std::exception_ptr failure = t.failure;
    threads.erase(t.id);  // t is gone from here on
    for (int j : joiners)
      if (ThreadRec* w = find(j)) queue(*w);
    if (halted || program) {
      programEnded = true;
      endAll();
    }
    if (failure) std::rethrow_exception(failure);
  }

  void endAll() {
    if (ending) return;
    ending = true;
    // Newest first.
    while (!threads.empty()) {
      ThreadRec& t = *threads.rbegin()->second;
      t.cancelling = true;
      if (t.state == State::Created) {
        enter(t, false);  // runs nothing but ends at once
      } else if (t.state == State::Waiting) {
        enter(t, true);
      }
      t.joiners.clear();
      threads.erase(t.id);
    }
    ready.clear();
    ending = false;
  }
};

// Never destroyed: threads still alive when the process exits are simply
// abandoned, not unwound during static destruction.
Impl& impl() {
  static Impl* i = new Impl;
  return *i;
}

struct LocalsGuard {
  Impl& s;
  ThreadRec& t;
  ~LocalsGuard() { s.destroyLocals(t); }
};

ctx::fiber Impl::body(ThreadRec& t, ctx::fiber&& sink) {
  finishSwitch(nullptr, &t.schedBottom, &t.schedBytes);
  t.sink = std::move(sink);
  if (!t.cancelling) {
    try {
      ThreadProcedure procedure = std::move(t.procedure);
      LocalsGuard guard{*this, t};
      runHooks(true);
      procedure();
      runHooks(false);
    } catch (const ctx::detail::forced_unwind&) {
      startSwitch(nullptr, t.schedBottom, t.schedBytes);
      throw;
    } catch (const ProgramHalt& h) {
      if (!halted) {
        halted = true;
        exitCode = h.exitCode;
      }
    } catch (...) {
      t.failure = std::current_exception();
    }
  }
  startSwitch(nullptr, t.schedBottom, t.schedBytes);
  return std::move(t.sink);
}

// Runs on the thread: waits until the scheduler resumes it.
void suspendCurrent() {
  Impl& s = impl();
  ThreadRec* t = s.current;
  if (!t) throw std::logic_error("waiting outside a logical thread");
  if (t->cancelling) {
    // A destructor waited while its thread was being ended: nothing could
    // ever resume it.
    std::fputs("logical thread waits while it is being ended\n", stderr);
    std::abort();
  }
  t->state = State::Waiting;
  s.checkSwitch();
  struct Landing {
    ThreadRec* t;
    ~Landing() { finishSwitch(t->fakeStack, &t->schedBottom, &t->schedBytes); }
  };
  startSwitch(&t->fakeStack, t->schedBottom, t->schedBytes);
  Landing landing{t};
  t->sink = std::move(t->sink).resume();
}

Scheduler::Centis steadyNow() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() / 10;
}

}  // namespace

// --- thread.h ----------------------------------------------------------------

int StartThread(ThreadProcedure procedure, std::size_t stackSize) {
  Impl& s = impl();
  if (s.ending || s.programEnded) return 0;
  std::size_t real = std::max(stackSize, ThreadStackFloor);
  // The stack allocator's contract: no stack beyond its maximum.
  if (!ctx::stack_traits::is_unbounded() && real > ctx::stack_traits::maximum_size()) return 0;
  auto rec = std::make_unique<ThreadRec>();
  ThreadRec* t = rec.get();
  t->recordedStack = std::max(stackSize, MinThreadStack);
  t->procedure = std::move(procedure);
  try {
    // Making the fiber jumps onto its new stack and straight back, before the
    // stack's bounds are known to the sanitizer: the jump is announced as a
    // switch into the new stack (bounds filled in by the allocator), and a
    // second, empty switch then puts the sanitizer back on this stack.
    void* fake = nullptr;
    struct Announced {
      ThreadRec* t;
      void*& fake;
      bool started = false;
      ~Announced() {
        if (!started) return;
        const void* bottom = nullptr;
        std::size_t size = 0;
        finishSwitch(fake, &bottom, &size);
        void* same = nullptr;
        startSwitch(&same, bottom, size);
        finishSwitch(same, nullptr, nullptr);
      }
    } announced{t, fake};
    t->fiber = ctx::fiber(std::allocator_arg, RecordingStack(real, t, [&] {
                            startSwitch(&fake, t->stackBottom, t->stackBytes);
                            announced.started = true;
                          }),
                          [t](ctx::fiber&& sink) { return impl().body(*t, std::move(sink)); });
  } catch (const std::bad_alloc&) {
    return 0;
  } catch (const std::length_error&) {
    return 0;
  }
  t->id = s.nextId++;
  s.threads.emplace(t->id, std::move(rec));
  s.queue(*t);
  return t->id;
}

int currentThread() {
  ThreadRec* t = impl().current;
  return t ? t->id : 0;
}

std::size_t threadStackSize(int thread) {
  ThreadRec* t = impl().find(thread);
  return t ? t->recordedStack : 0;
}

bool threadAlive(int thread) {
  ThreadRec* t = impl().find(thread);
  return t && t->state != State::Done;
}

void joinThreads(std::span<const int> threads) {
  Impl& s = impl();
  if (!s.current) throw std::logic_error("joinThreads outside a logical thread");
  int self = s.current->id;
  for (int id : threads)
    if (id == self) throw std::logic_error("a logical thread cannot wait for its own end");
  for (int id : threads) {
    while (ThreadRec* t = s.find(id)) {
      if (t->state == State::Done) break;
      t->joiners.push_back(self);
      suspendCurrent();
    }
  }
}

void waitForWake() { suspendCurrent(); }

void wakeThread(int thread) {
  Impl& s = impl();
  if (ThreadRec* t = s.find(thread))
    if (t->state == State::Waiting) s.queue(*t);
}

int addThreadStartHook(std::function<void()> hook) {
  Impl& s = impl();
  int id = s.nextHookId++;
  s.hooks.push_back({id, true, std::move(hook)});
  return id;
}

int addThreadEndHook(std::function<void()> hook) {
  Impl& s = impl();
  int id = s.nextHookId++;
  s.hooks.push_back({id, false, std::move(hook)});
  return id;
}

void removeThreadHook(int id) {
  auto& hooks = impl().hooks;
  hooks.erase(std::remove_if(hooks.begin(), hooks.end(), [id](const Hook& h) { return h.id == id; }), hooks.end());
}

void rethrowThreadExit() {
  try {
    throw;
  } catch (const ctx::detail::forced_unwind&) {
    throw;
  } catch (const ProgramHalt&) {
    throw;
  } catch (...) {
  }
}

// --- fiber_local.h -----------------------------------------------------------

namespace detail {

int newFiberLocalSlot() { return impl().localSlots++; }

LocalSlot& currentLocalSlot(int slot) {
  ThreadRec* t = impl().current;
  if (!t) throw std::logic_error("fiber-local value used outside a logical thread");
  auto index = static_cast<std::size_t>(slot);
  if (t->locals.size() <= index) t->locals.resize(index + 1);
  return t->locals[index];
}

void localSlotFilled(int slot) { impl().current->localOrder.push_back(slot); }

LocalSlot* localSlotOf(int thread, int slot) {
  ThreadRec* t = impl().find(thread);
  auto index = static_cast<std::size_t>(slot);
  if (!t || t->locals.size() <= index) return nullptr;
  return &t->locals[index];
}

}  // namespace detail

// --- scheduler.h -------------------------------------------------------------

Scheduler& scheduler() {
  static Scheduler s;
  return s;
}

void Scheduler::runReady() {
  Impl& s = impl();
  if (s.current) {
    noteNestedEventLoop("the scheduler was run from a logical thread");
    return;
  }
  if (s.running) return;  // called again from a timer or a notifier: the outer call goes on
  s.running = true;
  struct Running {
    Impl& s;
    ~Running() { s.running = false; }
  } running{s};
  while (!s.ready.empty()) {
    int id = s.ready.front();
    s.ready.pop_front();
    ThreadRec* t = s.find(id);
    if (!t) continue;
    t->queued = false;
    if (t->state == State::Done || t->state == State::Running) continue;
    s.enter(*t, false);
    if (t->state == State::Done) s.finish(*t);
  }
}

bool Scheduler::hasReady() const { return !impl().ready.empty(); }

void Scheduler::setReadyNotifier(std::function<void()> notify) { impl().readyNotifier = std::move(notify); }

int Scheduler::liveThreads() const {
  int n = 0;
  for (const auto& [id, t] : impl().threads)
    if (t->state != State::Done) ++n;
  return n;
}

int Scheduler::startProgram(ThreadProcedure body) {
  int id = StartThread(std::move(body), 0);
  if (ThreadRec* t = impl().find(id)) t->program = true;
  return id;
}

bool Scheduler::programEnded() const { return impl().programEnded; }

int Scheduler::exitCode() const { return impl().exitCode; }

void Scheduler::endAllThreads() {
  Impl& s = impl();
  if (s.current) throw std::logic_error("endAllThreads called on a logical thread");
  s.endAll();
}

void Scheduler::reset() {
  Impl& s = impl();
  if (s.current) throw std::logic_error("the scheduler was reset from a logical thread");
  s.endAll();
  s.ready.clear();
  s.nextId = 1;
  s.timers.clear();
  s.programEnded = false;
  s.halted = false;
  s.exitCode = 0;
  s.nestedLoops = 0;
  s.switchViolations = 0;
  s.lastViolation.clear();
}

void Scheduler::setTimeSource(std::function<Centis()> now) { impl().timeSource = std::move(now); }

Scheduler::Centis Scheduler::now() const {
  const auto& source = impl().timeSource;
  return source ? source() : steadyNow();
}

int Scheduler::addTimer(Centis period, std::function<void()> fire) {
  Impl& s = impl();
  if (period < 1) period = 1;
  int id = s.nextTimerId++;
  s.timers.push_back({id, period, now() + period, std::move(fire)});
  return id;
}

void Scheduler::removeTimer(int id) {
  auto& timers = impl().timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(), [id](const Timer& t) { return t.id == id; }),
               timers.end());
}

std::optional<Scheduler::Centis> Scheduler::nextTimerDue() const {
  std::optional<Centis> due;
  for (const Timer& t : impl().timers)
    if (!due || t.due < *due) due = t.due;
  return due;
}

void Scheduler::fireDueTimers() {
  Impl& s = impl();
  Centis t = now();
  std::vector<std::pair<Centis, int>> due;
  for (const Timer& timer : s.timers)
    if (timer.due <= t) due.emplace_back(timer.due, timer.id);
  std::sort(due.begin(), due.end());
  for (const auto& [when, id] : due) {
    auto it = std::find_if(s.timers.begin(), s.timers.end(), [id = id](const Timer& x) { return x.id == id; });
    if (it == s.timers.end()) continue;  // removed by an earlier callback
    it->due += it->period;
    if (it->due <= t) it->due = t + it->period;
    std::function<void()> fire = it->fire;  // the callback may remove its timer
    fire();
  }
}

void Scheduler::noteNestedEventLoop(const char* where) {
  Impl& s = impl();
  if (!s.current) return;
  ++s.nestedLoops;
  s.lastViolation = std::string("nested event loop on logical thread ") + std::to_string(s.current->id) + ": " +
                    (where ? where : "");
}

long Scheduler::nestedLoopViolations() const { return impl().nestedLoops; }

long Scheduler::switchCheckViolations() const { return impl().switchViolations; }

long Scheduler::violations() const { return impl().nestedLoops + impl().switchViolations; }

std::string Scheduler::lastViolation() const { return impl().lastViolation; }

}  // namespace platform
