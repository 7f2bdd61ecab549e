#pragma once
// Outcomes of the keyed-file driver's calls and the error that every failure
// carries. The class library maps them onto its numbered messages: the
// status picks the message, DbError::text fills %ErrorText.

#include <string>

namespace platform {

enum class DbStatus : int {
  Ok = 0,
  // No record has that key value or position (a position whose record was
  // deleted since it was read).
  NotFound = 1,
  // A key that allows no duplicates already holds the value; the key's
  // number is in DbError::duplicateKey.
  Duplicate = 2,
  // The stored record no longer equals the image that was read: another
  // thread or copy of the program changed it in between.
  Changed = 3,
  // A lock held elsewhere did not clear within the timeout.
  Locked = 4,
  // Open: the file or its directory allows no write access.
  Denied = 5,
  // Open: the file does not exist (create() makes it).
  FileNotFound = 6,
  // Open: the file is not a record file of this layout (another program's
  // file, random bytes, truncated, another record layout). It is never
  // written to.
  NotOurs = 7,
  // Open: the file's keys are damaged or were built differently
  // (rebuildKeys() repairs them).
  InvalidKey = 8,
  CreateFailed = 9,
  RebuildFailed = 10,
  // A write to a file that was opened read-only.
  ReadOnly = 11,
  // The file is not open on this context.
  NotOpen = 12,
  // The file turned out to be damaged while in use.
  Damaged = 13,
  // The call's arguments do not fit the file (a key number out of range, a
  // transaction over another context's file, ...).
  Invalid = 14,
  // Any other failure (I/O error, disk full, ...).
  Failed = 15,
};

// A short name of the status ("Duplicate", "Locked", ...), for logs and tests.
const char* dbStatusName(DbStatus status);

struct DbError {
  DbStatus status = DbStatus::Ok;
  // SQLite's extended result code, 0 when the failure is the driver's own.
  int fileCode = 0;
  // The text for %ErrorText; empty on success.
  std::string text;
  // Duplicate: 1-based number of the first key that allows no duplicates and
  // already holds the value; 0 otherwise.
  int duplicateKey = 0;
};

}  // namespace platform
