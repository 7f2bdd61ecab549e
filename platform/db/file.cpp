#include "platform/db/file.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/db/context.h"
#include "platform/db/owners.h"
#include "platform/db/schema.h"
#include "platform/db/sqlite_util.h"

namespace platform {

using dbi::ResetOnExit;

namespace {

int compareKeys(const KeyValue& a, const KeyValue& b) {
  if (a < b) return -1;
  if (b < a) return 1;
  return 0;
}

std::string directoryOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

}  // namespace

DbFile::DbFile(DbContext& context, FileDefinition definition)
    : context_(&context), definition_(std::move(definition)), definitionFault_(checkFileDefinition(definition_)) {
  buffer_.assign(definition_.layout ? definition_.layout->recordSize() : 0, 0);
  if (definition_.layout) clearRecord(*definition_.layout, buffer_.data());
  statements_.assign(StCount, nullptr);
  context_->addFile(this);
}

DbFile::~DbFile() {
  close();
  if (context_) context_->removeFile(this);
}

void DbFile::contextEnded() {
  close();
  context_->removeFile(this);
  context_ = nullptr;
}

// --- helpers ---------------------------------------------------------------

DbStatus DbFile::ok() {
  error_ = {};
  return DbStatus::Ok;
}

DbStatus DbFile::fail(DbStatus status, std::string text, int fileCode) {
  error_.status = status;
  error_.text = std::move(text);
  error_.fileCode = fileCode;
  error_.duplicateKey = 0;
  return status;
}

DbStatus DbFile::sqliteFail(int rc, const char* doing) {
  DbStatus status = DbStatus::Failed;
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      status = DbStatus::Locked;
      break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      status = DbStatus::Damaged;
      break;
    case SQLITE_READONLY:
      status = DbStatus::ReadOnly;
      break;
    default:
      break;
  }
  return sqliteFail(rc, doing, status);
}

DbStatus DbFile::sqliteFail(int rc, const char* doing, DbStatus status) {
  std::string message = context_ && context_->db_ ? sqlite3_errmsg(context_->db_) : sqlite3_errstr(rc);
  if (message == "not an error" || message.empty()) message = sqlite3_errstr(rc);
  return fail(status, std::string(doing) + ": " + message, rc);
}

DbStatus DbFile::begin() {
  error_ = {};
  if (!context_) return fail(DbStatus::NotOpen, "the thread's record files have been closed");
  if (!definitionFault_.empty()) return fail(DbStatus::Invalid, definitionFault_);
  if (!open_) return fail(DbStatus::NotOpen, "the file is not open");
  context_->setDeadlineIn(DbBusyTimeout);
  return DbStatus::Ok;
}

bool DbFile::validKey(int key) const { return key >= 1 && key <= keyCount(); }

std::string DbFile::table() const { return schema_ + ".records"; }

template <class MakeSql>
sqlite3_stmt* DbFile::prepared(int slot, MakeSql makeSql, int& rc) {
  sqlite3_stmt*& cached = slot < StCount ? statements_[static_cast<std::size_t>(slot)] : readStatements_[slot];
  rc = SQLITE_OK;
  if (!cached) {
    const std::string sql = makeSql();
    rc = sqlite3_prepare_v3(context_->db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &cached, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(cached);
      cached = nullptr;
    }
  }
  return cached;
}

