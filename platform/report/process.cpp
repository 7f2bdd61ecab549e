#include "platform/report/process.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <variant>

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

Process::Read Process::fail(FileManager& access) {
  access.raise(Msg::RetrievalError, access.file().error());
  return Read::Failed;
}

int Process::rowsPerRead() const { return relation_ && relation_->quickScan() ? QuickScanRows : PageRows; }

void Process::countRow() {
  ++read_;
  progress();
}

Process::Read Process::Reset() {
  if (!access_) throw std::logic_error("the record reader is not set up");
  read_ = 0;
  walk_.Start(key_, range_);
  if (access_->UseFile() != LevelContinue) return Read::Failed;
  DbFile& file = access_->file();
  if (steps_) {
    std::vector<DbRow> last, first;
    if (file.readPage(key_, Direction::Backward, std::nullopt, 1, range_, last) != DbStatus::Ok) return fail(*access_);
    if (file.readPage(key_, Direction::Forward, std::nullopt, 1, range_, first) != DbStatus::Ok) return fail(*access_);
    if (!first.empty() && !last.empty()) {
      const KeyValue low = file.keyValue(key_, first.front().image.data());
      const KeyValue high = file.keyValue(key_, last.front().image.data());
      steps_->Setup(low, high);
      equalBounds_ = compareKeyValues(low, high) == 0;
    }
  }
  return Process::Next();
}

Process::Read Process::Next() {
  if (!access_) throw std::logic_error("the record reader is not set up");
  if (access_->UseFile() != LevelContinue) return Read::Failed;
  const std::vector<std::uint8_t>* image = nullptr;
  if (walk_.Next(access_->file(), rowsPerRead(), image) != DbStatus::Ok) return fail(*access_);
  if (!image) return Read::End;
  record_->load(*image);
  countRow();
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
  walk_.Drop();
}

// --- KeyWalk -----------------------------------------------------------------

void KeyWalk::Start(int key, std::optional<KeyValue> range) {
  key_ = key;
  range_ = std::move(range);
  ahead_.clear();
  next_ = 0;
  ended_ = false;
}

DbStatus KeyWalk::Next(DbFile& file, int rows, const std::vector<std::uint8_t>*& image) {
  image = nullptr;
  if (next_ >= ahead_.size()) {
    if (ended_) return DbStatus::Ok;
    std::optional<Seek> from;
    if (!ahead_.empty()) from = Seek{file.keyValue(key_, ahead_.back().image.data()), ahead_.back().position, false};
    if (DbStatus s = file.readPage(key_, Direction::Forward, from, rows, range_, ahead_); s != DbStatus::Ok) {
      ahead_.clear();
      next_ = 0;
      ended_ = true;
      return s;
    }
    next_ = 0;
    if (static_cast<int>(ahead_.size()) < rows) ended_ = true;
    if (ahead_.empty()) return DbStatus::Ok;
  }
  image = &ahead_[next_++].image;
  return DbStatus::Ok;
}

void KeyWalk::Drop() {
  ahead_.clear();
  ahead_.shrink_to_fit();
  next_ = 0;
  ended_ = true;
}

// --- JoinedProcess -----------------------------------------------------------

void JoinedProcess::Join(FileManager& access, int key, const FieldRef& link) {
  joinAccess_ = &access;
  joinKey_ = key;
  link_ = link;
  joined_.emplace(access.file().layout());
}

RunRecord& JoinedProcess::joined() {
  if (!joined_) throw std::logic_error("the record reader has no joined file");
  return *joined_;
}

Process::Read JoinedProcess::Reset() {
  const Read read = Process::Reset();
  if (read != Read::Record || !joinAccess_) return read;
  return first();
}

Process::Read JoinedProcess::Next() {
  if (!joinAccess_) return Process::Next();
  switch (nextRelated()) {
    case Related::Found: countRow(); return Read::Record;
    case Related::Failed: return Read::Failed;
    case Related::None: break;
  }
  const Read read = Process::Next();
  if (read != Read::Record) return read;
  return first();
}

Process::Read JoinedProcess::first() {
  if (joinAccess_->UseFile() != LevelContinue) return Read::Failed;
  const KeyValue value = keyValueFor(joinAccess_->file(), joinKey_, link_);
  if (std::holds_alternative<std::monostate>(value)) {
    // A value the related key leaves out has no related records.
    joinWalk_.Drop();
  } else {
    joinWalk_.Start(joinKey_, value);
  }
  switch (nextRelated()) {
    case Related::Found: return Read::Record;
    case Related::Failed: return Read::Failed;
    case Related::None: joined_->clear(); return Read::Record;
  }
  return Read::Failed;
}

JoinedProcess::Related JoinedProcess::nextRelated() {
  if (joinAccess_->UseFile() != LevelContinue) return Related::Failed;
  const std::vector<std::uint8_t>* image = nullptr;
  if (joinWalk_.Next(joinAccess_->file(), rowsPerRead(), image) != DbStatus::Ok) {
    fail(*joinAccess_);
    return Related::Failed;
  }
  if (!image) return Related::None;
  joined_->load(*image);
  return Related::Found;
}

void JoinedProcess::Kill() {
  Process::Kill();
  joinWalk_.Drop();
}

}  // namespace platform::report
