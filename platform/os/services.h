#pragma once
// Operating-system services the system uses, each behind a small interface,
// and the one place where the system gets them. The real services are in use
// unless a test installs its own (see platform/os/os_fakes.h). The local date
// and time are in platform/types/clock.h.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// The name of the user running the program.
class UserNameService {
 public:
  virtual ~UserNameService() = default;
  // nullopt when the name cannot be read.
  virtual std::optional<std::string> userName() = 0;
};

// A one-line description of the operating system.
class OsVersionService {
 public:
  virtual ~OsVersionService() = default;
  virtual std::string osVersion() = 0;
};

// Opens a link (a web page or a mail address) with the desktop's default
// application. Returns at once, without waiting for that application.
class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  // false when the opener could not be started.
  virtual bool openLink(const std::string& link) = 0;
};

// Flags for FullDragSetting::set: keep the change for later sessions, and
// tell every window about it.
constexpr unsigned DragSettingSave = 1;
constexpr unsigned DragSettingBroadcast = 2;

// The desktop's "show window contents while dragging" setting.
class FullDragSetting {
 public:
  virtual ~FullDragSetting() = default;
  virtual bool isOn() = 0;
  virtual void set(bool on, unsigned flags) = 0;
};

struct OsServices {
  UserNameService* userName = nullptr;
  OsVersionService* osVersion = nullptr;
  LinkOpener* linkOpener = nullptr;
  FullDragSetting* fullDrag = nullptr;
};

// The services in use; every member is set.
OsServices osServices();
// Installs services (not owned); a null member puts the real service back.
void setOsServices(const OsServices& services);

constexpr std::size_t UserNameMax = 40;
constexpr std::size_t OsVersionMax = 110;

// Shorthands through the services in use, with the system's length limits.
std::optional<std::string> currentUserName();  // at most 40 characters
std::string osVersionText();                   // at most 110 characters
bool openLink(const std::string& link);
bool fullDragWindows();
void setFullDragWindows(bool on, unsigned flags);

// ---- the real services ----------------------------------------------------

// The login name of the process's effective user, from the user database.
class SystemUserName final : public UserNameService {
 public:
  std::optional<std::string> userName() override;
};

// The distribution's name and version from /etc/os-release and the kernel's
// name and release from uname.
class SystemOsVersion final : public OsVersionService {
 public:
  std::string osVersion() override;
};

// The text SystemOsVersion shows, from the contents of an os-release file
// (may be empty) and the kernel's name and release, for example
// "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64".
std::string formatOsVersion(std::string_view osRelease, std::string_view kernelName,
                            std::string_view kernelRelease);

// Starts `program` (looked up in PATH unless it holds a '/') with the link as
// its one argument, directly and never through a shell, so no character of
// the link has any meaning but its own. The program's end is collected in
// the background, so it leaves no zombie process.
class SpawnLinkOpener final : public LinkOpener {
 public:
  explicit SpawnLinkOpener(std::string program = "xdg-open") : program_(std::move(program)) {}
  bool openLink(const std::string& link) override;

 private:
  std::string program_;
};

// Linux desktops have no such switch to share, so the setting is kept in the
// process: on at start, then whatever was set last.
class ProcessFullDragSetting final : public FullDragSetting {
 public:
  bool isOn() override { return on_; }
  void set(bool on, unsigned) override { on_ = on; }

 private:
  bool on_ = true;
};

}  // namespace platform
