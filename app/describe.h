#pragma once
// The look the program's own windows share; their controls are written
// with the window model's vocabulary (platform/ui/describe.h).

#include <string>
#include <utility>

#include "platform/ui/window.h"

namespace app {

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
