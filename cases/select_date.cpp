#include "cases/select_date.h"

#include <array>
#include <string>

#include "platform/types/clock.h"
#include "platform/types/daynum.h"
#include "platform/types/field.h"
#include "platform/ui/describe.h"
#include "platform/ui/style.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using namespace select_date;
using platform::ControlKind;
using platform::ControlSpec;
using platform::describe::button;
using platform::describe::control;

constexpr platform::Color Grey = platform::rgb(0xC0, 0xC0, 0xC0);
constexpr platform::Color DarkGrey = platform::rgb(0x80, 0x80, 0x80);
constexpr platform::Color MarkColour = platform::rgb(0xFF, 0x00, 0x00);
constexpr platform::Color Black = 0;

// The day columns stand under the words of the weekday header, a single
// centred text "Su   Mo   Tu   We   Th   Fr   Sa": each column is centred
// under its word as the program's fonts set that text (the window's face at
// 8 points, bold), so that two-digit days stay clear of the window's edge.
constexpr int ColumnLeft[7] = {11, 27, 43, 59, 74, 89, 103};
constexpr int ColumnWidth = 15;

constexpr int FirstYear = 1801;
constexpr int LastYear = 2099;

constexpr const char* MonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};

// The weekday (0 Sunday .. 6 Saturday) of day 1 of a month. The Gregorian
// calendar repeats itself every 400 years (146097 days, a whole number of
// weeks), so a year outside the range of day numbers is taken at its place
// in the cycle.
int firstWeekday(int year, int month) {
  const int inCycle = 2000 + platform::floorMod(year, 400);
  return platform::weekday(platform::dayNumber(inCycle, month, 1));
}

int daysIn(int year, int month) { return platform::daysInMonth(2000 + platform::floorMod(year, 400), month); }

class Calendar {
 public:
  Calendar() {
    title_.fill(' ');
    for (auto& t : dayTexts_) t = "  ";
  }

  std::int32_t run(std::int32_t given) {
    platform::Window w(windowSpec());
    build(w);
    w.open();

    const platform::Ymd start = platform::fromDayNumber(given == platform::NoDate ? platform::today() : given);
    markedDay_ = start.day;
    month_ = start.month;
    year_ = start.year;
    refresh(w);

    std::int32_t result = 0;
    bool done = false;
    while (!done && w.accept()) {
      const platform::Event& e = w.event();
      if (e.kind == platform::EventKind::Accepted) {
        switch (e.control) {
          case PREVIOUSYEARBUTTON: step(w, 0, -1); break;
          case PREVIOUSBUTTON: step(w, -1, 0); break;
          case NEXTBUTTON: step(w, +1, 0); break;
          case NEXTYEARBUTTON: step(w, 0, +1); break;
          case AMONTH: {
            const int day = chosen_ - firstCell_ + 1;
            if (day >= 1 && day <= dayCount_) {
              result = platform::dayNumber(year_, month_, day);
              done = true;
            }
            break;
          }
          case CANCELBUTTON:
            result = 0;
            done = true;
            break;
          default: break;
        }
      }
      if (!done) w.endEvent(platform::EventLevel::Continue);
    }
    w.close();
    return result;
  }

 private:
  static platform::WindowSpec windowSpec() {
    platform::WindowSpec s;
    s.kind = platform::WindowKind::Own;
    s.rect = {0, 0, 130, 104};
    s.centred = true;
    s.systemMenu = true;
    s.background = Grey;
    s.font = platform::Font{"MS Sans Serif", 8, false, false, 0};
    return s;
  }

