#pragma once
// Each record file's own access class and relation class, and the set-up
// and tear-down of a thread's ten dictionary objects.
//
// The access classes add to the class library's FileManager:
//   CaseCloseSummary  new records carry today's date in CCS:DATE;
//   RateMilage        new records carry today's date in RTM:DATEMILAGERATE;
//   HOURLY            the field check CheckEntryCase: an entry's case
//                     number must name a case;
//   TOTALS            the field check of TOT:CASENUMBER: a totals
//                     record's case number must name a case.
// Each one's shut-down clears the thread's reference to it.
//
// The relations, declared on both sides:
//   CaseCloseSummary -> TOTALS  by CCS:CASENUMBER = TOT:CASENUMBER,
//                               read through TOT:KeyCaseNumber; a changed
//                               number and a delete cascade
//   CaseCloseSummary -> HOURLY  by CCS:CASENUMBER = HOU:CASENUMBER,
//                               read through HOU:KeyCaseNumber; cascade
//   RateMilage -> HOURLY        by RTM:MILAGERATE = HOU:MILAGERATE, read
//                               through HOU:KeyMilageRate; no action

#include <functional>

#include "dictionary/thread_data.h"

namespace dictionary {

// The timeout of the transactions of the relation objects.
constexpr std::chrono::milliseconds TransactionTimeout{2000};
// The lock-recovery time the access objects send after a refused open.
constexpr int LockRecoverySeconds = 10;

// The thread's dictionary objects live as long as this object.
class ThreadDictionary {
 public:
  ThreadDictionary(ThreadData& thread, platform::ErrorManager& errors);
  ~ThreadDictionary();
  ThreadDictionary(const ThreadDictionary&) = delete;
  ThreadDictionary& operator=(const ThreadDictionary&) = delete;

 private:
  ThreadData& thread_;
};

// Creates the ten objects (for CaseCloseSummary, HOURLY, RateMilage and
// TOTALS in turn, the access object, then the relation object), then sets
// up the relation objects in the same order: each sets up its access
// object, then itself, then declares its relations.
void DictionarySetup(ThreadData& thread, platform::ErrorManager& errors);
// For CaseCloseSummary, HOURLY, RateMilage and TOTALS in turn: the access
// object's shut-down, the relation object's shut-down, then both freed.
void DictionaryShutdown(ThreadData& thread);

class AccessCaseCloseSummary : public platform::FileManager {
 public:
  explicit AccessCaseCloseSummary(ThreadData& thread) : thread_(thread) {}
  void Kill() override;

 protected:
  void NewRecordDefaults() override;

 private:
  ThreadData& thread_;
};

class AccessHOURLY : public platform::FileManager {
 public:
  explicit AccessHOURLY(ThreadData& thread) : thread_(thread) {}
  void Kill() override;
  int ValidateField(int field, bool messages) override { return CheckEntryCase(field, messages); }

  // The field check: for HOU:CASENUMBER, its first 20 characters must be
  // the number of a case, found by CCS:KeyCaseNumber. Without a case:
  // "Field contents error" naming "HOU:CaseNumber" and "CaseCloseSummary"
  // (level 5) when messages are asked for, else the lookup's level (5 not
  // found, 3 the case file cannot be used). The case file's buffer and
  // position are the same afterwards, whatever happened.
  int CheckEntryCase(int field, bool messages);

  // The case the entry in the buffer names: the first 20 characters of
  // HOU:CASENUMBER, fetched by CCS:KeyCaseNumber. `found` runs while that
  // case is in the case file's buffer; the buffer and position are the
  // same afterwards, whatever happened. Answers the fetch's level: 0
  // found, 5 not found, 3 the case file cannot be used.
  int LookUpEntryCase(const std::function<void()>& found);

 private:
  ThreadData& thread_;
};

class AccessRateMilage : public platform::FileManager {
 public:
  explicit AccessRateMilage(ThreadData& thread) : thread_(thread) {}
  void Kill() override;

 protected:
  void NewRecordDefaults() override;

 private:
  ThreadData& thread_;
};

class AccessTOTALS : public platform::FileManager {
 public:
  explicit AccessTOTALS(ThreadData& thread) : thread_(thread) {}
  void Kill() override;
  // The field check: TOT:CASENUMBER must be the number of a case, looked up
  // as AccessHOURLY::CheckEntryCase looks up an entry's case, with "Field
  // contents error" naming "TOT:CaseNumber" and "CaseCloseSummary".
  int ValidateField(int field, bool messages) override;

 private:
  ThreadData& thread_;
};

// A relation object of the dictionary: it declares its file's relations
// and its shut-down clears the thread's reference to it.
class DictionaryRelations : public platform::FileRelations {
 public:
  DictionaryRelations(ThreadData& thread, FileIndex file) : thread_(thread), file_(file) {}
  virtual void DeclareRelations() = 0;
  void Kill() override;

 protected:
  ThreadData& thread_;
  FileIndex file_;
};

class RelateCaseCloseSummary : public DictionaryRelations {
 public:
  explicit RelateCaseCloseSummary(ThreadData& thread) : DictionaryRelations(thread, CaseCloseSummaryFile) {}
  void DeclareRelations() override;
};

class RelateHOURLY : public DictionaryRelations {
 public:
  explicit RelateHOURLY(ThreadData& thread) : DictionaryRelations(thread, HOURLYFile) {}
  void DeclareRelations() override;
};

class RelateRateMilage : public DictionaryRelations {
 public:
  explicit RelateRateMilage(ThreadData& thread) : DictionaryRelations(thread, RateMilageFile) {}
  void DeclareRelations() override;
};

class RelateTOTALS : public DictionaryRelations {
 public:
  explicit RelateTOTALS(ThreadData& thread) : DictionaryRelations(thread, TOTALSFile) {}
  void DeclareRelations() override;
};

}  // namespace dictionary
