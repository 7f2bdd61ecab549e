#pragma once
// The faces that windows and reports name, and the installed families that
// stand in for them. One table for the desktop and for printing, so a
// report and the window it comes from use the same type.

#include <span>
#include <string>
#include <string_view>

namespace platform::qt {

struct FontSubstitute {
  const char* face;    // as the descriptions name it
  const char* family;  // installed, with the same (or close) metrics
};

// Every substitution, in the order they are tried.
std::span<const FontSubstitute> fontSubstitutes();

// The family to use for `face` (matched ignoring case); a face the table
// does not know is used as it is.
std::string installedFamily(std::string_view face);

// The face of a window that names none, and its size in points.
inline constexpr const char* DefaultFace = "MS Sans Serif";
inline constexpr int DefaultPointSize = 8;

}  // namespace platform::qt
