#pragma once
// Procedures of other windows that the lists call.

namespace cases {

// The case form (update form of the case list).
void UpdateCaseCloseSummary();

}  // namespace cases
