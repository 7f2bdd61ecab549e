#include "platform/types/picture.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/types/clock.h"
#include "platform/types/daynum.h"
#include "platform/types/latin1.h"
#include "platform/types/number_text.h"

namespace platform {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Reads a run of digits at s[i] as a number; false when there is none or it
// is implausibly long for a picture.
bool readNumber(std::string_view s, std::size_t& i, int& out, std::size_t* count = nullptr) {
  const std::size_t start = i;
  int v = 0;
  while (i < s.size() && isDigit(s[i]) && i - start < 6) v = v * 10 + (s[i++] - '0');
  if (i == start || (i < s.size() && isDigit(s[i]))) return false;
  out = v;
  if (count) *count = i - start;
  return true;
}

std::string hashes(int width) { return std::string(static_cast<std::size_t>(width > 0 ? width : 0), '#'); }

std::string twoDigits(int v) { return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10); }

std::string yearText(int year) {
  std::string y = std::to_string(year < 0 ? -year : year);
  if (y.size() < 4) y.insert(0, 4 - y.size(), '0');
  return year < 0 ? "-" + y : y;
}

// --- dates -----------------------------------------------------------------

struct DateShape {
  DateTimeFormat::Order order;
  char separator;
  bool leadingZeros;
};

DateShape dateShape(const Picture& p) {
  if (p.format == 17) {
    const DateTimeFormat& f = systemDateTimeFormat();
    return {f.order, f.separator, f.leadingZeros};
  }
  if (p.format == 6) return {DateTimeFormat::Order::DMY, '/', p.leadingZeros};
  return {DateTimeFormat::Order::MDY, '/', p.leadingZeros};
}

std::string shapeHint(const DateShape& s) {
  const std::string sep(1, s.separator);
  switch (s.order) {
    case DateTimeFormat::Order::MDY: return "mm" + sep + "dd" + sep + "yyyy";
    case DateTimeFormat::Order::DMY: return "dd" + sep + "mm" + sep + "yyyy";
    case DateTimeFormat::Order::YMD: return "yyyy" + sep + "mm" + sep + "dd";
  }
  return {};
}

const char* const MonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};

// --- times -----------------------------------------------------------------

