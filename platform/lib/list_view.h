#pragma once
// A list's view over one record file and the page of it that the list shows.
//
// The view is the records of one key's order, limited to a range (the
// records whose key equals one value) and to a filter (a test on the
// record). It is never read whole: every read is a fresh query for one
// page in key order from a place in that order (DbFile::readPage), so a
// list over a large file costs what its page costs.
//
// The page is a run of consecutive records of the view, as many as the list
// shows at once (pageRows), with one of them selected. Moving the selection
// past either end of the page reads the next records in that direction and
// shifts the page; records are read as the user scrolls, not before.
//
// Records that share a key value follow one another by position, so a
// place in the view is a key value with a position (a Seek): positioning on
// a record finds that very record among records with the same value.
//
// The view neither loads nor changes the file's record buffer: rows are
// copies of the records as they were read.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/db/file.h"

namespace platform {

// Compares two key values as the keys order them.
int compareKeyValues(const KeyValue& a, const KeyValue& b);

class ListView {
 public:
  // The view's filter: whether a record (its image) belongs to the view.
  using Filter = std::function<bool(const std::uint8_t* image)>;
  // Runs before every read; makes sure the file can be read (an access
  // object's lazy opening). A status other than Ok ends the read with it.
  using Opener = std::function<DbStatus()>;

  explicit ListView(DbFile& file);
  ListView(const ListView&) = delete;
  ListView& operator=(const ListView&) = delete;

  DbFile& file() const { return *file_; }

  // --- the view ---
  // The key whose order the view follows (1-based); 0 reads nothing.
  void setKey(int key);
  int key() const { return key_; }
  // Only records whose key equals `equal`; nullopt for the whole key.
  void setRange(std::optional<KeyValue> equal);
  const std::optional<KeyValue>& range() const { return range_; }
  void setFilter(Filter filter);
  bool filtered() const { return static_cast<bool>(filter_); }
  void setOpener(Opener opener);

  // The key value of a record image in the view's order.
  KeyValue keyOf(const std::uint8_t* image) const;
  KeyValue keyOf(const DbRow& row) const { return keyOf(row.image.data()); }
  // Whether a record image belongs to the view: its key holds it, the range
  // admits its value and the filter passes it.
  bool holds(const std::uint8_t* image) const;

  // Up to `count` records of the view in `direction` from `from` (nullopt:
  // from the first or the last), in the order read. A filter makes the read
  // go on until `count` records passed it or the view ends.
  DbStatus read(Direction direction, const std::optional<Seek>& from, int count, std::vector<DbRow>& rows);

  // --- the page ---
  // How many rows the list shows at once (at least 1). A page loaded with
  // fewer rows while more exist is filled at the next load.
  void setPageRows(int rows);
  int pageRows() const { return pageRows_; }
  const std::vector<DbRow>& rows() const { return rows_; }
  int rowCount() const { return static_cast<int>(rows_.size()); }
  // The selected row, 1-based; 0 when the page is empty.
  int selected() const { return selected_; }
  const DbRow* selectedRow() const;
  // Selects a row of the page (clamped to it).
  void select(int row);
  // Empties the page.
  void clear();

  // The first page, its first row selected.
  DbStatus fillFirst();
  // The last page, its last row selected.
  DbStatus fillLast();
  // The page that holds the first record at or after `at`, that record
  // selected, on row `row` of the page when enough records come before it.
  // When the records from it on do not fill the page, the page ends with
  // the view's last record. When no record lies at or after `at`: the last
  // page, its last row selected.
  DbStatus fillAt(const Seek& at, int row = 1);
  // Reloads the page at the same place: the selected record on the same
  // row, or, when it has gone, the record that follows it. An empty page
  // loads the first page.
  DbStatus refill();
  // Moves the selection by `rows` (negative: up), reading the records
  // beyond the page as needed; stops at the first or the last record.
  DbStatus move(int rows);

  // Where a row stands in the view, for a read that starts at it
  // (inclusive) or past it (after it forward, before it backward).
  Seek at(const DbRow& row) const { return Seek{keyOf(row), row.position, true}; }
  Seek past(const DbRow& row) const { return Seek{keyOf(row), row.position, false}; }

  // --- what the view has read ---
  struct Stats {
    long queries = 0;   // page reads asked of the driver
    long rowsRead = 0;  // records the driver returned
  };
  const Stats& stats() const { return stats_; }
  void resetStats() { stats_ = {}; }

  // For tests: runs before every query any view asks of the driver; a
  // status other than Ok fails that read with it, as a failing driver
  // would. An empty hook removes it.
  using ReadFault = std::function<DbStatus(const ListView& view)>;
  static void setReadFault(ReadFault fault);

 private:
  DbStatus readInto(Direction direction, const std::optional<Seek>& from, int count, std::vector<DbRow>& rows);

  DbFile* file_;
  int key_ = 0;
  std::optional<KeyValue> range_;
  Filter filter_;
  Opener opener_;
  int pageRows_ = 1;
  std::vector<DbRow> rows_;
  int selected_ = 0;
  Stats stats_;
};

}  // namespace platform
