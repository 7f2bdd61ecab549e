#pragma once
// Display pictures: how a variable's value is shown on screen and how typed
// text is read back into it. Letter case carries no meaning in a picture.
//
//   strings  "s20"       at most 20 characters
//   numbers  "N$-10.2B"  '$' currency sign, '-' a leading minus is allowed,
//                        width 10 (the whole shown text), 2 places, trailing
//                        'B' shows zero as blank. Thousands are grouped with
//                        commas ("$1,234.50"). A value too wide for the width
//                        with its commas is shown without them ("$100000.00");
//                        one still too wide shows a row of '#' as wide as the
//                        picture.
//   dates    "D17"       the system's short date (from the locale)
//            "D02"/"D02B" mm/dd/yyyy, zero padded ("d02b" the same)
//            "D2B"        m/d/yyyy without leading zeros
//            "D06B"/"d06b" dd/mm/yyyy
//   times    "T7", "T07" the system's time format
//   pages    "pPage <<#p" a page number inside fixed text (reports): '#'
//                        positions always show a digit, '<' positions only
//                        when the number needs them
//
// A trailing B blanks the zero value of every kind: 0, no date, no time.
// Without B the zero value is shown as what it is ("0.00"; day 0 is
// 12/28/1800), so a date picture without B is for dates that always exist,
// such as today's. A negative number under a picture without '-' is too
// wide for it and shows the '#' mark.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types/decimal.h"
#include "platform/types/field.h"

namespace platform {

enum class PictureKind { String, Number, Date, Time, Page };

struct Picture {
  PictureKind kind = PictureKind::String;
  std::string source;  // the picture text as written
  int width = 0;       // strings: characters; numbers: shown width; pages: '#' positions
  int places = 0;      // numbers
  bool currency = false;
  bool allowMinus = false;
  bool blankZero = false;  // trailing B
  int format = 0;          // dates: 17, 2, 6 ...; times: 7
  bool leadingZeros = false;  // dates "D02", "D06"
  std::string pageBefore, pageAfter;  // pages: the fixed text around the number
  int pageWidth = 0;                  // pages: positions of '<' and '#'

  // Parses a picture; nullopt when the text is not a picture this system
  // knows.
  static std::optional<Picture> parse(std::string_view text);
  // Parses a picture that must be valid (a programming error otherwise).
  static Picture of(std::string_view text);
};

// The system's short-date and time formats. Taken from the process locale at
// start; tests set a fixed one.
struct DateTimeFormat {
  enum class Order { MDY, DMY, YMD };
  Order order = Order::MDY;
  char separator = '/';
  bool leadingZeros = false;  // "03/05/2007" rather than "3/5/2007"
  bool hour24 = false;        // "14:05:09" rather than "2:05:09 PM"
  bool hourLeadingZero = false;  // "02:05:09 PM" rather than "2:05:09 PM"
  char timeSeparator = ':';
  bool seconds = true;
  std::string am = "AM", pm = "PM";
};
// From the environment's time locale (LC_ALL, LC_TIME, LANG); the "C" and
// "POSIX" locales, and a locale that is not installed, give the US default
// above (M/d/yyyy, h:mm:ss AM). Years are always shown with four digits,
// whatever the locale's pattern.
DateTimeFormat dateTimeFormatFromLocale();
// The same from strftime patterns ("%m/%d/%Y", "%I:%M:%S %p") and the
// locale's AM and PM texts.
DateTimeFormat dateTimeFormatFromPatterns(std::string_view datePattern, std::string_view timePattern,
                                          std::string_view am, std::string_view pm);
const DateTimeFormat& systemDateTimeFormat();
void setSystemDateTimeFormat(const DateTimeFormat& f);

// Formatting. The result is UTF-8 screen text without padding; the control
// that shows it aligns it.
std::string formatDecimal(const Decimal& v, const Picture& p);
// Whether a number picture shows the value (rather than its row of '#');
// always true for the other kinds.
bool fitsPicture(const Decimal& v, const Picture& p);
std::string formatDay(std::int32_t day, const Picture& p);
std::string formatTime(std::int32_t time, const Picture& p);
std::string formatPage(int page, const Picture& p);
// Formats a variable by its picture: text fields by string pictures, numeric
// fields by number pictures, dates (DATE fields, or LONG day numbers) by date
// pictures, LONG time values by time pictures. Text under a number picture
// reads as its plain number, and as 0 when it is none (a group of check-box
// bytes, a word).
std::string format(const FieldRef& var, const Picture& p);

// Reading typed text back. On success the variable holds the new value and
// the result is empty; otherwise the variable is unchanged and the result is
// a message for the user that says what is wrong.
//   numbers  blanks around the text are ignored and blank text reads as 0; an
//            optional '$', commas between groups of three digits, a leading
//            '-' only where the picture allows it. More places than the
//            picture (or the variable) has are refused, never rounded, and
//            so is a value the picture cannot show (even without its
//            commas) or larger than the variable holds.
//   dates    the picture's order with '/', '-' or '.' (or the system
//            separator) between the parts; one or two digits for month and
//            day, four for the year (two-digit years are refused rather than
//            guessed); blank reads as no date. Impossible dates are refused,
//            and so is 12/28/1800, the day number 0 that means no date.
//   times    h[:mm[:ss]] with AM/PM (or "a"/"p"), or 0-23 hours without;
//            blank reads as no time.
//   strings  cut to the picture's width and the variable's capacity, counted
//            in characters; a character outside Latin-1 is refused, and so
//            is a zero character.
struct AcceptResult {
  bool ok = true;
  std::string message;
  explicit operator bool() const { return ok; }
};
AcceptResult accept(FieldRef& var, std::string_view typedUtf8, const Picture& p);

// Parsing without a variable (used by accept and by locators).
std::optional<Decimal> parseNumber(std::string_view typed, const Picture& p, std::string* message = nullptr);
std::optional<std::int32_t> parseDay(std::string_view typed, const Picture& p, std::string* message = nullptr);
std::optional<std::int32_t> parseTime(std::string_view typed, const Picture& p, std::string* message = nullptr);

}  // namespace platform
