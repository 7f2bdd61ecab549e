#pragma once
// Record field types, their byte encodings, and record layouts as data.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types/decimal.h"

namespace platform {

enum class FieldType : std::uint8_t {
  String,   // STRING(n): n bytes, blank padded
  CString,  // CSTRING(n): at most n-1 bytes, then a zero byte
  Byte,     // unsigned 8 bits
  Long,     // signed 32 bits, little-endian
  Date,     // day byte, month byte, year 16-bit little-endian; all zero = no date
  Decimal,  // DECIMAL(d,p), packed in (d+1)/2 bytes
  Group,    // a named span of the fields that follow it; no bytes of its own
};

const char* fieldTypeName(FieldType t);

// One entry of a record layout.
struct FieldDesc {
  std::string name;   // "HOU:CASENUMBER"
  FieldType type = FieldType::String;
  std::uint32_t size = 0;    // bytes in the record
  std::uint32_t offset = 0;  // from the start of the record
  std::string group;         // name of the enclosing group, or empty
  int digits = 0;            // DECIMAL(d,p): d
  int places = 0;            // DECIMAL(d,p): p
};

// Declaration helpers: the size follows from the type.
FieldDesc STRING(std::string name, std::uint32_t n, std::uint32_t offset, std::string group = {});
FieldDesc CSTRING(std::string name, std::uint32_t n, std::uint32_t offset, std::string group = {});
FieldDesc BYTE(std::string name, std::uint32_t offset, std::string group = {});
FieldDesc LONG(std::string name, std::uint32_t offset, std::string group = {});
FieldDesc DATE(std::string name, std::uint32_t offset, std::string group = {});
FieldDesc DECIMAL(std::string name, int digits, int places, std::uint32_t offset, std::string group = {});
FieldDesc GROUP(std::string name, std::uint32_t size, std::uint32_t offset, std::string group = {});

// A record layout. Fields are numbered from 1 in layout order; groups count
// as entries.
class RecordLayout {
 public:
  RecordLayout(std::string label, std::string prefix, std::string storedName, std::uint32_t recordSize,
               std::vector<FieldDesc> fields);

  const std::string& label() const { return label_; }
  const std::string& prefix() const { return prefix_; }
  const std::string& storedName() const { return storedName_; }
  std::uint32_t recordSize() const { return recordSize_; }
  int fieldCount() const { return static_cast<int>(fields_.size()); }
  const std::vector<FieldDesc>& fields() const { return fields_; }

  // Field by number (1-based). Throws std::out_of_range.
  const FieldDesc& field(int number) const;
  // Number of the field with this name (case-insensitive), 0 when none.
  int numberOf(std::string_view name) const;
  // Field by name. Throws std::out_of_range.
  const FieldDesc& byName(std::string_view name) const;

  // Proves that the layout adds up: every data field's size matches its
  // type, fields follow one another without gaps from offset 0, a group
  // starts at its first member and spans exactly its members, members name a
  // group declared before them, and the last byte ends at the record size.
  // Returns an empty string when sound, otherwise the first fault found.
  std::string check() const;

 private:
  std::string label_, prefix_, storedName_;
  std::uint32_t recordSize_ = 0;
  std::vector<FieldDesc> fields_;
};

// A typed view of a variable's bytes: a record field inside a record buffer,
// or a global or local variable with a field type. Windows bind controls to
// these; the record layer reads and writes fields through them.
class FieldRef {
 public:
  FieldRef() = default;
  FieldRef(FieldType type, std::uint8_t* data, std::uint32_t size, int digits = 0, int places = 0);
  static FieldRef of(const FieldDesc& f, std::uint8_t* record);

  FieldType type() const { return type_; }
  std::uint8_t* data() const { return data_; }
  std::uint32_t size() const { return size_; }
  int digits() const { return digits_; }
  int places() const { return places_; }
  bool valid() const { return data_ != nullptr; }
  bool isText() const { return type_ == FieldType::String || type_ == FieldType::CString; }
  bool isNumeric() const { return type_ == FieldType::Byte || type_ == FieldType::Long || type_ == FieldType::Decimal; }
  // Text capacity: n for STRING(n), n-1 for CSTRING(n), 0 otherwise.
  std::uint32_t capacity() const;

  // STRING / CSTRING, as Latin-1 bytes. text() removes a STRING's trailing
  // blanks; a CSTRING reads up to its zero byte. setText cuts to the capacity
  // and pads a STRING with blanks (a CSTRING with zero bytes).
  // Other types: a GROUP reads and writes its raw bytes (blank padded); a
  // number or date field reads as its plain value ("12.50", a day number),
  // and setText reads plain decimal text, keeping the old value when the text
  // is not a number.
  std::string text() const;
  void setText(std::string_view latin1);

  // BYTE / LONG (a DECIMAL reads its integer part; a DATE its day number).
  std::int64_t integer() const;
  // BYTE keeps the low 8 bits, LONG the low 32.
  void setInteger(std::int64_t v);

  // DATE as a day number; invalid field bytes (month 13, day 32) read as
  // NoDate. setDay(NoDate) writes four zero bytes, and so does a day outside
  // the years 1..9999. A LONG holds the day number itself.
  std::int32_t day() const;
  void setDay(std::int32_t day);

  // Any numeric field as an exact decimal (BYTE, LONG, DECIMAL).
  Decimal decimal() const;
  // Stores with the field's rounding; Overflow leaves the field unchanged.
  // BYTE, LONG and DATE take the value rounded to a whole number when it lies
  // in their range; text fields take the plain text when it fits.
  StoreStatus setDecimal(const Decimal& v);

  // Blank text, or a numeric or date value of zero.
  bool isEmpty() const;
  // Blank text, zero numbers, no date. A GROUP throws std::logic_error: its
  // fields have types of their own (clearRecord clears them).
  void clear();

  // Compares two fields' values the way keys and change tests do: text
  // ignoring trailing blanks (case-sensitive), numbers numerically.
  bool sameValue(const FieldRef& o) const;

 private:
  FieldType type_ = FieldType::String;
  std::uint8_t* data_ = nullptr;
  std::uint32_t size_ = 0;
  int digits_ = 0;
  int places_ = 0;
};

// Clears a whole record: text fields blank, numbers zero, dates none.
void clearRecord(const RecordLayout& layout, std::uint8_t* record);

}  // namespace platform