std::string DbFile::statementSql(Statement which) const {
  const std::string t = table();
  const int n = keyCount();
  std::string keyList, keyParams, keySet;
  for (int i = 1; i <= n; ++i) {
    keyList += ", " + dbi::keyColumn(i);
    keyParams += ", ?" + std::to_string(i + 2);
    keySet += ", " + dbi::keyColumn(i) + " = ?" + std::to_string(i + 2);
  }
  const std::string last = "?" + std::to_string(n + 3);
  std::string sql;
  switch (which) {
    case StInsert:  // ?1 image, ?2 owner, ?3.. keys
      sql = "INSERT INTO " + t + "(image, owner" + keyList + ") VALUES(?1, ?2" + keyParams + ")";
      break;
    case StGet:
      sql = "SELECT image FROM " + t + " WHERE pos = ?1 AND owner IS NULL";
      break;
    case StChange:  // ?1 image, ?2 pos, ?3.. keys, last original
      sql = "UPDATE " + t + " SET image = ?1" + keySet + " WHERE pos = ?2 AND owner IS NULL AND image = " + last;
      break;
    case StRemove:
      sql = "DELETE FROM " + t + " WHERE pos = ?1 AND owner IS NULL";
      break;
    case StRemoveChecked:
      sql = "DELETE FROM " + t + " WHERE pos = ?1 AND owner IS NULL AND image = ?2";
      break;
    case StProbe:
      sql = "SELECT owner FROM " + t + " WHERE pos = ?1";
      break;
    case StComplete:  // ?1 image, ?2 pos, ?3.. keys, last owner
      sql = "UPDATE " + t + " SET image = ?1, owner = NULL" + keySet + " WHERE pos = ?2 AND owner = " + last;
      break;
    case StRelease:
      sql = "DELETE FROM " + t + " WHERE pos = ?1 AND owner = ?2";
      break;
    case StSetImage:  // ?1 image, ?2 pos, ?3.. keys
      sql = "UPDATE " + t + " SET image = ?1" + keySet + " WHERE pos = ?2";
      break;
    case StCount:
      break;
  }
  return sql;
}

sqlite3_stmt* DbFile::statement(Statement which) {
  int rc;
  sqlite3_stmt* stmt = prepared(which, [&] { return statementSql(which); }, rc);
  if (!stmt) sqliteFail(rc, "preparing a statement");
  return stmt;
}

void DbFile::finalizeStatements() {
  for (sqlite3_stmt*& s : statements_) {
    sqlite3_finalize(s);
    s = nullptr;
  }
  for (auto& [slot, s] : readStatements_) sqlite3_finalize(s);
  readStatements_.clear();
}

