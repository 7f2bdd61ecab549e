#include "platform/report/process.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/lib/list_view.h"
#include "platform/lib/messages.h"
#include "platform/lib/window_controller.h"

namespace platform::report {

namespace {

// Records read per query: a walk with quick-scan on reads larger pages.
constexpr int PageRows = 32;
constexpr int QuickScanRows = 256;

}  // namespace

Process::~Process() {
  if (switchedOn_ && relation_) relation_->SwitchQuickScan(false);
}

void Process::Init(FileManager& access, FileRelations& relation, int key) {
  access_ = &access;
  relation_ = &relation;
  key_ = key;
  record_.emplace(access.file().layout());
}

void Process::SetRange(const FieldRef& value) {
  if (!access_) throw std::logic_error("the record reader is not set up");
  range_ = keyValueFor(access_->file(), key_, value);
}

void Process::SetProgress(Window& window, int textControl, FieldRef percent, StepMgr* steps) {
  window_ = &window;
  textControl_ = textControl;
  percent_ = percent;
  if (percent_.valid()) percent_.setInteger(0);
  steps_ = steps;
  shown_ = -1;  // nothing shown yet: the first record shows its percentage
}

void Process::SwitchQuickScan(bool on) {
  if (!relation_) return;
  relation_->SwitchQuickScan(on);
  switchedOn_ = on;
}

RunRecord& Process::record() {
  if (!record_) throw std::logic_error("the record reader is not set up");
  return *record_;
}

Process::Read Process::fail(DbStatus) {
  access_->raise(Msg::RetrievalError, access_->file().error());
  return Read::Failed;
}

Process::Read Process::Reset() {
  if (!access_) throw std::logic_error("the record reader is not set up");
  read_ = 0;
  ahead_.clear();
  next_ = 0;
  viewEnded_ = false;
  if (access_->UseFile() != LevelContinue) return Read::Failed;
  DbFile& file = access_->file();
  if (steps_) {
    std::vector<DbRow> last, first;
    if (DbStatus s = file.readPage(key_, Direction::Backward, std::nullopt, 1, range_, last); s != DbStatus::Ok)
      return fail(s);
    if (DbStatus s = file.readPage(key_, Direction::Forward, std::nullopt, 1, range_, first); s != DbStatus::Ok)
      return fail(s);
    if (!first.empty() && !last.empty()) {
      const KeyValue low = file.keyValue(key_, first.front().image.data());
      const KeyValue high = file.keyValue(key_, last.front().image.data());
      steps_->Setup(low, high);
      equalBounds_ = compareKeyValues(low, high) == 0;
    }
  }
  return Next();
}

Process::Read Process::Next() {
  if (!access_) throw std::logic_error("the record reader is not set up");
  if (next_ >= ahead_.size()) {
    if (viewEnded_) return Read::End;
    if (access_->UseFile() != LevelContinue) return Read::Failed;
    DbFile& file = access_->file();
    std::optional<Seek> from;
    if (!ahead_.empty()) from = Seek{file.keyValue(key_, ahead_.back().image.data()), ahead_.back().position, false};
    const int rows = relation_ && relation_->quickScan() ? QuickScanRows : PageRows;
    if (DbStatus s = file.readPage(key_, Direction::Forward, from, rows, range_, ahead_); s != DbStatus::Ok) {
      ahead_.clear();
      viewEnded_ = true;
      return fail(s);
    }
    next_ = 0;
    if (static_cast<int>(ahead_.size()) < rows) viewEnded_ = true;
    if (ahead_.empty()) return Read::End;
  }
  return take();
}

Process::Read Process::take() {
  record_->load(ahead_[next_++].image);
  ++read_;
  progress();
  return Read::Record;
}

void Process::progress() {
  if (!steps_ || !window_) return;
  int pct = 100;
  if (!equalBounds_) pct = std::clamp(steps_->ThumbOf(access_->file().keyValue(key_, record_->data())), 0, 100);
  if (pct == shown_) return;
  shown_ = pct;
  if (percent_.valid()) percent_.setInteger(pct);
  if (Control* text = window_->find(textControl_)) text->setText(std::to_string(pct) + "% Complete");
}

void Process::Kill() {
  if (switchedOn_ && relation_) relation_->SwitchQuickScan(false);
  switchedOn_ = false;
  ahead_.clear();
  ahead_.shrink_to_fit();
}

}  // namespace platform::report