std::string timeHint(const DateTimeFormat& f) {
  const std::string sep(1, f.timeSeparator);
  std::string h = f.hour24 ? "hh" + sep + "mm" : "h" + sep + "mm";
  if (f.seconds) h += sep + "ss";
  if (!f.hour24) h += " " + f.am;
  return h;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  if (prefix.empty() || s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (lower(s[i]) != lower(prefix[i])) return false;
  return true;
}

// --- numbers ---------------------------------------------------------------

// Shown width of a value with `intDigits` integer digits under a number
// picture, at its narrowest: without thousands separators, which a value
// too wide for the picture drops before it is marked.
int shownWidth(const Picture& p, int intDigits, bool negative) {
  if (intDigits < 1) intDigits = 1;
  return (p.currency ? 1 : 0) + (negative ? 1 : 0) + intDigits + (p.places > 0 ? p.places + 1 : 0);
}

// The largest (or, for `negative`, the smallest) value a number picture
// shows, as text; empty when the picture cannot show such a value at all.
std::string pictureLimit(const Picture& p, bool negative) {
  int k = 0;
  while (k < Decimal::MaxDigits && shownWidth(p, k + 1, negative) <= p.width) ++k;
  if (k == 0) return {};
  Picture plain = p;
  plain.currency = false;
  plain.blankZero = false;
  plain.allowMinus = true;
  plain.width = Decimal::MaxDigits * 2;
  const Decimal::Int nines = detail::pow10(k + p.places) - 1;
  return formatDecimal(Decimal::fromParts(negative ? -nines : nines, p.places), plain);
}

std::string placesMessage(int places) {
  if (places == 0) return "Type a whole number here, with no digits after the decimal point.";
  return "Type at most " + std::to_string(places) + (places == 1 ? " digit" : " digits") +
         " after the decimal point here.";
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

void setMessage(std::string* message, std::string text) {
  if (message) *message = std::move(text);
}

AcceptResult refused(std::string message) { return AcceptResult{false, std::move(message)}; }

// Stores a number that was read from typed text, refusing what the variable
// cannot hold exactly.
AcceptResult storeNumber(FieldRef& var, const Decimal& v) {
  switch (var.type()) {
    case FieldType::Decimal:
      if (v.rounded(var.places()) != v) return refused(placesMessage(var.places()));
      if (!fits(v, var.digits(), var.places())) {
        const std::string max = detail::maxOfField(var.digits(), var.places());
        return refused("The number is too large for this field, which holds numbers from -" + max + " to " + max +
                       ".");
      }
      var.setDecimal(v);
      return {};
    case FieldType::Byte:
      if (v.rounded(0) != v) return refused(placesMessage(0));
      if (v < Decimal() || v > Decimal::fromInt(255)) return refused("Type a whole number from 0 to 255 here.");
      var.setDecimal(v);
      return {};
    case FieldType::Long:
    case FieldType::Date:
      if (v.rounded(0) != v) return refused(placesMessage(0));
      if (v < Decimal::fromInt(std::numeric_limits<std::int32_t>::min()) ||
          v > Decimal::fromInt(std::numeric_limits<std::int32_t>::max()))
        return refused("The number is too large for this field, which holds whole numbers from -2,147,483,648 to "
                       "2,147,483,647.");
      var.setDecimal(v);
      return {};
    default:
      if (var.setDecimal(v) != StoreStatus::Ok)
        return refused("The number is too long for this field, which holds " + std::to_string(var.capacity()) +
                       " characters.");
      return {};
  }
}

// --- locale patterns ---------------------------------------------------------

// Expands the composite strftime conversions into their parts.
std::string expandPattern(std::string_view pattern) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      out += pattern[i];
      continue;
    }
    std::size_t j = i + 1;
    std::string flags;
    while (j < pattern.size() && (pattern[j] == '-' || pattern[j] == '_' || pattern[j] == '0' || pattern[j] == '^' ||
                                  pattern[j] == '#' || pattern[j] == 'E' || pattern[j] == 'O'))
      flags += pattern[j++];
    if (j >= pattern.size()) break;
    const char c = pattern[j];
    switch (c) {
      case 'D': out += "%m/%d/%y"; break;
      case 'F': out += "%Y-%m-%d"; break;
      case 'T': out += "%H:%M:%S"; break;
      case 'R': out += "%H:%M"; break;
      case 'r': out += "%I:%M:%S %p"; break;
      default: out += "%" + flags + c; break;
    }
    i = j;
  }
  return out;
}

struct Conversion {
  char letter;
  bool noPad;  // the '-' flag or a blank-padded form
  std::string before;  // literal text before this conversion
};

std::vector<Conversion> conversions(std::string_view pattern) {
  std::vector<Conversion> out;
  std::string literal;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      literal += pattern[i];
      continue;
    }
    std::size_t j = i + 1;
    bool noPad = false;
    while (j < pattern.size() && !((pattern[j] >= 'a' && pattern[j] <= 'z') || (pattern[j] >= 'A' && pattern[j] <= 'Z') ||
                                   pattern[j] == '%')) {
      if (pattern[j] == '-' || pattern[j] == '_') noPad = true;
      ++j;
    }
    while (j < pattern.size() && (pattern[j] == 'E' || pattern[j] == 'O')) ++j;
    if (j >= pattern.size()) break;
    if (pattern[j] == '%') {
      literal += '%';
    } else {
      out.push_back({pattern[j], noPad, literal});
      literal.clear();
    }
    i = j;
  }
  return out;
}

char separatorOf(const std::string& literal, char fallback) {
  for (char c : literal)
    if (c != ' ' && static_cast<unsigned char>(c) < 0x80) return c;
  return fallback;
}

}  // namespace

// ---------------------------------------------------------------------------
// Picture

