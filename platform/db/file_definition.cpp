#include "platform/db/file_definition.h"

#include <limits>

#include "platform/types/latin1.h"

namespace platform {

namespace {

bool numeric(FieldType t) { return t == FieldType::Byte || t == FieldType::Long || t == FieldType::Decimal; }

std::int64_t scaledDecimal(const Decimal& d, int places) {
  Decimal::Int m = d.mantissa();
  for (int s = d.scale(); s < places; ++s) m *= 10;
  for (int s = d.scale(); s > places; --s) m /= 10;
  constexpr Decimal::Int lo = std::numeric_limits<std::int64_t>::min();
  constexpr Decimal::Int hi = std::numeric_limits<std::int64_t>::max();
  if (m < lo) m = lo;
  if (m > hi) m = hi;
  return static_cast<std::int64_t>(m);
}

KeyValue fieldValue(const FieldDesc& field, const std::uint8_t* image) {
  // FieldRef only reads here; it takes a mutable pointer because it also writes.
  FieldRef ref = FieldRef::of(field, const_cast<std::uint8_t*>(image));
  switch (field.type) {
    case FieldType::String:
    case FieldType::CString:
      return latin1Upper(rtrim(ref.text()));
    case FieldType::Byte:
    case FieldType::Long:
      return ref.integer();
    case FieldType::Date:
      return static_cast<std::int64_t>(ref.day());
    case FieldType::Decimal:
      return scaledDecimal(ref.decimal(), field.places);
    case FieldType::Group:
      break;
  }
  return std::monostate{};
}

}  // namespace

std::string checkFileDefinition(const FileDefinition& definition) {
  if (!definition.layout) return "the file has no record layout";
  const RecordLayout& layout = *definition.layout;
  if (layout.storedName().empty()) return "the file has no stored name";
  if (layout.recordSize() == 0) return "the record size is 0";
  int autoKeys = 0;
  for (std::size_t i = 0; i < definition.keys.size(); ++i) {
    const KeyDefinition& key = definition.keys[i];
    if (key.name.empty()) return "key " + std::to_string(i + 1) + " has no name";
    for (std::size_t j = 0; j < i; ++j)
      if (latin1Upper(definition.keys[j].name) == latin1Upper(key.name)) return "two keys are named " + key.name;
    if (key.field < 1 || key.field > layout.fieldCount())
      return "key " + key.name + " names field " + std::to_string(key.field) + ", which the layout lacks";
    const FieldDesc& field = layout.field(key.field);
    if (field.type == FieldType::Group) return "key " + key.name + " is on the group " + field.name;
    if (field.offset + field.size > layout.recordSize())
      return "the field of key " + key.name + " lies beyond the record";
    if (field.type == FieldType::Decimal && field.digits > 18)
      return "key " + key.name + " is on a decimal of more than 18 digits";
    if (key.autoNumber) {
      ++autoKeys;
      if (!key.unique) return "the auto-numbered key " + key.name + " allows duplicates";
      if (!numeric(field.type) || (field.type == FieldType::Decimal && field.places != 0))
        return "the auto-numbered key " + key.name + " is not on a whole-number field";
    }
  }
  if (autoKeys > 1) return "the file has more than one auto-numbered key";
  return {};
}

KeyValue keyValueOf(const FileDefinition& definition, int key, const std::uint8_t* image) {
  const KeyDefinition& k = definition.keys[static_cast<std::size_t>(key - 1)];
  const FieldDesc& field = definition.layout->field(k.field);
  if (k.excludeEmpty && FieldRef::of(field, const_cast<std::uint8_t*>(image)).isEmpty()) return std::monostate{};
  return fieldValue(field, image);
}

}  // namespace platform
