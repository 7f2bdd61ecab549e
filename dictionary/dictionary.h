#pragma once
// What window procedures and reports use to reach the current thread's
// record files and their access and relation objects:
//
//   CCS(CCS_CASENUMBER), HOU(HOU_FN), RTM(...), TOT(...)
//       a field of the thread's record buffer of that file; the field
//       numbers of each file are a type of their own, so a field of one
//       file cannot name a field of another;
//   CaseCloseSummary(), HOURLY(), RateMilage(), TOTALS()
//       the thread's copy of the file (record buffer, position, reads);
//   Access_CaseCloseSummary(), ...   the thread's access object of the file;
//   Relate_CaseCloseSummary(), ...   its relation object.
//
// Each throws std::logic_error when the current thread has no such object
// (before its set-up or after its tear-down).

#include "dictionary/access.h"
#include "dictionary/fields.h"
#include "dictionary/keys.h"
#include "dictionary/layouts.h"
#include "dictionary/thread_data.h"
#include "platform/types/field.h"

namespace dictionary {

platform::FieldRef CCS(CaseCloseSummaryField field);
platform::FieldRef HOU(HOURLYField field);
platform::FieldRef RTM(RateMilageField field);
platform::FieldRef TOT(TOTALSField field);

platform::DbFile& CaseCloseSummary();
platform::DbFile& HOURLY();
platform::DbFile& RateMilage();
platform::DbFile& TOTALS();

platform::FileManager& Access_CaseCloseSummary();
platform::FileManager& Access_HOURLY();
platform::FileManager& Access_RateMilage();
platform::FileManager& Access_TOTALS();

platform::FileRelations& Relate_CaseCloseSummary();
platform::FileRelations& Relate_HOURLY();
platform::FileRelations& Relate_RateMilage();
platform::FileRelations& Relate_TOTALS();

// The thread's HOURLY access object, with the lookup of an entry's case.
AccessHOURLY& EntryAccess();

}  // namespace dictionary
