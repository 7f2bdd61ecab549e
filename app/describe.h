#pragma once
// Shorthand for the window descriptions of the program's own windows.

#include <string>
#include <utility>

#include "platform/ui/control.h"
#include "platform/ui/window.h"

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

// A centred window of its own with a system menu, the program's icon and the
// dialogs' font: the password, about and help windows.
inline platform::WindowSpec DescribeOwnWindow(std::string caption, platform::Rect rect) {
  platform::WindowSpec s;
  s.kind = platform::WindowKind::Own;
  s.caption = std::move(caption);
  s.rect = rect;
  s.centred = true;
  s.systemMenu = true;
  s.icon = ProgramIcon;
  s.font = {"MS Sans Serif", 8};
  return s;
}

}  // namespace app
