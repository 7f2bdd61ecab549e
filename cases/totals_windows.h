#pragma once
// The totals records of TOTALS: one record per case, keyed by its case
// number, holding hours by category and expense amounts that the user
// types. Nothing computes them.
//
// Two lists show the record of the case current on their thread (at most
// one row, since the key is unique and leaves blank numbers out):
//   BrowseTOTALS, started by the frame on a thread of its own, lists
//     nothing until the user picks a case with "Select CaseCloseSummary"
//     (the case picker; a cancelled pick keeps the case shown before);
//   BrowseTOTALSByTOT_KeyCaseNumber, called by the case list on its
//     thread, shows the case list's current case and picks none.
// Both open the case file with its related files while they run; their
// hour columns show one place, aligned on the point in BrowseTOTALS and to
// the left in the other. Insert stays enabled even without a case: the
// form asks for the case number.
//
// The form UpdateTOTALS: the case number (required) and the twelve expense
// amounts are typed; the hour fields are only shown, so a record added
// here keeps them at zero, shown blank. The case number must name a case
// (the file's field check, "Field contents error"); a number that differs
// only in letter case from another record's is the same key and refused
// as "Duplicate Key Error". Changing the number moves the record to that
// case. Ctrl+H repeats a field of the record last completed here.

namespace cases {

void BrowseTOTALS();
void BrowseTOTALSByTOT_KeyCaseNumber();
void UpdateTOTALS();

// The lists' controls, by number, in the order of their description.
namespace totals_list {
constexpr int BROWSE_1 = 1;
constexpr int VIEW_2 = 2;
constexpr int INSERT_3 = 3;
constexpr int CHANGE_3 = 4;
constexpr int DELETE_3 = 5;
constexpr int CURRENTTAB = 6;
constexpr int TAB_2 = 7;                   // "&1) Case Number"
constexpr int SELECTCASECLOSESUMMARY = 8;  // BrowseTOTALS only
constexpr int CLOSE = 9;
constexpr int HELP = 10;
}  // namespace totals_list

// The form's controls, by number, in Tab order; the case number is the
// first control. Each field's prompt comes just before it, numbered from
// 100 on.
namespace totals_form {
constexpr int CURRENTTAB = 1;
constexpr int TAB_1 = 2;  // "&1) General"
constexpr int TOT_CASENUMBER = 3;
constexpr int TOT_A = 4;
constexpr int TOT_B = 5;
constexpr int TOT_C = 6;
constexpr int TOT_D = 7;
constexpr int TOT_E = 8;
constexpr int TOT_F = 9;
constexpr int TOT_G = 10;
constexpr int TOT_H = 11;
constexpr int TOT_TOTAL_IN = 12;
constexpr int TAB_2 = 13;  // "&2) General (cont.)"
constexpr int TOT_TOTAL_IN_AMOUNT = 14;
constexpr int TOT_I = 15;
constexpr int TOT_J = 16;
constexpr int TOT_K = 17;
constexpr int TOT_L = 18;
constexpr int TOT_M = 19;
constexpr int TOT_TOTAL_OUT = 20;
constexpr int TOT_TOTAL_OUT_AMOUNT = 21;
constexpr int TOT_N = 22;
constexpr int TOT_O = 23;
constexpr int TAB_3 = 24;  // "&3) General (cont. 2)"
constexpr int TOT_P1 = 25;
constexpr int TOT_P = 26;
constexpr int TOT_Q = 27;
constexpr int TOT_R = 28;
constexpr int TOT_S = 29;
constexpr int TOT_T = 30;
constexpr int TOT_U = 31;
constexpr int TOT_TOTAL_OTHER_TRAVEL = 32;
constexpr int TOT_TOTAL_OTHER_OTHER = 33;
constexpr int TOT_TOTAL_OTHER = 34;
constexpr int OK = 35;
constexpr int CANCEL = 36;
constexpr int HELP = 37;
}  // namespace totals_form

}  // namespace cases
