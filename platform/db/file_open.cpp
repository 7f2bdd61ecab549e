// Opening, creating, checking and rebuilding record files.

#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/db/owners.h"
#include "platform/db/schema.h"
#include "platform/db/sqlite_util.h"

namespace platform {

using dbi::ResetOnExit;

namespace {

constexpr int ProbeRows = 3;  // entries read at each end of every key

std::string directoryOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

void syncDirectory(const std::string& directory) {
  int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    ::close(fd);
  }
}

bool exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// What a failed read of the file's own tables means.
DbStatus classifyRead(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return DbStatus::Locked;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_ERROR:  // no such table: not one of our files
    case SQLITE_FORMAT:
    case SQLITE_RANGE:
      return DbStatus::NotOurs;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return DbStatus::Denied;
    default:
      return DbStatus::Failed;
  }
}

// Why a file that SQLite refused with `rc` is not a record file, in words
// that speak of the file, not of its tables.
std::string notOursReason(const std::string& path, int rc) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0) return "it is empty";
  switch (rc & 0xFF) {
    case SQLITE_NOTADB:
      return "it is not a database";
    case SQLITE_ERROR:
      return "it is a database of another kind";
    default:
      return "it is damaged";
  }
}

struct FileFacts {
  std::map<std::string, std::string> meta;
  std::map<std::string, std::string> schemaSql;  // object name -> its SQL
};

}  // namespace

void DbFile::resolvePath() {
  if (!path_.empty()) return;
  std::string name = layout().storedName() + Extension;
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(name, ec);
  path_ = ec ? name : p.lexically_normal().string();
}

void DbFile::setLockRecovery(int seconds) { lockRecovery_ = std::max(0, seconds); }

DbStatus DbFile::open(Access access) {
  error_ = {};
  if (!context_) return fail(DbStatus::NotOpen, "the thread's record files have been closed");
  if (!definitionFault_.empty()) return fail(DbStatus::Invalid, definitionFault_);
  if (open_) return ok();
  resolvePath();
  DbStatus status = openAttempt(access);
  if (status != DbStatus::Ok) {
    detachFile();
    return status;
  }
  open_ = true;
  readOnly_ = access == Access::ReadOnly || sqlite3_db_readonly(context_->db_, schema_.c_str()) == 1;
  if (!readOnly_) purgeDeadReservations();
  return ok();
}

DbStatus DbFile::openAttempt(Access access) {
  struct stat st;
  if (::stat(path_.c_str(), &st) != 0) {
    int e = errno;
    if (e == ENOENT) return fail(DbStatus::FileNotFound, "the file " + path_ + " does not exist");
    if (e == EACCES) return fail(DbStatus::Denied, std::strerror(e));
    return fail(DbStatus::Failed, std::strerror(e));
  }
  if (!S_ISREG(st.st_mode)) return fail(DbStatus::NotOurs, path_ + " is not a record file (it is not a regular file)");
  if (access == Access::ReadWrite) {
    if (::access(path_.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS))
      return fail(DbStatus::Denied, "no write access to " + path_);
    // A change writes its journal beside the file: where no new file can be
    // made, no change can be, and the file is one to read only.
    const std::string directory = directoryOf(path_);
    if (::access(directory.empty() ? "." : directory.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS))
      return fail(DbStatus::Denied, "no write access to the directory " + directory);
  }

  auto wait = std::max<std::chrono::milliseconds>(DbBusyTimeout, std::chrono::seconds(lockRecovery_));
  context_->setDeadlineIn(wait);
  std::string why;
  int rc = context_->attach(this, path_, access == Access::ReadOnly, schema_, why);
  if (rc != SQLITE_OK) {
    schema_.clear();
    if (rc == SQLITE_MISUSE) return fail(DbStatus::Invalid, why, rc);
    if ((rc & 0xFF) == SQLITE_READONLY) return fail(DbStatus::Denied, why, rc);
    if ((rc & 0xFF) == SQLITE_CANTOPEN && !exists(path_)) return fail(DbStatus::FileNotFound, why, rc);
    if (classifyRead(rc) == DbStatus::NotOurs)
      return fail(DbStatus::NotOurs, path_ + " is not a record file (" + notOursReason(path_, rc) + ")", rc);
    return fail(classifyRead(rc), why, rc);
  }
  dbi::exec(context_->db_, "PRAGMA " + schema_ + ".synchronous = FULL");
  applyMapping();
  return verify(access);
}

