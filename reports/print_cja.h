#pragma once
// The claim-form attachment of one case ("PRINT_CJA"): the claim section of
// the court's voucher, items 15 to 34, with the case's hours by category,
// the amounts claimed, the expenses and the grand total, and the case's
// claim data, under a header that names the case (reports/claim_form.h).
//
// The view is the case, read by case number, with each of its entries (an
// outer join: a case without entries is one row whose entry is cleared).
// For each row the nine amount rules run afresh on the entry at the case's
// current hourly rate, each result stored rounded before the next rule
// reads it; the amounts stored with the entries are not read, and nothing
// is written. The block shows the totals of those per-entry results, so an
// amount is the sum of amounts already rounded to cents entry by entry. A
// result that does not fit its field is not known: every total that sums
// it prints its picture's row of '#'.
//
// The report reads the case and its entries into records of its own, so
// the caller's buffers, positions and files are as they were after it. A
// blank number, or one that names no case, shows "No Records". The preview
// opens at "Tile pages"; the progress window keeps its placement under
// "PRINT_CJA".

#include <string>

namespace reports {

void PRINT_CJA(const std::string& caseNumber);

}  // namespace reports
