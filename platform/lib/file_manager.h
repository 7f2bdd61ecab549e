#pragma once
// The access object of one record file on one logical thread: it opens the
// file when it is first used, reads, adds and numbers records, fills the
// defaults of new ones, checks fields, keeps saved states of the file's
// buffer and position, and reports every failure through the thread's error
// manager with %File set to the file's label.
//
// Opening. A window's Open() only counts a use; the file is really opened by
// its first read or write (UseFile). The steps:
//   open for reading and writing;
//   locked or denied: open again after sending the lock-recovery time
//     (LOCKRECOVER); still refused while write access was asked for:
//     "Access Denied" (a notice), then open read-only;
//   missing: create it (CREATE) and open again; creation fails: "File
//     Creation Error", which ends the program;
//   damaged keys: "Invalid Key", rebuild the keys and open again; the
//     rebuild fails: "Key was not built", which ends the program;
//   anything else (not one of our files, damaged records): "File Access
//     Error", which ends the program. Such a file is never written to.
// Using the file while no window has it open is a program fault: "File
// Usage Error" ends the program.
//
// Levels: the operations answer 0 when they succeeded, otherwise the level
// of the message they raised (platform/lib/messages.h): 5 after a notice,
// 4 when the user answered No.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "platform/db/file.h"
#include "platform/lib/error_manager.h"
#include "platform/lib/window_controller.h"

namespace platform {

class FileRelations;

// A message kept back while a transaction is open and raised once it has
// ended, so that no message box waits while locks are held.
struct HeldMessage {
  bool set = false;
  Msg id = Msg::UpdateError;
  std::string file;     // %File
  std::string message;  // %Message
  DbError error;        // %ErrorText, %ErrorCode
};

class FileManager : public FileStateKeeper {
 public:
  FileManager() = default;
  ~FileManager() override = default;
  FileManager(const FileManager&) = delete;
  FileManager& operator=(const FileManager&) = delete;

  // --- set-up and shut-down ------------------------------------------------

  // Binds the object to the thread's copy of the file and the thread's error
  // manager, with the defaults below.
  void Init(DbFile& file, ErrorManager& errors);
  // Drops the saved states; the object is unbound afterwards.
  virtual void Kill();
  bool initialised() const { return file_ != nullptr; }

  // The file's label, shown for %File.
  std::string FILENAMEVALUE;
  // The access asked for; the file is always shared with other threads and
  // copies of the program.
  Access OPENMODE = Access::ReadWrite;
  // Create the file when it is missing.
  bool CREATE = false;
  // Seconds the retry after a refused (locked) open waits for the lock.
  int LOCKRECOVER = 0;
  // Open() only counts a use; the first read or write opens the file.
  bool LazyOpen = true;

  DbFile& file() const;
  ErrorManager& errors() const;

  // --- opening -------------------------------------------------------------

  // Counts a use of the file by a window (and opens it at once when
  // LazyOpen is off). Answers 0 or the level of the open's message.
  int Open();
  // A use less; the file is closed when none is left.
  void Close();
  int useCount() const { return uses_; }
  // Makes the file ready for its first real use (see the steps above).
  // Every read or write of the file through other code (lists, reports)
  // must call it first.
  int UseFile();

  // --- records -------------------------------------------------------------

  // Reads the first record whose key `key` (1-based) equals the key's value
  // in the buffer, without messages: 0 found, 5 not found, 3 the file cannot
  // be used.
  int TryFetch(int key);

  // Makes the buffer a new record: clears it (unless suppressClear, when the
  // caller has cleared it and filled fields of its own), fills the file's
  // defaults, and for a file with an auto-numbered key takes the next number
  // and reserves it at once: the record is stored, invisible to every read,
  // until Insert completes it or CancelAutoInc releases it. When numbering
  // fails, "Auto Increment Error" asks whether to try again.
  int PrimeRecord(bool suppressClear = false);
  // Releases the number that PrimeRecord reserved (a cancelled form).
  int CancelAutoInc();
  // The position of the reservation PrimeRecord made, 0 for none.
  std::int64_t reservation() const { return reserved_; }

  // Adds the buffer as a new record after checking its fields: over the
  // reservation when the record was primed with a number. A value that a
  // key without duplicates already holds shows "Duplicate Key Error" naming
  // that key; nothing is added and the buffer keeps the typed values.
  int Insert();

  // The file's field check of field `field` (1-based), with or without a
  // message; 0 when the value is valid. The class library's own check
  // accepts every field.
  virtual int ValidateField(int field, bool messages);
  // Every field's check in layout order; the first failure's level.
  int ValidateRecord(bool messages = true);

  // --- saved states ----------------------------------------------------------

  DbFileState SaveFile() const;
  void RestoreFile(const DbFileState& state);
  // Saved states kept by the object, named by a handle (windows save the
  // states of their files when they prepare a request).
  std::uint32_t SaveState() override;
  void RestoreState(std::uint32_t handle) override;
  void ReleaseState(std::uint32_t handle) override;

  // The driver's error of the last failed call.
  const DbError& lastError() const { return lastError_; }

  // Raises a message for this file: %File is the label, %ErrorText and
  // %ErrorCode are the error's.
  int raise(Msg id, const DbError& error = {}, const std::string& message = {});
  int raise(const HeldMessage& held);
  // A message to raise later.
  HeldMessage hold(Msg id, const DbError& error, const std::string& message = {}) const;

  // The text for %Message of key number `key`: its description, or its
  // name when the description is blank.
  std::string keyDescription(int key) const;

 protected:
  // Fills the defaults of a new record, after the buffer has been cleared.
  virtual void NewRecordDefaults() {}

 private:
  friend class FileRelations;

  int openFile();
  int openFailed(DbStatus status);
  int reserveNumber();
  int insertOnce(DbStatus& status);
  // Writes the buffer over the record at `position` while the stored record
  // still equals `original`; a failure is held, not raised.
  bool changeHeld(std::int64_t position, std::span<const std::uint8_t> original, HeldMessage& held);
  int autoKey() const;

  DbFile* file_ = nullptr;
  ErrorManager* errors_ = nullptr;
  int uses_ = 0;
  std::int64_t reserved_ = 0;
  DbError lastError_;
  std::map<std::uint32_t, DbFileState> states_;
  std::uint32_t nextState_ = 0;
};

}  // namespace platform
