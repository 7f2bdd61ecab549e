#include "platform/os/services.h"

#include <pwd.h>
#include <spawn.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/os/text_limits.h"

extern char** environ;

namespace platform {
namespace {

SystemUserName realUserName;
SystemOsVersion realOsVersion;
SpawnLinkOpener realLinkOpener;
ProcessFullDragSetting realFullDrag;

OsServices installed;

// The value of an os-release assignment: quotes removed and, inside double
// quotes, backslash escapes resolved.
std::string osReleaseValue(std::string_view raw) {
  std::string value;
  char quote = 0;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (quote == 0 && (c == '"' || c == '\'')) {
      quote = c;
    } else if (quote != 0 && c == quote) {
      quote = 0;
    } else if (quote != '\'' && c == '\\' && i + 1 < raw.size()) {
      value += raw[++i];
    } else {
      value += c;
    }
  }
  return value;
}

std::string osReleaseField(std::string_view text, std::string_view key) {
  while (!text.empty()) {
    auto nl = text.find('\n');
    std::string_view line = trimBlanks(text.substr(0, nl));
    text = nl == text.npos ? std::string_view() : text.substr(nl + 1);
    if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=')
      return std::string(trimBlanks(osReleaseValue(line.substr(key.size() + 1))));
  }
  return {};
}

std::string readTextFile(const char* path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

OsServices osServices() {
  return {installed.userName ? installed.userName : &realUserName,
          installed.osVersion ? installed.osVersion : &realOsVersion,
          installed.linkOpener ? installed.linkOpener : &realLinkOpener,
          installed.fullDrag ? installed.fullDrag : &realFullDrag};
}

void setOsServices(const OsServices& services) { installed = services; }

std::optional<std::string> currentUserName() {
  auto name = osServices().userName->userName();
  if (!name) return std::nullopt;
  return std::string(cutToCharacters(*name, UserNameMax));
}

std::string osVersionText() {
  return std::string(cutToCharacters(osServices().osVersion->osVersion(), OsVersionMax));
}

bool openLink(const std::string& link) { return osServices().linkOpener->openLink(link); }

bool fullDragWindows() { return osServices().fullDrag->isOn(); }

void setFullDragWindows(bool on, unsigned flags) { osServices().fullDrag->set(on, flags); }

// ---- real services ----------------------------------------------------------

std::optional<std::string> SystemUserName::userName() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd pw{};
  passwd* result = nullptr;
  while (::getpwuid_r(::geteuid(), &pw, buffer.data(), buffer.size(), &result) == ERANGE)
    buffer.resize(buffer.size() * 2);
  if (!result || !pw.pw_name || !*pw.pw_name) return std::nullopt;
  return std::string(pw.pw_name);
}

std::string formatOsVersion(std::string_view osRelease, std::string_view kernelName,
                            std::string_view kernelRelease) {
  std::string distribution = osReleaseField(osRelease, "PRETTY_NAME");
  if (distribution.empty()) {
    distribution = osReleaseField(osRelease, "NAME");
    std::string version = osReleaseField(osRelease, "VERSION");
    if (version.empty()) version = osReleaseField(osRelease, "VERSION_ID");
    if (!distribution.empty() && !version.empty()) distribution += " " + version;
  }
  std::string kernel(kernelName);
  if (!kernelRelease.empty()) kernel += (kernel.empty() ? "" : " ") + std::string(kernelRelease);
  if (distribution.empty()) return kernel;
  if (kernel.empty()) return distribution;
  return distribution + ", " + kernel;
}

std::string SystemOsVersion::osVersion() {
  std::string release = readTextFile("/etc/os-release");
  if (release.empty()) release = readTextFile("/usr/lib/os-release");
  utsname names{};
  if (::uname(&names) != 0) return formatOsVersion(release, "", "");
  return formatOsVersion(release, names.sysname, names.release);
}

bool SpawnLinkOpener::openLink(const std::string& link) {
  std::vector<char*> argv{const_cast<char*>(program_.c_str()), const_cast<char*>(link.c_str()), nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, program_.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
  // Wait for the opener in the background: the caller goes on at once and
  // the finished child is reaped.
  try {
    std::thread([pid] {
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the child stays unreaped until the program ends.
  }
  return true;
}

}  // namespace platform
