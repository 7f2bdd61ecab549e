// Rebuilding the keys of a record file from its stored records.

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>

#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/schema.h"
#include "platform/db/sqlite_util.h"

namespace platform {

namespace {
// Marks a record whose image has the wrong size: no rebuild can help then.
constexpr int WrongSize = SQLITE_MISMATCH;
}  // namespace

DbStatus DbFile::rebuildKeys() {
  error_ = {};
  if (!context_) return fail(DbStatus::NotOpen, "the thread's record files have been closed");
  if (!definitionFault_.empty()) return fail(DbStatus::Invalid, definitionFault_);
  const bool wasOpen = open_;
  auto failed = [&](const std::string& why, int code) {
    if (!wasOpen) detachFile();
    return fail(DbStatus::RebuildFailed, "rebuilding the keys of " + path_ + ": " + why, code);
  };
  const auto wait = std::max<std::chrono::milliseconds>(DbBusyTimeout, std::chrono::seconds(lockRecovery_));
  resolvePath();
  if (!wasOpen) {
    context_->setDeadlineIn(wait);
    std::string why;
    int rc = context_->attach(this, path_, false, schema_, why);
    if (rc != SQLITE_OK) {
      schema_.clear();
      return failed(why, rc);
    }
    dbi::exec(context_->db_, "PRAGMA " + schema_ + ".synchronous = FULL");
    DbStatus s = verify(Access::ReadWrite);
    if (s != DbStatus::Ok && s != DbStatus::InvalidKey) return failed(error_.text, error_.fileCode);
  } else if (readOnly_) {
    return failed("the file is open read-only", 0);
  }
  finalizeStatements();  // they name the indexes about to be rebuilt
  context_->setDeadlineIn(wait);
  std::string why;
  int rc = rebuildInPlace(why);
  if ((rc & 0xFF) == SQLITE_CORRUPT) {
    // Index pages too damaged to be dropped: copy the records out.
    why.clear();
    context_->setDeadlineIn(wait);
    rc = rebuildByCopy(why);
  }
  if (rc != SQLITE_OK) return failed(why, rc);
  error_ = {};
  if (!wasOpen) detachFile();
  return DbStatus::Ok;
}

// Drops every index, brings the key columns up to date without them, and
// builds the indexes afresh; all in one transaction.
int DbFile::rebuildInPlace(std::string& why) {
  sqlite3* db = context_->db_;
  dbi::OpScope scope(db);
  int rc = scope.started();
  auto step = [&](const std::string& sql) {
    if (rc == SQLITE_OK) rc = dbi::exec(db, sql, &why);
  };
  // The write lock first, waiting for it: a read first would take a shared
  // lock that SQLite may refuse to upgrade without waiting.
  step("DELETE FROM " + schema_ + ".meta WHERE 0");
  std::map<std::string, std::string> indexes;
  if (rc == SQLITE_OK) {
    rc = dbi::readPairs(db,
                        "SELECT name, sql FROM " + schema_ + ".sqlite_schema WHERE type = 'index' AND sql IS NOT NULL",
                        indexes);
    if (rc != SQLITE_OK) why = sqlite3_errmsg(db);
  }
  for (const auto& [name, sql] : indexes) step("DROP INDEX " + schema_ + ".\"" + name + "\"");

  sqlite3_stmt* scan = nullptr;
  sqlite3_stmt* update = nullptr;
  if (rc == SQLITE_OK && keyCount() > 0) {
    std::string columns, assignments;
    for (int i = 1; i <= keyCount(); ++i) {
      columns += ", " + dbi::keyColumn(i);
      assignments += std::string(i > 1 ? ", " : "") + dbi::keyColumn(i) + " = ?" + std::to_string(i + 1);
    }
    rc = sqlite3_prepare_v2(
        db, ("SELECT pos, image" + columns + " FROM " + table() + " WHERE pos > ?1 ORDER BY pos LIMIT 512").c_str(), -1,
        &scan, nullptr);
    if (rc == SQLITE_OK)
      rc = sqlite3_prepare_v2(db, ("UPDATE " + table() + " SET " + assignments + " WHERE pos = ?1").c_str(), -1,
                              &update, nullptr);
    if (rc != SQLITE_OK) why = sqlite3_errmsg(db);
  }
  // Batches by position: the rows of a batch are read, then the stale ones
  // are written.
  std::int64_t last = 0;
  while (rc == SQLITE_OK && scan) {
    std::vector<DbRow> stale;
    int got = 0;
    sqlite3_bind_int64(scan, 1, last);
    while ((rc = sqlite3_step(scan)) == SQLITE_ROW) {
      // A damaged record table can give its positions out of order, and the
      // batches would never get past them: copy the records out instead.
      const std::int64_t position = sqlite3_column_int64(scan, 0);
      if (position <= last) {
        rc = SQLITE_CORRUPT;
        why = "the record table gives its records out of order";
        break;
      }
      ++got;
      last = position;
      const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(scan, 1));
      if (static_cast<std::size_t>(sqlite3_column_bytes(scan, 1)) != buffer_.size() || !data) {
        rc = WrongSize;
        why = "the record at position " + std::to_string(last) + " has the wrong size";
        break;
      }
      for (int i = 1; i <= keyCount(); ++i) {
        if (keyValueOf(definition_, i, data) != dbi::columnKey(scan, i + 1)) {
          stale.push_back(DbRow{last, std::vector<std::uint8_t>(data, data + buffer_.size())});
          break;
        }
      }
    }
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
    else if (why.empty()) why = sqlite3_errmsg(db);
    sqlite3_reset(scan);
    for (const DbRow& row : stale) {
      if (rc != SQLITE_OK) break;
      std::vector<KeyValue> keys;
      sqlite3_bind_int64(update, 1, row.position);
      bindKeys(update, 2, row.image.data(), keys);
      rc = sqlite3_step(update);
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
      else why = sqlite3_errmsg(db);
      sqlite3_reset(update);
    }
    if (got == 0) break;
  }
  sqlite3_finalize(scan);
  sqlite3_finalize(update);
  for (int i = 1; i <= keyCount(); ++i) step(dbi::createIndexSql(definition_, i, schema_));
  step(dbi::createReservedIndexSql(schema_));
  step("INSERT OR REPLACE INTO " + schema_ + ".meta(name, value) VALUES('key_version', '" +
       std::to_string(dbi::KeyVersion) + "')");
  if (rc == SQLITE_OK) {
    rc = scope.commit();
    if (rc != SQLITE_OK) why = sqlite3_errmsg(db);
  }
  return rc;
}

