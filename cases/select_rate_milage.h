#pragma once
// The mileage-rate picker.

namespace cases {

void SelectRateMilage();

}  // namespace cases