int DbFile::bindKeys(sqlite3_stmt* stmt, int firstParam, const std::uint8_t* image, std::vector<KeyValue>& keep) {
  keep.clear();
  keep.reserve(definition_.keys.size());
  for (int i = 1; i <= keyCount(); ++i) keep.push_back(keyValueOf(definition_, i, image));
  for (int i = 0; i < keyCount(); ++i) {
    int rc = dbi::bindKey(stmt, firstParam + i, keep[static_cast<std::size_t>(i)]);
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

// --- buffer --------------------------------------------------------------

void DbFile::load(const DbRow& row) {
  std::size_t n = std::min(row.image.size(), buffer_.size());
  std::copy_n(row.image.begin(), n, buffer_.begin());
  position_ = row.position;
}

void DbFile::restoreState(const DbFileState& state) {
  std::size_t n = std::min(state.buffer.size(), buffer_.size());
  std::copy_n(state.buffer.begin(), n, buffer_.begin());
  position_ = state.position;
}

KeyValue DbFile::keyValue(int key) const { return keyValue(key, buffer_.data()); }

KeyValue DbFile::keyValue(int key, const std::uint8_t* image) const {
  if (!definitionFault_.empty() || !validKey(key)) return std::monostate{};
  return keyValueOf(definition_, key, image);
}

// --- reading -------------------------------------------------------------

DbStatus DbFile::fetch(int key) {
  if (begin() != DbStatus::Ok) return error_.status;
  if (!validKey(key)) return fail(DbStatus::Invalid, "no key number " + std::to_string(key));
  KeyValue value = keyValue(key);
  if (std::holds_alternative<std::monostate>(value))
    return fail(DbStatus::NotFound,
                "no record is found by an empty " + definition_.keys[static_cast<std::size_t>(key - 1)].name);
  int rc;
  const std::string column = dbi::keyColumn(key);
  sqlite3_stmt* stmt = prepared(
      1000 + key,
      [&] { return "SELECT pos, image FROM " + table() + " WHERE " + column + " = ?1 AND owner IS NULL ORDER BY pos LIMIT 1"; },
      rc);
  if (!stmt) return sqliteFail(rc, "reading a record");
  ResetOnExit reset(stmt);
  dbi::bindKey(stmt, 1, value);
  rc = sqlite3_step(stmt);
  if (rc == SQLITE_DONE) return fail(DbStatus::NotFound, "no record has that key value");
  if (rc != SQLITE_ROW) return sqliteFail(rc, "reading a record");
  if (static_cast<std::size_t>(sqlite3_column_bytes(stmt, 1)) != buffer_.size())
    return fail(DbStatus::Damaged, "a stored record has the wrong size");
  std::memcpy(buffer_.data(), sqlite3_column_blob(stmt, 1), buffer_.size());
  position_ = sqlite3_column_int64(stmt, 0);
  return ok();
}

DbStatus DbFile::get(std::int64_t position) {
  if (begin() != DbStatus::Ok) return error_.status;
  sqlite3_stmt* stmt = statement(StGet);
  if (!stmt) return error_.status;
  ResetOnExit reset(stmt);
  sqlite3_bind_int64(stmt, 1, position);
  int rc = sqlite3_step(stmt);
  if (rc == SQLITE_DONE) return fail(DbStatus::NotFound, "the record has been deleted");
  if (rc != SQLITE_ROW) return sqliteFail(rc, "reading a record");
  if (static_cast<std::size_t>(sqlite3_column_bytes(stmt, 0)) != buffer_.size())
    return fail(DbStatus::Damaged, "a stored record has the wrong size");
  std::memcpy(buffer_.data(), sqlite3_column_blob(stmt, 0), buffer_.size());
  position_ = position;
  return ok();
}

// One query of a page read. Variants: the records equal to a value, after or
// from a position among them (EqAfter, EqFrom) or all of them (EqAll); the
// records beyond a value (Beyond); all records of the key (All).
namespace {
enum ReadVariant { EqAfter, EqFrom, EqAll, Beyond, All };
}

DbStatus DbFile::readRun(int key, Direction direction, const KeyValue* value, const Seek* seek, int count,
                         std::vector<DbRow>& rows) {
  const KeyDefinition& k = definition_.keys[static_cast<std::size_t>(key - 1)];
  const bool fwd = direction == Direction::Forward;
  ReadVariant variant;
  if (value && seek) variant = seek->inclusive ? EqFrom : EqAfter;
  else if (value) variant = EqAll;
  else if (seek) variant = Beyond;
  else variant = All;

  const std::string c = dbi::keyColumn(key);
  auto sql = [&] {
    const char* order = fwd ? "" : " DESC";
    std::string text = "SELECT pos, image FROM " + table() + " WHERE owner IS NULL";
    if (k.excludeEmpty) text += " AND " + c + " IS NOT NULL";
    switch (variant) {
      case EqAfter:
      case EqFrom: {
        const char* op = fwd ? (variant == EqFrom ? ">=" : ">") : (variant == EqFrom ? "<=" : "<");
        text += " AND " + c + " = ?1 AND pos " + op + " ?2 ORDER BY pos" + order;
        break;
      }
      case EqAll:
        text += " AND " + c + " = ?1 ORDER BY pos" + order;
        break;
      case Beyond:
        text += " AND " + c + (fwd ? " > ?1" : " < ?1") + " ORDER BY " + c + order + ", pos" + order;
        break;
      case All:
        text += " ORDER BY " + c + order + ", pos" + order;
        break;
    }
    return text + " LIMIT ?3";
  };
  int rc;
  sqlite3_stmt* stmt = prepared(10000 + key * 16 + variant * 2 + (fwd ? 0 : 1), sql, rc);
  if (!stmt) return sqliteFail(rc, "reading records");
  ResetOnExit reset(stmt);
  if (value) dbi::bindKey(stmt, 1, *value);
  else if (seek) dbi::bindKey(stmt, 1, seek->value);
  if (seek && value) sqlite3_bind_int64(stmt, 2, seek->position);
  sqlite3_bind_int(stmt, 3, count);
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, 1));
    auto size = static_cast<std::size_t>(sqlite3_column_bytes(stmt, 1));
    if (size != buffer_.size() || !data) return fail(DbStatus::Damaged, "a stored record has the wrong size");
    rows.push_back(DbRow{sqlite3_column_int64(stmt, 0), std::vector<std::uint8_t>(data, data + size)});
  }
  if (rc != SQLITE_DONE) return sqliteFail(rc, "reading records");
  return DbStatus::Ok;
}

