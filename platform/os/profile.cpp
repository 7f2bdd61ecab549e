#include "platform/os/profile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/os/text_limits.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// ---- names and values -------------------------------------------------------

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

std::string_view normalName(std::string_view name) {
  return trimBlanks(cutToCharacters(trimBlanks(name), ProfileNameMax));
}

std::string_view normalValue(std::string_view value) {
  return trimBlanks(cutToCharacters(trimBlanks(value), ProfileValueMax));
}

bool breaksLine(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos; }

bool validSectionName(std::string_view name) {
  return !name.empty() && !breaksLine(name) && name.find(']') == name.npos;
}

bool validEntryName(std::string_view name) {
  return !name.empty() && !breaksLine(name) && name.find('=') == name.npos && name.front() != '[' &&
         name.front() != ';';
}

// ---- the file's lines -------------------------------------------------------

// A section header "[name]": the name, trimmed.
std::optional<std::string_view> sectionOf(std::string_view line) {
  line = trimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  auto close = line.find(']');
  if (close == line.npos) return std::nullopt;
  return normalName(line.substr(1, close - 1));
}

struct EntryLine {
  std::string_view name;
  std::string_view value;
};

// An entry line "name=value": both trimmed.
std::optional<EntryLine> entryOf(std::string_view line) {
  line = trimBlanks(line);
  if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
  auto eq = line.find('=');
  if (eq == line.npos) return std::nullopt;
  EntryLine e{normalName(line.substr(0, eq)), normalValue(line.substr(eq + 1))};
  if (e.name.empty()) return std::nullopt;
  return e;
}

std::vector<std::string> splitLines(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte-order mark
  std::vector<std::string> lines;
  while (!text.empty()) {
    auto nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (nl == text.npos) break;
    text.remove_prefix(nl + 1);
  }
  return lines;
}

// Where a section's lines are: its header and the end of its range.
struct SectionRange {
  std::size_t header = 0;
  std::size_t end = 0;  // one past the section's last line
};

std::optional<SectionRange> findSection(const std::vector<std::string>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = sectionOf(lines[i]);
    if (!name || !sameName(*name, section)) continue;
    SectionRange r{i, i + 1};
    while (r.end < lines.size() && !sectionOf(lines[r.end])) ++r.end;
    return r;
  }
  return std::nullopt;
}

std::optional<std::size_t> findEntry(const std::vector<std::string>& lines, const SectionRange& r,
                                     std::string_view entry) {
  for (std::size_t i = r.header + 1; i < r.end; ++i) {
    auto e = entryOf(lines[i]);
    if (e && sameName(e->name, entry)) return i;
  }
  return std::nullopt;
}

// ---- files ----------------------------------------------------------------

bool isBareName(std::string_view fileName) {
  return fileName.find('/') == fileName.npos && fileName.find('\\') == fileName.npos;
}

// The file's contents; nullopt with the reason in `error` when it cannot be
// read.
std::optional<std::string> readWholeFile(const fs::path& path, int* error = nullptr) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = errno;
    return std::nullopt;
  }
  std::string text;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (error) *error = errno;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return text;
}

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Holds an exclusive lock on "<file>.lock" for its lifetime, and removes
// the lock file as it lets go, so none stays beside the settings files.
// Removing it while still holding the lock keeps writers apart: a writer
// that opened the file before it went wakes up holding a lock on a file no
// longer there, sees that the name now stands for another file (or none)
// and starts again on the name.
class FileLock {
 public:
  explicit FileLock(const fs::path& file) : path_(file) {
    path_ += ".lock";
    for (int attempt = 0; attempt < 10000; ++attempt) {
      fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
      if (fd_ < 0) return;
      while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
          release(false);
          return;
        }
      }
      struct stat held {}, named {};
      if (::fstat(fd_, &held) != 0) {
        release(false);
        return;
      }
      if (::stat(path_.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino) return;
      release(false);
    }
  }
  ~FileLock() { release(true); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  void release(bool remove) {
    if (fd_ < 0) return;
    if (remove) ::unlink(path_.c_str());
    ::close(fd_);  // closing releases the lock
    fd_ = -1;
  }

  fs::path path_;
  int fd_ = -1;
};