namespace {

// Bytes of the process's resident pages that files back (mapped files,
// shared memory); -1 when they cannot be read.
std::int64_t residentMappedBytes() {
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return -1;
  long size = 0, resident = 0, shared = 0;
  const int n = std::fscanf(f, "%ld %ld %ld", &size, &resident, &shared);
  std::fclose(f);
  return n == 3 ? static_cast<std::int64_t>(shared) * ::sysconf(_SC_PAGESIZE) : -1;
}

}  // namespace

void DbFile::applyMapping() {
  if (!context_ || schema_.empty()) return;
  // The largest map SQLite takes; none once a walk has used its share.
  dbi::exec(context_->db_, "PRAGMA " + schema_ + ".mmap_size = " + (mapped() ? "2147418112" : "0"));
}

void DbFile::setWalk(bool on, std::int64_t mapped) {
  const bool wasMapped = this->mapped();
  walk_ = on;
  walkUnmapped_ = false;
  walkMapped_ = mapped;
  walkResidentFrom_ = on ? residentMappedBytes() : -1;
  if (walkResidentFrom_ < 0 && on) walkUnmapped_ = true;  // growth unknown: no map at all
  if (open_ && wasMapped != this->mapped()) applyMapping();
}

// After a read of a walk: once the mapped pages have grown by the walk's
// share, the map goes, and what it held with it. Between reads no page of
// the file is in use.
void DbFile::walked() {
  if (!walk_ || walkUnmapped_) return;
  if (residentMappedBytes() - walkResidentFrom_ <= walkMapped_) return;
  walkUnmapped_ = true;
  if (open_) applyMapping();
}

DbStatus DbFile::verify(Access access) {
  sqlite3* db = context_->db_;
  FileFacts facts;
  int rc = dbi::readPairs(db, "SELECT name, value FROM " + schema_ + ".meta", facts.meta);
  if (rc == SQLITE_OK) rc = dbi::readPairs(db, "SELECT name, sql FROM " + schema_ + ".sqlite_schema", facts.schemaSql);
  if (rc != SQLITE_OK) {
    DbStatus s = classifyRead(rc);
    if (s == DbStatus::NotOurs)
      return fail(s, path_ + " is not a record file (" + notOursReason(path_, rc) + ")", rc);
    return fail(s, sqlite3_errmsg(db), rc);
  }
  auto& meta = facts.meta;
  const RecordLayout& l = layout();
  if (meta["format"] != dbi::FormatName) return fail(DbStatus::NotOurs, path_ + " is not a record file");
  if (meta["format_version"] != std::to_string(dbi::FormatVersion))
    return fail(DbStatus::NotOurs, "a record file of format version " + meta["format_version"]);
  if (meta["stored_name"] != l.storedName() || meta["record_size"] != std::to_string(l.recordSize()))
    return fail(DbStatus::NotOurs, "the file holds " + meta["stored_name"] + " records of " + meta["record_size"] +
                                       " bytes, not " + l.storedName() + " records of " +
                                       std::to_string(l.recordSize()) + " bytes");
  if (meta["keys"] != dbi::keyDefinitions(definition_))
    return fail(DbStatus::NotOurs, "the file's keys are defined differently");
  if (facts.schemaSql["records"] != dbi::tableSql(definition_))
    return fail(DbStatus::NotOurs, "the file's record table is defined differently");
  // A multi-file commit is atomic only with rollback journals.
  if (dbi::pragma(db, schema_, "journal_mode") == "wal")
    return fail(DbStatus::NotOurs, "the file is kept in write-ahead-log mode");
  if (access == Access::ReadWrite && sqlite3_db_readonly(db, schema_.c_str()) == 1)
    return fail(DbStatus::Denied, "no write access to " + path_);
  return checkKeys(meta["key_version"], facts.schemaSql);
}