std::optional<Picture> Picture::parse(std::string_view text) {
  if (text.empty()) return std::nullopt;
  Picture p;
  p.source = std::string(text);
  const char kind = lower(text[0]);
  std::size_t i = 1;
  const auto trailingB = [&] {
    if (i < text.size() && lower(text[i]) == 'b') {
      p.blankZero = true;
      ++i;
    }
    return i == text.size();
  };
  switch (kind) {
    case 's':
      p.kind = PictureKind::String;
      if (!readNumber(text, i, p.width) || i != text.size() || p.width < 1) return std::nullopt;
      return p;
    case 'n':
      p.kind = PictureKind::Number;
      while (i < text.size() && (text[i] == '$' || text[i] == '-')) {
        bool& flag = text[i] == '$' ? p.currency : p.allowMinus;
        if (flag) return std::nullopt;
        flag = true;
        ++i;
      }
      if (!readNumber(text, i, p.width) || p.width < 1) return std::nullopt;
      if (i < text.size() && text[i] == '.') {
        ++i;
        if (i < text.size() && isDigit(text[i]) && !readNumber(text, i, p.places)) return std::nullopt;
      }
      if (p.places > 18 || !trailingB()) return std::nullopt;
      return p;
    case 'd': {
      p.kind = PictureKind::Date;
      std::size_t count = 0;
      if (!readNumber(text, i, p.format, &count) || !trailingB()) return std::nullopt;
      if (p.format != 2 && p.format != 6 && p.format != 17) return std::nullopt;
      p.leadingZeros = p.format != 17 && count >= 2 && text[1] == '0';
      p.width = 10;
      return p;
    }
    case 't':
      p.kind = PictureKind::Time;
      if (!readNumber(text, i, p.format) || !trailingB() || p.format != 7) return std::nullopt;
      return p;
    case 'p': {
      // p<text with a run of '<' and '#'>p
      if (text.size() < 3 || lower(text.back()) != 'p') return std::nullopt;
      p.kind = PictureKind::Page;
      const std::string_view inner = text.substr(1, text.size() - 2);
      const std::size_t start = inner.find_first_of("<#");
      if (start == std::string_view::npos) return std::nullopt;
      std::size_t end = start;
      while (end < inner.size() && (inner[end] == '<' || inner[end] == '#')) ++end;
      if (inner.find_first_of("<#", end) != std::string_view::npos) return std::nullopt;
      const std::string_view run = inner.substr(start, end - start);
      const std::size_t firstHash = run.find('#');
      if (firstHash == std::string_view::npos || run.find('<', firstHash) != std::string_view::npos)
        return std::nullopt;
      p.pageBefore = std::string(inner.substr(0, start));
      p.pageAfter = std::string(inner.substr(end));
      p.pageWidth = static_cast<int>(run.size());
      p.width = static_cast<int>(run.size() - firstHash);  // digits always shown
      return p;
    }
    default: return std::nullopt;
  }
}

Picture Picture::of(std::string_view text) {
  if (auto p = parse(text)) return *p;
  throw std::invalid_argument("not a display picture: \"" + std::string(text) + "\"");
}

// ---------------------------------------------------------------------------
// System date and time formats

DateTimeFormat dateTimeFormatFromPatterns(std::string_view datePattern, std::string_view timePattern,
                                          std::string_view am, std::string_view pm) {
  DateTimeFormat f;
  // Date: the order of day, month and year, the separator after the first
  // part, and whether the day is zero padded.
  int posD = -1, posM = -1, posY = -1;
  bool dayPadded = false;
  const auto date = conversions(expandPattern(datePattern));
  for (std::size_t k = 0; k < date.size(); ++k) {
    const Conversion& c = date[k];
    const int pos = static_cast<int>(k);
    if (c.letter == 'd' || c.letter == 'e') {
      posD = pos;
      dayPadded = c.letter == 'd' && !c.noPad;
    } else if (c.letter == 'm') {
      posM = pos;
    } else if (c.letter == 'y' || c.letter == 'Y' || c.letter == 'C' || c.letter == 'G') {
      posY = pos;
    }
  }
  if (posD >= 0 && posM >= 0 && posY >= 0) {
    if (posY < posM && posM < posD)
      f.order = DateTimeFormat::Order::YMD;
    else if (posD < posM)
      f.order = DateTimeFormat::Order::DMY;
    else
      f.order = DateTimeFormat::Order::MDY;
    f.leadingZeros = dayPadded;
    if (date.size() >= 2) f.separator = separatorOf(date[1].before, '/');
  }
  // Time: 12 or 24 hours, hour padding, separator, seconds.
  const auto time = conversions(expandPattern(timePattern));
  bool sawHour = false;
  f.seconds = false;
  for (std::size_t k = 0; k < time.size(); ++k) {
    const Conversion& c = time[k];
    if (c.letter == 'H' || c.letter == 'k' || c.letter == 'I' || c.letter == 'l') {
      sawHour = true;
      f.hour24 = c.letter == 'H' || c.letter == 'k';
      f.hourLeadingZero = (c.letter == 'H' || c.letter == 'I') && !c.noPad;
    } else if (c.letter == 'M' && k > 0) {
      f.timeSeparator = separatorOf(c.before, ':');
    } else if (c.letter == 'S') {
      f.seconds = true;
    }
  }
  if (!sawHour) {
    const DateTimeFormat us;
    f.hour24 = us.hour24;
    f.hourLeadingZero = us.hourLeadingZero;
    f.timeSeparator = us.timeSeparator;
    f.seconds = us.seconds;
  }
  if (!f.hour24) {
    f.am = am.empty() ? "AM" : std::string(am);
    f.pm = pm.empty() ? "PM" : std::string(pm);
  }
  return f;
}

