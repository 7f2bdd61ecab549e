#pragma once
// Logical threads.
//
// A window procedure can run on a logical thread of its own (START). Every
// logical thread is a fiber on the one GUI thread of the process; only one of
// them runs at a time, and a thread gives way only where it waits (for the
// next event of a window, for a message box to be answered, for other
// threads to end). So process-wide variables need no lock: the last writer
// wins, and no two threads ever touch them at the same moment.
//
// The program's first thread (thread 1, running the program body and the
// frame) is a logical thread like the others; the OS main thread runs the
// scheduler (scheduler.h), which alone resumes threads.
//
// Rules for code that runs on a logical thread:
//   - never run a nested event loop (the scheduler counts violations);
//   - hold no database transaction across a wait (the switch checks of
//     platform/types/switch_check.h count violations);
//   - a `catch (...)` block must let the two exceptions that end a thread
//     pass: the fiber library's forced unwind (a thread ended from outside)
//     and platform::ProgramHalt. Start such a block with
//     platform::rethrowThreadExit(), or catch those two types first.
//
// Everything here must be called on the GUI thread.

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <span>

namespace platform {

using ThreadProcedure = std::function<void()>;

// START raises a requested stack size below this to it, and records it.
constexpr std::size_t MinThreadStack = 20000;
// Every logical thread really gets a guarded stack of at least this size,
// whatever was requested.
constexpr std::size_t ThreadStackFloor = 256 * 1024;

// START: runs `procedure` on a new logical thread. The thread runs the start
// hooks, the procedure and then the end hooks, and ends when the procedure
// returns. Returns the new thread's number (the first thread is 1; numbers
// are not reused) or 0 when no thread could be created (no memory for its
// stack, a stack beyond what the stack allocator gives, or the program is
// ending). The caller goes on at once: the new thread is created and queued,
// and runs as soon as the calling thread waits.
int StartThread(ThreadProcedure procedure, std::size_t stackSize);

// The number of the logical thread running now; 0 on the scheduler's own
// stack (outside every logical thread).
int currentThread();

// The stack size recorded for a thread (the size given to START, raised to
// MinThreadStack); 0 for a thread that does not exist (any more).
std::size_t threadStackSize(int thread);

// Whether the thread exists and has not ended.
bool threadAlive(int thread);

// Waits on the calling logical thread until every one of `threads` has
// ended. Threads that do not exist count as ended. Throws std::logic_error
// outside a logical thread or when a thread would wait for itself.
void joinThreads(std::span<const int> threads);
inline void joinThreads(std::initializer_list<int> threads) {
  joinThreads(std::span<const int>(threads.begin(), threads.size()));
}

// The low-level wait: suspends the calling logical thread until some code
// calls wakeThread() for it. A wake only queues the thread; the scheduler
// resumes it. Waiters must check their condition again after waking (a
// wake can come for another reason). Throws std::logic_error outside a
// logical thread.
void waitForWake();
// Queues a waiting thread to be resumed by the scheduler. Does nothing for a
// thread that is running, already queued, or does not exist.
void wakeThread(int thread);

// Per-thread set-up and tear-down of the system. Start hooks run on every
// new thread before its procedure, end hooks after the procedure has
// returned, each list in the order of registration. End hooks do not run
// when a thread is ended from outside or by a program halt (its fiber-local
// values are still destroyed). Returns an id for removeThreadHook.
int addThreadStartHook(std::function<void()> hook);
int addThreadEndHook(std::function<void()> hook);
void removeThreadHook(int id);

// For the start of a `catch (...)` block: rethrows the current exception
// when it is one that ends the thread (the fiber library's forced unwind or
// ProgramHalt), and returns for every other exception. Only valid inside a
// handler.
void rethrowThreadExit();

}  // namespace platform
