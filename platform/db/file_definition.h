#pragma once
// What a record file holds: its record layout and its keys, in order.
//
// Every key has one ascending component, a field of the layout, and compares
// by the field's value, never by its bytes:
//   STRING, CSTRING  Latin-1 text, upper-cased (latin1Upper), trailing
//                    blanks removed: "smith " and "SMITH" are the same key
//   DATE             the day number (the bytes store the day first)
//   BYTE, LONG       the integer
//   DECIMAL(d,p)     the value scaled by 10^p, an exact integer
// A field is empty when its text is blank or its number or date is zero. A
// key with excludeEmpty leaves such records out: they are missing from reads
// in that key's order and any number of them may share a unique key.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/types/field.h"

namespace platform {

struct KeyDefinition {
  std::string name;         // "HOU:KeyCaseNumber"
  std::string description;  // the text messages show for the key ("Case Number")
  int field = 0;            // the component: 1-based field number in the layout
  bool unique = false;      // no two records may hold the same value
  bool excludeEmpty = false;
  // New records are numbered through this key (DbFile::reserveAutoNumber):
  // the highest value in use plus 1. The field must be BYTE, LONG or a
  // DECIMAL without places; the key must be unique. At most one per file.
  bool autoNumber = false;
};

struct FileDefinition {
  const RecordLayout* layout = nullptr;  // must outlive every DbFile built on it
  std::vector<KeyDefinition> keys;       // key number n is keys[n - 1]
};

// A key's comparable value. std::monostate stands for "not in the key" (an
// empty value of a key that leaves empty values out); text keys hold the
// folded Latin-1 bytes, all others an integer.
using KeyValue = std::variant<std::monostate, std::int64_t, std::string>;

// Proves that a FileDefinition can be stored: a layout, key fields that exist and
// are not groups, at most one auto-numbered key of a numeric unique field,
// unique key names. Returns an empty string when sound, else the first fault.
std::string checkFileDefinition(const FileDefinition& definition);

// The value of key number `key` (1-based) of the record image (precondition:
// checkFileDefinition passed and the key number is in range).
KeyValue keyValueOf(const FileDefinition& definition, int key, const std::uint8_t* image);

}  // namespace platform