DateTimeFormat dateTimeFormatFromLocale() {
  const char* name = nullptr;
  for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) {
      name = v;
      break;
    }
  }
  const std::string_view n = name ? name : "C";
  if (n == "C" || n == "POSIX" || n.substr(0, 2) == "C.") return DateTimeFormat{};
  locale_t loc = newlocale(LC_TIME_MASK, name, locale_t{});
  if (!loc) return DateTimeFormat{};
  const std::string datePattern = nl_langinfo_l(D_FMT, loc);
  std::string timePattern = nl_langinfo_l(T_FMT, loc);
  const std::string am = nl_langinfo_l(AM_STR, loc), pm = nl_langinfo_l(PM_STR, loc);
  if (timePattern.find("%r") != std::string::npos) timePattern = nl_langinfo_l(T_FMT_AMPM, loc);
  freelocale(loc);
  return dateTimeFormatFromPatterns(datePattern, timePattern, am, pm);
}

namespace {
std::optional<DateTimeFormat>& systemFormat() {
  static std::optional<DateTimeFormat> f;
  return f;
}
}  // namespace

const DateTimeFormat& systemDateTimeFormat() {
  auto& f = systemFormat();
  if (!f) f = dateTimeFormatFromLocale();
  return *f;
}

void setSystemDateTimeFormat(const DateTimeFormat& f) { systemFormat() = f; }

// ---------------------------------------------------------------------------
// Formatting

std::string formatDecimal(const Decimal& v, const Picture& p) {
  switch (p.kind) {
    case PictureKind::String: return latin1ToUtf8(v.toString().substr(0, static_cast<std::size_t>(p.width)));
    case PictureKind::Date:
    case PictureKind::Time:
    case PictureKind::Page: {
      const Decimal whole = v.rounded(0);
      const auto day = whole.integerDigits() <= 9 ? static_cast<std::int32_t>(whole.mantissa()) : 0;
      if (p.kind == PictureKind::Date) return formatDay(day, p);
      if (p.kind == PictureKind::Time) return formatTime(day, p);
      return formatPage(day, p);
    }
    case PictureKind::Number: break;
  }
  const Decimal r = v.rounded(p.places);
  if (r.isZero() && p.blankZero) return {};
  if (r.sign() < 0 && !p.allowMinus) return hashes(p.width);
  // Digits of |r| with exactly p.places places.
  std::string digits = detail::digitsOf(detail::magnitude(r.mantissa()));
  const auto places = static_cast<std::size_t>(p.places);
  digits.append(places - static_cast<std::size_t>(r.scale()), '0');  // r.scale() <= places
  if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
  const std::string intPart = digits.substr(0, digits.size() - places);
  const std::string fraction = places > 0 ? "." + digits.substr(digits.size() - places) : std::string();
  const std::string sign = std::string(r.sign() < 0 ? "-" : "") + (p.currency ? "$" : "");
  // Grouped when that fits; otherwise the plain digits; otherwise the mark.
  for (const std::string& whole : {detail::groupThousands(intPart), intPart}) {
    std::string out = sign + whole + fraction;
    if (static_cast<int>(out.size()) <= p.width) return out;
  }
  return hashes(p.width);
}

