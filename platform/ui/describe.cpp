#include "platform/ui/describe.h"

#include <stdexcept>

#include "platform/ui/window.h"

namespace platform::describe {

WindowSpec childWindow(std::string caption, Rect rect) {
  WindowSpec s;
  s.kind = WindowKind::Child;
  s.caption = std::move(caption);
  s.rect = rect;
  s.centred = true;
  s.resizable = false;
  s.systemMenu = true;
  s.background = Grey;
  s.font = Font{"MS Sans Serif", 8};
  return s;
}

ControlDescription::ControlDescription(int number, ControlKind kind, Rect rect, std::string text) {
  spec_.number = number;
  spec_.kind = kind;
  spec_.rect = rect;
  spec_.text = std::move(text);
}

ControlDescription& ControlDescription::in(int parent) {
  spec_.parent = parent;
  return *this;
}

ControlDescription& ControlDescription::bind(FieldRef var, std::string picture) {
  spec_.var = var;
  spec_.picture = std::move(picture);
  return *this;
}

ControlDescription& ControlDescription::font(Font f) {
  spec_.font = std::move(f);
  return *this;
}

ControlDescription& ControlDescription::size(int points) {
  spec_.font.size = points;
  return *this;
}

ControlDescription& ControlDescription::bold() {
  spec_.font.bold = true;
  return *this;
}

ControlDescription& ControlDescription::angle(int tenthsOfADegree) {
  spec_.font.angle = tenthsOfADegree;
  return *this;
}

ControlDescription& ControlDescription::colour(Color fontColour) {
  spec_.fontColor = fontColour;
  return *this;
}

ControlDescription& ControlDescription::fill(Color c) {
  spec_.fill = c;
  return *this;
}

ControlDescription& ControlDescription::transparent() {
  spec_.transparent = true;
  return *this;
}

ControlDescription& ControlDescription::justify(Justify j) {
  spec_.justify = j;
  return *this;
}

ControlDescription& ControlDescription::icon(std::string file) {
  spec_.icon = std::move(file);
  return *this;
}

ControlDescription& ControlDescription::cursor(CursorShape c) {
  spec_.cursor = c;
  return *this;
}

ControlDescription& ControlDescription::boxed() {
  spec_.boxed = true;
  return *this;
}

ControlDescription& ControlDescription::vscroll() {
  spec_.vscroll = true;
  return *this;
}

ControlDescription& ControlDescription::tiled() {
  spec_.tiled = true;
  return *this;
}

ControlDescription& ControlDescription::tip(std::string text) {
  spec_.tip = std::move(text);
  return *this;
}

ControlDescription& ControlDescription::status(std::string text) {
  spec_.statusText = std::move(text);
  return *this;
}

ControlDescription& ControlDescription::hidden(bool on) {
  spec_.hidden = on;
  return *this;
}

ControlDescription& ControlDescription::disabled(bool on) {
  spec_.disabled = on;
  return *this;
}

ControlDescription& ControlDescription::readOnly() {
  spec_.readOnly = true;
  return *this;
}

ControlDescription& ControlDescription::required() {
  spec_.required = true;
  return *this;
}

ControlDescription& ControlDescription::skip() {
  spec_.skip = true;
  return *this;
}

ControlDescription& ControlDescription::isDefault() {
  spec_.defaultButton = true;
  return *this;
}

ControlDescription& ControlDescription::password() {
  spec_.password = true;
  return *this;
}

ControlDescription& ControlDescription::action(StdAction a) {
  spec_.action = a;
  return *this;
}

ControlDescription& ControlDescription::columns(std::vector<ListColumn> list) {
  spec_.columns = std::move(list);
  return *this;
}

ControlDescription& ControlDescription::choices(std::vector<std::string> entries, int dropLines) {
  spec_.choices = std::move(entries);
  spec_.dropLines = dropLines;
  return *this;
}

ControlDescription control(int number, ControlKind kind, Rect rect, std::string text, int parent) {
  ControlDescription c(number, kind, rect, std::move(text));
  c.in(parent);
  return c;
}

ControlDescription bound(int number, ControlKind kind, Rect rect, FieldRef var, std::string picture) {
  ControlDescription c(number, kind, rect);
  c.bind(var, std::move(picture));
  return c;
}

ControlDescription entry(int number, Rect rect, FieldRef var, std::string picture) {
  return bound(number, ControlKind::Entry, rect, var, std::move(picture));
}

ControlDescription check(int number, Rect rect, std::string caption, FieldRef var) {
  ControlDescription c(number, ControlKind::Check, rect, std::move(caption));
  c.bind(var);
  return c;
}

ControlDescription display(int number, Rect rect, FieldRef var, std::string picture) {
  ControlDescription c = bound(number, ControlKind::String, rect, var, std::move(picture));
  c.transparent();
  return c;
}

ControlDescription prompt(int number, Rect rect, std::string text) {
  return ControlDescription(number, ControlKind::Prompt, rect, std::move(text));
}

ControlDescription prompt(Rect rect, std::string text) { return prompt(0, rect, std::move(text)); }

ControlDescription button(int number, Rect rect, std::string caption, std::string tip) {
  ControlDescription c(number, ControlKind::Button, rect, std::move(caption));
  c.tip(std::move(tip));
  return c;
}

ControlDescription box(int number, Rect rect, Color fill) {
  ControlDescription c(number, ControlKind::Box, rect);
  c.fill(fill);
  return c;
}

ControlDescription box(Rect rect, Color fill) { return box(0, rect, fill); }

ControlDescription image(int number, Rect rect, std::string file) {
  return ControlDescription(number, ControlKind::Image, rect, std::move(file));
}

Control& Description::add(ControlDescription c) {
  ControlSpec s = std::move(c);
  if (s.number == 0) {
    if (next_ == 0) throw std::invalid_argument("a control without a number in a description that numbers none");
    s.number = next_++;
  }
  if (s.parent == 0) s.parent = parent_;
  return window_.add(std::move(s));
}

}  // namespace platform::describe
