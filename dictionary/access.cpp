#include "dictionary/access.h"

#include <algorithm>
#include <string_view>

#include "dictionary/fields.h"
#include "dictionary/keys.h"
#include "dictionary/layouts.h"
#include "platform/types/clock.h"

namespace dictionary {

using platform::FieldRef;

// --- set-up and shut-down ----------------------------------------------------------

namespace {

constexpr FileIndex SetupOrder[] = {CaseCloseSummaryFile, HOURLYFile, RateMilageFile, TOTALSFile};

const char* labelOf(FileIndex which) {
  switch (which) {
    case CaseCloseSummaryFile:
      return "CaseCloseSummary";
    case HOURLYFile:
      return "HOURLY";
    case RateMilageFile:
      return "RateMilage";
    default:
      return "TOTALS";
  }
}

}  // namespace

ThreadDictionary::ThreadDictionary(ThreadData& thread, platform::ErrorManager& errors) : thread_(thread) {
  DictionarySetup(thread_, errors);
}

ThreadDictionary::~ThreadDictionary() { DictionaryShutdown(thread_); }

void DictionarySetup(ThreadData& t, platform::ErrorManager& errors) {
  for (FileIndex which : SetupOrder) t.file(which);  // the files must exist
  t.errors_ = &errors;
  t.access_[CaseCloseSummaryFile] = std::make_unique<AccessCaseCloseSummary>(t);
  t.relate_[CaseCloseSummaryFile] = std::make_unique<RelateCaseCloseSummary>(t);
  t.access_[HOURLYFile] = std::make_unique<AccessHOURLY>(t);
  t.relate_[HOURLYFile] = std::make_unique<RelateHOURLY>(t);
  t.access_[RateMilageFile] = std::make_unique<AccessRateMilage>(t);
  t.relate_[RateMilageFile] = std::make_unique<RelateRateMilage>(t);
  t.access_[TOTALSFile] = std::make_unique<AccessTOTALS>(t);
  t.relate_[TOTALSFile] = std::make_unique<RelateTOTALS>(t);
  for (FileIndex which : SetupOrder) t.relateRef[which] = t.relate_[which].get();

  for (FileIndex which : SetupOrder) {
    // The access object first ...
    platform::FileManager& access = *t.access_[which];
    access.Init(t.file(which), errors);
    access.FILENAMEVALUE = labelOf(which);
    access.CREATE = true;
    access.LOCKRECOVER = LockRecoverySeconds;
    t.accessRef[which] = &access;
    // ... then its relation object, with transactions, and its relations.
    auto& relations = static_cast<DictionaryRelations&>(*t.relate_[which]);
    relations.Init(access, TransactionTimeout);
    relations.DeclareRelations();
  }
}

void DictionaryShutdown(ThreadData& t) {
  for (FileIndex which : SetupOrder) {
    if (t.access_[which]) t.access_[which]->Kill();
    if (t.relate_[which]) t.relate_[which]->Kill();
    t.access_[which].reset();
    t.relate_[which].reset();
  }
  t.errors_ = nullptr;
}

void AccessCaseCloseSummary::Kill() {
  thread_.accessRef[CaseCloseSummaryFile] = nullptr;
  FileManager::Kill();
}

void AccessHOURLY::Kill() {
  thread_.accessRef[HOURLYFile] = nullptr;
  FileManager::Kill();
}

void AccessRateMilage::Kill() {
  thread_.accessRef[RateMilageFile] = nullptr;
  FileManager::Kill();
}

void AccessTOTALS::Kill() {
  thread_.accessRef[TOTALSFile] = nullptr;
  FileManager::Kill();
}

void DictionaryRelations::Kill() {
  thread_.relateRef[file_] = nullptr;
  FileRelations::Kill();
}

// --- relations -------------------------------------------------------------------------

void RelateCaseCloseSummary::DeclareRelations() {
  AddRelation(thread_.relate(TOTALSFile), platform::RelationCascade, platform::RelationCascade, TOT_KeyCaseNumber);
  AddRelationLink(CCS_CASENUMBER, TOT_CASENUMBER);
  AddRelation(thread_.relate(HOURLYFile), platform::RelationCascade, platform::RelationCascade, HOU_KeyCaseNumber);
  AddRelationLink(CCS_CASENUMBER, HOU_CASENUMBER);
}

void RelateHOURLY::DeclareRelations() {
  AddRelation(thread_.relate(RateMilageFile));
  AddRelation(thread_.relate(CaseCloseSummaryFile));
}

void RelateRateMilage::DeclareRelations() {
  AddRelation(thread_.relate(HOURLYFile), platform::RelationNone, platform::RelationNone, HOU_KeyMilageRate);
  AddRelationLink(RTM_MILAGERATE, HOU_MILAGERATE);
}

void RelateTOTALS::DeclareRelations() { AddRelation(thread_.relate(CaseCloseSummaryFile)); }

// --- defaults and the field check ---------------------------------------------------------

void AccessCaseCloseSummary::NewRecordDefaults() {
  FieldRef::of(CaseCloseSummaryLayout().field(CCS_DATE), file().record()).setDay(platform::today());
}

void AccessRateMilage::NewRecordDefaults() {
  FieldRef::of(RateMilageLayout().field(RTM_DATEMILAGERATE), file().record()).setDay(platform::today());
}

namespace {

// The case whose number is the first characters of `number` (as many as a
// case number holds), fetched by CCS:KeyCaseNumber. `found` runs while that
// case is in the case file's buffer; the buffer and position are the same
// afterwards, whatever happened. Answers the fetch's level.
int lookUpCase(ThreadData& t, const FieldRef& number, const std::function<void()>& found) {
  platform::FileManager& cases = t.access(CaseCloseSummaryFile);
  // The case file's buffer and position come back however the lookup ends.
  struct Restore {
    platform::FileManager& access;
    platform::DbFileState state;
    ~Restore() { access.RestoreFile(state); }
  } restore{cases, cases.SaveFile()};

  FieldRef caseNumber = FieldRef::of(CaseCloseSummaryLayout().field(CCS_CASENUMBER), cases.file().record());
  const std::size_t compared = std::min<std::size_t>(caseNumber.size(), number.size());
  caseNumber.setText(std::string_view(reinterpret_cast<const char*>(number.data()), compared));
  const int level = cases.TryFetch(CCS_KeyCaseNumber);
  if (level == platform::LevelBenign && found) found();
  return level;
}

// A field check on a case number: "Field contents error" naming `fieldName`
// and "CaseCloseSummary" when no case has it (with messages), else the
// lookup's level.
int checkCaseNumber(ThreadData& t, platform::FileManager& access, const FieldRef& number, const char* fieldName,
                    bool messages) {
  access.errors().setField(fieldName);
  const int found = lookUpCase(t, number, {});
  if (found == platform::LevelBenign) return found;
  return messages ? access.raise(platform::Msg::FieldNotInFile, {}, "CaseCloseSummary") : found;
}

}  // namespace

int AccessHOURLY::CheckEntryCase(int field, bool messages) {
  int result = FileManager::ValidateField(field, messages);
  if (field != HOU_CASENUMBER) return result;
  const FieldRef entryCase = FieldRef::of(HOURLYLayout().field(HOU_CASENUMBER), file().record());
  if (int level = checkCaseNumber(thread_, *this, entryCase, "HOU:CaseNumber", messages)) result = level;
  return result;
}

int AccessHOURLY::LookUpEntryCase(const std::function<void()>& found) {
  return lookUpCase(thread_, FieldRef::of(HOURLYLayout().field(HOU_CASENUMBER), file().record()), found);
}

int AccessTOTALS::ValidateField(int field, bool messages) {
  int result = FileManager::ValidateField(field, messages);
  if (field != TOT_CASENUMBER) return result;
  const FieldRef caseNumber = FieldRef::of(TOTALSLayout().field(TOT_CASENUMBER), file().record());
  if (int level = checkCaseNumber(thread_, *this, caseNumber, "TOT:CaseNumber", messages)) result = level;
  return result;
}

}  // namespace dictionary
