#include "platform/lib/list_view.h"

#include <algorithm>
#include <utility>

namespace platform {

int compareKeyValues(const KeyValue& a, const KeyValue& b) {
  if (a < b) return -1;
  if (b < a) return 1;
  return 0;
}

ListView::ListView(DbFile& file) : file_(&file) {}

void ListView::setKey(int key) { key_ = key; }

void ListView::setRange(std::optional<KeyValue> equal) { range_ = std::move(equal); }

void ListView::setFilter(Filter filter) { filter_ = std::move(filter); }

void ListView::setOpener(Opener opener) { opener_ = std::move(opener); }

KeyValue ListView::keyOf(const std::uint8_t* image) const {
  if (key_ < 1 || key_ > file_->keyCount()) return std::monostate{};
  return file_->keyValue(key_, image);
}

bool ListView::holds(const std::uint8_t* image) const {
  const KeyValue value = keyOf(image);
  if (std::holds_alternative<std::monostate>(value)) return false;
  if (range_ && compareKeyValues(value, *range_) != 0) return false;
  return !filter_ || filter_(image);
}

namespace {
ListView::ReadFault& readFault() {
  static ListView::ReadFault fault;
  return fault;
}
}  // namespace

void ListView::setReadFault(ReadFault fault) { readFault() = std::move(fault); }

DbStatus ListView::readInto(Direction direction, const std::optional<Seek>& from, int count,
                            std::vector<DbRow>& rows) {
  ++stats_.queries;
  if (const ReadFault& fault = readFault())
    if (DbStatus s = fault(*this); s != DbStatus::Ok) {
      rows.clear();
      return s;
    }
  DbStatus s = file_->readPage(key_, direction, from, count, range_, rows);
  stats_.rowsRead += static_cast<long>(rows.size());
  return s;
}

DbStatus ListView::read(Direction direction, const std::optional<Seek>& from, int count, std::vector<DbRow>& rows) {
  rows.clear();
  if (key_ == 0 || count <= 0) return DbStatus::Ok;
  if (opener_)
    if (DbStatus s = opener_(); s != DbStatus::Ok) return s;
  if (!filter_) return readInto(direction, from, count, rows);

  // Records the filter drops do not count: read on in batches until the
  // page is full or the view ends.
  constexpr int MinBatch = 32;
  std::optional<Seek> place = from;
  std::vector<DbRow> batch;
  while (static_cast<int>(rows.size()) < count) {
    const int want = std::max(count - static_cast<int>(rows.size()), MinBatch);
    if (DbStatus s = readInto(direction, place, want, batch); s != DbStatus::Ok) return s;
    const bool more = static_cast<int>(batch.size()) == want;
    // The next batch starts past this one's last record, taken before the
    // rows that pass are moved out of it.
    if (more) place = past(batch.back());
    for (DbRow& r : batch)
      if (filter_(r.image.data()) && static_cast<int>(rows.size()) < count) rows.push_back(std::move(r));
    if (!more) break;
  }
  return DbStatus::Ok;
}

void ListView::setPageRows(int rows) { pageRows_ = std::max(rows, 1); }

const DbRow* ListView::selectedRow() const {
  if (selected_ < 1 || selected_ > rowCount()) return nullptr;
  return &rows_[static_cast<std::size_t>(selected_ - 1)];
}

void ListView::select(int row) { selected_ = rows_.empty() ? 0 : std::clamp(row, 1, rowCount()); }

void ListView::clear() {
  rows_.clear();
  selected_ = 0;
}

DbStatus ListView::fillFirst() {
  std::vector<DbRow> page;
  DbStatus s = read(Direction::Forward, std::nullopt, pageRows_, page);
  rows_ = std::move(page);
  select(1);
  return s;
}

DbStatus ListView::fillLast() {
  std::vector<DbRow> page;
  DbStatus s = read(Direction::Backward, std::nullopt, pageRows_, page);
  std::reverse(page.begin(), page.end());
  rows_ = std::move(page);
  select(rowCount());
  return s;
}

DbStatus ListView::fillAt(const Seek& at, int row) {
  Seek from = at;
  from.inclusive = true;
  std::vector<DbRow> ahead;
  if (DbStatus s = read(Direction::Forward, from, pageRows_, ahead); s != DbStatus::Ok) {
    clear();
    return s;
  }
  if (ahead.empty()) return fillLast();
  // Records before it: enough to put it on `row`, or to fill the page when
  // the view ends within it.
  row = std::clamp(row, 1, pageRows_);
  const int wanted = std::max(row - 1, pageRows_ - static_cast<int>(ahead.size()));
  std::vector<DbRow> before;
  if (wanted > 0)
    if (DbStatus s = read(Direction::Backward, past(ahead.front()), wanted, before); s != DbStatus::Ok) {
      clear();
      return s;
    }
  std::vector<DbRow> page;
  page.reserve(before.size() + ahead.size());
  std::move(before.rbegin(), before.rend(), std::back_inserter(page));
  std::move(ahead.begin(), ahead.end(), std::back_inserter(page));
  if (static_cast<int>(page.size()) > pageRows_) page.resize(static_cast<std::size_t>(pageRows_));
  rows_ = std::move(page);
  select(static_cast<int>(before.size()) + 1);
  return DbStatus::Ok;
}

DbStatus ListView::refill() {
  const DbRow* current = selectedRow();
  if (!current) return fillFirst();
  const Seek place = at(*current);
  return fillAt(place, selected_);
}

DbStatus ListView::move(int rows) {
  if (rows_.empty() || rows == 0) return DbStatus::Ok;
  const int target = selected_ + rows;
  if (target >= 1 && target <= rowCount()) {
    selected_ = target;
    return DbStatus::Ok;
  }
  std::vector<DbRow> more;
  if (rows > 0) {
    DbStatus s = read(Direction::Forward, past(rows_.back()), target - rowCount(), more);
    std::move(more.begin(), more.end(), std::back_inserter(rows_));
    const int reached = std::min(target, rowCount());
    const int dropped = std::max(rowCount() - pageRows_, 0);
    rows_.erase(rows_.begin(), rows_.begin() + dropped);
    selected_ = reached - dropped;
    return s;
  }
  DbStatus s = read(Direction::Backward, past(rows_.front()), 1 - target, more);
  const int added = static_cast<int>(more.size());
  std::vector<DbRow> page;
  page.reserve(more.size() + rows_.size());
  std::move(more.rbegin(), more.rend(), std::back_inserter(page));
  std::move(rows_.begin(), rows_.end(), std::back_inserter(page));
  if (static_cast<int>(page.size()) > pageRows_) page.resize(static_cast<std::size_t>(pageRows_));
  rows_ = std::move(page);
  selected_ = std::max(target + added, 1);
  return s;
}

}  // namespace platform
