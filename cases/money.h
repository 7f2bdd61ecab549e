#pragma once
// The case totals window "TOTALS" (MoneY), opened from the case list's
// "GRAND TOTAL FOR SELECTED CASE" on the case list's thread, on the case
// current there. It lists every entry of the case, whatever its section
// (no filter), with the case's hourly rate on every row, and shows the
// case's hours worked in and out of court with their amounts to bill at the
// case's current rate, the expense total, and the grand total.
//
// Its figures are the worksheets' (column_totals.h): its own column totals
// over every entry of the case, summed when the list reloads, and the
// section values with the grand total computed from them, right after the
// walk and after every event of one of its controls. The amounts are
// rounded once over the summed hours, so they may differ by a cent from the
// sum of the entries' stored amounts.
//
// The list scrolls to every entry but opens no form and changes nothing:
// Enter, a double-click, Insert and Delete do nothing. Its Insert, Change
// and Delete buttons are hidden and attached to nothing; the column totals'
// own displays stand hidden behind the black band.

namespace cases {

void MoneY();

// The window's controls, by number; prompts and bands from 200 on.
namespace money {
constexpr int CCS_CASENAME = 1;
constexpr int CCS_CASENUMBER = 2;
constexpr int INSERT_3 = 3;
constexpr int CHANGE_3 = 4;
constexpr int DELETE_3 = 5;
constexpr int CURRENTTAB = 6;
constexpr int TAB_1 = 7;  // "TOTALS"
constexpr int BROWSE_1 = 8;
constexpr int HOU_IN_TOTALHOURS = 9;
constexpr int HOU_TOTALSECTION_INCOURT = 10;
constexpr int HOU_OUT_TOTALHOURS = 11;
constexpr int HOU_TOTALSECTION_OUTCOURT = 12;
constexpr int HOU_TOTALSECTION = 13;
constexpr int HOU_GRANDTOTAL = 14;
// The column totals G:A ... G:OTHER, and the second displays of G:I ... G:M.
constexpr int G(int total) { return 20 + total; }
constexpr int G2(int total) { return 50 + total; }
}  // namespace money

}  // namespace cases