DbStatus DbFile::checkKeys(const std::string& keyVersion, std::map<std::string, std::string>& schemaSql) {
  if (keyVersion != std::to_string(dbi::KeyVersion))
    return fail(DbStatus::InvalidKey, "the keys were built by another version of the program");
  for (int i = 1; i <= keyCount(); ++i) {
    const std::string& name = definition_.keys[static_cast<std::size_t>(i - 1)].name;
    auto it = schemaSql.find(dbi::keyIndex(i));
    if (it == schemaSql.end()) return fail(DbStatus::InvalidKey, "the key " + name + " is missing");
    if (it->second != dbi::indexSql(definition_, i))
      return fail(DbStatus::InvalidKey, "the key " + name + " is defined differently");
  }
  if (schemaSql["reserved"] != dbi::reservedIndexSql())
    return fail(DbStatus::InvalidKey, "the key of the reservations is missing");

  // A few entries at both ends of every key must lead to records that hold
  // their values: a cost that does not grow with the file.
  sqlite3* db = context_->db_;
  for (int i = 1; i <= keyCount(); ++i) {
    const std::string& name = definition_.keys[static_cast<std::size_t>(i - 1)].name;
    const std::string c = dbi::keyColumn(i);
    for (const char* order : {"", " DESC"}) {
      std::string sql = "SELECT pos, image, " + c + " FROM " + table() + " INDEXED BY " + dbi::keyIndex(i) +
                        " WHERE " + c + " IS NOT NULL ORDER BY " + c + order + " LIMIT " + std::to_string(ProbeRows);
      sqlite3_stmt* stmt = nullptr;
      int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
      DbStatus status = DbStatus::Ok;
      std::string why;
      while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        rc = SQLITE_OK;
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, 1));
        if (static_cast<std::size_t>(sqlite3_column_bytes(stmt, 1)) != buffer_.size() || !data) {
          status = DbStatus::NotOurs;
          why = "the file holds records of another size";
          break;
        }
        if (keyValueOf(definition_, i, data) != dbi::columnKey(stmt, 2)) {
          status = DbStatus::InvalidKey;
          why = "the key " + name + " does not match its records";
          break;
        }
      }
      if (status == DbStatus::Ok && rc != SQLITE_DONE && rc != SQLITE_OK) {
        int primary = rc & 0xFF;
        status = dbi::isBusy(rc) ? DbStatus::Locked
                 : (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) ? DbStatus::InvalidKey
                                                                             : DbStatus::Failed;
        why = "the key " + name + " cannot be read: " + sqlite3_errmsg(db);
      }
      sqlite3_finalize(stmt);
      if (status != DbStatus::Ok) return fail(status, why, status == DbStatus::InvalidKey ? 0 : rc);
    }
  }
  return DbStatus::Ok;
}

void DbFile::purgeDeadReservations() {
  sqlite3* db = context_->db_;
  std::vector<std::int64_t> owners;
  {
    sqlite3_stmt* stmt = nullptr;
    std::string sql = "SELECT DISTINCT owner FROM " + table() + " WHERE owner IS NOT NULL";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK)
      while (sqlite3_step(stmt) == SQLITE_ROW) owners.push_back(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
  }
  if (owners.empty()) return;
  const std::string directory = directoryOf(path_);
  const std::int64_t mine = dbi::claimedToken(directory);
  sqlite3_stmt* del = nullptr;
  std::string sql = "DELETE FROM " + table() + " WHERE owner = ?1";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &del, nullptr) != SQLITE_OK) {
    sqlite3_finalize(del);
    return;
  }
  for (std::int64_t owner : owners) {
    if (owner == mine || !dbi::ownerGone(directory, owner)) continue;
    // A failure (a lock held elsewhere) leaves them for a later open.
    context_->setDeadlineIn(DbBusyTimeout);
    sqlite3_bind_int64(del, 1, owner);
    sqlite3_step(del);
    sqlite3_reset(del);
  }
  sqlite3_finalize(del);
}