bool fitsPicture(const Decimal& v, const Picture& p) {
  if (p.kind != PictureKind::Number) return true;
  const Decimal r = v.rounded(p.places);
  if (r.sign() < 0 && !p.allowMinus) return false;
  return shownWidth(p, r.integerDigits(), r.sign() < 0) <= p.width;
}

std::string formatDay(std::int32_t day, const Picture& p) {
  if (p.kind != PictureKind::Date) return formatDecimal(Decimal::fromInt(day), p);
  if (day == NoDate && p.blankZero) return {};
  const Ymd d = fromDayNumber(day);
  const DateShape s = dateShape(p);
  const auto part = [&](int v) { return s.leadingZeros ? twoDigits(v) : std::to_string(v); };
  const std::string sep(1, s.separator);
  switch (s.order) {
    case DateTimeFormat::Order::MDY: return part(d.month) + sep + part(d.day) + sep + yearText(d.year);
    case DateTimeFormat::Order::DMY: return part(d.day) + sep + part(d.month) + sep + yearText(d.year);
    case DateTimeFormat::Order::YMD: return yearText(d.year) + sep + part(d.month) + sep + part(d.day);
  }
  return {};
}

std::string formatTime(std::int32_t time, const Picture& p) {
  if (p.kind != PictureKind::Time) return formatDecimal(Decimal::fromInt(time), p);
  if (time == NoTime && p.blankZero) return {};
  const DateTimeFormat& f = systemDateTimeFormat();
  const Hms t = fromTimeValue(time);
  int hour = t.hour;
  if (!f.hour24) hour = hour % 12 == 0 ? 12 : hour % 12;
  const std::string sep(1, f.timeSeparator);
  std::string out = f.hourLeadingZero ? twoDigits(hour) : std::to_string(hour);
  out += sep + twoDigits(t.minute);
  if (f.seconds) out += sep + twoDigits(t.second);
  if (!f.hour24) out += " " + (t.hour < 12 ? f.am : f.pm);
  return out;
}

std::string formatPage(int page, const Picture& p) {
  if (p.kind != PictureKind::Page) return formatDecimal(Decimal::fromInt(page), p);
  std::string digits = std::to_string(page < 0 ? 0 : page);
  if (static_cast<int>(digits.size()) < p.width) digits.insert(0, static_cast<std::size_t>(p.width) - digits.size(), '0');
  if (page < 0 || static_cast<int>(digits.size()) > p.pageWidth) digits = hashes(p.pageWidth);
  return p.pageBefore + digits + p.pageAfter;
}

std::string format(const FieldRef& var, const Picture& p) {
  switch (p.kind) {
    case PictureKind::String: {
      std::string t = var.text();
      if (t.size() > static_cast<std::size_t>(p.width)) t.resize(static_cast<std::size_t>(p.width));
      return latin1ToUtf8(t);
    }
    case PictureKind::Number: return formatDecimal(var.decimal(), p);
    case PictureKind::Date: return formatDay(var.day(), p);
    case PictureKind::Time: return formatTime(static_cast<std::int32_t>(var.integer()), p);
    case PictureKind::Page: return formatPage(static_cast<int>(var.integer()), p);
  }
  return {};
}

// ---------------------------------------------------------------------------
// Reading typed text

