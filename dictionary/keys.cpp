#include "dictionary/keys.h"

#include "dictionary/layouts.h"

namespace dictionary {

using platform::FileSpec;
using platform::KeySpec;

namespace {

// KeySpec fields: name, description, component, unique, excludeEmpty,
// autoNumber. "excludeEmpty" keys leave out the records whose component is
// blank or zero; such records are missing in that key's order.
constexpr bool Unique = true, Duplicates = false;
constexpr bool LeftOut = true, Kept = false;

}  // namespace

const FileSpec& TOTALSSpec() {
  static const FileSpec spec{&TOTALSLayout(),
                             {KeySpec{"TOT:KeyCaseNumber", "Case Number", TOT_CASENUMBER, Unique, LeftOut, false}}};
  return spec;
}

const FileSpec& RateMilageSpec() {
  static const FileSpec spec{&RateMilageLayout(),
                             {KeySpec{"RTM:KeyMilageRate", "Milage Rate", RTM_MILAGERATE, Duplicates, Kept, false},
                              KeySpec{"RTM:KeyDate", "Date", RTM_DATEMILAGERATE, Duplicates, Kept, false}}};
  return spec;
}

const FileSpec& HOURLYSpec() {
  static const FileSpec spec{
      &HOURLYLayout(),
      {KeySpec{"HOU:KEYFN", "FN", HOU_FN, Unique, LeftOut, true},
       KeySpec{"HOU:KeyCaseNumber", "HOU:KeyCaseNumber", HOU_CASENUMBER, Duplicates, Kept, false},
       KeySpec{"HOU:KeyCaseName", "Case Name", HOU_CASENAME, Duplicates, LeftOut, false},
       KeySpec{"HOU:KeyDate", "Date", HOU_DATE, Duplicates, Kept, false},
       KeySpec{"HOU:KeyMilageRate", "Milage Rate", HOU_MILAGERATE, Duplicates, LeftOut, false}}};
  return spec;
}

const FileSpec& CaseCloseSummarySpec() {
  static const FileSpec spec{
      &CaseCloseSummaryLayout(),
      {KeySpec{"CCS:KeyCaseName", "Case Name", CCS_CASENAME, Duplicates, LeftOut, false},
       KeySpec{"CCS:KeyCaseNumber", "Case Number", CCS_CASENUMBER, Unique, LeftOut, false},
       KeySpec{"CCS:KeyAttorney", "CCS:KeyAttorney", CCS_ATTORNEY, Duplicates, Kept, false},
       KeySpec{"CCS:KeyJudge", "CCS:KeyJudge", CCS_JUDGE, Duplicates, Kept, false}}};
  return spec;
}

}  // namespace dictionary