DbStatus DbFile::readPage(int key, Direction direction, const std::optional<Seek>& from, int count,
                          const std::optional<KeyValue>& equal, std::vector<DbRow>& rows) {
  const DbStatus s = readRows(key, direction, from, count, equal, rows);
  walked();
  return s;
}

DbStatus DbFile::readRows(int key, Direction direction, const std::optional<Seek>& from, int count,
                          const std::optional<KeyValue>& equal, std::vector<DbRow>& rows) {
  rows.clear();
  if (begin() != DbStatus::Ok) return error_.status;
  if (!validKey(key)) return fail(DbStatus::Invalid, "no key number " + std::to_string(key));
  if (count <= 0) return fail(DbStatus::Invalid, "a page of no records");
  const FieldType type = layout().field(definition_.keys[static_cast<std::size_t>(key - 1)].field).type;
  const bool textKey = type == FieldType::String || type == FieldType::CString;
  auto wrongKind = [&](const KeyValue& v) {
    return textKey ? !std::holds_alternative<std::string>(v) : !std::holds_alternative<std::int64_t>(v);
  };
  if (from && wrongKind(from->value)) return fail(DbStatus::Invalid, "the start value does not fit the key");
  const bool fwd = direction == Direction::Forward;

  if (equal) {
    // Records left out of the key are never read in its order.
    if (std::holds_alternative<std::monostate>(*equal)) return ok();
    if (wrongKind(*equal)) return fail(DbStatus::Invalid, "the range value does not fit the key");
    const Seek* seek = nullptr;
    if (from) {
      int cmp = compareKeys(from->value, *equal);
      if (cmp == 0) seek = &*from;
      else if ((cmp > 0) == fwd) return ok();  // the start lies beyond the range
    }
    DbStatus s = readRun(key, direction, &*equal, seek, count, rows);
    return s == DbStatus::Ok ? ok() : s;
  }
  if (!from) {
    DbStatus s = readRun(key, direction, nullptr, nullptr, count, rows);
    return s == DbStatus::Ok ? ok() : s;
  }
  // The rest of the start value's records, then those beyond it: two index
  // seeks, however many records share the value, under one shared lock.
  dbi::ReadScope scope(context_->db_);
  DbStatus s = readRun(key, direction, &from->value, &*from, count, rows);
  if (s == DbStatus::Ok && static_cast<int>(rows.size()) < count)
    s = readRun(key, direction, nullptr, &*from, count - static_cast<int>(rows.size()), rows);
  return s == DbStatus::Ok ? ok() : s;
}

DbStatus DbFile::maxValue(int key, KeyValue& value) {
  value = std::monostate{};
  if (begin() != DbStatus::Ok) return error_.status;
  if (!validKey(key)) return fail(DbStatus::Invalid, "no key number " + std::to_string(key));
  const std::string c = dbi::keyColumn(key);
  int rc;
  sqlite3_stmt* stmt =
      prepared(3000 + key, [&] { return "SELECT max(" + c + ") FROM " + table() + " WHERE " + c + " IS NOT NULL"; }, rc);
  if (!stmt) return sqliteFail(rc, "reading the highest key value");
  ResetOnExit reset(stmt);
  rc = sqlite3_step(stmt);
  if (rc != SQLITE_ROW) return sqliteFail(rc, "reading the highest key value");
  value = dbi::columnKey(stmt, 0);
  return ok();
}

