// Stand-ins for the worksheet reports, which the printing window calls;
// the tests put recorders in their place.

#include "reports/worksheet_reports.h"

namespace reports {

void PRT_InCOURT(const std::string&) {}
void PRT_OutCOURT(const std::string&) {}
void PRT_OTHER(const std::string&) {}
void PRT_OTHER_NON(const std::string&) {}

}  // namespace reports
