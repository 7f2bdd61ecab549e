#include "platform/ui/control.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/types/latin1.h"
#include "platform/ui/window.h"

namespace platform {
namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

int typeCode(ControlKind kind) {
  switch (kind) {
    case ControlKind::Prompt: return ctltype::Prompt;
    case ControlKind::String: return ctltype::String;
    case ControlKind::Entry: return ctltype::Entry;
    case ControlKind::Text: return ctltype::Text;
    case ControlKind::Button: return ctltype::Button;
    case ControlKind::Check: return ctltype::Check;
    case ControlKind::Option: return ctltype::Option;
    case ControlKind::Radio: return ctltype::Radio;
    case ControlKind::DropList: return ctltype::DropList;
    case ControlKind::Combo: return ctltype::Combo;
    case ControlKind::DropCombo: return ctltype::DropCombo;
    case ControlKind::Spin: return ctltype::Spin;
    case ControlKind::List: return ctltype::List;
    case ControlKind::Sheet: return ctltype::Sheet;
    case ControlKind::Tab: return ctltype::Tab;
    case ControlKind::Image: return ctltype::Image;
    case ControlKind::Box: return ctltype::Box;
    case ControlKind::Panel: return ctltype::Panel;
    case ControlKind::Region: return ctltype::Region;
    case ControlKind::Progress: return ctltype::Progress;
    case ControlKind::Menu: return ctltype::Menu;
    case ControlKind::Item: return ctltype::Item;
    case ControlKind::Toolbar: return ctltype::Toolbar;
  }
  return 0;
}

const char* kindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Prompt: return "prompt";
    case ControlKind::String: return "string";
    case ControlKind::Entry: return "entry";
    case ControlKind::Text: return "text";
    case ControlKind::Button: return "button";
    case ControlKind::Check: return "check box";
    case ControlKind::Option: return "option group";
    case ControlKind::Radio: return "radio";
    case ControlKind::DropList: return "drop list";
    case ControlKind::Combo: return "combo";
    case ControlKind::DropCombo: return "drop combo";
    case ControlKind::Spin: return "spin box";
    case ControlKind::List: return "list";
    case ControlKind::Sheet: return "sheet";
    case ControlKind::Tab: return "tab";
    case ControlKind::Image: return "image";
    case ControlKind::Box: return "box";
    case ControlKind::Panel: return "panel";
    case ControlKind::Region: return "region";
    case ControlKind::Progress: return "progress bar";
    case ControlKind::Menu: return "menu";
    case ControlKind::Item: return "menu item";
    case ControlKind::Toolbar: return "toolbar";
  }
  return "control";
}

Control::Control(Window& window, ControlSpec spec) : window_(&window), spec_(std::move(spec)) {
  if (spec_.kind == ControlKind::Sheet) selected_ = 1;
  if (spec_.kind == ControlKind::Progress && spec_.rangeLow >= spec_.rangeHigh) {
    spec_.rangeLow = 0;
    spec_.rangeHigh = 100;
  }
  if (spec_.kind == ControlKind::DropList && !spec_.text.empty()) {
    auto it = std::find(spec_.choices.begin(), spec_.choices.end(), spec_.text);
    if (it != spec_.choices.end()) selected_ = static_cast<int>(it - spec_.choices.begin()) + 1;
  }
  FieldRef var = std::exchange(spec_.var, FieldRef());
  std::string picture = spec_.picture;
  if (var.valid()) bind(var, picture);
}

Control::~Control() = default;

void Control::changed(Prop p) { window_->controlChanged(*this, p); }

bool Control::textual() const {
  switch (spec_.kind) {
    case ControlKind::Entry:
    case ControlKind::Text:
    case ControlKind::Spin:
    case ControlKind::Combo:
    case ControlKind::DropCombo:
      return true;
    default:
      return false;
  }
}

