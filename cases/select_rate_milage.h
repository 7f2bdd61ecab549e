#pragma once
// The mileage-rate picker "Select a Rate ": called on the caller's thread
// with ThreadRequest = RequestSelect. Select (the button, Enter or a
// double-click on a row) answers ResponseCompleted and leaves the picked
// rate's date and rate in the thread's RateMilage buffer; any other way out
// answers ResponseCancelled and leaves the buffer as the caller had it. Its
// controls are in rate_windows.h.

namespace cases {

void SelectRateMilage();

}  // namespace cases