// Copies every record, with its position, into a new database built with
// fresh keys, then writes that database over the file in one journaled
// step. Reads only the record table, so damaged index pages do not matter.
int DbFile::rebuildByCopy(std::string& why) {
  sqlite3* db = context_->db_;
  static std::atomic<int> counter{0};
  const std::string temp = path_ + ".rebuild-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  sqlite3* out = nullptr;
  int rc = sqlite3_open_v2(temp.c_str(), &out,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE,
                           nullptr);
  struct Cleanup {
    sqlite3*& out;
    const std::string& temp;
    ~Cleanup() {
      sqlite3_close_v2(out);
      unlink(temp.c_str());
    }
  } cleanup{out, temp};
  if (rc != SQLITE_OK) {
    why = out ? sqlite3_errmsg(out) : sqlite3_errstr(rc);
    return rc;
  }
  const std::string pageSize = dbi::pragma(db, schema_, "page_size");
  std::map<std::string, std::string> meta;
  rc = dbi::readPairs(db, "SELECT name, value FROM " + schema_ + ".meta", meta);
  if (rc != SQLITE_OK) {
    why = sqlite3_errmsg(db);
    return rc;
  }
  meta["key_version"] = std::to_string(dbi::KeyVersion);
  auto step = [&](const std::string& sql) {
    if (rc == SQLITE_OK) rc = dbi::exec(out, sql, &why);
  };
  step("PRAGMA page_size = " + (pageSize.empty() ? std::to_string(dbi::PageSize) : pageSize));
  step("PRAGMA journal_mode = OFF");
  step("PRAGMA synchronous = OFF");
  step("BEGIN");
  step("CREATE TABLE meta(name TEXT PRIMARY KEY, value)");
  step(dbi::tableSql(definition_));

  sqlite3_stmt* putMeta = nullptr;
  if (rc == SQLITE_OK) rc = sqlite3_prepare_v2(out, "INSERT INTO meta(name, value) VALUES(?1, ?2)", -1, &putMeta, nullptr);
  for (const auto& [name, value] : meta) {
    if (rc != SQLITE_OK) break;
    sqlite3_bind_text(putMeta, 1, name.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(putMeta, 2, value.c_str(), -1, SQLITE_STATIC);
    rc = sqlite3_step(putMeta);
    rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
    sqlite3_reset(putMeta);
  }
  sqlite3_finalize(putMeta);

  sqlite3_stmt* scan = nullptr;
  sqlite3_stmt* put = nullptr;
  if (rc == SQLITE_OK) {
    std::string columns, params;
    for (int i = 1; i <= keyCount(); ++i) {
      columns += ", " + dbi::keyColumn(i);
      params += ", ?" + std::to_string(i + 3);
    }
    rc = sqlite3_prepare_v2(out, ("INSERT INTO records(pos, image, owner" + columns + ") VALUES(?1, ?2, ?3" + params + ")").c_str(),
                            -1, &put, nullptr);
    if (rc != SQLITE_OK) why = sqlite3_errmsg(out);
  }
  if (rc == SQLITE_OK) {
    rc = sqlite3_prepare_v2(db, ("SELECT pos, image, owner FROM " + table() + " NOT INDEXED").c_str(), -1, &scan,
                            nullptr);
    if (rc != SQLITE_OK) why = sqlite3_errmsg(db);
  }
  std::int64_t highest = 0;
  while (rc == SQLITE_OK && (rc = sqlite3_step(scan)) == SQLITE_ROW) {
    const std::int64_t pos = sqlite3_column_int64(scan, 0);
    highest = std::max(highest, pos);
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(scan, 1));
    if (static_cast<std::size_t>(sqlite3_column_bytes(scan, 1)) != buffer_.size() || !data) {
      rc = WrongSize;
      why = "the record at position " + std::to_string(pos) + " has the wrong size";
      break;
    }
    std::vector<KeyValue> keys;
    sqlite3_bind_int64(put, 1, pos);
    sqlite3_bind_blob(put, 2, data, static_cast<int>(buffer_.size()), SQLITE_STATIC);
    if (sqlite3_column_type(scan, 2) == SQLITE_NULL) sqlite3_bind_null(put, 3);
    else sqlite3_bind_int64(put, 3, sqlite3_column_int64(scan, 2));
    bindKeys(put, 4, data, keys);
    rc = sqlite3_step(put);
    sqlite3_reset(put);
    if (rc != SQLITE_DONE) {
      why = sqlite3_errmsg(out);
      break;
    }
    rc = SQLITE_OK;
  }
  if (rc == SQLITE_DONE) rc = SQLITE_OK;
  else if (rc != SQLITE_OK && why.empty()) why = sqlite3_errmsg(db);
  sqlite3_finalize(scan);
  sqlite3_finalize(put);

  // Positions of deleted records stay used.
  if (rc == SQLITE_OK) {
    std::map<std::string, std::string> sequence;
    dbi::readPairs(db, "SELECT name, seq FROM " + schema_ + ".sqlite_sequence", sequence);
    std::int64_t seq = highest;
    seq = std::max<std::int64_t>(seq, std::strtoll(sequence["records"].c_str(), nullptr, 10));
    step("DELETE FROM sqlite_sequence WHERE name = 'records'");
    step("INSERT INTO sqlite_sequence(name, seq) VALUES('records', " + std::to_string(seq) + ")");
  }
  for (int i = 1; i <= keyCount(); ++i) step(dbi::indexSql(definition_, i));
  step(dbi::reservedIndexSql());
  step("COMMIT");
  if (rc != SQLITE_OK) return rc;

  sqlite3_backup* backup = sqlite3_backup_init(db, schema_.c_str(), out, "main");
  if (!backup) {
    why = sqlite3_errmsg(db);
    return sqlite3_errcode(db);
  }
  rc = sqlite3_backup_step(backup, -1);
  int finish = sqlite3_backup_finish(backup);
  if (rc == SQLITE_DONE) rc = finish;
  if (rc != SQLITE_OK) why = sqlite3_errmsg(db);
  return rc;
}

}  // namespace platform