std::optional<Decimal> parseNumber(std::string_view typed, const Picture& p, std::string* message) {
  const bool isNumber = p.kind == PictureKind::Number;
  const std::string_view s = trimBlanks(typed);
  if (s.empty()) return Decimal();
  const std::string notNumber = quoted(s) + " is not a number.";
  std::size_t i = 0;
  bool negative = false, dollar = false;
  while (i < s.size() && ((s[i] == '-' && !negative) || (s[i] == '$' && !dollar))) {
    (s[i] == '-' ? negative : dollar) = true;
    ++i;
  }
  std::string intDigits, fracDigits;
  bool point = false, comma = false;
  std::vector<std::size_t> groups;  // digits in each comma-separated group
  groups.push_back(0);
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (isDigit(c)) {
      (point ? fracDigits : intDigits) += c;
      if (!point) ++groups.back();
    } else if (c == ',' && !point) {
      comma = true;
      groups.push_back(0);
    } else if (c == '.' && !point) {
      point = true;
    } else {
      setMessage(message, notNumber);
      return std::nullopt;
    }
  }
  if (intDigits.empty() && fracDigits.empty()) {
    setMessage(message, notNumber);
    return std::nullopt;
  }
  if (comma) {
    bool sound = groups.front() >= 1 && groups.front() <= 3;
    for (std::size_t g = 1; g < groups.size(); ++g) sound = sound && groups[g] == 3;
    if (!sound) {
      setMessage(message, quoted(s) + " is not a number: commas must separate the digits in groups of three, as in 1,234.50.");
      return std::nullopt;
    }
  }
  const auto v = Decimal::parse((negative ? "-" : "") + intDigits + "." + fracDigits);
  if (!v) {
    setMessage(message, quoted(s) + " is too large a number.");
    return std::nullopt;
  }
  if (v->sign() < 0 && isNumber && !p.allowMinus) {
    setMessage(message, "This entry does not take negative numbers.");
    return std::nullopt;
  }
  if (!isNumber) return v;
  if (v->rounded(p.places) != *v) {
    setMessage(message, placesMessage(p.places));
    return std::nullopt;
  }
  if (shownWidth(p, v->integerDigits(), v->sign() < 0) > p.width) {
    const std::string limit = pictureLimit(p, v->sign() < 0);
    if (limit.empty())
      setMessage(message, "This entry has no room for " + quoted(s) + ".");
    else if (v->sign() < 0)
      setMessage(message, "The number is too small for this entry; the smallest it shows is " + limit + ".");
    else
      setMessage(message, "The number is too large for this entry; the largest it shows is " + limit + ".");
    return std::nullopt;
  }
  return v;
}

std::optional<std::int32_t> parseDay(std::string_view typed, const Picture& p, std::string* message) {
  const std::string_view s = trimBlanks(typed);
  if (s.empty()) return NoDate;
  const DateShape shape = p.kind == PictureKind::Date ? dateShape(p) : DateShape{DateTimeFormat::Order::MDY, '/', false};
  const std::string hint = "Type the date as " + shapeHint(shape) + ".";
  const std::string notDate = quoted(s) + " is not a date. " + hint;
  std::vector<std::string> parts(1);
  for (char c : s) {
    if (isDigit(c)) {
      parts.back() += c;
    } else if ((c == '/' || c == '-' || c == '.' || c == shape.separator) && !parts.back().empty() && parts.size() < 3) {
      parts.emplace_back();
    } else {
      setMessage(message, notDate);
      return std::nullopt;
    }
  }
  if (parts.size() != 3 || parts.back().empty()) {
    setMessage(message, notDate);
    return std::nullopt;
  }
  std::size_t iy = 2, im = 0, id = 1;
  if (shape.order == DateTimeFormat::Order::DMY) iy = 2, id = 0, im = 1;
  if (shape.order == DateTimeFormat::Order::YMD) iy = 0, im = 1, id = 2;
  if (parts[im].size() > 2 || parts[id].size() > 2) {
    setMessage(message, notDate);
    return std::nullopt;
  }
  if (parts[iy].size() != 4) {
    setMessage(message, parts[iy].size() <= 2 ? "Type the year with four digits. " + hint : notDate);
    return std::nullopt;
  }
  const int year = std::stoi(parts[iy]), month = std::stoi(parts[im]), day = std::stoi(parts[id]);
  if (month < 1 || month > 12) {
    setMessage(message, quoted(s) + " is not a date: there is no month " + std::to_string(month) + ". " + hint);
    return std::nullopt;
  }
  if (day < 1) {
    setMessage(message, quoted(s) + " is not a date: there is no day 0. " + hint);
    return std::nullopt;
  }
  if (year < 1) {
    setMessage(message, quoted(s) + " is not a date: there is no year 0. " + hint);
    return std::nullopt;
  }
  if (!isValidDate(year, month, day)) {
    setMessage(message, quoted(s) + " is not a date: " + MonthNames[month - 1] + " " + std::to_string(year) +
                            " has " + std::to_string(daysInMonth(year, month)) + " days.");
    return std::nullopt;
  }
  const std::int32_t n = dayNumber(year, month, day);
  if (n == NoDate) {
    // Day 0 is the value that means "no date"; storing it would lose the date.
    setMessage(message, quoted(s) + " cannot be stored: that day stands for \"no date\".");
    return std::nullopt;
  }
  return n;
}

