#pragma once
// Shorthand for the window descriptions of the program's own windows.

#include <string>
#include <utility>

#include "platform/ui/control.h"

namespace app {

inline platform::ControlSpec Describe(int number, platform::ControlKind kind, platform::Rect rect,
                                      std::string text = {}) {
  platform::ControlSpec s;
  s.number = number;
  s.kind = kind;
  s.rect = rect;
  s.text = std::move(text);
  return s;
}

// The program's icon, shown by its windows.
inline constexpr const char* ProgramIcon = "docs black.ico";

}  // namespace app
