#pragma once
// The record layouts of the four record files: every field with its type,
// size, offset and group.

#include "dictionary/fields.h"
#include "platform/types/field.h"

namespace dictionary {

const platform::RecordLayout& CaseCloseSummaryLayout();
const platform::RecordLayout& HOURLYLayout();
const platform::RecordLayout& RateMilageLayout();
const platform::RecordLayout& TOTALSLayout();

}  // namespace dictionary
