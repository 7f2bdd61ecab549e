#pragma once
// A laid-out page: what the report engine (report.h) makes and what the
// preview, the printer and the tests read. A page is a list of items, each
// with the name of the control it comes from, its final text, its font,
// its rectangle on the sheet and a few flags. Items are in painting order:
// the form band first (behind everything), then the header, the body bands
// and the footer.
//
// Measures are thousandths of an inch from the sheet's top-left corner;
// US Letter is 8500 by 11000 (portrait) or 11000 by 8500 (landscape).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/style.h"

namespace platform::report {

// The sheet, and the printable area: the sheet less Margin on each side.
inline constexpr int LetterShort = 8500;
inline constexpr int LetterLong = 11000;
inline constexpr int Margin = 250;

inline constexpr Color Black = rgb(0, 0, 0);
inline constexpr Color White = rgb(0xFF, 0xFF, 0xFF);

// A face as the report descriptions name it (platform/qt/fonts.h finds the
// installed family), in whole points.
struct ReportFont {
  std::string face = "Arial";
  int size = 8;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const ReportFont&, const ReportFont&) = default;
};

enum class ItemKind : std::uint8_t {
  Text,      // `text`, one line or several separated by '\n'
  Box,       // outlined in `color` (unless NoColor), filled with `fill`
  Line,      // from the rectangle's top-left to its bottom-right corner
  Check,     // a check box with `text` beside it; `checked`
  Radio,     // a radio button with `text` beside it; `checked`
  GroupBox,  // the frame of an option group with its caption `text`
  Image,     // the picture file `text`
};

enum class ItemAlign : std::uint8_t { Left, Right, Center };

struct PageItem {
  ItemKind kind = ItemKind::Text;
  std::string name;  // the control's name: "?HOU:ARRAIGNMENTPLEA:2"
  std::string text;  // UTF-8
  ReportFont font;
  Rect rect;  // thousandths of an inch on the sheet
  Color color = Black;   // text, outline and line colour
  Color fill = NoColor;  // background of a text, inside of a box
  ItemAlign align = ItemAlign::Left;
  int angle = 0;  // tenths of a degree: 900 writes upwards
  int pen = 10;   // width of outlines and lines
  bool checked = false;
  bool rounded = false;
  friend bool operator==(const PageItem&, const PageItem&) = default;
};

// A check box's or radio's mark: a square (circle) this wide at the left
// of its rectangle (less when the rectangle is lower), its text after the
// gap.
inline constexpr int MarkSize = 120;
inline constexpr int MarkGap = 50;
inline int markSize(const Rect& r) { return r.height < MarkSize ? (r.height > 0 ? r.height : 0) : MarkSize; }

struct Page {
  int number = 0;  // from 1 in each run
  int width = LetterShort, height = LetterLong;
  std::vector<PageItem> items;

  // The first item with this name; nullptr when there is none.
  const PageItem* find(std::string_view name) const;
  // Every item with this name, in painting order.
  std::vector<const PageItem*> all(std::string_view name) const;
  // The text of the first item with this name; empty when there is none.
  std::string text(std::string_view name) const;
  // The printable area of the page's sheet.
  Rect printable() const { return {Margin, Margin, width - 2 * Margin, height - 2 * Margin}; }
};

}  // namespace platform::report
