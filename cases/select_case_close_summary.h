#pragma once
// The case picker "Select a CaseCloseSummary Record": every case of
// CaseCloseSummary by case name (first tab) or by case number (second
// tab), searched by typing a character on the list. Called on the caller's
// thread with ThreadRequest = RequestSelect: "&Select" (or Enter, or a
// double-click on a row) answers ResponseCompleted and leaves the picked
// case's nine listed fields in the thread's CaseCloseSummary buffer; any
// other way out answers ResponseCancelled and leaves the buffer exactly as
// the caller had it.

namespace cases {

void SelectCaseCloseSummary();

// The window's controls, by number, in the order of its description.
namespace case_picker {
constexpr int BROWSE_1 = 1;
constexpr int SELECT_2 = 2;
constexpr int CURRENTTAB = 3;
constexpr int TAB_2 = 4;  // "&1) Case Name": by case name
constexpr int TAB_3 = 5;  // "&2) Case Number": by case number
constexpr int CLOSE = 6;
constexpr int HELP = 7;
}  // namespace case_picker

}  // namespace cases
