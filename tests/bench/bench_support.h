#pragma once
// What the benchmarks build their runs from:
//   - data sets written into scratch directories of their own, which go
//     with every file in them when the run ends, or before a failed run
//     aborts (fail);
//   - a running program on a data set under the headless driver, whose
//     first thread either waits in a window of its own or runs the steps
//     a benchmark queues for it;
//   - a report run as a program of its own, timed over the one timer tick
//     that reads its whole view;
//   - a bare SQLite connection on a record file, the baseline of the
//     ratios;
//   - the process's resident size.
// Only the set-up lives here; each benchmark's timed loop stays in its own
// file.

#include <sqlite3.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <source_location>
#include <string>
#include <vector>

#include "app/frame/program.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/os/os_fakes.h"
#include "platform/report/preview.h"
#include "platform/ui/headless/driver.h"
#include "tests/app/frame/test_data_layer.h"

namespace bench {

using Clock = std::chrono::steady_clock;
using DataLayer = lvtest::DataLayer;

// Says what failed and where (the benchmark's file and line), removes
// every scratch directory and aborts the run.
[[noreturn]] void fail(const std::string& what, std::source_location where = std::source_location::current());

// --- data sets --------------------------------------------------------------

// A fresh directory lv-bench-<name>-XXXXXX in the temporary directory,
// removed with everything in it when it goes (or when a run fails).
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The current directory is `dir` while it lives.
class InDirectory {
 public:
  explicit InDirectory(const std::filesystem::path& dir);
  ~InDirectory();
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

// Record files created in the current directory and opened through a
// context of their own, to write a data set.
class RecordFiles {
 public:
  explicit RecordFiles(std::initializer_list<platform::FileDefinition> definitions);
  platform::DbFile& operator[](std::size_t i) { return *files_[i]; }
  // Runs `write` in one transaction over all the files and commits it.
  void inTransaction(const std::function<void()>& write);

 private:
  platform::DbContext context_;
  std::vector<std::unique_ptr<platform::DbFile>> files_;
};

// The record buffer of a file being written: its fields by number, cleared
// before each record and added after it.
class Record {
 public:
  explicit Record(platform::DbFile& file) : file_(file) {}
  platform::FieldRef operator()(int field) const {
    return platform::FieldRef::of(file_.layout().field(field), file_.record());
  }
  void clear() const;
  void add() const;

 private:
  platform::DbFile& file_;
};

// --- a running program ----------------------------------------------------------

// A running program in a data set's directory (its settings kept there)
// under the headless driver, with the benchmarks' data layer and no
// full-window drag. Its first thread runs `firstThread`, which waits in
// the window captioned `caption`; closing that window ends the program.
class Program {
 public:
  Program(const std::filesystem::path& dir, std::string caption, app::FrameProcedure firstThread);
  // The first thread waits in an empty window captioned "Host"; the
  // benchmark starts its windows on threads of their own.
  explicit Program(const std::filesystem::path& dir);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  platform::HeadlessDriver& drv() { return *drv_; }

 private:
  InDirectory in_;
  std::string caption_;
  platform::RecordingFullDrag drag_{false};
  platform::ScopedOsServices services_{platform::OsServices{nullptr, nullptr, nullptr, &drag_}};
  DataLayer layer_{DataLayer::Outside::Refused};
  std::optional<platform::HeadlessDriver> drv_;
};

// A program whose first thread plays a window of the program's own (the
// case list, a worksheet): the case file related and open while it runs,
// and each click of its Run button runs the steps queued for it there.
class StepProgram {
 public:
  StepProgram(const std::filesystem::path& dir, std::string caption);

  platform::HeadlessDriver& drv() { return program_.drv(); }
  // Runs a step on the first thread; returns when every thread waits.
  void on(std::function<void()> step);

 private:
  static constexpr int RunButton = 1;
  void host();

  std::string caption_;
  std::deque<std::function<void()>> steps_;
  Program program_;  // last: its first thread uses the members above
};

// --- a report run ----------------------------------------------------------------

// Makes the one application object of the process (offscreen unless told
// otherwise): the reports measure their text through it.
void ensureApplication();

// The clock just before and just after a report's one timer tick.
struct ReportRun {
  Clock::time_point start, end;
  double seconds() const { return std::chrono::duration<double>(end - start).count(); }
};

// One run of a report as a program of its own under the headless driver,
// in `dir` (its settings in dir/config), with the benchmarks' data layer:
// the first thread calls `report`, whose progress window is captioned
// `caption`, and `preview` makes what stands in for the preview window.
// The virtual clock does not move, so the first timer tick reads the whole
// view, lays out every page and ends in the preview; the run must end with
// it.
ReportRun runReport(const std::filesystem::path& dir, const app::FrameProcedure& report, const std::string& caption,
                    std::function<std::unique_ptr<platform::report::Preview>()> preview);

// --- the bare read ----------------------------------------------------------------

// A connection of its own on a record file, read-only and memory-mapped as
// the driver's connections read; its statements are finalized when it
// goes.
class BareFile {
 public:
  explicit BareFile(const std::filesystem::path& file);
  ~BareFile();
  BareFile(const BareFile&) = delete;
  BareFile& operator=(const BareFile&) = delete;

  sqlite3_stmt* prepare(const std::string& sql);
  // The column of the records table that holds key number `key`.
  static std::string keyColumn(int key) { return "k" + std::to_string(key); }

 private:
  sqlite3* db_ = nullptr;
  std::vector<sqlite3_stmt*> statements_;
};

// --- resident size ----------------------------------------------------------------

// A field of /proc/self/status in KiB (VmHWM, RssAnon, ...); 0 when absent.
long statusKiB(const char* field);
// Gives the memory malloc holds free back to the system, then resets the
// peak resident size (VmHWM) to the resident size now.
void startPeak();

}  // namespace bench
