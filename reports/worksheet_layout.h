#pragma once
// The printed worksheets' pages (worksheet_reports.h): their descriptions,
// bound to the run's own entry record and case record.
//
// Every worksheet is landscape letter. The header band holds, top to
// bottom: "CASE NAME:" and "CASE NUMBER:" with their values underlined,
// "ENCLOSURE:" and the page number at the top right, the title in large
// bold type, and the black band of column headings in white. The body
// holds one detail line for each printed entry, closed by a rule across
// the table, and the group footer: a black bar, the sums beside "PAGE
// TOTAL:" between column rules, then the worksheet's totals block. The
// footer band carries the date and time stamps.
//
// Control names are the ones the pages' items carry: a detail value is
// "?HOU:TRIAL", its column sum "?HOU:TRIAL:2" (the other-expense
// worksheet's mileage amount is the other way round: "?HOU:TOTALMILAGE:2"
// on the line, "?HOU:TOTALMILAGE" in the sums).

#include "platform/report/report_description.h"
#include "platform/report/run_record.h"

namespace reports::worksheet {

using platform::report::ReportSpec;
using platform::report::RunRecord;

// `entry` is an HOURLY record, `kase` a CaseCloseSummary record.
ReportSpec InCourtSpec(RunRecord& entry, RunRecord& kase);
ReportSpec OutCourtSpec(RunRecord& entry, RunRecord& kase);
ReportSpec OtherSpec(RunRecord& entry, RunRecord& kase);
// The headings, "NONE" and the fixed totals are all text of the header; the
// detail band is empty and 0 high, the group footer a thin black bar.
ReportSpec OtherNoneSpec(RunRecord& entry, RunRecord& kase);

}  // namespace reports::worksheet
