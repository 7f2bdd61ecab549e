#pragma once
// A report's description as data: its sheet, its bands and the controls on
// them, each bound to what it prints. report.h lays pages out from it.
//
// Measures are thousandths of an inch. The header, footer and form bands
// stand where their rectangle puts them on the sheet; the bands of the body
// (the detail bands and the group footers) stack from the top of the body
// area, each as high as its rectangle says (0 is allowed: such a band prints
// nothing but still counts as printed). Controls stand within their band:
// their rectangle is relative to the band's top-left corner.
//
//   Band detail = BodyBand("?DETAIL", 250);          // 250 high
//   detail.Add(Field("?HOU:DATE", {50, 0, 900, 200}, View(HOU_DATE), "D02B"));
//   detail.Add(Field("?HOU:TRIAL", {4000, 0, 700, 200}, View(HOU_TRIAL), "N-7.1B").Right());
//   detail.Add(Field("?HOU:BRIEFDESCRIPTIONSERVICES", {1000, 0, 2900, 250},
//                    View(HOU_BRIEFDESCRIPTIONSERVICES)).Grows());
//   detail.Add(Line("?DETAILENDLINE", {0, 250, 10500, 0}).Anchored(Anchor::Bottom));
//   spec.details.push_back(detail);
//
// (View is the report shape's field of the run's own record,
// reports/report_shape.h.)
//
// Kinds of controls (the builders below):
//   Text        static text (a label, a stamp whose text the run replaces)
//   Field       a bound value through its display picture; a text field may
//               go without a picture. Record bytes print through one
//               conversion (report_text.h): a control byte prints as a blank
//   Total       the exact decimal sum of a field, added at every PRINT of
//               the detail band (or the band `totalOf` names), shown through
//               its picture and reset never, after each group or after each
//               page (Reset)
//   PageNumber  the page number through a page picture ("pPage <<#p"),
//               counted from 1 in each run
//   CheckBox    ticked when its BYTE field is not 0, with its text beside it
//   Option      an option group on a field with its radios; the radio whose
//               text equals the field's text (trailing blanks ignored, the
//               radio's text cut to what the field holds) or, for radios
//               given a value, whose value equals the field's number, prints
//               chosen. A hidden radio never prints, chosen or not
//   Box         outlined, filled, rounded
//   Line        a rule: horizontal (height 0) or vertical (width 0)
//   Image       a picture file; one without a file prints nothing
// Modifiers set the font, the alignment (left, right, centred, or on the
// decimal point), the colours (a black bar with white text is a Text with
// Fill(Black) and Colour(White)), vertical text, and for multi-line texts
// whether they wrap within their width, and grow the band to hold all of
// their text or are cut at their box. A single-line text wider than its box
// is cut at the box; a number, date or time that does not fit prints as
// '#' (cut, it would read as another value).
//
// A band grows by as much as its tallest growing text needs; its other
// controls stay where they are, move down with the band's bottom
// (Anchor::Bottom: the rule under a line) or stretch with it
// (Anchor::Stretch: the column rules of a line).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/report/page.h"
#include "platform/types/field.h"
#include "platform/ui/style.h"