void Control::setText(std::string text) {
  if (spec_.text == text) return;
  spec_.text = std::move(text);
  if (spec_.kind == ControlKind::DropList) {
    auto it = std::find(spec_.choices.begin(), spec_.choices.end(), spec_.text);
    selected_ = it == spec_.choices.end() ? 0 : static_cast<int>(it - spec_.choices.begin()) + 1;
  }
  changed(Prop::Text);
}

template <class T>
void Control::assign(T& field, T value, Prop p) {
  if (field == value) return;
  field = std::move(value);
  changed(p);
}

void Control::setHidden(bool v) { assign(spec_.hidden, std::move(v), Prop::Hidden); }
void Control::setDisabled(bool v) { assign(spec_.disabled, std::move(v), Prop::Disabled); }
void Control::setReadOnly(bool v) { assign(spec_.readOnly, std::move(v), Prop::ReadOnly); }
void Control::setFill(Color v) { assign(spec_.fill, std::move(v), Prop::Fill); }
void Control::setFontColor(Color v) { assign(spec_.fontColor, std::move(v), Prop::FontColor); }
void Control::setRect(Rect v) { assign(spec_.rect, std::move(v), Prop::Position); }
void Control::setCursor(CursorShape v) { assign(spec_.cursor, std::move(v), Prop::Cursor); }
void Control::setRequired(bool v) { assign(spec_.required, std::move(v), Prop::Required); }
void Control::setTip(std::string v) { assign(spec_.tip, std::move(v), Prop::Tip); }
void Control::setFont(Font v) { assign(spec_.font, std::move(v), Prop::Font); }
void Control::setSkip(bool v) { assign(spec_.skip, std::move(v), Prop::Skip); }
void Control::setDefault(bool v) { assign(spec_.defaultButton, std::move(v), Prop::Default); }
void Control::setTakesEnter(bool v) { assign(spec_.takesEnter, std::move(v), Prop::TakesEnter); }
void Control::setChoices(std::vector<std::string> v) { assign(spec_.choices, std::move(v), Prop::Choices); }
void Control::setStatusText(std::string v) { assign(spec_.statusText, std::move(v), Prop::StatusText); }
void Control::setIcon(std::string v) { assign(spec_.icon, std::move(v), Prop::Icon); }

void Control::setSelected(int position) {
  int high = position;
  switch (spec_.kind) {
    case ControlKind::List: high = rowCount(); break;
    case ControlKind::DropList: high = static_cast<int>(spec_.choices.size()); break;
    case ControlKind::Option:
    case ControlKind::Sheet: {
      ControlKind child = spec_.kind == ControlKind::Option ? ControlKind::Radio : ControlKind::Tab;
      high = 0;
      for (const auto& c : window_->controls())
        if (c->parent() == number() && c->kind() == child) ++high;
      break;
    }
    default: break;
  }
  position = std::clamp(position, 0, std::max(high, 0));
  if (spec_.kind == ControlKind::Sheet && position == 0 && high > 0) position = 1;
  if (position == selected_) return;
  selected_ = position;
  if (spec_.kind == ControlKind::DropList) {
    std::string t = position > 0 ? spec_.choices[static_cast<std::size_t>(position - 1)] : std::string();
    if (t != spec_.text) {
      spec_.text = std::move(t);
      changed(Prop::Text);
    }
  }
  changed(Prop::Selected);
}

void Control::setChecked(bool on) {
  if (checked_ == on) return;
  checked_ = on;
  changed(Prop::Checked);
}

void Control::setThumb(int position) {
  position = std::clamp(position, 0, 100);
  if (thumb_ == position) return;
  thumb_ = position;
  changed(Prop::Thumb);
}

void Control::setValue(int v) {
  if (spec_.rangeLow < spec_.rangeHigh) v = std::clamp(v, spec_.rangeLow, spec_.rangeHigh);
  if (value_ == v) return;
  value_ = v;
  changed(Prop::Value);
}

