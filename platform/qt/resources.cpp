#include "platform/qt/resources.h"

namespace platform::qt {
namespace {

// Where the built-in files stand in Qt's resource tree.
const QString BuiltIn = QStringLiteral(":/lanvik/");

std::filesystem::path& chosen() {
  static std::filesystem::path dir;
  return dir;
}

QString fromPath(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

}  // namespace

QString resourcePath(std::string_view name) {
  const std::filesystem::path p(name);
  if (p.has_parent_path()) return fromPath(p);
  if (!chosen().empty()) return fromPath(chosen() / p);
  return BuiltIn + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

void setResourceDir(std::filesystem::path dir) { chosen() = std::move(dir); }

}  // namespace platform::qt
