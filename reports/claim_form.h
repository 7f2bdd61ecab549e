#pragma once
// The claim-form attachment as data: a landscape US Letter sheet whose page
// header names the case between two rules of hyphens, and a group footer
// that is the claim block of the court's voucher, items 15 to 34.
//
//   header   the title, a rule of 155 hyphens, the case's name, number and
//            attorney, a second rule; all in Courier. No page number.
//   detail   no controls and no height: printing it only adds the row's
//            values to the totals
//   footer   of the group on the case number: the claim block
//   page     "Date:" and "Time:" with their stamps
//   form     an image without a picture
//
// The claim block, top to bottom: a black bar; the column headings; item 15
// (in court) with its eight categories, the rate and the totals; item 16
// (out of court) with its five categories, the rate and the totals; items
// 17 (travel) and 18 (other expenses); a black bar with the grand total;
// items 19 to 21 (the certification period, the appointment's termination
// date, the disposition code); item 22 (the claim status) and the three
// yes/no questions as radio groups; the attorney's statement and the date
// of the signature; a black bar; and the court's own cells, 23 to 34,
// labels only. Grey cells shade what the block leaves empty: the amounts of
// the single categories and the hours of the expense rows.
//
// Twenty totals: the thirteen categories' hours, and the in-court and
// out-of-court hours and amounts, travel, other and grand total that each
// row's rules computed. The in-court hours total starts again after each
// case; the others run over the whole report (which holds one case).
//
// Measures are thousandths of an inch. The rules of hyphens are set in
// Courier 8, the largest whole size at which 155 hyphens fit the printable
// width; the header and the block fit one page together.

#include "platform/report/report_description.h"
#include "platform/report/run_record.h"

namespace reports::claim_form {

// The report's description, bound to the run's case record and to the
// row's entry record.
platform::report::ReportSpec Describe(platform::report::RunRecord& kase, platform::report::RunRecord& entry);

// The rule of hyphens under the title and under the case.
inline constexpr int RuleHyphens = 155;
inline constexpr int RulePoints = 8;

// Where the parts stand: the header band's top and height, and the body
// (where the claim block prints) from its top.
inline constexpr int HeaderTop = 250;
inline constexpr int HeaderHeight = 1150;
inline constexpr int BodyTop = 1450;
inline constexpr int FooterTop = 8000;
// The claim block's height.
inline constexpr int BlockHeight = 6440;

}  // namespace reports::claim_form
