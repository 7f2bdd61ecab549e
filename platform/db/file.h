#pragma once
// One record file as one logical thread (DbContext) sees it: the file's
// record buffer, its current position and its key state. Each record file is
// one SQLite database, "<stored name>.lvd" in the current directory of the
// process when the file is first opened or created.
//
// Records are fixed-size byte images (the layout's record size). A record's
// position is a number that is never used again once its record has been
// deleted, so a stale position can never load, change or delete another
// record. The buffer is the thread's copy of one record; reads load it,
// writes store it.
//
// Opening, mapped onto the class library's steps:
//   open(ReadWrite)      Ok, or
//     Locked / Denied    setLockRecovery(seconds), open again; still refused:
//                        open(ReadOnly)
//     FileNotFound       create(), open again (CreateFailed when it fails)
//     InvalidKey         rebuildKeys(), open again (RebuildFailed)
//     NotOurs            the file is another program's, damaged, truncated
//                        or of another layout; it is left exactly as it is
// Opening checks the keys at a cost that does not grow with the file.
//
// Every call returns a DbStatus and leaves the details in error(). No call
// leaves a statement or (outside DbTransaction) a transaction open.

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/db/file_definition.h"
#include "platform/db/status.h"

struct sqlite3_stmt;

namespace platform {

class DbContext;

enum class Access { ReadWrite, ReadOnly };
enum class Direction { Forward, Backward };

// Where a read in key order starts: after (forward) or before (backward) the
// place of `value` and `position` in the key's order, or at it when
// inclusive. Records with equal values follow one another by position, so
// {value, 0, true} forward starts at the first record holding `value` (or
// the next higher one), and {value, INT64_MAX} backward at the last.
struct Seek {
  KeyValue value;
  std::int64_t position = 0;
  bool inclusive = false;
};

struct DbRow {
  std::int64_t position = 0;
  std::vector<std::uint8_t> image;
};

// The buffer and position of a file, saved around a lookup.
struct DbFileState {
  std::vector<std::uint8_t> buffer;
  std::int64_t position = 0;
};

class DbFile {
 public:
  static constexpr const char* Extension = ".lvd";
  // How often reserveAutoNumber tries before it reports the failure.
  static constexpr int AutoNumberTries = 3;

  // The FileDefinition must pass checkFileDefinition; otherwise every call answers Invalid.
  DbFile(DbContext& context, FileDefinition definition);
  ~DbFile();
  DbFile(const DbFile&) = delete;
  DbFile& operator=(const DbFile&) = delete;

  const FileDefinition& definition() const { return definition_; }
  // The logical thread's context the file belongs to; nullptr once the
  // context has ended.
  DbContext* context() const { return context_; }
  const RecordLayout& layout() const { return *definition_.layout; }
  std::uint32_t recordSize() const { return static_cast<std::uint32_t>(buffer_.size()); }
  int keyCount() const { return static_cast<int>(definition_.keys.size()); }
  // The file's full path, fixed by the first open or create; empty before.
  const std::string& path() const { return path_; }
  const DbError& error() const { return error_; }

  // --- Opening and closing -------------------------------------------------

  // Later open attempts wait up to this long for a lock held elsewhere (a
  // crashed holder's locks clear when its process ends, and the first reader
  // rolls its unfinished transaction back). 0, the default, waits the normal
  // busy timeout.
  void setLockRecovery(int seconds);
  // One open attempt; Ok also when the file is open already.
  DbStatus open(Access access = Access::ReadWrite);
  // Creates the missing file, empty, with its keys. The file appears under
  // its name complete or not at all, and an existing file is never
  // replaced: if one exists by now, create() leaves it and answers Ok.
  DbStatus create();
  // Rebuilds every key from the stored records. A failure leaves the file as
  // it was.
  DbStatus rebuildKeys();
  // Releases this file's outstanding reservations and closes it.
  void close();
  bool isOpen() const { return open_; }
  bool isReadOnly() const { return readOnly_; }

  // --- Buffer and position -------------------------------------------------

  std::uint8_t* record() { return buffer_.data(); }
  const std::uint8_t* record() const { return buffer_.data(); }
  std::span<const std::uint8_t> image() const { return buffer_; }
  // The position of the record last read, added or changed; 0 for none.
  std::int64_t position() const { return position_; }
  // Buffer := the row's image, position := the row's position.
  void load(const DbRow& row);
  DbFileState saveState() const { return {buffer_, position_}; }
  void restoreState(const DbFileState& state);
  // Key number `key` (1-based) of the buffer, or of an image.
  KeyValue keyValue(int key) const;
  KeyValue keyValue(int key, const std::uint8_t* image) const;

  // --- Reading -------------------------------------------------------------
  // Reads never see a reservation (reserveAutoNumber), not even their own.

  // Loads the first record, in key order, whose key `key` equals the key's
  // value in the buffer. NotFound leaves the buffer as it was.
  DbStatus fetch(int key);
  // Loads the record at a position. NotFound when it has been deleted.
  DbStatus get(std::int64_t position);
  // Reads up to `count` records in the order of key `key`, forward or
  // backward, from `from` (nullopt: from the first or the last record),
  // limited to the records whose key equals `equal` when given. Records
  // left out of the key are never read. Each call runs a fresh query and
  // finishes it; the buffer and position are left alone.
  DbStatus readPage(int key, Direction direction, const std::optional<Seek>& from, int count,
                    const std::optional<KeyValue>& equal, std::vector<DbRow>& rows);
  // The highest value of key `key` in use, reservations included; monostate
  // for a file without values in that key.
  DbStatus maxValue(int key, KeyValue& value);

