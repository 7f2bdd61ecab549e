#include "platform/db/context.h"

#include <sqlite3.h>

#include <algorithm>
#include <mutex>
#include <thread>

#include "platform/db/file.h"
#include "platform/db/sqlite_util.h"
#include "platform/types/switch_check.h"

namespace platform {

namespace {

std::mutex& registryMutex() {
  static std::mutex m;
  return m;
}

std::vector<DbContext*>& registry() {
  static std::vector<DbContext*> contexts;
  return contexts;
}

const char* switchCheck() { return DbContext::checkAll(); }

}  // namespace

DbContext::DbContext() {
  std::lock_guard<std::mutex> lock(registryMutex());
  registry().push_back(this);
  addSwitchCheck(&switchCheck);
}

DbContext::~DbContext() {
  while (!files_.empty()) files_.back()->contextEnded();
  if (db_) sqlite3_close_v2(db_);
  std::lock_guard<std::mutex> lock(registryMutex());
  auto& r = registry();
  r.erase(std::remove(r.begin(), r.end(), this), r.end());
}

bool DbContext::inTransaction() const { return db_ && sqlite3_get_autocommit(db_) == 0; }

const char* DbContext::heldOpen() const {
  if (!db_) return nullptr;
  if (sqlite3_get_autocommit(db_) == 0) return "a database transaction";
  for (sqlite3_stmt* s = sqlite3_next_stmt(db_, nullptr); s; s = sqlite3_next_stmt(db_, s))
    if (sqlite3_stmt_busy(s)) return "an unfinished database statement";
  return nullptr;
}

const char* DbContext::checkAll() {
  std::lock_guard<std::mutex> lock(registryMutex());
  for (const DbContext* c : registry())
    if (const char* held = c->heldOpen()) return held;
  return nullptr;
}

int DbContext::attach(const DbFile* user, const std::string& path, bool readOnly, std::string& schema,
                      std::string& error) {
  for (Attachment& a : attachments_) {
    if (a.path != path) continue;
    if (a.user && a.user != user) {
      error = "the file is open twice on this thread";
      return SQLITE_MISUSE;
    }
    if (a.readOnly && !readOnly) {
      error = "the file was opened read-only on this thread";
      return SQLITE_READONLY;
    }
    a.user = user;
    schema = a.schema;
    return SQLITE_OK;
  }
  // Each file's mode is its URI's ("mode=ro" or "mode=rw"). The connection
  // itself always allows writing: an attached database can never be opened
  // with more rights than the connection was, so a connection opened
  // read-only for its first file would refuse every writable file after it.
  std::string uri = dbi::fileUri(path, readOnly);
  int rc;
  if (!db_) {
    constexpr int flags = SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_READWRITE;
    rc = sqlite3_open_v2(uri.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
      error = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
      sqlite3_close_v2(db_);
      db_ = nullptr;
      return rc;
    }
    sqlite3_busy_handler(db_, &DbContext::busyHandler, this);
    schema = "main";
  } else {
    schema = "f" + std::to_string(++nextSchema_);
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare_v2(db_, ("ATTACH ?1 AS " + schema).c_str(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_bind_text(stmt, 1, uri.c_str(), -1, SQLITE_TRANSIENT);
      rc = sqlite3_step(stmt);
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK) error = sqlite3_errmsg(db_);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_OK) return rc;
  }
  attachments_.push_back(Attachment{path, schema, readOnly, user});
  return SQLITE_OK;
}

void DbContext::detach(const DbFile* user) {
  for (auto it = attachments_.begin(); it != attachments_.end(); ++it) {
    if (it->user != user) continue;
    it->user = nullptr;
    // Another database stays attached (for reuse) when a transaction keeps
    // it from being detached now.
    if (it->schema != "main" && dbi::exec(db_, "DETACH " + it->schema) == SQLITE_OK) attachments_.erase(it);
    break;
  }
  // The main database cannot be detached; once nothing uses any file the
  // connection goes, so that the next file opened becomes the main one. (A
  // file that failed its checks must not stay attached: SQLite loads the
  // schema of every attached database before each statement.)
  bool used = std::any_of(attachments_.begin(), attachments_.end(), [](const Attachment& a) { return a.user; });
  if (!used && db_ && sqlite3_get_autocommit(db_) != 0) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    attachments_.clear();
  }
}

void DbContext::setDeadline(std::chrono::steady_clock::time_point deadline) { deadline_ = deadline; }

void DbContext::setDeadlineIn(std::chrono::milliseconds timeout) {
  deadline_ = std::chrono::steady_clock::now() + timeout;
}

int DbContext::busyHandler(void* self, int count) {
  // The waits SQLite's own busy timeout makes, up to the deadline.
  static constexpr int delaysMs[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
  auto* context = static_cast<DbContext*>(self);
  auto now = std::chrono::steady_clock::now();
  if (now >= context->deadline_) return 0;
  constexpr int steps = static_cast<int>(sizeof delaysMs / sizeof delaysMs[0]);
  std::chrono::milliseconds delay{count < steps ? delaysMs[count] : 100};
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(context->deadline_ - now);
  std::this_thread::sleep_for(std::min(delay, left + std::chrono::milliseconds(1)));
  return 1;
}

void DbContext::addFile(DbFile* file) { files_.push_back(file); }

void DbContext::removeFile(DbFile* file) { files_.erase(std::remove(files_.begin(), files_.end(), file), files_.end()); }

}  // namespace platform
