#include "app/frame/placement.h"

#include <cstdint>
#include <optional>

namespace app {

namespace {

constexpr std::string_view Maximize = "Maximize";
constexpr std::string_view Minimize = "Minimize";
constexpr std::string_view XPos = "XPos";
constexpr std::string_view YPos = "YPos";
constexpr std::string_view Width = "Width";
constexpr std::string_view Height = "Height";

std::string_view yesNo(bool on) { return on ? "Yes" : "No"; }

void writeOrRemove(platform::IniMgr& settings, std::string_view section, std::string_view entry,
                   std::optional<int> value) {
  if (value)
    settings.writeNumber(section, entry, *value);
  else
    settings.removeEntry(section, entry);
}

}  // namespace

void RestorePlacement(platform::Window& window, platform::IniMgr& settings, std::string_view section) {
  std::optional<std::string> maximize = settings.find(section, Maximize);
  if (!maximize || (*maximize != "Yes" && *maximize != "No")) return;
  const bool maximized = *maximize == "Yes";
  if (!maximized && window.maximized()) window.setMaximized(false);

  std::optional<std::int32_t> x = settings.readNumber(section, XPos);
  std::optional<std::int32_t> y = settings.readNumber(section, YPos);
  if (x || y) window.setPosition(x.value_or(window.rect().x), y.value_or(window.rect().y));

  if (window.resizable()) {
    std::optional<std::int32_t> w = settings.readNumber(section, Width);
    std::optional<std::int32_t> h = settings.readNumber(section, Height);
    if (w || h) window.setSize(w.value_or(window.rect().width), h.value_or(window.rect().height));
  }

  if (maximized && !window.maximized()) window.setMaximized(true);
}

void SavePlacement(const platform::Window& window, platform::IniMgr& settings, std::string_view section) {
  const bool maximized = window.maximized();
  const bool minimized = window.minimized();
  std::optional<int> x, y, w, h;
  if (!maximized && !minimized) {
    x = window.rect().x;
    y = window.rect().y;
    if (window.resizable()) {
      w = window.rect().width;
      h = window.rect().height;
    }
  }
  settings.writeString(section, Maximize, yesNo(maximized));
  settings.writeString(section, Minimize, yesNo(minimized));
  writeOrRemove(settings, section, XPos, x);
  writeOrRemove(settings, section, YPos, y);
  writeOrRemove(settings, section, Width, w);
  writeOrRemove(settings, section, Height, h);
}

}  // namespace app
