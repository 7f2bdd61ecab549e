// The settings-file reader and writer on any file. The input is a section
// name, an entry name and a value, one a line, then the file's contents.
// The entry is read, written and removed again.
//
// - a refused write leaves the file byte for byte as it was;
// - a write that succeeds reads back: the value as written when it is plain
//   (printable ASCII, no blanks around it, within the length limit);
// - writing the value that is already there, and removing an entry that is
//   not there, leave the file as it was.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/os/profile.h"

namespace {

using lvfuzz::require;
using lvfuzz::shown;

std::string directory;
std::string file;

std::string readAll() {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
}

std::string_view nextLine(std::string_view& rest) {
  const std::size_t nl = rest.find('\n');
  const std::string_view line = rest.substr(0, nl);
  rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
  return line;
}

bool plain(std::string_view value) {
  if (value.empty() || value.size() > platform::ProfileValueMax) return false;
  if (value.front() == ' ' || value.back() == ' ') return false;
  for (unsigned char c : value)
    if (c < 0x20 || c >= 0x7F) return false;
  return true;
}

void removeDirectory() {
  std::error_code ec;
  std::filesystem::remove_all(directory, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "lv-fuzz-profile-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) lvfuzz::broken("set-up", "no temporary directory");
  directory = pattern;
  file = directory + "/fuzz.ini";
  std::atexit(removeDirectory);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string section(nextLine(rest)), entry(nextLine(rest)), value(nextLine(rest));
  const std::string contents(rest);
  const std::string where = "[" + shown(section) + "] " + shown(entry) + "=" + shown(value);
  writeAll(contents);

  const auto before = platform::findProfileString(section, entry, file);
  const std::string withDefault = platform::readProfileString(section, entry, "fallback", file);
  require(before ? withDefault == *before : withDefault == "fallback", "a read with a default agrees with a find", where);

  if (!platform::writeProfileString(section, entry, value, file)) {
    require(readAll() == contents, "a refused write leaves the file as it was", where);
    return 0;
  }
  const auto after = platform::findProfileString(section, entry, file);
  require(after.has_value(), "a written entry reads back", where);
  if (plain(value)) require(*after == value, "a plain value reads back as written", where + " read " + shown(*after));

  const std::string written = readAll();
  require(platform::writeProfileString(section, entry, *after, file), "writing the same value again", where);
  require(readAll() == written, "writing the value already there leaves the file as it was", where);

  require(platform::removeProfileEntry(section, entry, file), "removing a written entry", where);
  if (!platform::findProfileString(section, entry, file)) {
    const std::string removed = readAll();
    require(platform::removeProfileEntry(section, entry, file), "removing a missing entry", where);
    require(readAll() == removed, "removing a missing entry leaves the file as it was", where);
  }
  return 0;
}
