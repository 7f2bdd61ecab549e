#include "platform/report/run_record.h"

#include <algorithm>
#include <stdexcept>

#include "platform/lib/messages.h"
#include "platform/lib/window_controller.h"

namespace platform::report {

KeyValue keyValueFor(const DbFile& file, int key, const FieldRef& value) {
  const FileDefinition& definition = file.definition();
  if (key < 1 || key > file.keyCount()) throw std::invalid_argument("no key " + std::to_string(key));
  std::vector<std::uint8_t> scratch(file.recordSize(), 0);
  clearRecord(file.layout(), scratch.data());
  const int keyField = definition.keys[static_cast<std::size_t>(key - 1)].field;
  FieldRef to = FieldRef::of(file.layout().field(keyField), scratch.data());
  if (to.type() == FieldType::Date && value.type() == FieldType::Date)
    to.setDay(value.day());
  else if (to.isNumeric() && value.isNumeric())
    to.setDecimal(value.decimal());
  else if (to.type() == FieldType::Date)
    to.setDay(static_cast<std::int32_t>(value.integer()));
  else
    to.setText(value.text());
  return keyValueOf(definition, key, scratch.data());
}

RunRecord::RunRecord(const RecordLayout& layout) : layout_(&layout), bytes_(layout.recordSize(), 0) { clear(); }

FieldRef RunRecord::operator[](int field) { return FieldRef::of(layout_->field(field), bytes_.data()); }

void RunRecord::clear() { clearRecord(*layout_, bytes_.data()); }

void RunRecord::load(std::span<const std::uint8_t> image) {
  if (image.size() != bytes_.size()) throw std::invalid_argument("a record of another layout");
  std::copy(image.begin(), image.end(), bytes_.begin());
}

RunRecord::Fetched RunRecord::Fetch(FileManager& access, int key, const FieldRef& value) {
  if (access.UseFile() != LevelContinue) return Fetched::Failed;
  DbFile& file = access.file();
  const KeyValue wanted = keyValueFor(file, key, value);
  std::vector<DbRow> rows;
  if (DbStatus s = file.readPage(key, Direction::Forward, std::nullopt, 1, wanted, rows); s != DbStatus::Ok) {
    access.raise(Msg::RetrievalError, file.error());
    return Fetched::Failed;
  }
  if (rows.empty()) {
    clear();
    return Fetched::None;
  }
  load(rows.front().image);
  return Fetched::Found;
}

}  // namespace platform::report
