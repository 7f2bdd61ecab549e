#pragma once
// The case-closing summary of one case: a one-page portrait form headed
// "CASE CLOSING SUMMARY" with the case's parties, charges, disposition,
// detention status, discovery, investigation, trial, pretrial motions,
// sentencing, appeals and comments, as the case form records them.
//
// The case comes as an argument: the printing window passes the case it
// shows, the frame's "Print by Case Number" the number G:CASENUMBER held
// at the click. A blank number returns at once (no file, no window, no
// message); a number without a case shows "No Records". The case is read
// into the run's own record, so the caller's buffers stay as they were.
//
// How the values print: a single-line value on a small rounded grey box;
// a check box ticked when its byte is not 0; in "DISCOVERY" the radio
// whose text the field holds (its "Tape Recordings" radio is hidden, so a
// case with tape recordings shows none chosen, its count beside "Tape
// recordings (number)" as for every case); in "TRIAL" the radio of the
// field's value (1 no trial, 2 jury, 3 court), none for 0. The charges
// (250 characters), the disposition (500) and the comments (255) wrap in
// boxes that hold the whole field, so nothing is cut and the summary stays
// one page.

#include <string>

namespace reports {

void ReportCaseCloseSummaryByCCS_KeyCaseNumber(const std::string& caseNumber);

}  // namespace reports
