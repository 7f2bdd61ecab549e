#pragma once
// The record reader of a report run: one key order of one record file,
// optionally limited to the records whose key equals one value ("key =
// value", compared as the key compares: text without regard to case or
// trailing blanks), read from its start to its end.
//
// Like a list's view (platform/lib/list_view.h), it reads copies: each
// record it reaches is copied into the run's own record (record()), which
// the report's controls are bound to. The thread's record buffer, position
// and keys of the file are never touched, so a report called from a window
// leaves the window's records exactly as they were.
//
// It reads ahead, a page of records per query, larger while quick-scan is
// on; the report switches quick-scan on for the file and its related files
// when its set-up is done (SwitchQuickScan), and the reader switches it off
// again when it is shut down (Kill) or destroyed, whichever way the run
// ends.
//
// Progress: after every record read, the step object (platform/lib/
// step_managers.h) places the record's key value between the lowest and
// the highest key value of the view, which Reset learnt by reading the last
// and the first record. When the whole percentage changes, the progress
// value (the byte the thermometer is bound to) gets it and the text control
// shows it followed by "% Complete". A view whose lowest and highest values
// are equal is 100% done after its first record.
//
// Failures: a file that cannot be opened ends the run, its own message
// shown by the file layer; a read that fails shows "Record Retrieval
// Error" and ends the run.
//
// A joined view (JoinedProcess, below) is the view's records each with its
// related records of another file: an outer join, so a record without any
// gives one row whose related record is cleared.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/db/file.h"
#include "platform/lib/file_manager.h"
#include "platform/lib/file_relations.h"
#include "platform/lib/step_managers.h"
#include "platform/report/run_record.h"
#include "platform/ui/window.h"

namespace platform::report {

// One key order of a file read forward a page of records per query,
// optionally only "key = value": the read-ahead of a reader.
class KeyWalk {
 public:
  // Back to the start of key `key`, limited to `range` when given.
  void Start(int key, std::optional<KeyValue> range);
  // The next record's image, read ahead `rows` at a time; nullptr at the
  // end of the walk. A failed read answers its status and ends the walk.
  DbStatus Next(DbFile& file, int rows, const std::vector<std::uint8_t>*& image);
  // The records read ahead dropped.
  void Drop();

 private:
  int key_ = 0;
  std::optional<KeyValue> range_;
  std::vector<DbRow> ahead_;
  std::size_t next_ = 0;
  bool ended_ = false;
};

class Process {
 public:
  Process() = default;
  virtual ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // --- set-up ---
  // The view: the file of `access` (its access object opens it on first
  // use) in the order of key `key`; `relation` is the file's relation
  // object, whose quick-scan the reader switches.
  void Init(FileManager& access, FileRelations& relation, int key);
  // Only the records whose key equals `value` (the value it holds now).
  void SetRange(const FieldRef& value);
  // Progress in `window`: the text control, the byte the thermometer is
  // bound to (set to 0 here) and the step object (nullptr: no progress).
  void SetProgress(Window& window, int textControl, FieldRef percent, StepMgr* steps);
  void SwitchQuickScan(bool on);

  // The run's own copy of the current record.
  RunRecord& record();
  FieldRef operator[](int field) { return record()[field]; }

  // --- reading, for the report controller ---
  // A reader over a view of more than one file (a record joined with its
  // related records) overrides Reset and Next.
  enum class Read { Record, End, Failed };
  // Back to the start of the view: with a step object, first the last and
  // the first record for the lowest and highest key value; then the first
  // record, counted.
  virtual Read Reset();
  // The next record of the view, counted.
  virtual Read Next();
  long recordsRead() const { return read_; }
  // The whole percentage shown, 0..100.
  int percent() const { return shown_ < 0 ? 0 : shown_; }

  // The per-record step: a report's reader overrides it. Answers a level.
  virtual int OnRecord() { return 0; }

  // Shut-down: quick-scan off, the records read ahead dropped.
  virtual void Kill();

 protected:
  // Records read per query: more while quick-scan is on.
  int rowsPerRead() const;
  // A row of the view that the primary record did not bring (a further
  // related record): counted, with its progress.
  void countRow();
  // "Record Retrieval Error" through `access`; answers Failed.
  static Read fail(FileManager& access);

 private:
  void progress();

  FileManager* access_ = nullptr;
  FileRelations* relation_ = nullptr;
  int key_ = 0;
  std::optional<KeyValue> range_;
  std::optional<RunRecord> record_;
  Window* window_ = nullptr;
  int textControl_ = 0;
  FieldRef percent_;
  StepMgr* steps_ = nullptr;
  bool equalBounds_ = false;
  bool switchedOn_ = false;

  KeyWalk walk_;
  long read_ = 0;
  int shown_ = -1;
};

// A reader over a joined view: each record of the view (in its key order
// and range, as Process reads it) with each record of a related file whose
// key `key` equals the view's field `link`, in that key's order. A record
// with no related record gives one row with the related record cleared
// (blank text, zero numbers, no dates). Both records are the run's own
// copies; every row is counted, and the progress follows the view's key.
class JoinedProcess : public Process {
 public:
  // `link` is a field of record(). Without a Join the reader is a plain
  // Process.
  void Join(FileManager& access, int key, const FieldRef& link);
  bool joinedView() const { return joinAccess_ != nullptr; }
  // The run's own copy of the current row's related record.
  RunRecord& joined();

  Read Reset() override;
  Read Next() override;
  void Kill() override;

 private:
  // The first related record of the view's current record.
  Read first();
  enum class Related { Found, None, Failed };
  Related nextRelated();

  FileManager* joinAccess_ = nullptr;
  int joinKey_ = 0;
  FieldRef link_;
  std::optional<RunRecord> joined_;
  KeyWalk joinWalk_;
};

}  // namespace platform::report