void DbFile::detachFile() {
  if (context_ && !schema_.empty()) context_->detach(this);
  schema_.clear();
}

void DbFile::close() {
  if (!open_) return;
  const std::vector<std::int64_t> outstanding = reservations_;
  for (std::int64_t position : outstanding) releaseReserved(position);
  reservations_.clear();
  finalizeStatements();
  detachFile();
  open_ = false;
  readOnly_ = false;
  position_ = 0;
}

DbStatus DbFile::create() {
  error_ = {};
  if (!definitionFault_.empty()) return fail(DbStatus::Invalid, definitionFault_);
  resolvePath();
  if (exists(path_)) return ok();  // made meanwhile by another thread or copy; open checks it
  if (errno != ENOENT) return fail(DbStatus::CreateFailed, std::strerror(errno));

  // The file is built under a temporary name and linked into place, so that
  // it appears complete or not at all and never replaces an existing file.
  static std::atomic<int> counter{0};
  const std::string temp = path_ + ".new-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  auto removeTemp = [&] {
    unlink(temp.c_str());
    unlink((temp + "-journal").c_str());
  };
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(temp.c_str(), &db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE,
                           nullptr);
  std::string why;
  auto step = [&](const std::string& sql) {
    if (rc == SQLITE_OK) rc = dbi::exec(db, sql, &why);
  };
  if (rc != SQLITE_OK) why = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  step("PRAGMA page_size = " + std::to_string(dbi::PageSize));
  step("PRAGMA journal_mode = DELETE");
  step("PRAGMA synchronous = FULL");
  step("BEGIN");
  step("CREATE TABLE meta(name TEXT PRIMARY KEY, value)");
  step(dbi::tableSql(definition_));
  for (int i = 1; i <= keyCount(); ++i) step(dbi::indexSql(definition_, i));
  step(dbi::reservedIndexSql());
  if (rc == SQLITE_OK) {
    const std::pair<const char*, std::string> facts[] = {
        {"format", dbi::FormatName},
        {"format_version", std::to_string(dbi::FormatVersion)},
        {"stored_name", layout().storedName()},
        {"record_size", std::to_string(layout().recordSize())},
        {"keys", dbi::keyDefinitions(definition_)},
        {"key_version", std::to_string(dbi::KeyVersion)},
    };
    sqlite3_stmt* ins = nullptr;
    rc = sqlite3_prepare_v2(db, "INSERT INTO meta(name, value) VALUES(?1, ?2)", -1, &ins, nullptr);
    for (const auto& [name, value] : facts) {
      if (rc != SQLITE_OK) break;
      sqlite3_bind_text(ins, 1, name, -1, SQLITE_STATIC);
      sqlite3_bind_text(ins, 2, value.c_str(), -1, SQLITE_TRANSIENT);
      rc = sqlite3_step(ins);
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
      sqlite3_reset(ins);
    }
    if (rc != SQLITE_OK) why = sqlite3_errmsg(db);
    sqlite3_finalize(ins);
  }
  step("COMMIT");
  if (sqlite3_close(db) != SQLITE_OK && rc == SQLITE_OK) {
    rc = SQLITE_ERROR;
    why = "cannot close the new file";
  }
  if (rc != SQLITE_OK) {
    removeTemp();
    return fail(DbStatus::CreateFailed, "creating " + path_ + ": " + why, rc);
  }

  // A journal left beside a file that no longer exists would be played
  // back into the new one.
  if (!exists(path_)) unlink((path_ + "-journal").c_str());
  if (link(temp.c_str(), path_.c_str()) != 0) {
    int e = errno;
    if (e != EEXIST && renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path_.c_str(), RENAME_NOREPLACE) == 0) {
      syncDirectory(directoryOf(path_));
      return ok();
    }
    removeTemp();
    if (e == EEXIST || errno == EEXIST) return ok();  // another copy made it first
    return fail(DbStatus::CreateFailed, "creating " + path_ + ": " + std::strerror(e));
  }
  removeTemp();
  syncDirectory(directoryOf(path_));
  return ok();
}

}  // namespace platform
