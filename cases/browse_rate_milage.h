#pragma once
// The mileage-rate list "Mileage Rate": every rate of RateMilage, lowest
// first, where the user adds, changes and deletes rates through the rate
// form. The frame starts it on a thread of its own; nothing calls it. Its
// controls and its own button's call are in rate_windows.h.

namespace cases {

void BrowseRateMilage();

}  // namespace cases
