#include "platform/db/transaction.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/db/file.h"
#include "platform/db/sqlite_util.h"

namespace platform {

DbTransaction::DbTransaction(DbContext& context) : context_(context) {}

DbTransaction::~DbTransaction() { rollback(); }

DbStatus DbTransaction::begin(const std::vector<DbFile*>& files, std::chrono::milliseconds timeout) {
  error_ = {};
  auto fail = [&](DbStatus status, std::string text, int code = 0) {
    error_.status = status;
    error_.text = std::move(text);
    error_.fileCode = code;
    return status;
  };
  if (active_) return fail(DbStatus::Invalid, "the transaction has begun already");
  if (files.empty()) return fail(DbStatus::Invalid, "a transaction over no files");
  if (context_.inTransaction()) return fail(DbStatus::Invalid, "another transaction is open on this thread");
  for (const DbFile* f : files) {
    if (!f || f->context_ != &context_) return fail(DbStatus::Invalid, "a file of another thread");
    if (!f->open_) return fail(DbStatus::NotOpen, "the file " + f->layout().storedName() + " is not open");
    if (f->readOnly_) return fail(DbStatus::ReadOnly, "the file " + f->path() + " is open read-only");
  }
  // Every copy of the program locks files in the same order (by path), so
  // two transactions never wait for each other's locks.
  std::vector<const DbFile*> ordered(files.begin(), files.end());
  std::sort(ordered.begin(), ordered.end(), [](const DbFile* a, const DbFile* b) { return a->path() < b->path(); });
  ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());

  sqlite3* db = context_.db_;
  context_.setDeadlineIn(timeout);
  std::string why;
  int rc = dbi::exec(db, "BEGIN", &why);
  for (const DbFile* f : ordered) {
    if (rc != SQLITE_OK) break;
    // A write that changes nothing takes the file's write lock now, waiting
    // for it until the deadline.
    rc = dbi::exec(db, "DELETE FROM " + f->schema_ + ".meta WHERE 0", &why);
    if (rc == SQLITE_OK && sqlite3_txn_state(db, f->schema_.c_str()) != SQLITE_TXN_WRITE) {
      rc = SQLITE_ERROR;
      why = "no write lock on " + f->path();
    }
  }
  if (rc != SQLITE_OK) {
    if (sqlite3_get_autocommit(db) == 0) dbi::exec(db, "ROLLBACK");
    return fail(dbi::isBusy(rc) ? DbStatus::Locked : DbStatus::Failed, why, rc);
  }
  active_ = true;
  return DbStatus::Ok;
}

DbStatus DbTransaction::commit() {
  error_ = {};
  if (!active_) {
    error_.status = DbStatus::Invalid;
    error_.text = "no transaction is open";
    return error_.status;
  }
  active_ = false;
  sqlite3* db = context_.db_;
  if (sqlite3_get_autocommit(db) != 0) {
    // An error inside (a full disk, an I/O error) has rolled everything back.
    error_.status = DbStatus::Failed;
    error_.text = "the transaction was rolled back by an earlier error";
    return error_.status;
  }
  context_.setDeadlineIn(DbBusyTimeout);
  std::string why;
  int rc = dbi::exec(db, "COMMIT", &why);
  if (rc == SQLITE_OK) return DbStatus::Ok;
  if (sqlite3_get_autocommit(db) == 0) dbi::exec(db, "ROLLBACK");
  error_.status = dbi::isBusy(rc) ? DbStatus::Locked : DbStatus::Failed;
  error_.text = why;
  error_.fileCode = rc;
  return error_.status;
}

void DbTransaction::rollback() {
  if (!active_) return;
  active_ = false;
  if (context_.db_ && sqlite3_get_autocommit(context_.db_) == 0) dbi::exec(context_.db_, "ROLLBACK");
}

}  // namespace platform
