#include "dictionary/dictionary.h"

namespace dictionary {

using platform::FieldRef;

FieldRef CCS(CaseCloseSummaryField field) {
  return FieldRef::of(CaseCloseSummaryLayout().field(field), CaseCloseSummary().record());
}
FieldRef HOU(HOURLYField field) { return FieldRef::of(HOURLYLayout().field(field), HOURLY().record()); }
FieldRef RTM(RateMilageField field) { return FieldRef::of(RateMilageLayout().field(field), RateMilage().record()); }
FieldRef TOT(TOTALSField field) { return FieldRef::of(TOTALSLayout().field(field), TOTALS().record()); }

platform::DbFile& CaseCloseSummary() { return threadData().file(CaseCloseSummaryFile); }
platform::DbFile& HOURLY() { return threadData().file(HOURLYFile); }
platform::DbFile& RateMilage() { return threadData().file(RateMilageFile); }
platform::DbFile& TOTALS() { return threadData().file(TOTALSFile); }

platform::FileManager& Access_CaseCloseSummary() { return threadData().access(CaseCloseSummaryFile); }
platform::FileManager& Access_HOURLY() { return threadData().access(HOURLYFile); }
platform::FileManager& Access_RateMilage() { return threadData().access(RateMilageFile); }
platform::FileManager& Access_TOTALS() { return threadData().access(TOTALSFile); }

platform::FileRelations& Relate_CaseCloseSummary() { return threadData().relate(CaseCloseSummaryFile); }
platform::FileRelations& Relate_HOURLY() { return threadData().relate(HOURLYFile); }
platform::FileRelations& Relate_RateMilage() { return threadData().relate(RateMilageFile); }
platform::FileRelations& Relate_TOTALS() { return threadData().relate(TOTALSFile); }

AccessHOURLY& EntryAccess() { return static_cast<AccessHOURLY&>(threadData().access(HOURLYFile)); }

}  // namespace dictionary
