#pragma once
// The settings-file manager: the one object of the process through which
// every logical thread reads and writes the settings file (window placement).
//
// It is built unbound, bound to a file name and opened with open(), and shut
// down with shutdown(). Opening reads its own bookkeeping, the list of the
// sections it has written (section "Sectors", entry "__Dont_Touch_Me__");
// shutting down writes that list back and releases it. File names follow the
// profile functions' rules (platform/os/profile.h): "LANVIK.INI" is in the
// per-user configuration directory.
//
// Every access takes the manager's own lock, and every write also the
// file's lock, so accesses neither interleave with each other nor with
// another copy of the program. While unbound, reads find nothing and writes
// fail.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class IniMgr {
 public:
  static constexpr std::string_view BookSection = "Sectors";
  static constexpr std::string_view BookEntry = "__Dont_Touch_Me__";

  IniMgr() = default;
  IniMgr(const IniMgr&) = delete;
  IniMgr& operator=(const IniMgr&) = delete;

  // Binds the manager to a file and reads its bookkeeping. A manager that
  // is already bound is rebound without writing its list.
  void open(std::string_view fileName);
  // Writes the bookkeeping back, releases it and unbinds. False when the
  // manager was not bound or the list could not be stored.
  bool shutdown();

  bool isOpen() const;
  std::string fileName() const;
  // The sections this manager has written, in the order first written.
  std::vector<std::string> sections() const;

  // The entry's text; nullopt when it (or its section or the file) is missing.
  std::optional<std::string> find(std::string_view section, std::string_view entry) const;
  std::string readString(std::string_view section, std::string_view entry, std::string_view defaultValue) const;
  // The entry as a whole decimal number (an optional '-' and digits that fit
  // 32 bits); nullopt when the entry is missing or not such a number.
  std::optional<std::int32_t> readNumber(std::string_view section, std::string_view entry) const;

  // Create or replace an entry; false when it could not be stored.
  bool writeString(std::string_view section, std::string_view entry, std::string_view value);
  bool writeNumber(std::string_view section, std::string_view entry, std::int64_t value);
  // Removes an entry; true when it is gone (or was never there).
  bool removeEntry(std::string_view section, std::string_view entry);

 private:
  void noteSection(std::string_view section);

  mutable std::mutex mutex_;
  bool open_ = false;
  std::string fileName_;
  std::vector<std::string> sections_;
};

}  // namespace platform