  void build(platform::Window& w) {
    w.add(button(PREVIOUSYEARBUTTON, {2, 2, 14, 12}, " <<", "Previous Year"));
    w.add(control(PANEL1, ControlKind::Panel, {0, 0, 130, 104}));
    w.add(button(PREVIOUSBUTTON, {17, 2, 12, 12}, "<", "Previous Month"));
    w.add(button(NEXTBUTTON, {101, 2, 12, 12}, ">", "Next Month"));
    w.add(button(NEXTYEARBUTTON, {114, 2, 14, 12}, " >>", "Next Year"));

    ControlSpec header = control(STRING1, ControlKind::Prompt, {2, 16, 126, 10}, "Su   Mo   Tu   We   Th   Fr   Sa");
    header.justify = platform::Justify::Center;
    header.font.bold = true;
    header.fontColor = Grey;
    header.fill = DarkGrey;
    w.add(header);

    ControlSpec group = control(AMONTH, ControlKind::Option, {2, 27, 126, 74});
    group.var = platform::FieldRef(platform::FieldType::Byte, &chosen_, 1);
    w.add(group);
    for (int n = 1; n <= Cells; ++n) {
      const int row = (n - 1) / 7, column = (n - 1) % 7;
      ControlSpec c =
          control(cell(n), ControlKind::Radio, {ColumnLeft[column], 28 + row * 12, ColumnWidth, 12}, dayTexts_[0]);
      c.parent = AMONTH;
      c.transparent = true;
      c.icon = "Blank.ico";
      w.add(c);
    }
    ControlSpec cancel = button(CANCELBUTTON, {ColumnLeft[2], 28 + 5 * 12, ColumnLeft[6] + ColumnWidth - ColumnLeft[2], 12},
                                "Cancel", {});
    cancel.transparent = true;
    cancel.icon = "Blank.ico";
    w.add(cancel);

    ControlSpec title = control(XMNTHYR, ControlKind::Entry, {30, 2, 70, 12});
    title.var = platform::FieldRef(platform::FieldType::String, title_.data(), static_cast<std::uint32_t>(title_.size()));
    title.picture = "s16";
    title.readOnly = true;
    title.justify = platform::Justify::Center;
    title.font.bold = true;
    title.skip = true;
    w.add(title);
  }

  // A navigation button: the mark comes off, the month or year moves, and
  // the grid is filled again.
  void step(platform::Window& w, int months, int years) {
    unmark(w);
    if (months != 0) {
      month_ += months;
      if (month_ < 1) {
        month_ = 12;
        years = -1;
      } else if (month_ > 12) {
        month_ = 1;
        years = +1;
      }
    }
    if (years < 0) {
      --year_;
      if (year_ < FirstYear) year_ = FirstYear;
    } else if (years > 0) {
      ++year_;
      if (year_ > LastYear) year_ = LastYear;
    }
    refresh(w);
    w.display();
  }

  void unmark(platform::Window& w) {
    if (markedCell_ != 0) w.control(cell(markedCell_)).setFontColor(Black);
  }

  void refresh(platform::Window& w) {
    platform::FieldRef title(platform::FieldType::String, title_.data(), static_cast<std::uint32_t>(title_.size()));
    title.setText(std::string(MonthNames[month_ - 1]) + " - " + std::to_string(year_));

    firstCell_ = firstWeekday(year_, month_) + 1;
    dayCount_ = daysIn(year_, month_);

    for (auto& t : dayTexts_) t = "  ";
    for (int d = 1; d <= dayCount_; ++d) {
      std::string text = std::to_string(d);
      if (text.size() < 2) text += ' ';
      dayTexts_[static_cast<std::size_t>(firstCell_ + d - 2)] = text;
    }
    for (int n = 1; n <= Cells; ++n) w.control(cell(n)).setText(dayTexts_[static_cast<std::size_t>(n - 1)]);

    for (int n = 1; n <= Cells; ++n) {
      if (n >= 7 && n <= 28) continue;  // always hold a day
      const bool blank = dayTexts_[static_cast<std::size_t>(n - 1)] == "  ";
      w.control(cell(n)).setHidden(blank);
    }

    markedCell_ = markedDay_ + firstCell_ - 1;
    w.control(cell(markedCell_)).setFontColor(MarkColour);
  }

  std::array<std::uint8_t, 16> title_{};
  std::array<std::string, Cells> dayTexts_;
  std::uint8_t chosen_ = 0;  // the option group: the cell the user chose
  int markedDay_ = 0;
  int month_ = 0;
  int year_ = 0;
  int firstCell_ = 0;
  int dayCount_ = 0;
  int markedCell_ = 0;
};

}  // namespace

std::int32_t SelectDate(std::int32_t day) {
  Calendar calendar;
  return calendar.run(day);
}

}  // namespace cases
