#pragma once
// Program start-up, threads and shutdown.
//
// StartProgram registers the per-thread set-up and tear-down as the
// scheduler's thread hooks and starts the program's first thread, on which
// they run as on every other thread:
//
//   first thread: ProgramThreadFiles, ProgramGlobalsSetup,
//                 ProgramThreadSetup, ProgramBody(frame),
//                 ProgramThreadShutdown, ProgramGlobalsShutdown
//   other thread: ProgramThreadFiles, ProgramThreadSetup, its procedure,
//                 ProgramThreadShutdown
//
// The caller's loop then drives the scheduler until programEnded() (the
// headless driver's settle() in tests, the toolkit's event loop on the
// desktop) and ends the process with exitCode():
//
//   app::StartProgram(Main);
//   ... run the loop until platform::scheduler().programEnded() ...
//   return platform::scheduler().exitCode();
//
// A thread ended by a program halt, or from outside, runs no tear-down
// steps: its fiber-local state is destroyed as it unwinds.
//
// Full-window dragging: ProgramBody switches it off when it read as on and
// switches it back on when the program ends, also when it ends by a halt
// (the password gate, a fatal message) or a fault.
//
// The frame closing: the application frame's window closes only when the
// windows of every other thread have been closed through their normal close
// path (CloseOtherThreads, called by the frame's close handler); a window
// that refuses keeps the frame open. Once the frame procedure has returned,
// ProgramBody waits for every other thread to end before it restores the
// dragging setting and shuts the settings-file manager down.

#include <cstddef>
#include <functional>
#include <vector>

#include "platform/fiber/thread.h"

namespace app {

// The frame procedure that ProgramBody runs (the frame `Main`).
using FrameProcedure = std::function<void()>;

// The settings file every window keeps its placement in.
inline constexpr const char* SettingsFileName = "LANVIK.INI";

// Starts the program on the scheduler; answers the first thread's number,
// 0 when it could not be started. One program at a time.
int StartProgram(FrameProcedure frame);

// The same program as the procedure of a first thread that the caller's
// loop starts itself (Scheduler::startProgram, as the desktop's loop does):
// the thread makes itself the program's first thread and runs the steps
// above. One program at a time.
platform::ThreadProcedure ProgramThread(FrameProcedure frame);

// The steps, public for the hooks and for tests; they run on the thread
// concerned.
void ProgramThreadFiles();
void ProgramGlobalsSetup();
void ProgramThreadSetup();
void ProgramBody(const FrameProcedure& frame);
void ProgramThreadShutdown();
void ProgramGlobalsShutdown();

// START: runs `procedure` on a new thread, which gets the set-up above
// before the procedure runs; the stack size is raised to 20000 bytes when
// smaller, and recorded. The caller goes on at once. Answers the new
// thread's number, 0 when no thread could be created. The thread counts as
// one of the program's threads from this moment (programThreads), so the
// program's end waits for it even before it has run.
int StartThread(platform::ThreadProcedure procedure, std::size_t stackSize);

// The threads of the program that have not ended, the first one included,
// in the order they were started.
std::vector<int> programThreads();

// Asks the windows of every other thread of the program to close through
// their normal close path (platform/lib/thread_closing.h). True when every
// other thread has ended; false when a window refused, the program then
// goes on as it was. Called on the frame's thread.
bool CloseOtherThreads();

}  // namespace app
