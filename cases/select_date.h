#pragma once
// The calendar: a month grid from which the user picks a date.
//
// SelectDate(day) opens on the month of `day` (a day number; 0 means today),
// marks that day of the month in red in every month shown, and answers the
// day number of the day the user clicks, or 0 when the user presses
// "Cancel" or closes the window. It runs on the caller's logical thread,
// builds and runs its window itself (no window class, no placement, no
// focus colouring) and exchanges nothing with the caller but its argument
// and its result. Callers store a result other than 0 into their date field
// and redisplay their window either way.
//
// The window: the year and month buttons and the title in the top row, the
// weekday header under them, then 37 day cells, radios of one option group,
// in six rows of seven columns, Sunday first (cell n stands in row
// (n - 1) / 7 + 1, column (n - 1) % 7 + 1), and "Cancel" to the right of
// cells 36 and 37. Day 1 of a month stands in the cell of its weekday in
// the first row; cells 1 to 6 and 29 to 37 that hold no day are hidden.
// The year buttons and the month buttons keep the shown year within 1801 to
// 2099, each only in the direction it moves the year (the month wraps when
// the year stays at its bound); a date given outside those years is shown
// as it is.

#include <cstdint>

namespace cases {

std::int32_t SelectDate(std::int32_t day);

// The window's controls, by number.
namespace select_date {
constexpr int PREVIOUSYEARBUTTON = 1;
constexpr int PANEL1 = 2;
constexpr int PREVIOUSBUTTON = 3;
constexpr int NEXTBUTTON = 4;
constexpr int NEXTYEARBUTTON = 5;
constexpr int STRING1 = 6;
constexpr int AMONTH = 7;
// Day cell n (1..37) is control AMONTH_RADIO1 + n - 1.
constexpr int AMONTH_RADIO1 = 8;
constexpr int AMONTH_RADIO37 = 44;
constexpr int CANCELBUTTON = 45;
constexpr int XMNTHYR = 46;

constexpr int Cells = 37;
constexpr int cell(int n) { return AMONTH_RADIO1 + n - 1; }
}  // namespace select_date

}  // namespace cases