  // Reads go through a memory map of the file, which is fast; but every
  // mapped page read stays resident in the process (the system maps the
  // pages around each one read too), so a walk over the whole of a large
  // file (a report's reader) would hold as much of it as it read. While a
  // walk is on, reads keep the map until the process's mapped pages have
  // grown by `mapped` bytes since the walk began; then the map goes, and
  // what it held with it, and the rest of the walk reads through the
  // driver's small page cache. A walk over a few thousand records keeps
  // the map's speed; one over a file far larger than memory keeps the
  // process small. (Where the resident pages cannot be read, a walk reads
  // without the map from the start.) It holds over closing and opening,
  // until switched off, which brings the map back.
  static constexpr std::int64_t WalkMapped = 24ll << 20;
  void setWalk(bool on, std::int64_t mapped = WalkMapped);
  bool walk() const { return walk_; }
  // Whether reads go through the memory map.
  bool mapped() const { return !walk_ || !walkUnmapped_; }

  // --- Writing -------------------------------------------------------------

  // Adds the buffer as a new record; position := its position.
  DbStatus add();
  // Writes the buffer over the record at `position`, but only while the
  // stored record still equals `original` (the image as it was read):
  // Changed when another thread or copy changed it, NotFound when it was
  // deleted. position := `position` on success.
  DbStatus change(std::int64_t position, std::span<const std::uint8_t> original);
  // Deletes the record at `position`; with `original`, only while the stored
  // record still equals it (Changed otherwise).
  DbStatus remove(std::int64_t position, std::optional<std::span<const std::uint8_t>> original = std::nullopt);

  // --- Auto-numbering ------------------------------------------------------
  // A new record of a file with an auto-numbered key gets the highest
  // number in use plus 1 (1 for an empty file), reserved at once by storing
  // the buffer as a reservation: a record that no read sees, kept apart
  // from the record's bytes. Completing it makes it a record; releasing it
  // removes it. Reservations still outstanding when the file closes or the
  // context ends are released; those of a process that was killed are
  // removed when a later open finds their owner provably gone. The owner
  // proof is a lock that each process holds for its whole life in
  // "lvd-owners.lck" beside the record files.

  // Stores the number in the buffer's auto-numbered field and reserves it;
  // position := the reservation's position. Makes up to AutoNumberTries
  // tries; the last failure is reported.
  DbStatus reserveAutoNumber();
  // Writes the buffer over this file's reservation at `position`, which
  // thereby becomes a record (Duplicate and the rest as for add()).
  DbStatus completeReserved(std::int64_t position);
  // Removes this file's reservation at `position`.
  DbStatus releaseReserved(std::int64_t position);
  // Positions of this file's outstanding reservations.
  const std::vector<std::int64_t>& reservations() const { return reservations_; }

 private:
  friend class DbContext;
  friend class DbTransaction;

  enum Statement : int {
    StInsert,
    StGet,
    StChange,
    StRemove,
    StRemoveChecked,
    StProbe,
    StComplete,
    StRelease,
    StSetImage,
    StCount
  };

  DbStatus begin();  // clears the error, checks that the file is open
  DbStatus ok();
  DbStatus fail(DbStatus status, std::string text, int fileCode = 0);
  DbStatus sqliteFail(int rc, const char* doing);
  DbStatus sqliteFail(int rc, const char* doing, DbStatus status);
  bool validKey(int key) const;

  std::string statementSql(Statement which) const;
  sqlite3_stmt* statement(Statement which);
  // The cached statement of `slot`, prepared from makeSql() on first use.
  template <class MakeSql>
  sqlite3_stmt* prepared(int slot, MakeSql makeSql, int& rc);
  void finalizeStatements();
  std::string table() const;  // "<schema>".records

  DbStatus openAttempt(Access access);
  DbStatus verify(Access access);
  DbStatus checkKeys(const std::string& keyVersion, std::map<std::string, std::string>& schemaSql);
  int rebuildInPlace(std::string& why);
  int rebuildByCopy(std::string& why);
  void purgeDeadReservations();
  void detachFile();
  void applyMapping();
  void walked();
  DbStatus readRows(int key, Direction direction, const std::optional<Seek>& from, int count,
                    const std::optional<KeyValue>& equal, std::vector<DbRow>& rows);
  void contextEnded();
  void resolvePath();

  int bindKeys(sqlite3_stmt* stmt, int firstParam, const std::uint8_t* image, std::vector<KeyValue>& keep);
  DbStatus duplicateOf(std::int64_t position, const std::uint8_t* image);
  DbStatus writeFailure(int rc, const char* doing, std::int64_t position, const std::uint8_t* image);
  DbStatus changedOrGone(std::int64_t position);
  DbStatus reserveOnce(std::int64_t owner);
  DbStatus readRun(int key, Direction direction, const KeyValue* equal, const Seek* seek, int count,
                   std::vector<DbRow>& rows);

  DbContext* context_;
  FileDefinition definition_;
  std::string definitionFault_;
  std::string path_;
  std::string schema_;
  bool open_ = false;
  bool readOnly_ = false;
  int lockRecovery_ = 0;
  bool walk_ = false;
  bool walkUnmapped_ = false;           // the walk's reads go without the map
  std::int64_t walkMapped_ = 0;         // the growth it allows the map
  std::int64_t walkResidentFrom_ = -1;  // the process's mapped pages when the map was taken
  std::vector<std::uint8_t> buffer_;
  std::int64_t position_ = 0;
  DbError error_;
  std::vector<std::int64_t> reservations_;
  std::vector<sqlite3_stmt*> statements_;
  std::map<int, sqlite3_stmt*> readStatements_;
};

}  // namespace platform
