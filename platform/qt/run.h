#pragma once
// Runs the program on the desktop: main() calls runDesktop with the
// program body, which runs on logical thread 1; the result is the
// program's exit code.
//
//   int main(int argc, char** argv) { return platform::qt::runDesktop(argc, argv, ProgramBody); }

#include "platform/fiber/thread.h"

namespace platform::qt {

// Makes the application object, then runs runDesktopLoop.
int runDesktop(int& argc, char** argv, ThreadProcedure body);

// With an application object that exists: mirrors the windows on the
// desktop, starts the program's first thread with `body`, runs Qt's event
// loop until the program has ended, ends the threads still running and
// returns the program's exit code.
int runDesktopLoop(ThreadProcedure body);

}  // namespace platform::qt
