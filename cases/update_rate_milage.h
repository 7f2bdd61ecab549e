#pragma once
// The mileage-rate form: one record of RateMilage on the thread's record
// buffer, with the form shape of form_manager.h. Its controls are in
// rate_windows.h.

namespace cases {

void UpdateRateMilage();

}  // namespace cases
