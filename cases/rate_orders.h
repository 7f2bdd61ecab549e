#pragma once
// What the two mileage-rate lists share: their list format (the date, then
// the rate) and their two orders, 1 by date and 2 by rate, each searched by
// a character typed on the list.

#include <vector>

#include "cases/locators.h"
#include "platform/lib/step_managers.h"
#include "platform/ui/control.h"

namespace cases {

class BrowseManager;

// The columns "Date" ("D17B") and "Mileage Rate" ("n6.3"), their headings
// centred.
std::vector<platform::ListColumn> RateColumns();

class RateOrders {
 public:
  // Declares the two orders with their locators, then the two columns, on a
  // list that was set up.
  void Declare(BrowseManager& browse);

 private:
  platform::NumberStepMgr dateSteps_, rateSteps_;
  KeystrokeLocator dateLocator_, rateLocator_;
};

}  // namespace cases
