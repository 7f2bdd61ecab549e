#pragma once
// The process-wide state: one copy shared by every logical thread, written
// without locking (only one logical thread runs at a time, so the last
// writer wins).
//
// Each global variable has storage of its own for the life of the process;
// its function gives a field reference to that storage, which windows bind
// their controls to and code reads and writes through:
//
//   app::G_CASENUMBER().setText(caseNumber);
//   control.bind(app::G_N(), "N$-17.2B");

#include <cstdint>

#include "platform/lib/ini_mgr.h"
#include "platform/types/field.h"

namespace app {

// STRING(20), blank-filled by ProgramGlobalsSetup.
platform::FieldRef G_CASENUMBER();  // the case chosen for printing
platform::FieldRef G_PASS();        // the password typed in the gate

// The worksheet column totals: zero at start, nothing sets them then.
// Hours, DECIMAL(7,1):
platform::FieldRef G_A();
platform::FieldRef G_B();
platform::FieldRef G_C();
platform::FieldRef G_D();
platform::FieldRef G_E();
platform::FieldRef G_F();
platform::FieldRef G_G();
platform::FieldRef G_H();
platform::FieldRef G_I();
platform::FieldRef G_J();
platform::FieldRef G_K();
platform::FieldRef G_L();
platform::FieldRef G_M();
// Amounts, DECIMAL(11,2):
platform::FieldRef G_N();
platform::FieldRef G_O();
platform::FieldRef G_MEALS();
platform::FieldRef G_LODGING();
platform::FieldRef G_COPYING();
platform::FieldRef G_POSTAGE();
platform::FieldRef G_TOLLCALLS();
platform::FieldRef G_TELEGRAMS();
platform::FieldRef G_OTHER();

// Whether the desktop's full-window dragging was on when the program
// started (1) or not (0); read by ProgramBody.
extern std::int32_t FullDragWasOn;

// The one settings-file manager of the process, built by
// ProgramGlobalsSetup and destroyed by ProgramGlobalsShutdown. Throws
// std::logic_error while it does not exist.
platform::IniMgr& SettingsManager();
bool settingsManagerExists();

}  // namespace app
