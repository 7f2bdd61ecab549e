#include "cases/rate_orders.h"

#include "cases/browse_manager.h"
#include "dictionary/dictionary.h"

namespace cases {

std::vector<platform::ListColumn> RateColumns() {
  using platform::Justify;
  return {
      {80, Justify::Right, "Date", Justify::Center, "D17B"},
      // Every rate has three places, so right-aligned rates line up on the
      // decimal point.
      {80, Justify::Right, "Mileage Rate", Justify::Center, "n6.3"},
  };
}

void RateOrders::Declare(BrowseManager& browse) {
  browse.AddStepOrder(dateSteps_, dictionary::RTM_KeyDate);
  browse.SetOrderLocator(dateLocator_, 0, dictionary::RTM_DATEMILAGERATE);
  browse.AddStepOrder(rateSteps_, dictionary::RTM_KeyMilageRate);
  browse.SetOrderLocator(rateLocator_, 0, dictionary::RTM_MILAGERATE);
  browse.AddColumn(dictionary::RTM_DATEMILAGERATE);
  browse.AddColumn(dictionary::RTM_MILAGERATE);
}

}  // namespace cases
