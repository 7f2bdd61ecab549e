#pragma once
// The scheduler of the logical threads (thread.h), as the code that drives
// the program sees it: the headless driver's loop in tests, the toolkit's
// event loop on the desktop. Both call it from the OS main thread, outside
// every logical thread.
//
// Only the scheduler resumes a thread, and only one that was queued (by
// START, or by wakeThread when something it waits for happened). Input from
// the user only queues events; after feeding input, the loop calls
// runReady(), which resumes the queued threads one after another until none
// is queued. A thread runs until it waits again (or ends).
//
// Timers: the scheduler keeps periodic timers in hundredths of a second on a
// replaceable time source, so tests can run on a virtual clock. The loop
// asks nextTimerDue() and calls fireDueTimers() when the time has come.
//
// Checks: the scheduler counts design violations, so tests can fail on
// them: a nested event loop entered on a logical thread (reported by the
// toolkit adapter through noteNestedEventLoop, or a call of runReady from a
// logical thread), and every switch made while a switch check
// (platform/types/switch_check.h) reports something held open.

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "platform/fiber/thread.h"

namespace platform {

class Scheduler {
 public:
  using Centis = std::int64_t;  // hundredths of a second

  // --- running threads ---

  // Resumes queued threads until none is queued. A thread that ended by an
  // exception other than the two that end threads (a fault of its code) has
  // its exception rethrown here, after the thread has ended. Called on a
  // logical thread it does nothing but count a nested-loop violation.
  void runReady();
  bool hasReady() const;
  // Called whenever a thread is queued while the scheduler is not running,
  // so an event loop can schedule a call of runReady(). Empty: no call.
  void setReadyNotifier(std::function<void()> notify);

  // Number of threads that exist and have not ended.
  int liveThreads() const;

  // --- the program ---

  // Starts the program's first thread (normally thread 1) with `body`. When
  // it ends, the program ends: every other thread is ended (forced unwind)
  // and programEnded() turns true with exit code 0. Returns the thread's
  // number, 0 on failure.
  int startProgram(ThreadProcedure body);
  // A ProgramHalt reaching the top of any thread also ends the program:
  // every other thread is ended and the halt's code becomes the exit code.
  bool programEnded() const;
  int exitCode() const;

  // Ends every logical thread (forced unwind: their stacks unwind, their
  // destructors and fiber-local values run, their end hooks do not).
  // Called outside every logical thread.
  void endAllThreads();

  // For tests: ends every thread and forgets all state (threads, numbering,
  // queue, timers, counters, program state) except the hooks and the time
  // source.
  void reset();

  // --- timers ---

  // The time source, in hundredths of a second; empty restores the system's
  // steady clock.
  void setTimeSource(std::function<Centis()> now);
  Centis now() const;
  // A periodic timer; `fire` runs on the scheduler's stack (it should only
  // queue work, as an input handler does). Returns an id for removeTimer.
  int addTimer(Centis period, std::function<void()> fire);
  void removeTimer(int id);
  std::optional<Centis> nextTimerDue() const;
  // Fires every timer whose time has come, earliest first, each at most
  // once per call; a timer that fell behind skips the missed periods.
  void fireDueTimers();

  // --- design checks ---

  // The toolkit adapter calls this when its event loop is entered, or it
  // blocks, while a logical thread is running. Counted only then.
  void noteNestedEventLoop(const char* where);
  long nestedLoopViolations() const;
  long switchCheckViolations() const;
  // Sum of both counters, and a description of the most recent violation.
  long violations() const;
  std::string lastViolation() const;
};

Scheduler& scheduler();

}  // namespace platform
