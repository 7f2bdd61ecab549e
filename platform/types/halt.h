#pragma once
// Ending the program early (a wrong password, a fatal file error). The halt
// runs the registered halt actions (newest first), then throws ProgramHalt.
// The logical-thread scheduler catches it, ends every logical thread and
// makes the process exit with the given code. Code that catches everything
// (`catch (...)`) must rethrow ProgramHalt.

#include <functional>

namespace platform {

struct ProgramHalt {
  int exitCode;
};

// Exit codes of the program.
constexpr int ExitNormal = 0;
constexpr int ExitFatalError = 3;  // a fatal message of the error manager
constexpr int ExitWrongPassword = 9;

[[noreturn]] void haltProgram(int exitCode);

// Registers an action to run on every halt (for example restoring a system
// setting the program changed). Returns an id for removeHaltAction.
int addHaltAction(std::function<void()> action);
void removeHaltAction(int id);

}  // namespace platform
