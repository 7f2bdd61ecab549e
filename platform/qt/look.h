#pragma once
// How the window model's measures and looks become Qt's: dialog units,
// colours, fonts and cursors.

#include <QColor>
#include <QFont>
#include <QRect>

#include "platform/ui/style.h"

namespace platform::qt {

// Dialog units: every position and size of a window description is in
// these. The rule is the one of the descriptions' own platform: from the
// window's font, a horizontal unit is a quarter of the average width of the
// letters A-Z and a-z, a vertical unit an eighth of the font's height:
//   x pixels = du * baseX / 4,   y pixels = du * baseY / 8   (rounded).
struct DialogUnits {
  int baseX = 6;   // average letter width in pixels
  int baseY = 13;  // font height in pixels

  static DialogUnits of(const QFont& font);

  int toX(int du) const;
  int toY(int du) const;
  int fromX(int px) const;
  int fromY(int px) const;
  QRect toPixels(const Rect& r) const;
  QSize toPixels(int width, int height) const { return {toX(width), toY(height)}; }
};

// 0x00BBGGRR to a colour; NoColor gives an invalid QColor (no colour of
// its own). A value with the top bit set names a system colour by the index
// in its low 16 bits; an index that names none paints black.
QColor toQColor(Color c);

// The model's font over a base font: an empty face or a zero size keeps the
// base's; faces go through the font table (fonts.h).
QFont toQFont(const Font& f, const QFont& base);
// A window's own font: its description's face and size, or the defaults.
QFont windowFont(const Font& f);

// "&Save" as a label shows it: single ampersands dropped, "&&" kept as one.
QString withoutMnemonics(const QString& text);

}  // namespace platform::qt
