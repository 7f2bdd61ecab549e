#pragma once
// The progress window of a report run: 142 by 59 dialog units, centred,
// grey, with a double frame and no system menu, titled with the report's
// caption ("Report HOURLY"). Its four controls, the same in every report:
//
//   ProgressThermometer  ?PROGRESS:THERMOMETER  progress bar 0..100, bound
//                                               to the percentage byte
//   ProgressUserString   ?PROGRESS:USERSTRING   centred text line
//   ProgressPctText      ?PROGRESS:PCTTEXT      centred text line: "45% Complete"
//   ProgressCancel       ?PROGRESS:CANCEL       flat button "Cancel", status
//                                               text and tip "Cancel Report"

#include <cstdint>
#include <string>

#include "platform/types/field.h"
#include "platform/ui/window.h"

namespace platform::report {

inline constexpr int ProgressThermometer = 1;
inline constexpr int ProgressUserString = 2;
inline constexpr int ProgressPctText = 3;
inline constexpr int ProgressCancel = 4;

// The timer of the progress window, in hundredths of a second.
inline constexpr int ProgressTimer = 10;

WindowSpec ProgressWindowSpec(std::string caption);
// Adds the four controls, the thermometer bound to `percent` (a BYTE).
void AddProgressControls(Window& window, FieldRef percent);

}  // namespace platform::report