namespace platform::report {

enum class Orientation : std::uint8_t { Portrait, Landscape };

enum class ElementKind : std::uint8_t { Text, Field, Total, PageNumber, CheckBox, Option, Box, Line, Image };

enum class Align : std::uint8_t { Left, Right, Center, Decimal };

// How a control follows its band when the band grows.
enum class Anchor : std::uint8_t { Top, Bottom, Stretch };

// When a total starts again from zero.
enum class Reset : std::uint8_t { Never, Group, Page };

// A radio of an option group, placed within the group's band.
struct Radio {
  std::string name;
  Rect rect;
  std::string text;
  std::optional<std::int64_t> value;  // chosen by value; otherwise by its text
  bool hidden = false;
};

struct Element {
  ElementKind kind = ElementKind::Text;
  std::string name;  // the control's name, which its page items carry
  Rect rect;
  std::string text;     // static text, caption, check-box text, picture file
  FieldRef field;       // what a Field, Total, CheckBox or Option shows
  std::string picture;  // display picture of Field, Total and PageNumber
  std::optional<ReportFont> font;  // the report's font when not given
  bool bold = false;               // bold and underlined in either font
  bool underline = false;
  Color color = Black;
  Color fill = NoColor;
  Align align = Align::Left;
  int decimalOffset = -1;  // Decimal: the point's distance from the right edge; -1 from the picture
  int angle = 0;
  bool multiLine = false;
  bool grow = false;
  bool hidden = false;
  Anchor anchor = Anchor::Top;
  int pen = 10;
  bool rounded = false;
  bool boxed = true;  // Option: the group's frame and caption print
  Reset reset = Reset::Never;
  std::string totalOf = "?DETAIL";  // Total: the band whose PRINT adds to it
  std::vector<Radio> radios;        // Option

  // --- modifiers ---
  Element& Font(ReportFont f) { font = std::move(f); return *this; }
  Element& Bold() { bold = true; return *this; }
  Element& Underline() { underline = true; return *this; }
  Element& Left() { align = Align::Left; return *this; }
  Element& Right() { align = Align::Right; return *this; }
  Element& Center() { align = Align::Center; return *this; }
  // On the decimal point, which stands `offset` from the right edge (by
  // default as far as the picture's places and the point need).
  Element& AlignDecimal(int offset = -1) { align = Align::Decimal; decimalOffset = offset; return *this; }
  Element& Colour(Color c) { color = c; return *this; }
  Element& Fill(Color c) { fill = c; return *this; }
  Element& Vertical() { angle = 900; return *this; }
  Element& MultiLine() { multiLine = true; return *this; }
  Element& Grows() { multiLine = true; grow = true; return *this; }
  Element& Hidden(bool on = true) { hidden = on; return *this; }
  Element& Anchored(Anchor a) { anchor = a; return *this; }
  Element& Pen(int width) { pen = width; return *this; }
  Element& Rounded() { rounded = true; return *this; }
  Element& Unboxed() { boxed = false; return *this; }
  Element& TotalOf(std::string band) { totalOf = std::move(band); return *this; }
};

Element Text(std::string name, Rect rect, std::string text);
Element Field(std::string name, Rect rect, FieldRef field, std::string picture = {});
Element Total(std::string name, Rect rect, FieldRef field, std::string picture, Reset reset = Reset::Never);
Element PageNumber(std::string name, Rect rect, std::string picture);
Element CheckBox(std::string name, Rect rect, std::string text, FieldRef field);
Element Option(std::string name, Rect rect, std::string caption, FieldRef field, std::vector<Radio> radios);
// Outlined in black, not filled; Fill() fills it, Colour(NoColor) drops the outline.
Element Box(std::string name, Rect rect);
Element Line(std::string name, Rect rect);
Element Image(std::string name, Rect rect, std::string file = {});

struct Band {
  std::string name;
  Rect rect;
  std::vector<Element> elements;

  Band& Add(Element e) {
    elements.push_back(std::move(e));
    return *this;
  }
};

// A band of the body: a detail band, or a group's footer.
Band BodyBand(std::string name, int height);

// A group break on a field: the group opens with the first detail band
// printed and closes, printing its footer, when the field's value changes
// at a PRINT of a detail band, and at the end of the run. Text compares as
// keys compare (letter case and trailing blanks do not count), numbers and
// dates by value.
struct Group {
  std::string name;
  FieldRef by;
  Band footer;
};

struct ReportSpec {
  Orientation orientation = Orientation::Portrait;
  ReportFont font;  // the font of controls that name none
  std::optional<Band> header, footer, form;
  Rect body;  // where the body bands stack, on the sheet
  std::vector<Band> details;
  std::vector<Group> groups;  // the outermost first
};

}  // namespace platform::report
