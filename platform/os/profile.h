#pragma once
// Settings files ("INI" files): sections in square brackets holding
// "entry=value" lines. These are the profile functions the settings-file
// manager and the password set-up read and write through.
//
// Names and values:
// - Section and entry names ignore letter case (A-Z against a-z) and keep
//   the case they were first written with.
// - Names and values are trimmed of blanks; names are cut to 63 characters,
//   values to 1023 (UTF-8 characters, never splitting one).
// - A name or value that would break the file's lines is refused: a line
//   break or NUL anywhere, a "]" in a section name, an "=" in an entry name
//   or an entry name starting with "[" or ";". An empty name is refused.
//
// Files:
// - A file name without a directory ("LANVIK.INI") lives in the per-user
//   configuration directory, $XDG_CONFIG_HOME/lanvik (by default
//   ~/.config/lanvik), created when a write needs it.
// - A name holding a backslash (".\lanvik.ini") has its backslashes read as
//   directory separators, so ".\lanvik.ini" is ./lanvik.ini in the current
//   directory at the time of the call. Other names are paths as they stand.
// - The file name's letter case is kept.
//
// Writing replaces the whole file at once (a temporary file renamed over the
// old one), so a failed or interrupted write leaves the old file as it was.
// Each write holds an exclusive lock (a "<file>.lock" file beside it, removed
// when the write is done) from reading the old contents to renaming the new,
// so concurrent writers, in this process or in another copy of the program,
// never lose each other's entries. Lines the functions do not understand (comments, stray text) are
// kept as they are.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

constexpr std::size_t ProfileNameMax = 63;
constexpr std::size_t ProfileValueMax = 1023;

// The path a profile file name stands for (see above).
std::filesystem::path profilePath(std::string_view fileName);

// The per-user configuration directory of the program.
std::filesystem::path configDirectory();

// The value of an entry, or nullopt when the file, the section or the entry
// is missing (or the file cannot be read). A present but empty entry gives "".
std::optional<std::string> findProfileString(std::string_view section, std::string_view entry,
                                             std::string_view fileName);

// What reading an entry found: its value as findProfileString gives it, and
// whether the file was missing or there but unreadable (no read permission,
// a directory of that name, an I/O error): then `readError` holds the
// system's error number (errno) and `value` is nullopt. A missing file is
// no read error.
struct ProfileLookup {
  std::optional<std::string> value;
  int readError = 0;
};
ProfileLookup lookupProfileString(std::string_view section, std::string_view entry, std::string_view fileName);

// The value of an entry, or `defaultValue` (trimmed and cut like a value)
// when the file, the section or the entry is missing.
std::string readProfileString(std::string_view section, std::string_view entry,
                              std::string_view defaultValue, std::string_view fileName);

// Creates or replaces an entry; with no value (nullopt) removes it. A section
// is created when missing. Returns false when nothing could be stored: a name
// or value refused, the directory missing or not writable, the disk full.
// Removing an entry that does not exist succeeds and leaves the file as it is.
bool writeProfileString(std::string_view section, std::string_view entry,
                        std::optional<std::string_view> value, std::string_view fileName);

// Removes an entry; same as writeProfileString with no value.
bool removeProfileEntry(std::string_view section, std::string_view entry, std::string_view fileName);

}  // namespace platform
