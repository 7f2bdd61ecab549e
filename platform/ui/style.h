#pragma once
// Geometry and look of windows and controls.

#include <cstdint>
#include <string>

namespace platform {

// Positions and sizes are in the dialog units of the window descriptions.
struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Colours are 0x00BBGGRR: 270F71h is red 71h, green 0Fh, blue 27h. NoColor
// (-1) means none: the control's or window's own colour.
using Color = std::int32_t;
constexpr Color NoColor = -1;
constexpr Color rgb(int red, int green, int blue) { return Color(red | (green << 8) | (blue << 16)); }
constexpr int redOf(Color c) { return c & 0xFF; }
constexpr int greenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(Color c) { return (c >> 16) & 0xFF; }
static_assert(rgb(0x71, 0x0F, 0x27) == 0x270F71);

enum class Justify : std::uint8_t { Left, Right, Center };

struct Font {
  std::string face;  // empty: the window's font
  int size = 0;      // points; 0: the window's size
  bool bold = false;
  bool italic = false;
  int angle = 0;  // tenths of a degree: 900 writes upwards
  friend bool operator==(const Font&, const Font&) = default;
};

enum class CursorShape : std::uint8_t { Default, Arrow, Hand, IBeam, Wait, Cross };

}  // namespace platform
