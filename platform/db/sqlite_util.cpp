#include "platform/db/sqlite_util.h"

#include <cstdio>

namespace platform::dbi {

OpScope::OpScope(sqlite3* db) : db_(db), nested_(sqlite3_get_autocommit(db) == 0) {
  startRc_ = exec(db_, "SAVEPOINT lv_op");
  if (startRc_ != SQLITE_OK) done_ = true;
}

OpScope::~OpScope() {
  if (!done_) undo();
}

int OpScope::commit() {
  if (done_) return startRc_ == SQLITE_OK ? SQLITE_MISUSE : startRc_;
  done_ = true;
  int rc = exec(db_, "RELEASE lv_op");
  if (rc != SQLITE_OK) undo();
  return rc;
}

void OpScope::undo() {
  done_ = true;
  if (nested_) {
    // Errors are ignored: an error that rolled the caller's whole
    // transaction back has taken the savepoint with it.
    exec(db_, "ROLLBACK TO lv_op");
    exec(db_, "RELEASE lv_op");
  } else if (sqlite3_get_autocommit(db_) == 0) {
    exec(db_, "ROLLBACK");
  }
}

ReadScope::ReadScope(sqlite3* db) : db_(db), own_(sqlite3_get_autocommit(db) != 0) {
  if (own_ && exec(db_, "BEGIN") != SQLITE_OK) own_ = false;
}

ReadScope::~ReadScope() {
  if (!own_ || sqlite3_get_autocommit(db_) != 0) return;
  if (exec(db_, "COMMIT") != SQLITE_OK) exec(db_, "ROLLBACK");
}

std::string fileUri(const std::string& path, bool readOnly) {
  std::string uri = "file:";
  for (unsigned char c : path) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
                 c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      uri += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      uri += hex;
    }
  }
  uri += readOnly ? "?mode=ro" : "?mode=rw";
  return uri;
}

int exec(sqlite3* db, const std::string& sql, std::string* error) {
  char* message = nullptr;
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK && error) *error = message ? message : sqlite3_errstr(rc);
  sqlite3_free(message);
  return rc;
}

bool isBusy(int rc) {
  int primary = rc & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

std::string pragma(sqlite3* db, const std::string& schema, const std::string& name) {
  sqlite3_stmt* stmt = nullptr;
  std::string value;
  if (sqlite3_prepare_v2(db, ("PRAGMA " + schema + "." + name).c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW) {
    const unsigned char* t = sqlite3_column_text(stmt, 0);
    if (t) value = reinterpret_cast<const char*>(t);
  }
  sqlite3_finalize(stmt);
  return value;
}

int readPairs(sqlite3* db, const std::string& sql, std::map<std::string, std::string>& out) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
  while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    rc = SQLITE_OK;
    auto text = [&](int col) {
      const unsigned char* t = sqlite3_column_text(stmt, col);
      return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
    };
    out[text(0)] = text(1);
  }
  sqlite3_finalize(stmt);
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int bindKey(sqlite3_stmt* stmt, int param, const KeyValue& value) {
  if (const auto* n = std::get_if<std::int64_t>(&value)) return sqlite3_bind_int64(stmt, param, *n);
  if (const auto* s = std::get_if<std::string>(&value))
    return sqlite3_bind_blob(stmt, param, s->data(), static_cast<int>(s->size()), SQLITE_STATIC);
  return sqlite3_bind_null(stmt, param);
}

KeyValue columnKey(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
      return static_cast<std::int64_t>(sqlite3_column_int64(stmt, column));
    case SQLITE_BLOB:
    case SQLITE_TEXT: {
      const void* data = sqlite3_column_blob(stmt, column);
      int size = sqlite3_column_bytes(stmt, column);
      if (!data || size <= 0) return std::string();
      return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
    }
    default:
      return std::monostate{};
  }
}

}  // namespace platform::dbi
