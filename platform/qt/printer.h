#pragma once
// The printer the program prints to: one for the process, chosen in the
// printer set-up dialog and used by the report engine.

class QPrinter;

namespace platform::qt {

// Made on first use; deleted when the application object goes.
QPrinter& sharedPrinter();

}  // namespace platform::qt
