#pragma once
// A window's placement in the settings file: a section named after its
// procedure with the entries "Maximize" and "Minimize" ("Yes" or "No"),
// "XPos", "YPos", "Width" and "Height" (decimal numbers, in the units of the
// window descriptions).
//
// Restoring:
//   - unless "Maximize" reads "Yes" or "No" nothing is restored (a window
//     never closed before opens as designed);
//   - "No" takes a maximized window out of the maximized state;
//   - "XPos" and "YPos" set the position, "Width" and "Height" the size of a
//     window the user can resize; an entry that is missing or not a number
//     leaves that part as designed, and the size never goes below the
//     window's minimum size;
//   - "Yes" maximizes the window;
//   - "Minimize" is not restored: a window closed minimized reopens in its
//     normal or maximized state.
// Saving writes "Maximize" and "Minimize"; the position only while the window
// is neither maximized nor minimized, and the size only then and only for a
// window the user can resize; each of the four entries not written is
// removed, so it cannot bring back an old value.

#include <string_view>

#include "platform/lib/ini_mgr.h"
#include "platform/ui/window.h"

namespace app {

void RestorePlacement(platform::Window& window, platform::IniMgr& settings, std::string_view section);
void SavePlacement(const platform::Window& window, platform::IniMgr& settings, std::string_view section);

}  // namespace app
