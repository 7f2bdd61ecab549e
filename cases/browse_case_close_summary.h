#pragma once
// The case list "CASE FILE": every case of CaseCloseSummary by case name
// (first tab) or by case number (second tab), each tab with a search entry;
// the case form for adding, changing and deleting a case; and buttons that
// open, for the selected case, the worksheets, the case totals, the
// printing window and the totals list. Everything it opens runs on its
// thread and works on its current case.
//
// The window's own buttons reload the selected case record, call their
// window and refresh the list. "PRINT ALL FORMS" first copies the selected
// case number into G:CASENUMBER, before anything else happens, even when
// nothing is printed afterwards.

#include <span>
#include <string>

namespace cases {

void BrowseCaseCloseSummary();

// The window's controls, by number, in the order of its description.
namespace case_list {
constexpr int CURRENTTAB = 1;
constexpr int TAB_2 = 2;  // "&1) Case Name": by case name
constexpr int STRING1 = 3;
constexpr int CCS_CASENAME = 4;  // search entry of the case name
constexpr int STRING16 = 5;
constexpr int TAB_3 = 6;  // "&2) Case Number": by case number
constexpr int STRING1_2 = 7;
constexpr int CCS_CASENUMBER = 8;  // search entry of the case number
constexpr int STRING16_2 = 9;
constexpr int STRING13 = 10;
constexpr int BROWSE_1 = 11;
constexpr int BROWSEHOURLY_3 = 12;  // "OTHER EXPENSES"
constexpr int BUTTON10 = 13;        // "GRAND TOTAL FOR SELECTED CASE"
constexpr int INSERT_3 = 14;        // "&CREATE NEW CASE"
constexpr int CHANGE_3 = 15;        // "CASE CLOSING SUMMARY AND CJA20 FORM"
constexpr int DELETE_3 = 16;        // "&DELETE CASE"
constexpr int BROWSEHOURLY = 17;    // "IN COURT"
constexpr int BUTTON9 = 18;         // "PRINT ALL FORMS"
constexpr int BROWSETOTALS = 19;    // "View TOTALS", hidden
constexpr int STRING10 = 20;
constexpr int STRING10_4 = 21;
constexpr int STRING10_5 = 22;
constexpr int STRING10_2 = 23;
constexpr int STRING10_3 = 24;
constexpr int CCS_CASENUMBER_2 = 25;  // the selected case number
constexpr int CCS_CASENAME_3 = 26;    // the selected case name
constexpr int STRING3 = 27;
constexpr int CCS_CASENAME_2 = 28;  // the selected case name on the band
constexpr int STRING4 = 29;
constexpr int BROWSEHOURLY_2 = 30;  // "OUT OF COURT"
// Decorations.
constexpr int BAND_BOX = 31;
constexpr int SIDE_BOX = 32;
constexpr int IMPORTANT_BOX = 33;
constexpr int NUMBER_SELECTED_PROMPT = 34;
constexpr int NAME_SELECTED_PROMPT = 35;
}  // namespace case_list

// The windows the case list's own buttons open, each called on the case
// list's thread with ThreadRequest at 0. Each is given the case number the
// list showed for the selected row when the button was pressed (the number
// "PRINT ALL FORMS" writes into G:CASENUMBER), taken before the record is
// read again; the windows that work on the thread's current case ignore
// it. An entry without a call does nothing yet: its window belongs to a
// later part of the system, which fills it in here.
struct CaseListCall {
  int control;
  const char* procedure;
  void (*call)(const std::string& caseNumber);
};
std::span<CaseListCall> CaseListCalls();

}  // namespace cases
