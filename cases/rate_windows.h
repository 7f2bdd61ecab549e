#pragma once
// The three windows that keep the mileage rates of RateMilage: the list
// (BrowseRateMilage), its form (UpdateRateMilage) and the picker
// (SelectRateMilage). Each opens RateMilage with its related files while it
// runs.
//
// Both lists know two orders, 1 by date and 2 by rate, each searched by a
// character typed on the list (by rate, a digit moves to the first rate at
// or after it), and choose them by their sheet: the second tab, "&2)
// Date", lists by date, every other tab by rate. The date tab is hidden, so
// the user sees the rates by rate, lowest first; equal rates stand side by
// side. A rate without a date shows a blank date. The rate under the tab
// ("Rate Selected:", "Mileage Rate Selected:") is the selected row's.
//
// The list: Insert primes a new rate with today's date and a rate of 0 and
// opens the form; Change (the default button, and a double-click on a row)
// and Delete open it on the selected rate. Deleting a rate leaves every
// entry that uses it as it is; the only guard is the text "Do not delete
// old mileage rates". Its hidden Select would pick a rate if the list were
// started to select, which nothing does; its hidden "View HOURLY" reads the
// selected rate again, calls the entries of that rate and refreshes the
// list.
//
// The form: the rate, at most 99.999 (all the picture "n6.3" shows; a
// larger one is refused with "Invalid Entry" and changes nothing), and the
// date in a spin box that the Tab key passes by. It saves whatever it is
// given: a rate of 0, a rate that another record has, any date.
//
// The picker: Select is enabled, and the default button, while the list
// has rows.

#include <span>

namespace cases {

// The list's controls, by number, in the order of its description.
namespace rate_list {
constexpr int BROWSE_1 = 1;
constexpr int INSERT_4 = 2;
constexpr int CHANGE_4 = 3;
constexpr int DELETE_4 = 4;
constexpr int STRING3 = 5;  // "Do not delete old mileage rates"
constexpr int CURRENTTAB = 6;
constexpr int TAB_2 = 7;  // "Mileage Rates": by rate
constexpr int IMAGE1 = 8;  // the car
constexpr int STRING1 = 9;  // "Rate Selected:"
constexpr int RTM_MILAGERATE = 10;  // the selected rate
constexpr int TAB_3 = 11;  // "&2) Date": by date, hidden
constexpr int SELECT_2 = 12;  // hidden outside select mode
constexpr int BROWSEHOURLY = 13;  // "View HOURLY", hidden
}  // namespace rate_list

// The form's controls, by number, in Tab order; its prompts follow from
// 100 on.
namespace rate_form {
constexpr int RTM_MILAGERATE = 1;  // the first control
constexpr int OK = 2;
constexpr int CANCEL = 3;
constexpr int RTM_DATEMILAGERATE = 4;  // the spin box Tab passes by
}  // namespace rate_form

// The picker's controls, by number, in the order of its description.
namespace rate_picker {
constexpr int BROWSE_1 = 1;
constexpr int SELECT_2 = 2;
constexpr int STRING3_3 = 3;  // the first line on the black band
constexpr int STRING3 = 4;    // the second line
constexpr int CURRENTTAB = 5;
constexpr int TAB_2 = 6;  // "Mileage Rate": by rate
constexpr int IMAGE1 = 7;  // the car
constexpr int STRING1 = 8;  // "Mileage Rate Selected:"
constexpr int RTM_MILAGERATE = 9;  // the selected rate
constexpr int TAB_3 = 10;  // "&2) Date": by date, hidden
constexpr int BAND = 11;  // the black band
}  // namespace rate_picker

// The windows the list's own buttons open, each called on the list's
// thread with ThreadRequest at 0 after the selected rate was read again.
// An entry without a call does nothing yet: its window belongs to a later
// part of the system, which fills it in here.
struct RateListCall {
  int control;
  const char* procedure;
  void (*call)();
};
std::span<RateListCall> RateListCalls();

}  // namespace cases
