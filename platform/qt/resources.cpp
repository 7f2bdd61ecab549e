#include "platform/qt/resources.h"

#include <optional>
#include <system_error>

namespace platform::qt {
namespace {

std::optional<std::filesystem::path>& chosen() {
  static std::optional<std::filesystem::path> dir;
  return dir;
}

std::filesystem::path executableDir() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

}  // namespace

std::filesystem::path findResourceDir(const std::filesystem::path& executableDir) {
  std::error_code ec;
  for (std::filesystem::path dir = executableDir; !dir.empty(); dir = dir.parent_path()) {
    for (const char* candidate : {"resources", "share/lanvik/resources"}) {
      std::filesystem::path p = dir / candidate;
      if (std::filesystem::is_directory(p, ec)) return p;
    }
    if (dir == dir.parent_path()) break;
  }
  return {};
}

const std::filesystem::path& resourceDir() {
  if (!chosen()) chosen() = findResourceDir(executableDir());
  return *chosen();
}

void setResourceDir(std::filesystem::path dir) {
  if (dir.empty())
    chosen().reset();
  else
    chosen() = std::move(dir);
}

std::filesystem::path resourcePath(std::string_view name) {
  std::filesystem::path p(name);
  if (p.has_parent_path()) return p;
  return resourceDir() / p;
}

}  // namespace platform::qt