// Writes `text` to a temporary file beside `path` and renames it over
// `path`. On failure the temporary file is removed and `path` is untouched.
bool replaceFile(const fs::path& path, std::string_view text) {
  fs::path temp = path;
  temp += ".tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
  bool ok = writeAll(fd, text) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

// The file a write goes to: a symbolic link is followed, so the link stays.
fs::path writeTarget(const fs::path& path) {
  std::error_code ec;
  if (fs::is_symlink(path, ec)) {
    auto target = fs::canonical(path, ec);
    if (!ec) return target;
  }
  return path;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

std::string homeDirectory() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  std::vector<char> buffer(16384);
  passwd pw{};
  passwd* result = nullptr;
  if (::getpwuid_r(::geteuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result && pw.pw_dir)
    return pw.pw_dir;
  return ".";
}

}  // namespace

fs::path configDirectory() {
  // Only an absolute $XDG_CONFIG_HOME counts; a relative one is ignored.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return fs::path(xdg) / "lanvik";
  return fs::path(homeDirectory()) / ".config" / "lanvik";
}

fs::path profilePath(std::string_view fileName) {
  if (isBareName(fileName)) return configDirectory() / fs::path(fileName);
  std::string path(fileName);
  for (char& c : path)
    if (c == '\\') c = '/';
  return fs::path(path);
}

ProfileLookup lookupProfileString(std::string_view section, std::string_view entry, std::string_view fileName) {
  ProfileLookup found;
  section = normalName(section);
  entry = normalName(entry);
  if (!validSectionName(section) || !validEntryName(entry)) return found;
  int readError = 0;
  auto text = readWholeFile(profilePath(fileName), &readError);
  if (!text) {
    if (readError != ENOENT && readError != ENOTDIR) found.readError = readError;
    return found;
  }
  auto lines = splitLines(*text);
  auto range = findSection(lines, section);
  if (!range) return found;
  auto at = findEntry(lines, *range, entry);
  if (at) found.value = std::string(entryOf(lines[*at])->value);
  return found;
}

std::optional<std::string> findProfileString(std::string_view section, std::string_view entry,
                                             std::string_view fileName) {
  return lookupProfileString(section, entry, fileName).value;
}

std::string readProfileString(std::string_view section, std::string_view entry, std::string_view defaultValue,
                              std::string_view fileName) {
  if (auto value = findProfileString(section, entry, fileName)) return *value;
  return std::string(normalValue(defaultValue));
}

bool writeProfileString(std::string_view section, std::string_view entry, std::optional<std::string_view> value,
                        std::string_view fileName) {
  section = normalName(section);
  entry = normalName(entry);
  if (!validSectionName(section) || !validEntryName(entry)) return false;
  if (value) {
    if (breaksLine(*value)) return false;
    value = normalValue(*value);
  }

  fs::path path = profilePath(fileName);
  if (isBareName(fileName)) {
    std::error_code ec;
    if (fs::create_directories(path.parent_path(), ec))
      fs::permissions(path.parent_path(), fs::perms::owner_all, ec);
  }
  path = writeTarget(path);

  FileLock lock(path);
  if (!lock.held()) return false;

  std::vector<std::string> lines;
  int readError = 0;
  if (auto text = readWholeFile(path, &readError)) {
    lines = splitLines(*text);
  } else if (readError != ENOENT) {
    return false;  // present but unreadable: rewriting it would lose its entries
  }

  auto range = findSection(lines, section);
  std::optional<std::size_t> at = range ? findEntry(lines, *range, entry) : std::nullopt;

  if (!value) {
    if (!at) return true;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
  } else if (at) {
    auto old = entryOf(lines[*at]);
    if (old->value == *value) return true;
    lines[*at] = std::string(old->name) + "=" + std::string(*value);
  } else {
    std::string line = std::string(entry) + "=" + std::string(*value);
    if (range) {
      // After the section's last non-blank line, so blank separators stay.
      std::size_t pos = range->end;
      while (pos > range->header + 1 && trimBlanks(lines[pos - 1]).empty()) --pos;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos), std::move(line));
    } else {
      if (!lines.empty() && !trimBlanks(lines.back()).empty()) lines.emplace_back();
      lines.push_back("[" + std::string(section) + "]");
      lines.push_back(std::move(line));
    }
  }
  return replaceFile(path, joinLines(lines));
}

bool removeProfileEntry(std::string_view section, std::string_view entry, std::string_view fileName) {
  return writeProfileString(section, entry, std::nullopt, fileName);
}

}  // namespace platform