// --- writing -------------------------------------------------------------

DbStatus DbFile::duplicateOf(std::int64_t position, const std::uint8_t* image) {
  const int rcFailed = SQLITE_CONSTRAINT_UNIQUE;
  const std::string message = sqlite3_errmsg(context_->db_);
  for (int i = 1; i <= keyCount(); ++i) {
    const KeyDefinition& k = definition_.keys[static_cast<std::size_t>(i - 1)];
    if (!k.unique) continue;
    KeyValue v = keyValueOf(definition_, i, image);
    if (std::holds_alternative<std::monostate>(v)) continue;
    int rc;
    sqlite3_stmt* stmt = prepared(
        2000 + i,
        [&] { return "SELECT 1 FROM " + table() + " WHERE " + dbi::keyColumn(i) + " = ?1 AND pos IS NOT ?2 LIMIT 1"; },
        rc);
    if (!stmt) break;
    ResetOnExit reset(stmt);
    dbi::bindKey(stmt, 1, v);
    sqlite3_bind_int64(stmt, 2, position);
    if (sqlite3_step(stmt) == SQLITE_ROW) {
      fail(DbStatus::Duplicate, message, rcFailed);
      error_.duplicateKey = i;
      return DbStatus::Duplicate;
    }
  }
  // The other record went away in between; the key is not known.
  return fail(DbStatus::Duplicate, message, rcFailed);
}

DbStatus DbFile::writeFailure(int rc, const char* doing, std::int64_t position, const std::uint8_t* image) {
  if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) return duplicateOf(position, image);
  return sqliteFail(rc, doing);
}

DbStatus DbFile::changedOrGone(std::int64_t position) {
  sqlite3_stmt* stmt = statement(StProbe);
  if (!stmt) return error_.status;
  ResetOnExit reset(stmt);
  sqlite3_bind_int64(stmt, 1, position);
  int rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW && sqlite3_column_type(stmt, 0) == SQLITE_NULL)
    return fail(DbStatus::Changed, "the record was changed by another station since it was read");
  if (rc == SQLITE_ROW || rc == SQLITE_DONE)
    return fail(DbStatus::NotFound, "the record was deleted by another station since it was read");
  return sqliteFail(rc, "reading a record");
}

DbStatus DbFile::add() {
  if (begin() != DbStatus::Ok) return error_.status;
  if (readOnly_) return fail(DbStatus::ReadOnly, "the file is open read-only");
  sqlite3_stmt* stmt = statement(StInsert);
  if (!stmt) return error_.status;
  ResetOnExit reset(stmt);
  std::vector<KeyValue> keys;
  sqlite3_bind_blob(stmt, 1, buffer_.data(), static_cast<int>(buffer_.size()), SQLITE_STATIC);
  sqlite3_bind_null(stmt, 2);
  bindKeys(stmt, 3, buffer_.data(), keys);
  int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) return writeFailure(rc, "adding a record", 0, buffer_.data());
  position_ = sqlite3_last_insert_rowid(context_->db_);
  return ok();
}

DbStatus DbFile::change(std::int64_t position, std::span<const std::uint8_t> original) {
  if (begin() != DbStatus::Ok) return error_.status;
  if (readOnly_) return fail(DbStatus::ReadOnly, "the file is open read-only");
  if (original.size() != buffer_.size()) return fail(DbStatus::Invalid, "the original image has the wrong size");
  sqlite3_stmt* stmt = statement(StChange);
  if (!stmt) return error_.status;
  ResetOnExit reset(stmt);
  std::vector<KeyValue> keys;
  sqlite3_bind_blob(stmt, 1, buffer_.data(), static_cast<int>(buffer_.size()), SQLITE_STATIC);
  sqlite3_bind_int64(stmt, 2, position);
  bindKeys(stmt, 3, buffer_.data(), keys);
  sqlite3_bind_blob(stmt, keyCount() + 3, original.data(), static_cast<int>(original.size()), SQLITE_STATIC);
  int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) return writeFailure(rc, "changing a record", position, buffer_.data());
  if (sqlite3_changes(context_->db_) == 0) return changedOrGone(position);
  position_ = position;
  return ok();
}