bool Control::visible() const {
  const Control* c = this;
  bool self = true;
  while (c) {
    if (c->spec_.hidden) return false;
    const Control* p = c->spec_.parent ? window_->find(c->spec_.parent) : nullptr;
    // The controls on a tab show only while the tab is the sheet's selected
    // one; the tab itself always shows in the sheet.
    if (!self && c->spec_.kind == ControlKind::Tab && p && p->kind() == ControlKind::Sheet &&
        p->selected() != c->position())
      return false;
    self = false;
    c = p;
  }
  return true;
}

bool Control::enabled() const {
  for (const Control* c = this; c; c = c->spec_.parent ? window_->find(c->spec_.parent) : nullptr)
    if (c->spec_.disabled) return false;
  return true;
}

bool Control::takesFocus() const {
  switch (spec_.kind) {
    case ControlKind::Entry:
    case ControlKind::Text:
    case ControlKind::Spin:
    case ControlKind::Combo:
    case ControlKind::DropCombo:
    case ControlKind::DropList:
    case ControlKind::List:
    case ControlKind::Check:
    case ControlKind::Radio:
    case ControlKind::Sheet:
      return true;
    case ControlKind::Button: {
      const Control* p = spec_.parent ? window_->find(spec_.parent) : nullptr;
      return !(p && p->kind() == ControlKind::Toolbar);
    }
    default:
      return false;
  }
}

int Control::position() const {
  if (spec_.kind != ControlKind::Radio && spec_.kind != ControlKind::Tab) return 0;
  int n = 0;
  for (const auto& c : window_->controls()) {
    if (c->parent() == spec_.parent && c->kind() == spec_.kind) ++n;
    if (c.get() == this) return n;
  }
  return 0;
}

void Control::bind(FieldRef var, std::string_view picture) {
  if (!var.valid()) {
    unbind();
    return;
  }
  std::optional<Picture> pic;
  if (!picture.empty()) {
    pic = Picture::parse(picture);
    if (!pic) throw std::invalid_argument("control " + std::to_string(number()) + ": unknown picture \"" +
                                          std::string(picture) + "\"");
  } else if ((textual() || spec_.kind == ControlKind::String) && !var.isText()) {
    throw std::invalid_argument("control " + std::to_string(number()) + ": a number or date needs a picture");
  }
  spec_.var = var;
  spec_.picture = std::string(picture);
  picture_ = std::move(pic);
  shown_.clear();
  showVariable(true);
}

void Control::unbind() {
  spec_.var = FieldRef();
  spec_.picture.clear();
  picture_.reset();
  shown_.clear();
  edited_ = false;
}

bool Control::showVariable(bool force) {
  if (!bound()) return false;
  const FieldRef& var = spec_.var;
  const std::uint8_t* data = var.data();
  bool same = shown_.size() == var.size() && std::memcmp(shown_.data(), data, var.size()) == 0;
  if (same && !force) return false;
  shown_.assign(data, data + var.size());
  edited_ = false;
  switch (spec_.kind) {
    case ControlKind::Check:
      setChecked(var.integer() != 0);
      break;
    case ControlKind::Option: {
      int sel = 0;
      if (var.isText()) {
        // The group stores the chosen radio's text cut to the variable, so
        // a radio whose text is longer than the variable is recognised by
        // its cut text.
        std::string value = latin1ToUtf8(var.text());
        int n = 0;
        for (const auto& c : window_->controls()) {
          if (c->parent() != number() || c->kind() != ControlKind::Radio) continue;
          ++n;
          std::string caption = c->text();
          if (std::optional<std::string> l1 = utf8ToLatin1(caption); l1 && l1->size() > var.capacity())
            caption = latin1ToUtf8(l1->substr(0, var.capacity()));
          if (trimmed(caption) == trimmed(value)) {
            sel = n;
            break;
          }
        }
      } else {
        sel = static_cast<int>(var.integer());
      }
      setSelected(sel);
      break;
    }
    case ControlKind::DropList: {
      int sel = 0;
      if (var.isText()) {
        std::string value = latin1ToUtf8(var.text());
        for (std::size_t i = 0; i < spec_.choices.size(); ++i)
          if (trimmed(spec_.choices[i]) == trimmed(value)) {
            sel = static_cast<int>(i) + 1;
            break;
          }
      } else {
        sel = static_cast<int>(var.integer());
      }
      setSelected(sel);
      break;
    }
    case ControlKind::Progress:
      setValue(static_cast<int>(var.integer()));
      break;
    default: {
      std::string t = picture_ ? format(var, *picture_) : latin1ToUtf8(var.text());
      if (t != spec_.text) {
        spec_.text = std::move(t);
        changed(Prop::Text);
      }
      break;
    }
  }
  return true;
}