std::optional<std::int32_t> parseTime(std::string_view typed, const Picture& p, std::string* message) {
  (void)p;
  const std::string_view s = trimBlanks(typed);
  if (s.empty()) return NoTime;
  const DateTimeFormat& f = systemDateTimeFormat();
  const std::string notTime = quoted(s) + " is not a time. Type the time as " + timeHint(f) + ".";
  int parts[3] = {0, 0, 0};
  std::size_t count = 0, i = 0;
  while (count < 3) {
    std::size_t digits = 0;
    int v = 0;
    while (i < s.size() && isDigit(s[i]) && digits < 3) {
      v = v * 10 + (s[i++] - '0');
      ++digits;
    }
    if (digits == 0 || digits > 2) {
      setMessage(message, notTime);
      return std::nullopt;
    }
    parts[count++] = v;
    if (i < s.size() && (s[i] == ':' || s[i] == '.' || s[i] == f.timeSeparator) && count < 3)
      ++i;
    else
      break;
  }
  std::string_view rest = trimBlanks(s.substr(i));
  int half = 0;  // 1 AM, 2 PM
  if (!rest.empty()) {
    const std::pair<std::string_view, int> names[] = {{f.am, 1}, {f.pm, 2}, {"am", 1}, {"pm", 2}, {"a", 1}, {"p", 2}};
    for (const auto& [text, which] : names) {
      if (startsWithNoCase(rest, text) && rest.size() == text.size()) {
        half = which;
        break;
      }
    }
    if (half == 0) {
      setMessage(message, notTime);
      return std::nullopt;
    }
  }
  int hour = parts[0];
  const int minute = parts[1], second = parts[2];
  const bool sound = half == 0 ? hour <= 23 : (hour >= 1 && hour <= 12);
  if (!sound || minute > 59 || second > 59) {
    setMessage(message, quoted(s) + " is not a time of day.");
    return std::nullopt;
  }
  if (half == 1 && hour == 12) hour = 0;
  if (half == 2 && hour < 12) hour += 12;
  return timeValue(hour, minute, second);
}

AcceptResult accept(FieldRef& var, std::string_view typedUtf8, const Picture& p) {
  if (!var.valid()) throw std::logic_error("accept: no variable");
  std::string message;
  switch (p.kind) {
    case PictureKind::String: {
      std::string offending;
      auto latin1 = utf8ToLatin1(typedUtf8, &offending);
      if (!latin1) return refused(notLatin1Message(offending));
      if (latin1->find('\0') != std::string::npos)
        return refused("The text holds a zero character, which cannot be stored.");
      if (latin1->size() > static_cast<std::size_t>(p.width)) latin1->resize(static_cast<std::size_t>(p.width));
      if (var.isText() || var.type() == FieldType::Group) {
        var.setText(*latin1);
        return {};
      }
      const std::string_view t = trimBlanks(*latin1);
      const auto v = t.empty() ? std::optional<Decimal>(Decimal()) : Decimal::parse(t);
      if (!v) return refused(quoted(t) + " is not a number.");
      return storeNumber(var, *v);
    }
    case PictureKind::Number: {
      const auto v = parseNumber(typedUtf8, p, &message);
      if (!v) return refused(message);
      return storeNumber(var, *v);
    }
    case PictureKind::Date: {
      const auto d = parseDay(typedUtf8, p, &message);
      if (!d) return refused(message);
      if (var.isText()) {
        var.setText(formatDay(*d, p));
      } else if (var.setDecimal(Decimal::fromInt(*d)) != StoreStatus::Ok) {
        return refused("The date does not fit this field.");
      }
      return {};
    }
    case PictureKind::Time: {
      const auto t = parseTime(typedUtf8, p, &message);
      if (!t) return refused(message);
      if (var.isText()) {
        var.setText(formatTime(*t, p));
      } else if (var.setDecimal(Decimal::fromInt(*t)) != StoreStatus::Ok) {
        return refused("The time does not fit this field.");
      }
      return {};
    }
    case PictureKind::Page: return refused("A page number cannot be typed.");
  }
  return refused("This entry cannot be edited.");
}

}  // namespace platform
