#pragma once
// The list reports: the whole of one record file in the order of one of its
// keys, as a ruled table on landscape pages, one line per record and one
// column per field, the heading row on every page, no totals. The frame's
// "&Reports" menu starts each on a thread of its own (50000 bytes).
//
//   ReportCaseCloseSummaryByCCS_KeyCaseName   the cases by name (33 columns)
//   ReportHOURLYByHOU_KeyCaseName             the entries by case name,
//   ReportHOURLYByHOU_KeyDate                 by date (undated entries
//   ReportHOURLYByHOU_KeyMilageRate           first), by mileage rate
//                                             (34 columns)
//   ReportRateMilageByRTM_KeyMilageRate       the mileage rates by rate and
//   ReportRateMilageByRTM_KeyDate             by date (2 columns)
//   ReportTOTALSByTOT_KeyCaseNumber           the totals records (30 columns)
//
// Which records a run meets is the key's affair: the keys by case name,
// by mileage rate of an entry and by the totals' case number leave out the
// records whose key field is empty; the others hold every record.
// Duplicates print in the order the key keeps them.
//
// The page (landscape US Letter, thousandths of an inch): the header at
// 250, 250, 8000 wide, with the title centred at its top, "Page n" at its
// right (from 6950), and the heading row, a box 250 high divided into the
// columns; the columns are of equal width, the k-th rule of n standing at
// 8000 * k / n, cut down to a whole thousandth. Each line is 250 high with
// a rule at every column edge and one under it; each heading and value
// starts 50 right of its column's left rule and is cut at the column's
// right rule (a number that does not fit shows its picture's '#' mark).
// The footer (the date and time of the run) stands on the bottom margin,
// its top at 8000, so the body from 850 to 8000 holds 28 lines a page.

namespace reports {

void ReportCaseCloseSummaryByCCS_KeyCaseName();
void ReportHOURLYByHOU_KeyCaseName();
void ReportHOURLYByHOU_KeyDate();
void ReportHOURLYByHOU_KeyMilageRate();
void ReportRateMilageByRTM_KeyMilageRate();
void ReportRateMilageByRTM_KeyDate();
void ReportTOTALSByTOT_KeyCaseNumber();

}  // namespace reports
