#include "dictionary/keys.h"

#include "dictionary/layouts.h"

namespace dictionary {

using platform::FileDefinition;
using platform::KeyDefinition;

namespace {

// KeyDefinition fields: name, description, component, unique, excludeEmpty,
// autoNumber. "excludeEmpty" keys leave out the records whose component is
// blank or zero; such records are missing in that key's order.
constexpr bool Unique = true, Duplicates = false;
constexpr bool LeftOut = true, Kept = false;

}  // namespace

const FileDefinition& TOTALSDefinition() {
  static const FileDefinition definition{
      &TOTALSLayout(), {KeyDefinition{"TOT:KeyCaseNumber", "Case Number", TOT_CASENUMBER, Unique, LeftOut, false}}};
  return definition;
}

const FileDefinition& RateMilageDefinition() {
  static const FileDefinition definition{
      &RateMilageLayout(),
      {KeyDefinition{"RTM:KeyMilageRate", "Milage Rate", RTM_MILAGERATE, Duplicates, Kept, false},
       KeyDefinition{"RTM:KeyDate", "Date", RTM_DATEMILAGERATE, Duplicates, Kept, false}}};
  return definition;
}

const FileDefinition& HOURLYDefinition() {
  static const FileDefinition definition{
      &HOURLYLayout(),
      {KeyDefinition{"HOU:KEYFN", "FN", HOU_FN, Unique, LeftOut, true},
       KeyDefinition{"HOU:KeyCaseNumber", "HOU:KeyCaseNumber", HOU_CASENUMBER, Duplicates, Kept, false},
       KeyDefinition{"HOU:KeyCaseName", "Case Name", HOU_CASENAME, Duplicates, LeftOut, false},
       KeyDefinition{"HOU:KeyDate", "Date", HOU_DATE, Duplicates, Kept, false},
       KeyDefinition{"HOU:KeyMilageRate", "Milage Rate", HOU_MILAGERATE, Duplicates, LeftOut, false}}};
  return definition;
}

const FileDefinition& CaseCloseSummaryDefinition() {
  static const FileDefinition definition{
      &CaseCloseSummaryLayout(),
      {KeyDefinition{"CCS:KeyCaseName", "Case Name", CCS_CASENAME, Duplicates, LeftOut, false},
       KeyDefinition{"CCS:KeyCaseNumber", "Case Number", CCS_CASENUMBER, Unique, LeftOut, false},
       KeyDefinition{"CCS:KeyAttorney", "CCS:KeyAttorney", CCS_ATTORNEY, Duplicates, Kept, false},
       KeyDefinition{"CCS:KeyJudge", "CCS:KeyJudge", CCS_JUDGE, Duplicates, Kept, false}}};
  return definition;
}

}  // namespace dictionary