void Control::setEditText(std::string text) {
  edited_ = true;
  if (spec_.text == text) return;
  spec_.text = std::move(text);
  changed(Prop::Text);
}

void Control::markEdited() { edited_ = true; }

void Control::clearEdited() { edited_ = false; }

const std::vector<std::string>& Control::row(int row) const {
  if (row < 1 || row > rowCount()) throw std::out_of_range("list " + std::to_string(number()) + " has no row " +
                                                           std::to_string(row));
  return rows_[static_cast<std::size_t>(row - 1)];
}

const std::string& Control::cell(int row, int column) const {
  static const std::string none;
  const auto& r = this->row(row);
  if (column < 1 || column > static_cast<int>(r.size())) return none;
  return r[static_cast<std::size_t>(column - 1)];
}

void Control::setRows(std::vector<std::vector<std::string>> rows, std::vector<std::int64_t> keys) {
  if (!keys.empty() && keys.size() != rows.size())
    throw std::invalid_argument("list " + std::to_string(number()) + ": " + std::to_string(keys.size()) +
                                " keys for " + std::to_string(rows.size()) + " rows");
  rows_ = std::move(rows);
  rowKeys_ = std::move(keys);
  window_->rowsChanged(*this);
  if (selected_ > rowCount()) setSelected(rowCount());
}

int Control::rowOfKey(std::int64_t key) const {
  auto it = std::find(rowKeys_.begin(), rowKeys_.end(), key);
  return it == rowKeys_.end() ? 0 : static_cast<int>(it - rowKeys_.begin()) + 1;
}

std::int64_t Control::rowKey(int row) const {
  if (row < 1 || row > static_cast<int>(rowKeys_.size())) return 0;
  return rowKeys_[static_cast<std::size_t>(row - 1)];
}

void Control::setRow(int row, std::vector<std::string> cells) {
  (void)this->row(row);
  rows_[static_cast<std::size_t>(row - 1)] = std::move(cells);
  window_->rowsChanged(*this);
}

void Control::insertRow(int before, std::vector<std::string> cells) {
  if (before < 1 || before > rowCount() + 1)
    throw std::out_of_range("list " + std::to_string(number()) + ": no place " + std::to_string(before));
  rows_.insert(rows_.begin() + (before - 1), std::move(cells));
  rowKeys_.clear();  // rows put in by place: rows are places again
  window_->rowsChanged(*this);
}

void Control::removeRow(int row) {
  (void)this->row(row);
  rows_.erase(rows_.begin() + (row - 1));
  if (!rowKeys_.empty()) rowKeys_.erase(rowKeys_.begin() + (row - 1));
  window_->rowsChanged(*this);
  if (selected_ > rowCount()) setSelected(rowCount());
}

void Control::clearRows() { setRows({}); }

int Control::pageRows() const {
  if (pageRows_ > 0) return pageRows_;
  bool heading = std::any_of(spec_.columns.begin(), spec_.columns.end(),
                             [](const ListColumn& c) { return !c.heading.empty(); });
  return std::max(1, (spec_.rect.height - (heading ? 10 : 0)) / 10);
}

void Control::setPageRows(int rows) {
  rows = std::max(rows, 0);
  if (pageRows_ == rows) return;
  pageRows_ = rows;
  changed(Prop::PageRows);
}

}  // namespace platform
