#include "platform/report/report_description.h"

namespace platform::report {

namespace {

Element make(ElementKind kind, std::string name, Rect rect) {
  Element e;
  e.kind = kind;
  e.name = std::move(name);
  e.rect = rect;
  return e;
}

}  // namespace

Element Text(std::string name, Rect rect, std::string text) {
  Element e = make(ElementKind::Text, std::move(name), rect);
  e.text = std::move(text);
  return e;
}

Element Field(std::string name, Rect rect, FieldRef field, std::string picture) {
  Element e = make(ElementKind::Field, std::move(name), rect);
  e.field = field;
  e.picture = std::move(picture);
  return e;
}

Element Total(std::string name, Rect rect, FieldRef field, std::string picture, Reset reset) {
  Element e = make(ElementKind::Total, std::move(name), rect);
  e.field = field;
  e.picture = std::move(picture);
  e.reset = reset;
  return e;
}

Element PageNumber(std::string name, Rect rect, std::string picture) {
  Element e = make(ElementKind::PageNumber, std::move(name), rect);
  e.picture = std::move(picture);
  return e;
}

Element CheckBox(std::string name, Rect rect, std::string text, FieldRef field) {
  Element e = make(ElementKind::CheckBox, std::move(name), rect);
  e.text = std::move(text);
  e.field = field;
  return e;
}

Element Option(std::string name, Rect rect, std::string caption, FieldRef field, std::vector<Radio> radios) {
  Element e = make(ElementKind::Option, std::move(name), rect);
  e.text = std::move(caption);
  e.field = field;
  e.radios = std::move(radios);
  return e;
}

Element Box(std::string name, Rect rect) { return make(ElementKind::Box, std::move(name), rect); }

Element Line(std::string name, Rect rect) { return make(ElementKind::Line, std::move(name), rect); }

Element Image(std::string name, Rect rect, std::string file) {
  Element e = make(ElementKind::Image, std::move(name), rect);
  e.text = std::move(file);
  return e;
}

Band BodyBand(std::string name, int height) { return Band{std::move(name), Rect{0, 0, 0, height}, {}}; }

}  // namespace platform::report
