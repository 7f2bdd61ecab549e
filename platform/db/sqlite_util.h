#pragma once
// Small helpers over the SQLite C interface, for the driver's own sources.

#include <sqlite3.h>

#include <map>
#include <string>

#include "platform/db/file_definition.h"

namespace platform::dbi {

// Resets a statement and clears its bindings when the scope ends, so that no
// statement stays unfinished after a driver call.
class ResetOnExit {
 public:
  explicit ResetOnExit(sqlite3_stmt* stmt) : stmt_(stmt) {}
  ~ResetOnExit() {
    if (stmt_) {
      sqlite3_reset(stmt_);
      sqlite3_clear_bindings(stmt_);
    }
  }
  ResetOnExit(const ResetOnExit&) = delete;
  ResetOnExit& operator=(const ResetOnExit&) = delete;

 private:
  sqlite3_stmt* stmt_;
};

// An all-or-nothing step of one call: a savepoint, which starts a
// transaction when none is open and nests in the caller's otherwise.
class OpScope {
 public:
  explicit OpScope(sqlite3* db);
  ~OpScope();
  OpScope(const OpScope&) = delete;
  OpScope& operator=(const OpScope&) = delete;

  int started() const { return startRc_; }
  // Makes the step's changes stand; on failure they are undone.
  int commit();

 private:
  void undo();
  sqlite3* db_;
  bool nested_;
  bool done_ = false;
  int startRc_;
};

// Runs the statements of one call in one read transaction, so that the
// files' shared locks are taken once; nothing inside the caller's own
// transaction.
class ReadScope {
 public:
  explicit ReadScope(sqlite3* db);
  ~ReadScope();
  ReadScope(const ReadScope&) = delete;
  ReadScope& operator=(const ReadScope&) = delete;

 private:
  sqlite3* db_;
  bool own_;
};

// A "file:" URI for the path, opened without creating it.
std::string fileUri(const std::string& path, bool readOnly);

// Runs SQL without results; the message of a failure goes to `error`.
int exec(sqlite3* db, const std::string& sql, std::string* error = nullptr);

bool isBusy(int rc);

// The value of "PRAGMA <schema>.<name>" as text; empty on failure.
std::string pragma(sqlite3* db, const std::string& schema, const std::string& name);

// Reads every row of a two-column query, as text, into `out`.
int readPairs(sqlite3* db, const std::string& sql, std::map<std::string, std::string>& out);

// Binds a key value: monostate as NULL, numbers as integers, text as a blob
// (the string must live until the statement is reset).
int bindKey(sqlite3_stmt* stmt, int param, const KeyValue& value);
// A column as a key value.
KeyValue columnKey(sqlite3_stmt* stmt, int column);

}  // namespace platform::dbi
