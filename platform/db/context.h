#pragma once
// The per-logical-thread side of the keyed-file driver.
//
// A DbContext is one logical thread's access to the record files: its own
// SQLite connection, and through the DbFile objects built on it its own
// record buffers, positions and key state. The runtime gives every logical
// thread one; tests create them directly. Any number of contexts, in this
// process and in other copies of the program, may have the same files open.
//
// All logical threads share one OS thread, so a lock that one of them held
// across a switch would block the others for the whole busy timeout. No
// driver call therefore leaves a transaction or an unfinished statement open
// when it returns, except the explicit DbTransaction, whose holder must not
// switch. The driver registers a switch check (platform::addSwitchCheck)
// that reports any open transaction or unreset statement of any context.
//
// Lifetime: the DbFiles of a context must not outlive it; a context that
// ends first closes them (they then answer NotOpen).

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

namespace platform {

class DbFile;

// How long a call waits for a lock that another connection holds.
constexpr std::chrono::milliseconds DbBusyTimeout{2000};

class DbContext {
 public:
  DbContext();
  ~DbContext();
  DbContext(const DbContext&) = delete;
  DbContext& operator=(const DbContext&) = delete;

  // Whether an explicit transaction is open on this context.
  bool inTransaction() const;
  // What this context holds open right now ("a database transaction",
  // "an unfinished database statement"), or nullptr.
  const char* heldOpen() const;

  // The switch check over every live context: the first thing held open,
  // or nullptr.
  static const char* checkAll();

 private:
  friend class DbFile;
  friend class DbTransaction;

  struct Attachment {
    std::string path;
    std::string schema;
    bool readOnly = false;
    const DbFile* user = nullptr;  // the file using it, nullptr when closed
  };

  // Attaches the database file at `path` for `user` and returns its schema
  // name in `schema`, or an SQLite result code. The first file becomes the
  // connection's main database: a multi-file commit is atomic only when the
  // main database is a real file, and its super-journal is kept next to it.
  // The main database stays attached until the context ends. Each file gets
  // the mode asked for it, whatever the mode of the files before it.
  int attach(const DbFile* user, const std::string& path, bool readOnly, std::string& schema,
             std::string& error);
  void detach(const DbFile* user);

  // Lets SQLite wait for locks until `deadline` (steady clock).
  void setDeadline(std::chrono::steady_clock::time_point deadline);
  void setDeadlineIn(std::chrono::milliseconds timeout);
  static int busyHandler(void* self, int count);

  void addFile(DbFile* file);
  void removeFile(DbFile* file);

  sqlite3* db_ = nullptr;
  std::vector<Attachment> attachments_;
  int nextSchema_ = 1;
  std::chrono::steady_clock::time_point deadline_{};
  std::vector<DbFile*> files_;
};

}  // namespace platform
