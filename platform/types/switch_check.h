#pragma once
// Checks that run before every switch between logical threads. All logical
// threads share one OS thread, so a resource held open across a switch (a
// database transaction, an unfinished statement) would block the others.
// Each layer that owns such resources registers a check; the scheduler runs
// them before it switches and counts every violation.

namespace platform {

// Returns nullptr when nothing is held open, otherwise a short description
// of what is.
using SwitchCheck = const char* (*)();

void addSwitchCheck(SwitchCheck check);
// Runs every registered check; returns the first description, or nullptr.
const char* runSwitchChecks();

}  // namespace platform
