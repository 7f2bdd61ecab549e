#pragma once
// A record the run owns: the bytes of one record of a file's layout, apart
// from the thread's record buffer of that file. A report binds its controls
// to the fields of such records, so that printing never touches the
// buffers, positions or keys of the windows that called it.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/db/file.h"
#include "platform/lib/file_manager.h"
#include "platform/types/field.h"

namespace platform::report {

// The value of key `key` of `file` for `value`, a field that need not be one
// of the file's: compared as the key compares (text without regard to case
// or trailing blanks). std::monostate when the key leaves that value out.
KeyValue keyValueFor(const DbFile& file, int key, const FieldRef& value);

class RunRecord {
 public:
  explicit RunRecord(const RecordLayout& layout);

  const RecordLayout& layout() const { return *layout_; }
  // Field `field` (1-based) of the record.
  FieldRef operator[](int field);
  std::uint8_t* data() { return bytes_.data(); }
  std::span<const std::uint8_t> image() const { return bytes_; }

  // Blank text, zero numbers, no dates.
  void clear();
  // The record := `image` (a record of the same layout).
  void load(std::span<const std::uint8_t> image);

  // Reads the first record, in key order, whose key `key` equals `value`
  // into this record, through `access` (opened on first use); the file's
  // buffer and position stay as they were. None clears the record; Failed
  // (the file could not be used or read, and its message was shown) leaves
  // it as it was.
  enum class Fetched { Found, None, Failed };
  Fetched Fetch(FileManager& access, int key, const FieldRef& value);

 private:
  const RecordLayout* layout_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace platform::report