DbStatus DbFile::remove(std::int64_t position, std::optional<std::span<const std::uint8_t>> original) {
  if (begin() != DbStatus::Ok) return error_.status;
  if (readOnly_) return fail(DbStatus::ReadOnly, "the file is open read-only");
  if (original && original->size() != buffer_.size())
    return fail(DbStatus::Invalid, "the original image has the wrong size");
  sqlite3_stmt* stmt = statement(original ? StRemoveChecked : StRemove);
  if (!stmt) return error_.status;
  ResetOnExit reset(stmt);
  sqlite3_bind_int64(stmt, 1, position);
  if (original) sqlite3_bind_blob(stmt, 2, original->data(), static_cast<int>(original->size()), SQLITE_STATIC);
  int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) return sqliteFail(rc, "deleting a record");
  if (sqlite3_changes(context_->db_) == 0) return changedOrGone(position);
  if (position_ == position) position_ = 0;
  return ok();
}

// --- auto-numbering --------------------------------------------------------

DbStatus DbFile::reserveOnce(std::int64_t owner) {
  int autoKey = 0;
  for (int i = 1; i <= keyCount(); ++i)
    if (definition_.keys[static_cast<std::size_t>(i - 1)].autoNumber) autoKey = i;
  const KeyDefinition& key = definition_.keys[static_cast<std::size_t>(autoKey - 1)];
  const FieldDesc& field = layout().field(key.field);

  // The buffer's number goes back to what it was unless the try succeeds.
  struct Restore {
    std::vector<std::uint8_t>& buffer;
    const FieldDesc& field;
    std::vector<std::uint8_t> saved;
    bool keep = false;
    ~Restore() {
      if (!keep) std::copy(saved.begin(), saved.end(), buffer.begin() + field.offset);
    }
  } restore{buffer_, field,
            std::vector<std::uint8_t>(buffer_.begin() + field.offset, buffer_.begin() + field.offset + field.size)};

  sqlite3* db = context_->db_;
  dbi::OpScope scope(db);
  if (scope.started() != SQLITE_OK) return sqliteFail(scope.started(), "reserving a number");
  // The insert comes first: it takes the file's write lock (waiting for it
  // like every write), so the highest number is read under that lock.
  const std::string c = dbi::keyColumn(autoKey);
  int rc;
  sqlite3_stmt* ins = prepared(
      4000,
      [&] {
        return "INSERT INTO " + table() + "(image, owner, " + c + ") SELECT ?1, ?2, coalesce(max(" + c + "), 0) + 1 FROM " +
               table() + " WHERE " + c + " IS NOT NULL RETURNING pos, " + c;
      },
      rc);
  if (!ins) return sqliteFail(rc, "reserving a number");
  std::int64_t position = 0;
  std::int64_t value = 0;
  {
    ResetOnExit reset(ins);
    sqlite3_bind_blob(ins, 1, buffer_.data(), static_cast<int>(buffer_.size()), SQLITE_STATIC);
    sqlite3_bind_int64(ins, 2, owner);
    rc = sqlite3_step(ins);
    if (rc != SQLITE_ROW) return sqliteFail(rc, "reserving a number");
    position = sqlite3_column_int64(ins, 0);
    value = sqlite3_column_int64(ins, 1);
    rc = sqlite3_step(ins);
    if (rc != SQLITE_DONE) return sqliteFail(rc, "reserving a number");
  }
  FieldRef number = FieldRef::of(field, buffer_.data());
  if (number.setDecimal(Decimal::fromInt(value)) != StoreStatus::Ok) return fail(DbStatus::Failed, "no number is left for the key " + key.name);

  // The numbered image and its keys replace the placeholder.
  sqlite3_stmt* upd = statement(StSetImage);
  if (!upd) return error_.status;
  {
    ResetOnExit reset(upd);
    std::vector<KeyValue> keys;
    sqlite3_bind_blob(upd, 1, buffer_.data(), static_cast<int>(buffer_.size()), SQLITE_STATIC);
    sqlite3_bind_int64(upd, 2, position);
    bindKeys(upd, 3, buffer_.data(), keys);
    rc = sqlite3_step(upd);
    if (rc != SQLITE_DONE) return writeFailure(rc, "reserving a number", position, buffer_.data());
  }
  rc = scope.commit();
  if (rc != SQLITE_OK) return sqliteFail(rc, "reserving a number");
  restore.keep = true;
  position_ = position;
  reservations_.push_back(position);
  return ok();
}

