#pragma once
// The keys of the four record files, numbered in the order each file
// registers them (1-based), and the files' descriptions for the keyed-file
// driver: layout and keys with their descriptions, duplicates rule and
// empty-value rule. Every key has one ascending component and compares text
// without regard to case.

#include "platform/db/file_definition.h"

namespace dictionary {

enum TOTALSKey : int {
  TOT_KeyCaseNumber = 1,
};

enum RateMilageKey : int {
  RTM_KeyMilageRate = 1,
  RTM_KeyDate = 2,
};

enum HOURLYKey : int {
  HOU_KEYFN = 1,
  HOU_KeyCaseNumber = 2,
  HOU_KeyCaseName = 3,
  HOU_KeyDate = 4,
  HOU_KeyMilageRate = 5,
};

enum CaseCloseSummaryKey : int {
  CCS_KeyCaseName = 1,
  CCS_KeyCaseNumber = 2,
  CCS_KeyAttorney = 3,
  CCS_KeyJudge = 4,
};

const platform::FileDefinition& TOTALSDefinition();
const platform::FileDefinition& RateMilageDefinition();
const platform::FileDefinition& HOURLYDefinition();
const platform::FileDefinition& CaseCloseSummaryDefinition();

}  // namespace dictionary
