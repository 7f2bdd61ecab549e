#pragma once
// A transaction over several record files of one context: every change made
// through those files between begin() and commit() is stored together or not
// at all, a crash included. begin() takes the write locks of all the files
// at once, waiting at most `timeout` for locks held elsewhere. Its holder
// must finish it before its logical thread can switch (no message box, no
// wait while it is open). A transaction still open when the object ends is
// rolled back. The transaction must end before its context does.

#include <chrono>
#include <vector>

#include "platform/db/context.h"
#include "platform/db/status.h"

namespace platform {

class DbFile;

class DbTransaction {
 public:
  explicit DbTransaction(DbContext& context);
  ~DbTransaction();
  DbTransaction(const DbTransaction&) = delete;
  DbTransaction& operator=(const DbTransaction&) = delete;

  // The files must be open for writing on this transaction's context.
  // Locked when a lock cannot be had in time; nothing is then held.
  DbStatus begin(const std::vector<DbFile*>& files, std::chrono::milliseconds timeout = DbBusyTimeout);
  // Locked when the commit cannot get its lock in time, Failed on an I/O
  // error; the transaction is then rolled back.
  DbStatus commit();
  void rollback();
  bool active() const { return active_; }
  const DbError& error() const { return error_; }

 private:
  DbContext& context_;
  bool active_ = false;
  DbError error_;
};

}  // namespace platform