DbStatus DbFile::reserveAutoNumber() {
  if (begin() != DbStatus::Ok) return error_.status;
  if (readOnly_) return fail(DbStatus::ReadOnly, "the file is open read-only");
  bool numbered = std::any_of(definition_.keys.begin(), definition_.keys.end(),
                              [](const KeyDefinition& k) { return k.autoNumber; });
  if (!numbered) return fail(DbStatus::Invalid, "the file has no auto-numbered key");
  std::string why;
  std::int64_t owner = dbi::ownerToken(directoryOf(path_), why);
  if (owner == 0) return fail(DbStatus::Failed, why);
  DbStatus status = DbStatus::Failed;
  for (int attempt = 0; attempt < AutoNumberTries; ++attempt) {
    context_->setDeadlineIn(DbBusyTimeout);
    status = reserveOnce(owner);
    if (status == DbStatus::Ok) return status;
  }
  return status;
}

DbStatus DbFile::completeReserved(std::int64_t position) {
  if (begin() != DbStatus::Ok) return error_.status;
  auto it = std::find(reservations_.begin(), reservations_.end(), position);
  if (it == reservations_.end()) return fail(DbStatus::Invalid, "the position is not a reservation of this file");
  std::string why;
  std::int64_t owner = dbi::ownerToken(directoryOf(path_), why);
  sqlite3_stmt* stmt = statement(StComplete);
  if (!stmt) return error_.status;
  ResetOnExit reset(stmt);
  std::vector<KeyValue> keys;
  sqlite3_bind_blob(stmt, 1, buffer_.data(), static_cast<int>(buffer_.size()), SQLITE_STATIC);
  sqlite3_bind_int64(stmt, 2, position);
  bindKeys(stmt, 3, buffer_.data(), keys);
  sqlite3_bind_int64(stmt, keyCount() + 3, owner);
  int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) return writeFailure(rc, "adding a record", position, buffer_.data());
  reservations_.erase(it);
  if (sqlite3_changes(context_->db_) == 0) return fail(DbStatus::NotFound, "the reserved record is gone");
  position_ = position;
  return ok();
}

DbStatus DbFile::releaseReserved(std::int64_t position) {
  if (begin() != DbStatus::Ok) return error_.status;
  auto it = std::find(reservations_.begin(), reservations_.end(), position);
  if (it == reservations_.end()) return fail(DbStatus::Invalid, "the position is not a reservation of this file");
  std::string why;
  std::int64_t owner = dbi::ownerToken(directoryOf(path_), why);
  sqlite3_stmt* stmt = statement(StRelease);
  if (!stmt) return error_.status;
  ResetOnExit reset(stmt);
  sqlite3_bind_int64(stmt, 1, position);
  sqlite3_bind_int64(stmt, 2, owner);
  int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE) return sqliteFail(rc, "removing a reserved record");
  reservations_.erase(it);
  if (position_ == position) position_ = 0;
  return ok();
}

}  // namespace platform
