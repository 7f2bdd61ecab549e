#pragma once
// The printing window "PRINTING FILES" (PRINT_LIST): every printout of one
// case from one place. The case list's "PRINT ALL FORMS" calls it on the
// case list's thread with the case number it listed; the window shows its
// own copy of that number in its black band, and every printout it starts
// prints that case, whatever another window writes into G:CASENUMBER while
// it is open.
//
// Five flat buttons, one under the other: the claim-form attachment, the
// in-court, out-of-court and other-expense worksheets, each called directly
// on this thread (the window waits while the report runs under its own
// progress window and preview), and the case-closing summary, started on a
// thread of its own with a stack of 25000 bytes (the window goes on at
// once). Each press runs between the window's load-selection and its
// refresh, and the window stays open for the next; "&Cancel" and the close
// box close it with the response cancelled. "&OK" is hidden. It opens
// centred as a window of its own, keeps its placement under "PRINT_LIST",
// and opens no record file.

#include <cstddef>
#include <span>
#include <string>

namespace reports {

void PRINT_LIST(const std::string& caseNumber);

// The window's controls, by number.
namespace print_list {
constexpr int BOX1 = 1;            // the black band
constexpr int IMAGE2 = 2;          // the folder in the band
constexpr int STRING1 = 3;         // "Case Number:"
constexpr int IMAGE1 = 4;          // the printer in the band
constexpr int G_CASENUMBER = 5;    // the case printed
constexpr int BUTTON4 = 6;         // "PRINT CJA 20 WITH TOTALS"
constexpr int IMAGE1_2 = 7;        // printers and folders beside the buttons
constexpr int IMAGE1_3 = 8;
constexpr int IMAGE8 = 9;
constexpr int IMAGE8_2 = 10;
constexpr int IMAGE1_4 = 11;
constexpr int IMAGE8_3 = 12;
constexpr int IMAGE1_6 = 13;
constexpr int IMAGE1_5 = 14;
constexpr int BUTTON4_2 = 15;      // "PRINT IN COURT WORKSHEET"
constexpr int BUTTON4_4 = 16;      // "PRINT OUT OF COURT WORKSHEET"
constexpr int BUTTON4_5 = 17;      // "PRINT OTHER EXPENSES"
constexpr int BUTTON4_3 = 18;      // "PRINT CASE CLOSING SUMMARY"
constexpr int OK = 19;             // "&OK", hidden
constexpr int CANCEL = 20;         // "&Cancel"
}  // namespace print_list

// What each print button runs, given the window's case number: a direct
// call on the window's thread (stack 0) or a START on a new thread with
// `stack` bytes.
struct PrintListCall {
  int control;
  const char* procedure;
  void (*call)(const std::string& caseNumber);
  std::size_t stack;
};
std::span<PrintListCall> PrintListCalls();

}  // namespace reports
