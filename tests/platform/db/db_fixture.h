#pragma once
// Small record files for the driver's tests and child processes: a case
// file, an entry file with an auto-numbered key, and a totals file, linked by
// case number the way the real files are.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/transaction.h"
#include "platform/types/daynum.h"
#include "platform/types/decimal.h"
#include "platform/types/field.h"
#include "tests/platform/db/scratch.h"

namespace platform {
// Test failures name the status.
inline void PrintTo(DbStatus status, std::ostream* os) { *os << dbStatusName(status); }
}  // namespace platform

namespace dbtest {

using platform::DbFile;
using platform::FieldRef;
using platform::FileDefinition;
using platform::KeyDefinition;
using platform::RecordLayout;

enum CaseField : int { CAS_NUMBER = 1, CAS_NAME, CAS_DATE, CAS_RATE, CAS_ENTRIES, CAS_SERIAL };
enum CaseKey : int { KeyCaseNumber = 1, KeyCaseName, KeyCaseDate, KeyCaseRate };
enum EntryField : int { ENT_FN = 1, ENT_CASENUMBER, ENT_SEQ, ENT_NOTE };
enum EntryKey : int { KeyEntryFN = 1, KeyEntryCase };
enum TotalField : int { TOT_CASENUMBER = 1, TOT_AMOUNT };

inline const RecordLayout& caseLayout() {
  static const RecordLayout layout("Cases", "CAS", "CASES", 66,
                                   {platform::STRING("CAS:NUMBER", 20, 0), platform::STRING("CAS:NAME", 30, 20),
                                    platform::DATE("CAS:DATE", 50), platform::DECIMAL("CAS:RATE", 7, 2, 54),
                                    platform::LONG("CAS:ENTRIES", 58), platform::LONG("CAS:SERIAL", 62)});
  return layout;
}

inline FileDefinition caseDefinition() {
  return FileDefinition{&caseLayout(),
                        {KeyDefinition{"CAS:KeyNumber", "Case Number", CAS_NUMBER, true, true, false},
                         KeyDefinition{"CAS:KeyName", "Case Name", CAS_NAME, false, true, false},
                         KeyDefinition{"CAS:KeyDate", "Date", CAS_DATE, false, false, false},
                         KeyDefinition{"CAS:KeyRate", "Rate", CAS_RATE, false, true, false}}};
}

inline const RecordLayout& entryLayout() {
  static const RecordLayout layout("Entries", "ENT", "ENTRIES", 68,
                                   {platform::LONG("ENT:FN", 0), platform::STRING("ENT:CASENUMBER", 20, 4),
                                    platform::LONG("ENT:SEQ", 24), platform::STRING("ENT:NOTE", 40, 28)});
  return layout;
}

inline FileDefinition entryDefinition() {
  return FileDefinition{&entryLayout(),
                        {KeyDefinition{"ENT:KeyFN", "FN", ENT_FN, true, true, true},
                         KeyDefinition{"ENT:KeyCaseNumber", "ENT:KeyCaseNumber", ENT_CASENUMBER, false, false, false}}};
}

inline const RecordLayout& totalLayout() {
  static const RecordLayout layout("Totals", "TOT", "TOTS", 26,
                                   {platform::STRING("TOT:CASENUMBER", 20, 0), platform::DECIMAL("TOT:AMOUNT", 11, 2, 20)});
  return layout;
}

inline FileDefinition totalDefinition() {
  return FileDefinition{&totalLayout(),
                        {KeyDefinition{"TOT:KeyCaseNumber", "Case Number", TOT_CASENUMBER, true, true, false}}};
}

inline FieldRef field(DbFile& f, int number) { return FieldRef::of(f.layout().field(number), f.record()); }
inline FieldRef field(const RecordLayout& layout, std::vector<std::uint8_t>& image, int number) {
  return FieldRef::of(layout.field(number), image.data());
}
inline std::string textOf(const RecordLayout& layout, std::vector<std::uint8_t> image, int number) {
  return FieldRef::of(layout.field(number), image.data()).text();
}
inline std::int64_t intOf(const RecordLayout& layout, std::vector<std::uint8_t> image, int number) {
  return FieldRef::of(layout.field(number), image.data()).integer();
}
inline void setDecimal(DbFile& f, int number, const char* text) {
  field(f, number).setDecimal(*platform::Decimal::parse(text));
}
inline void clear(DbFile& f) { platform::clearRecord(f.layout(), f.record()); }

// Opens the file the way the class library does, creating it when missing.
inline platform::DbStatus openOrCreate(DbFile& f) {
  platform::DbStatus s = f.open();
  if (s == platform::DbStatus::FileNotFound) {
    s = f.create();
    if (s == platform::DbStatus::Ok) s = f.open();
  }
  return s;
}

}  // namespace dbtest
