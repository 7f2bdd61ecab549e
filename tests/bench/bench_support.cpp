#include "tests/bench/bench_support.h"

#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <fstream>
#include <set>

#include "app/frame/thread_state.h"
#include "dictionary/dictionary.h"
#include "platform/db/transaction.h"
#include "platform/report/progress_window.h"
#include "platform/ui/describe.h"

namespace bench {

namespace {

// The scratch directories alive now. Never destroyed: the data sets are
// statics of the benchmarks' own, some made before it and destroyed after
// it would be.
std::set<const ScratchDir*>& scratchDirs() {
  static auto* dirs = new std::set<const ScratchDir*>;
  return *dirs;
}

}  // namespace

void fail(const std::string& what, std::source_location where) {
  std::fprintf(stderr, "%s:%u: %s\n", std::filesystem::path(where.file_name()).filename().c_str(),
               static_cast<unsigned>(where.line()), what.c_str());
  for (const ScratchDir* dir : scratchDirs()) {
    std::error_code ec;
    std::filesystem::remove_all(dir->path(), ec);
  }
  std::abort();
}

// --- data sets --------------------------------------------------------------

ScratchDir::ScratchDir(const std::string& name) {
  std::string pattern = (std::filesystem::temp_directory_path() / ("lv-bench-" + name + "-XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) fail("no temporary directory");
  path_ = pattern;
  scratchDirs().insert(this);
}

ScratchDir::~ScratchDir() {
  scratchDirs().erase(this);
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

InDirectory::InDirectory(const std::filesystem::path& dir) : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(dir);
}

InDirectory::~InDirectory() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
}

RecordFiles::RecordFiles(std::initializer_list<platform::FileDefinition> definitions) {
  for (const platform::FileDefinition& d : definitions) {
    auto& f = *files_.emplace_back(std::make_unique<platform::DbFile>(context_, d));
    if (f.create() != platform::DbStatus::Ok || f.open() != platform::DbStatus::Ok)
      fail("creating a record file: " + f.error().text);
  }
}

void RecordFiles::inTransaction(const std::function<void()>& write) {
  std::vector<platform::DbFile*> files;
  for (const auto& f : files_) files.push_back(f.get());
  platform::DbTransaction t(context_);
  if (t.begin(files) != platform::DbStatus::Ok) fail("a transaction");
  write();
  if (t.commit() != platform::DbStatus::Ok) fail("committing");
}

void Record::clear() const { platform::clearRecord(file_.layout(), file_.record()); }

void Record::add() const {
  if (file_.add() != platform::DbStatus::Ok) fail("adding a record to " + file_.path() + ": " + file_.error().text);
}

// --- a running program ----------------------------------------------------------

Program::Program(const std::filesystem::path& dir, std::string caption, app::FrameProcedure firstThread)
    : in_(dir), caption_(std::move(caption)) {
  ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  app::SetThreadDataLayer(&layer_);
  drv_.emplace();
  if (!app::StartProgram(std::move(firstThread))) fail("starting the program");
  drv_->settle();
}

Program::Program(const std::filesystem::path& dir)
    : Program(dir, "Host", [] {
        platform::WindowSpec spec;
        spec.caption = "Host";
        platform::Window host(spec);
        host.open();
        while (host.accept()) host.endEvent(platform::EventLevel::Continue);
      }) {}

Program::~Program() {
  drv_->close(drv_->window(caption_));
  drv_.reset();
  app::SetThreadDataLayer(nullptr);
}

StepProgram::StepProgram(const std::filesystem::path& dir, std::string caption)
    : caption_(std::move(caption)), program_(dir, caption_, [this] { host(); }) {}

void StepProgram::on(std::function<void()> step) {
  steps_.push_back(std::move(step));
  drv().click(drv().window(caption_), RunButton);
}

void StepProgram::host() {
  dictionary::Relate_CaseCloseSummary().Open();
  platform::WindowSpec spec;
  spec.caption = caption_;
  platform::Window w(spec);
  w.add(platform::describe::button(RunButton, {5, 5, 40, 14}, "Run"));
  w.open();
  while (w.accept()) {
    if (w.event().kind == platform::EventKind::Accepted && w.event().control == RunButton)
      while (!steps_.empty()) {
        std::function<void()> step = std::move(steps_.front());
        steps_.pop_front();
        step();
      }
    w.endEvent(platform::EventLevel::Continue);
  }
  dictionary::Relate_CaseCloseSummary().Close();
}

// --- a report run ----------------------------------------------------------------

void ensureApplication() {
  if (QCoreApplication::instance()) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "lv_benchmarks";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives as long as the process
}

ReportRun runReport(const std::filesystem::path& dir, const app::FrameProcedure& report, const std::string& caption,
                    std::function<std::unique_ptr<platform::report::Preview>()> preview) {
  namespace pr = platform::report;
  ensureApplication();
  const InDirectory in(dir);
  ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  DataLayer layer;
  app::SetThreadDataLayer(&layer);
  pr::setPreviewFactory(std::move(preview));
  ReportRun run;
  {
    platform::HeadlessDriver drv;
    if (!app::StartProgram(report)) fail("starting the program");
    drv.settle();
    if (!drv.findWindow(caption)) fail("no progress window " + caption);
    run.start = Clock::now();
    drv.advance(pr::ProgressTimer);
    run.end = Clock::now();
    if (drv.findWindow(caption) || !drv.programEnded()) fail("the run did not end in one timer event");
  }
  pr::setPreviewFactory({});
  app::SetThreadDataLayer(nullptr);
  return run;
}

// --- the bare read ----------------------------------------------------------------

BareFile::BareFile(const std::filesystem::path& file) {
  if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
    fail("opening " + file.string());
  sqlite3_exec(db_, "PRAGMA mmap_size = 2147418112", nullptr, nullptr, nullptr);
}

BareFile::~BareFile() {
  for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
  sqlite3_close(db_);
}

sqlite3_stmt* BareFile::prepare(const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) fail(sqlite3_errmsg(db_));
  statements_.push_back(stmt);
  return stmt;
}

// --- resident size ----------------------------------------------------------------

long statusKiB(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(in, line))
    if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
  return 0;
}

void startPeak() {
  malloc_trim(0);
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
}

}  // namespace bench
