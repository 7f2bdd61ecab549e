#pragma once
// The worksheets of one case, printed: four report procedures on the
// report shape (report_shape.h), each reading the case's time and expense
// entries in HOU:KeyCaseNumber order, on letter paper in landscape.
//
//   PRT_InCOURT     "IN-COURT WORKSHEET": a line for each entry whose stored
//                   in-court amount is not 0 (a negative one prints), its
//                   eight in-court hour categories summed under the table,
//                   then the case's hourly rate, the hours worked and the
//                   amount billed (the sums of the stored hours and amounts).
//   PRT_OutCOURT    "OUT-OF-COURT HOURLY WORKSHEET": the same for the five
//                   out-of-court categories and the stored out-of-court
//                   amount.
//   PRT_OTHER       "OTHER EXPENSE WORKSHEET": each entry's expense values
//                   are first recomputed in the run's own copy of it (the
//                   mileage amount, travel, other and expense total); an
//                   entry whose recomputed expense total is not 0 prints
//                   with those values, and they are what the sums add. The
//                   file is never written.
//   PRT_OTHER_NON   the same worksheet for a case without expenses: its
//                   headings, "NONE" and an amount billed of "0.", one page
//                   for a case whatever its entries hold, a case without
//                   any entry included.
//
// Each takes the case to print as its argument: the worksheets' print
// buttons pass the number they copied into G:CASENUMBER, the frame's menu
// item the number G:CASENUMBER held when it was chosen. A blank number
// ends the procedure at once: no file, no window, no message, cancelled.
//
// The case's name and hourly rate come from the case's own record, which
// the run reads into a record of its own; the entries come into the run's
// own record too. So a report prints the same from a worksheet and from a
// thread of its own, and the caller's record buffers, positions and files
// are exactly as they were when it returns. A number with no case record
// prints the name and rate blank.
//
// Every page carries the case's name and number, the title, "ENCLOSURE:"
// with the page number and the column headings on a black band; the sums
// print once, under the last printed line, beside "PAGE TOTAL:". Every
// entry read has the case's number (compared as the key compares), so a
// run holds one group. A description wraps within its column and its line
// grows to hold it; a line is never split across pages. A recomputed
// amount that does not fit its field prints as its picture's row of '#',
// and so does every sum that has added it.
//
// Nothing to print ends with "No Records" and no preview, cancelled: a case
// without entries, or with none that belongs on the worksheet; for
// PRT_OTHER_NON, a number with neither a case record nor entries.

#include <string>

namespace reports {

void PRT_InCOURT(const std::string& caseNumber);
void PRT_OutCOURT(const std::string& caseNumber);
void PRT_OTHER(const std::string& caseNumber);
void PRT_OTHER_NON(const std::string& caseNumber);

}  // namespace reports
