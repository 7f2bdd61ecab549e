#include "platform/lib/ini_mgr.h"

#include <algorithm>
#include <charconv>

#include "platform/os/profile.h"
#include "platform/os/text_limits.h"

namespace platform {
namespace {

constexpr char Separator = ',';

bool sameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(x) == lower(y);
         });
}

// A section name as the settings file keeps it.
std::string_view storedName(std::string_view name) {
  return trimBlanks(cutToCharacters(trimBlanks(name), ProfileNameMax));
}

// The list as one value: whole names only, as many as fit.
std::string joinList(const std::vector<std::string>& names) {
  std::string joined;
  for (const auto& name : names) {
    std::string candidate = joined.empty() ? name : joined + Separator + name;
    if (cutToCharacters(candidate, ProfileValueMax).size() < candidate.size()) break;
    joined = std::move(candidate);
  }
  return joined;
}

}  // namespace

void IniMgr::open(std::string_view fileName) {
  std::lock_guard lock(mutex_);
  fileName_ = fileName;
  open_ = true;
  sections_.clear();
  std::string list = readProfileString(BookSection, BookEntry, "", fileName_);
  std::string_view rest = list;
  while (!rest.empty()) {
    auto cut = rest.find(Separator);
    noteSection(rest.substr(0, cut));
    rest = cut == rest.npos ? std::string_view() : rest.substr(cut + 1);
  }
}

bool IniMgr::shutdown() {
  std::lock_guard lock(mutex_);
  if (!open_) return false;
  bool stored = writeProfileString(BookSection, BookEntry, joinList(sections_), fileName_);
  sections_.clear();
  sections_.shrink_to_fit();
  fileName_.clear();
  open_ = false;
  return stored;
}

bool IniMgr::isOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

std::string IniMgr::fileName() const {
  std::lock_guard lock(mutex_);
  return fileName_;
}

std::vector<std::string> IniMgr::sections() const {
  std::lock_guard lock(mutex_);
  return sections_;
}

std::optional<std::string> IniMgr::find(std::string_view section, std::string_view entry) const {
  std::lock_guard lock(mutex_);
  if (!open_) return std::nullopt;
  return findProfileString(section, entry, fileName_);
}

std::string IniMgr::readString(std::string_view section, std::string_view entry,
                               std::string_view defaultValue) const {
  if (auto value = find(section, entry)) return *value;
  return std::string(trimBlanks(cutToCharacters(trimBlanks(defaultValue), ProfileValueMax)));
}

std::optional<std::int32_t> IniMgr::readNumber(std::string_view section, std::string_view entry) const {
  auto text = find(section, entry);
  if (!text || text->empty()) return std::nullopt;
  std::int32_t value = 0;
  const char* end = text->data() + text->size();
  auto [ptr, ec] = std::from_chars(text->data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

bool IniMgr::writeString(std::string_view section, std::string_view entry, std::string_view value) {
  std::lock_guard lock(mutex_);
  if (!open_ || !writeProfileString(section, entry, value, fileName_)) return false;
  noteSection(section);
  return true;
}

bool IniMgr::writeNumber(std::string_view section, std::string_view entry, std::int64_t value) {
  return writeString(section, entry, std::to_string(value));
}

bool IniMgr::removeEntry(std::string_view section, std::string_view entry) {
  std::lock_guard lock(mutex_);
  return open_ && removeProfileEntry(section, entry, fileName_);
}

void IniMgr::noteSection(std::string_view section) {
  section = storedName(section);
  if (section.empty() || section.find(Separator) != section.npos || sameName(section, BookSection)) return;
  for (const auto& known : sections_)
    if (sameName(known, section)) return;
  sections_.emplace_back(section);
}

}  // namespace platform
