#pragma once
// The worksheets: one section of the current case's entries each, opened
// from the case list's "IN COURT", "OUT OF COURT" and "OTHER EXPENSES" on
// the case list's thread, on the case current there.
//
//   BrowseInCourt        "IN COURT WORKSHEET"        the entries with an
//                                                     in-court amount
//   BrowseOutOfCourt     "OUT OF COURT WORKSHEET"    ... an out-of-court amount
//   BrowseOtherExpenses  "OTHER EXPENSES WORKSHEET"  ... an expense total
//
// One family: a black band with the case's name and number, the hourly
// rate, the list of the section's entries (the case's entries by
// HOU:KeyCaseNumber whose stored section amount is not zero), the column
// total of every category under its column, the section's hours and
// amount to bill at the case's current rate (or its travel, other and
// expense totals), print buttons, and Insert, Change and Delete through
// the section's entry form (UpdateiNCOURT, UpdateOUTofCOURT, UpdateOTHER).
// The two time worksheets also have a hidden View: Shift+Enter on the
// list opens the form in view mode. Two further tabs and their lists are
// hidden and never read the file.
//
// The figures (column_totals.h) are the worksheet's own: summed over the
// whole list whenever the list reloads from the start (when it opens,
// after every call of the form, when a refresh finds the case changed),
// the section values computed right after, and again after every event of
// one of its controls.
//
// Insert is enabled only while the list ranges on a case that exists: a
// worksheet opened on an empty case list, or on a case another thread has
// deleted since, takes no new entry (the form has no case entry of its
// own).
//
// A print button first writes the case's number into G:CASENUMBER, then
// the window's ordinary handling runs, the selected entry is read again,
// the printout is called on this thread with the number just written, and
// the window is refreshed.

#include <span>
#include <string>

namespace cases {

void BrowseInCourt();
void BrowseOutOfCourt();
void BrowseOtherExpenses();

// The printouts of the worksheets' print buttons, by procedure:
// "PRT_InCOURT", "PRT_OutCOURT", "PRT_OTHER", "PRT_OTHER_NON". Each is
// given the case number its button wrote into G:CASENUMBER. An entry
// without a call prints nothing: the printouts are connected at program
// start.
struct WorksheetPrintCall {
  int control;
  const char* procedure;
  void (*call)(const std::string& caseNumber);
};
std::span<WorksheetPrintCall> WorksheetPrintCalls();

// The worksheets' controls, by number, in the order of their descriptions;
// each window has the ones its section shows. Prompts and bands are
// numbered from 200 on.
namespace worksheet {
constexpr int CCS_CASENAME = 1;
constexpr int CCS_CASENUMBER = 2;
constexpr int CURRENTTAB = 3;
constexpr int TAB_2 = 4;  // the section's own tab
constexpr int CCS_HOURLYRATE = 5;
constexpr int BROWSE_1 = 6;
// The column totals G:A ... G:OTHER: G(0) ... G(21), wherever a window has
// them (its first tab, or a hidden one).
constexpr int G(int total) { return 10 + total; }
constexpr int HOU_IN_TOTALHOURS = 40;
constexpr int HOU_TOTALSECTION_INCOURT = 41;
constexpr int HOU_OUT_TOTALHOURS = 42;
constexpr int HOU_TOTALSECTION_OUTCOURT = 43;
constexpr int HOU_TOTALSECTIONTRAVEL = 44;
constexpr int HOU_TOTALSECTIONOTHER = 45;
constexpr int HOU_TOTALSECTION = 46;
constexpr int BUTTON5 = 50;    // "PRINT IN COURT WORKSHEET", "PRINT OUT OF COURT WORKSHEET"
constexpr int BUTTON4 = 51;    // "PRINT OTHER EXPENSES WORKSHEET"
constexpr int BUTTON4_2 = 52;  // "IF NO ENTRIES,  CLICK HERE"
constexpr int TAB2 = 60;       // hidden: "OUT OF COURT"
constexpr int LIST = 61;
constexpr int TAB3 = 62;  // hidden: "OTHER EXPENSES"
constexpr int LIST_2 = 63;
constexpr int INSERT_3 = 70;
constexpr int CHANGE_3 = 71;
constexpr int DELETE_3 = 72;
constexpr int VIEW_2 = 73;  // hidden, in the two time worksheets
}  // namespace worksheet

}  // namespace cases
