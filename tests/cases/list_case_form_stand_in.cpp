// A stand-in for the case form, which the case list calls.

#include "cases/procedures.h"
#include "tests/cases/list_case_fixture.h"

namespace cases {

void UpdateCaseCloseSummary() {
  using namespace dictionary;
  const std::uint8_t request = app::ThreadRequest();
  app::ThreadRequest() = 0;
  app::ThreadResponse() = 0;
  casetest::noteCall("UpdateCaseCloseSummary", request);
  std::uint8_t response = app::ResponseCancelled;
  const casetest::CaseFormScript& script = casetest::caseForm();
  if (request == app::RequestDelete) {
    if (Relate_CaseCloseSummary().Delete(true) == 0) response = app::ResponseCompleted;
  } else if (request == app::RequestInsert || request == app::RequestChange) {
    const std::vector<std::uint8_t> original(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());
    if (!script.number.empty()) CCS(CCS_CASENUMBER).setText(script.number);
    if (!script.name.empty()) CCS(CCS_CASENAME).setText(script.name);
    if (!script.rate.empty()) CCS(CCS_HOURLYRATE).setDecimal(*platform::Decimal::parse(script.rate));
    if (script.save) {
      const int level = request == app::RequestInsert ? Access_CaseCloseSummary().Insert()
                                                      : Relate_CaseCloseSummary().Update(original);
      if (level == 0) response = app::ResponseCompleted;
    }
  }
  app::ThreadResponse() = response;
}

}  // namespace cases
