#include "platform/types/field.h"

#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include "platform/types/daynum.h"
#include "platform/types/latin1.h"

namespace platform {

const char* fieldTypeName(FieldType t) {
  switch (t) {
    case FieldType::String: return "STRING";
    case FieldType::CString: return "CSTRING";
    case FieldType::Byte: return "BYTE";
    case FieldType::Long: return "LONG";
    case FieldType::Date: return "DATE";
    case FieldType::Decimal: return "DECIMAL";
    case FieldType::Group: return "GROUP";
  }
  return "?";
}

namespace {

FieldDesc desc(std::string name, FieldType type, std::uint32_t size, std::uint32_t offset, std::string group,
               int digits = 0, int places = 0) {
  FieldDesc f;
  f.name = std::move(name);
  f.type = type;
  f.size = size;
  f.offset = offset;
  f.group = std::move(group);
  f.digits = digits;
  f.places = places;
  return f;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (latin1Upper(a[i]) != latin1Upper(b[i])) return false;
  return true;
}

std::string typeText(const FieldDesc& f) {
  std::string t = fieldTypeName(f.type);
  switch (f.type) {
    case FieldType::String:
    case FieldType::CString: return t + "(" + std::to_string(f.size) + ")";
    case FieldType::Decimal: return t + "(" + std::to_string(f.digits) + "," + std::to_string(f.places) + ")";
    default: return t;
  }
}

// The size a data field's type gives it, or an explanation why the type
// itself is unsound.
std::string typeFault(const FieldDesc& f) {
  switch (f.type) {
    case FieldType::String:
    case FieldType::CString:
      if (f.size == 0) return "a text field needs at least one byte";
      return {};
    case FieldType::Byte:
      return f.size == 1 ? std::string() : "a BYTE is 1 byte, not " + std::to_string(f.size);
    case FieldType::Long:
    case FieldType::Date:
      return f.size == 4 ? std::string() : "a " + typeText(f) + " is 4 bytes, not " + std::to_string(f.size);
    case FieldType::Decimal:
      if (f.digits < 1 || f.digits > 35 || f.digits % 2 == 0)
        return "DECIMAL needs an odd number of digits from 1 to 35, not " + std::to_string(f.digits);
      if (f.places < 0 || f.places > f.digits)
        return "DECIMAL(" + std::to_string(f.digits) + "," + std::to_string(f.places) + ") has more places than digits";
      if (f.size != packedSize(f.digits))
        return "a " + typeText(f) + " is " + std::to_string(packedSize(f.digits)) + " bytes, not " +
               std::to_string(f.size);
      return {};
    case FieldType::Group:
      return {};
  }
  return "unknown field type";
}

std::uint32_t readU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void writeU32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

// The value rounded to a whole number, when it lies in [lo, hi].
std::optional<std::int64_t> wholeIn(const Decimal& v, std::int64_t lo, std::int64_t hi) {
  const Decimal r = v.rounded(0);  // scale 0
  if (r < Decimal::fromInt(lo) || r > Decimal::fromInt(hi)) return std::nullopt;
  return static_cast<std::int64_t>(r.mantissa());
}

std::string_view trimBoth(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

FieldDesc STRING(std::string name, std::uint32_t n, std::uint32_t offset, std::string group) {
  return desc(std::move(name), FieldType::String, n, offset, std::move(group));
}
FieldDesc CSTRING(std::string name, std::uint32_t n, std::uint32_t offset, std::string group) {
  return desc(std::move(name), FieldType::CString, n, offset, std::move(group));
}
FieldDesc BYTE(std::string name, std::uint32_t offset, std::string group) {
  return desc(std::move(name), FieldType::Byte, 1, offset, std::move(group));
}
FieldDesc LONG(std::string name, std::uint32_t offset, std::string group) {
  return desc(std::move(name), FieldType::Long, 4, offset, std::move(group));
}
FieldDesc DATE(std::string name, std::uint32_t offset, std::string group) {
  return desc(std::move(name), FieldType::Date, 4, offset, std::move(group));
}
FieldDesc DECIMAL(std::string name, int digits, int places, std::uint32_t offset, std::string group) {
  return desc(std::move(name), FieldType::Decimal, packedSize(digits), offset, std::move(group), digits, places);
}
FieldDesc GROUP(std::string name, std::uint32_t size, std::uint32_t offset, std::string group) {
  return desc(std::move(name), FieldType::Group, size, offset, std::move(group));
}

// ---------------------------------------------------------------------------
// RecordLayout

RecordLayout::RecordLayout(std::string label, std::string prefix, std::string storedName, std::uint32_t recordSize,
                           std::vector<FieldDesc> fields)
    : label_(std::move(label)),
      prefix_(std::move(prefix)),
      storedName_(std::move(storedName)),
      recordSize_(recordSize),
      fields_(std::move(fields)) {}

const FieldDesc& RecordLayout::field(int number) const {
  if (number < 1 || number > fieldCount())
    throw std::out_of_range(label_ + ": no field number " + std::to_string(number));
  return fields_[static_cast<std::size_t>(number - 1)];
}

int RecordLayout::numberOf(std::string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (sameName(fields_[i].name, name)) return static_cast<int>(i) + 1;
  return 0;
}

const FieldDesc& RecordLayout::byName(std::string_view name) const {
  const int n = numberOf(name);
  if (n == 0) throw std::out_of_range(label_ + ": no field " + std::string(name));
  return fields_[static_cast<std::size_t>(n - 1)];
}

std::string RecordLayout::check() const {
  const std::string where = label_ + ": ";
  // Names, types and group references.
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const FieldDesc& f = fields_[i];
    if (f.name.empty()) return where + "field " + std::to_string(i + 1) + " has no name";
    for (std::size_t j = 0; j < i; ++j)
      if (sameName(fields_[j].name, f.name)) return where + f.name + " is declared twice";
    if (std::string fault = typeFault(f); !fault.empty()) return where + f.name + ": " + fault;
    if (!f.group.empty()) {
      bool declared = false;
      for (std::size_t j = 0; j < i && !declared; ++j)
        declared = fields_[j].type == FieldType::Group && sameName(fields_[j].name, f.group);
      if (!declared) return where + f.name + " names the group " + f.group + ", which is not declared before it";
    }
  }
  // Each group's size is the sum of the data fields inside it, at any depth.
  for (std::size_t g = 0; g < fields_.size(); ++g) {
    if (fields_[g].type != FieldType::Group) continue;
    std::uint32_t span = 0;
    for (std::size_t i = g + 1; i < fields_.size(); ++i) {
      if (fields_[i].type == FieldType::Group) continue;
      // Walk up the member's groups.
      for (std::string_view grp = fields_[i].group; !grp.empty();) {
        if (sameName(grp, fields_[g].name)) {
          span += fields_[i].size;
          break;
        }
        grp = byName(grp).group;
      }
    }
    if (span != fields_[g].size)
      return where + "the group " + fields_[g].name + " is declared as " + std::to_string(fields_[g].size) +
             " bytes, but its fields take " + std::to_string(span);
  }
  // Offsets: every entry starts where the previous data field ended, and the
  // entries of a group follow it without interruption.
  std::uint32_t pos = 0;
  struct Open {
    std::string_view name;
    std::uint32_t end;
  };
  std::vector<Open> open;
  for (const FieldDesc& f : fields_) {
    while (!open.empty() && open.back().end <= pos) open.pop_back();
    if (f.offset < pos)
      return where + f.name + " at offset " + std::to_string(f.offset) + " overlaps the field before it, which ends at " +
             std::to_string(pos);
    if (f.offset > pos)
      return where + f.name + " at offset " + std::to_string(f.offset) + " leaves a gap of " +
             std::to_string(f.offset - pos) + " byte(s) after offset " + std::to_string(pos);
    const std::string_view inside = open.empty() ? std::string_view() : open.back().name;
    if (!sameName(f.group, inside)) {
      if (inside.empty())
        return where + f.name + " names the group " + f.group + " but lies outside it";
      return where + f.name + " lies inside the group " + std::string(inside) + " but names " +
             (f.group.empty() ? std::string("no group") : "the group " + f.group);
    }
    if (f.type == FieldType::Group) {
      open.push_back({f.name, f.offset + f.size});
    } else {
      pos += f.size;
    }
  }
  if (pos != recordSize_)
    return where + "the fields end at offset " + std::to_string(pos) + ", but the record is " +
           std::to_string(recordSize_) + " bytes";
  return {};
}

// ---------------------------------------------------------------------------
// FieldRef

FieldRef::FieldRef(FieldType type, std::uint8_t* data, std::uint32_t size, int digits, int places)
    : type_(type), data_(data), size_(size), digits_(digits), places_(places) {}

FieldRef FieldRef::of(const FieldDesc& f, std::uint8_t* record) {
  return FieldRef(f.type, record + f.offset, f.size, f.digits, f.places);
}

std::uint32_t FieldRef::capacity() const {
  switch (type_) {
    case FieldType::String: return size_;
    case FieldType::CString: return size_ > 0 ? size_ - 1 : 0;
    default: return 0;
  }
}

std::string FieldRef::text() const {
  const auto* chars = reinterpret_cast<const char*>(data_);
  switch (type_) {
    case FieldType::String: return std::string(rtrim(std::string_view(chars, size_)));
    case FieldType::CString: {
      // A terminator is missing only in a damaged record; read no more than
      // the field can hold then.
      const std::uint32_t cap = capacity();
      std::uint32_t n = 0;
      while (n < cap && chars[n] != '\0') ++n;
      return std::string(chars, n);
    }
    case FieldType::Group: return std::string(chars, size_);
    case FieldType::Byte:
    case FieldType::Long:
    case FieldType::Decimal: return decimal().toString();
    case FieldType::Date: return std::to_string(day());
  }
  return {};
}

void FieldRef::setText(std::string_view latin1) {
  switch (type_) {
    case FieldType::String:
    case FieldType::CString:
    case FieldType::Group: {
      const std::uint32_t cap = type_ == FieldType::Group ? size_ : capacity();
      const std::size_t n = latin1.size() < cap ? latin1.size() : cap;
      if (n > 0) std::memcpy(data_, latin1.data(), n);
      std::memset(data_ + n, type_ == FieldType::CString ? 0 : ' ', size_ - n);
      return;
    }
    default:
      // A number or date given as plain text; text that is no number leaves
      // the field as it was.
      if (auto v = Decimal::parse(trimBoth(latin1))) setDecimal(*v);
      return;
  }
}

std::int64_t FieldRef::integer() const {
  switch (type_) {
    case FieldType::Byte: return data_[0];
    case FieldType::Long: return static_cast<std::int32_t>(readU32(data_));
    case FieldType::Date: return day();
    case FieldType::Decimal: {
      const Decimal d = decimal();
      Decimal::Int m = d.mantissa();
      for (int s = d.scale(); s > 0; --s) m /= 10;
      return static_cast<std::int64_t>(m);
    }
    default: {
      const Decimal d = decimal();
      if (auto v = wholeIn(d, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()))
        return *v;
      return 0;
    }
  }
}

void FieldRef::setInteger(std::int64_t v) {
  switch (type_) {
    case FieldType::Byte: data_[0] = static_cast<std::uint8_t>(v); return;
    case FieldType::Long: writeU32(data_, static_cast<std::uint32_t>(v)); return;
    case FieldType::Date: setDay(static_cast<std::int32_t>(v)); return;
    case FieldType::Decimal: setDecimal(Decimal::fromInt(v)); return;
    default: setText(std::to_string(v)); return;
  }
}

std::int32_t FieldRef::day() const {
  if (type_ == FieldType::Long) return static_cast<std::int32_t>(readU32(data_));
  if (type_ != FieldType::Date) {
    const std::int64_t v = integer();
    return v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()
               ? NoDate
               : static_cast<std::int32_t>(v);
  }
  const int d = data_[0], m = data_[1], y = data_[2] | data_[3] << 8;
  if (!isValidDate(y, m, d)) return NoDate;
  return dayNumber(y, m, d);
}

void FieldRef::setDay(std::int32_t day) {
  if (type_ == FieldType::Long) {
    writeU32(data_, static_cast<std::uint32_t>(day));
    return;
  }
  if (type_ != FieldType::Date) {
    setInteger(day);
    return;
  }
  const Ymd d = fromDayNumber(day);
  if (day == NoDate || !isValidDate(d.year, d.month, d.day)) {
    // No date, or one outside the years a date field holds.
    std::memset(data_, 0, 4);
    return;
  }
  data_[0] = static_cast<std::uint8_t>(d.day);
  data_[1] = static_cast<std::uint8_t>(d.month);
  data_[2] = static_cast<std::uint8_t>(d.year);
  data_[3] = static_cast<std::uint8_t>(d.year >> 8);
}

Decimal FieldRef::decimal() const {
  switch (type_) {
    case FieldType::Byte:
    case FieldType::Long: return Decimal::fromInt(integer());
    case FieldType::Decimal: return loadPacked(data_, digits_, places_);
    case FieldType::Date: return Decimal::fromInt(day());
    default: {
      const std::string t = text();
      return Decimal::parse(trimBoth(t)).value_or(Decimal());
    }
  }
}

StoreStatus FieldRef::setDecimal(const Decimal& v) {
  switch (type_) {
    case FieldType::Byte: {
      const auto w = wholeIn(v, 0, 255);
      if (!w) return StoreStatus::Overflow;
      data_[0] = static_cast<std::uint8_t>(*w);
      return StoreStatus::Ok;
    }
    case FieldType::Long:
    case FieldType::Date: {
      const auto w = wholeIn(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
      if (!w) return StoreStatus::Overflow;
      if (type_ == FieldType::Long)
        writeU32(data_, static_cast<std::uint32_t>(*w));
      else
        setDay(static_cast<std::int32_t>(*w));
      return StoreStatus::Ok;
    }
    case FieldType::Decimal: return storePacked(v, data_, digits_, places_);
    default: {
      const std::string t = v.toString();
      if (t.size() > (type_ == FieldType::Group ? size_ : capacity())) return StoreStatus::Overflow;
      setText(t);
      return StoreStatus::Ok;
    }
  }
}

bool FieldRef::isEmpty() const {
  switch (type_) {
    case FieldType::String:
    case FieldType::CString: return rtrim(text()).empty();
    case FieldType::Date: return day() == NoDate;
    case FieldType::Group:
      for (std::uint32_t i = 0; i < size_; ++i)
        if (data_[i] != 0 && data_[i] != ' ') return false;
      return true;
    default: return decimal().isZero();
  }
}

void FieldRef::clear() {
  switch (type_) {
    case FieldType::String: std::memset(data_, ' ', size_); return;
    case FieldType::Group:
      // A group's members have types of their own; clearRecord clears them.
      throw std::logic_error("a group is cleared through its fields");
    default: std::memset(data_, 0, size_); return;
  }
}

bool FieldRef::sameValue(const FieldRef& o) const {
  const bool textA = isText() || type_ == FieldType::Group;
  const bool textB = o.isText() || o.type_ == FieldType::Group;
  if (textA || textB) return rtrim(text()) == rtrim(o.text());
  if (type_ == FieldType::Date || o.type_ == FieldType::Date) return day() == o.day();
  return decimal() == o.decimal();
}

void clearRecord(const RecordLayout& layout, std::uint8_t* record) {
  for (const FieldDesc& f : layout.fields())
    if (f.type != FieldType::Group) FieldRef::of(f, record).clear();
}

}  // namespace platform
