#include "cases/browse_manager.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "app/frame/thread_state.h"
#include "cases/locators.h"
#include "platform/lib/step_managers.h"
#include "platform/lib/error_manager.h"
#include "platform/lib/window_fitter.h"
#include "platform/types/latin1.h"
#include "platform/types/picture.h"
#include "platform/ui/control.h"

namespace cases {

namespace {

using platform::DbStatus;
using platform::FieldRef;
using platform::FieldType;

// Copies a value between fields of possibly different types and sizes (a
// parent's linking field into a child's).
void copyValue(FieldRef to, const FieldRef& from) {
  if (to.isText() || from.isText())
    to.setText(from.text());
  else if (to.type() == FieldType::Date || from.type() == FieldType::Date)
    to.setDay(from.day());
  else
    to.setDecimal(from.decimal());
}

bool usable(const platform::Control* c) { return c && c->visible() && c->enabled(); }

}  // namespace

BrowseManager::~BrowseManager() = default;

platform::Window& BrowseManager::window() const { return window_->window(); }

// --- declaration -----------------------------------------------------------------

void BrowseManager::Setup(int listControl, platform::ListView& view, platform::WindowController& window) {
  listControl_ = listControl;
  view_ = &view;
  window_ = &window;
  selectMode_ = window.REQUEST == app::RequestSelect;
  viewMode_ = window.REQUEST == app::RequestView;
  if (selectMode_) callerBuffer_ = view.file().saveState();
  window.AddComponent(*this);
}

void BrowseManager::SetButtons(const ListButtons& buttons) {
  buttons_ = buttons;
  if (viewMode_) buttons_.insert = buttons_.change = buttons_.remove = 0;
}

void BrowseManager::AddStepOrder(StepMgr& steps, int key) { orders_.push_back(Order{key, &steps, nullptr, {}}); }

void BrowseManager::SetOrderLocator(Locator& locator, int control, int keyField) {
  if (orders_.empty()) return;
  orders_.back().locator = &locator;
  locator.Setup(*this, control, keyField);
}

void BrowseManager::LimitToRelated(int field, platform::FieldRef parent) {
  if (orders_.empty()) return;
  orders_.back().range = Range{field, parent};
}

void BrowseManager::SetFilter(platform::ListView::Filter filter) { view_->setFilter(std::move(filter)); }

void BrowseManager::AddColumn(int field) {
  columns_.push_back(field);
  outside_.emplace_back();
}

void BrowseManager::AddColumn(platform::FieldRef outside) {
  columns_.push_back(0);
  outside_.push_back(outside);
}

void BrowseManager::AddField(int field) { fields_.push_back(field); }

void BrowseManager::AttachToolbar(platform::Toolbar& toolbar, int help) {
  help_ = help;
  toolbar.SetTarget(this);
}

int BrowseManager::ToolbarControl(platform::ToolbarButton button) const {
  switch (button) {
    case platform::ToolbarButton::Insert: return buttons_.insert;
    case platform::ToolbarButton::Change: return buttons_.change;
    case platform::ToolbarButton::Delete: return buttons_.remove;
    case platform::ToolbarButton::View: return buttons_.view;
    case platform::ToolbarButton::Select: return selectMode_ ? buttons_.select : 0;
    case platform::ToolbarButton::Help: return help_;
  }
  return 0;
}

// --- orders and ranges ---------------------------------------------------------------

BrowseManager::Order* BrowseManager::current() {
  if (order_ < 1 || order_ > orderCount()) return nullptr;
  return &orders_[static_cast<std::size_t>(order_ - 1)];
}

const BrowseManager::Order* BrowseManager::current() const {
  return const_cast<BrowseManager*>(this)->current();
}

std::optional<platform::KeyValue> BrowseManager::rangeValue(const Order& order) const {
  if (!order.range) return std::nullopt;
  // The child's key value for the parent's linking field, as a record of
  // the child holding it would have.
  platform::DbFile& f = file();
  std::vector<std::uint8_t> image(f.recordSize());
  platform::clearRecord(f.layout(), image.data());
  copyValue(FieldRef::of(f.layout().field(order.range->field), image.data()), order.range->parent);
  return f.keyValue(order.key, image.data());
}

void BrowseManager::Refresh(bool force) { SwitchOrder(order_ ? order_ : 1, force); }

void TabOrderBrowse::Refresh(bool force) {
  const platform::Control* sheet = window().find(sheet_);
  const int tab = sheet ? sheet->selected() : 0;
  const bool known = tab >= 1 && tab <= static_cast<int>(orderOfTab_.size());
  SwitchOrder(orderOfTab_[known ? static_cast<std::size_t>(tab - 1) : 0], force);
}

void BrowseManager::SwitchOrder(int order, bool force) {
  if (order < 1 || order > orderCount()) return;
  const Order& next = orders_[static_cast<std::size_t>(order - 1)];
  const std::optional<platform::KeyValue> range = rangeValue(next);
  const bool rangeMoved = range.has_value() != view_->range().has_value() ||
                          (range && platform::compareKeyValues(*range, *view_->range()) != 0);
  if (order == order_ && !rangeMoved && !force) return;
  order_ = order;
  view_->setKey(next.key);
  view_->setRange(range);
  loadFirst();
}

void BrowseManager::loadFirst() {
  syncPageRows();
  report(view_->fillFirst());
  RecalcFromView();
  ShowPage();
}

void BrowseManager::RecalcFromView() {
  Order* o = current();
  if (!o || !o->steps) return;
  std::vector<platform::DbRow> first, last;
  if (view_->read(platform::Direction::Forward, std::nullopt, 1, first) != DbStatus::Ok ||
      view_->read(platform::Direction::Backward, std::nullopt, 1, last) != DbStatus::Ok || first.empty() ||
      last.empty()) {
    o->steps->Setup(std::monostate{}, std::monostate{});
    return;
  }
  o->steps->Setup(view_->keyOf(first.front()), view_->keyOf(last.front()));
}

// --- the page --------------------------------------------------------------------------

void BrowseManager::syncPageRows() {
  if (platform::Control* list = window().find(listControl_)) view_->setPageRows(list->pageRows());
}

void BrowseManager::ShowPage() {
  platform::Control* list = window().find(listControl_);
  if (!list) return;
  const platform::RecordLayout& layout = file().layout();
  if (pictures_.size() != columns_.size()) {
    // The pictures of the list format, parsed once.
    const auto& format = list->columns();
    pictures_.clear();
    for (std::size_t i = 0; i < columns_.size(); ++i)
      pictures_.push_back(i < format.size() && !format[i].picture.empty()
                              ? std::optional<platform::Picture>(platform::Picture::of(format[i].picture))
                              : std::nullopt);
  }
  std::vector<std::vector<std::string>> cells;
  std::vector<std::int64_t> records;  // the rows' keys: where each record is
  cells.reserve(view_->rows().size());
  records.reserve(view_->rows().size());
  for (const platform::DbRow& row : view_->rows()) {
    records.push_back(row.position);
    std::vector<std::string> line;
    line.reserve(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      FieldRef f = columns_[i] ? FieldRef::of(layout.field(columns_[i]), const_cast<std::uint8_t*>(row.image.data()))
                               : outside_[i];
      if (pictures_[i])
        line.push_back(platform::format(f, *pictures_[i]));
      else
        line.push_back(f.isText() ? platform::latin1ToUtf8(f.text()) : f.text());
    }
    cells.push_back(std::move(line));
  }
  list->setRows(std::move(cells), std::move(records));
  list->setSelected(view_->selected());
  const Order* o = current();
  const platform::DbRow* row = view_->selectedRow();
  list->setThumb(o && o->steps && row ? o->steps->ThumbOf(view_->keyOf(*row)) : 0);
  CopySelection();
  UpdateButtons();
}

void BrowseManager::copyRow(const platform::DbRow& row) {
  std::uint8_t* buffer = file().record();
  const platform::RecordLayout& layout = file().layout();
  auto copy = [&](int number) {
    const platform::FieldDesc& d = layout.field(number);
    if (d.type == FieldType::Group) return;
    std::memcpy(buffer + d.offset, row.image.data() + d.offset, d.size);
  };
  for (int f : columns_)
    if (f) copy(f);
  for (int f : fields_) copy(f);
}

void BrowseManager::CopySelection() {
  if (const platform::DbRow* row = view_->selectedRow()) copyRow(*row);
}

void BrowseManager::UpdateButtons() {
  const bool rows = view_->rowCount() > 0;
  auto enable = [this](int control, bool on) {
    if (platform::Control* c = control ? window().find(control) : nullptr) c->setDisabled(!on);
  };
  enable(buttons_.change, rows);
  enable(buttons_.remove, rows);
  enable(buttons_.view, rows);
  enable(buttons_.insert, !insertAllowed_ || insertAllowed_());
  if (platform::Control* select = buttons_.select ? window().find(buttons_.select) : nullptr) {
    if (selectMode_) {
      select->setHidden(false);
      select->setDisabled(!rows);
      select->setDefault(true);
      if (platform::Control* change = buttons_.change ? window().find(buttons_.change) : nullptr)
        change->setDefault(false);
    } else if (buttons_.hideSelect) {
      select->setHidden(true);
      select->setDisabled(true);
    }
  }
}

void BrowseManager::ReloadPage() {
  syncPageRows();
  report(view_->refill());
  ShowPage();
}

void BrowseManager::Locate(const platform::KeyValue& value) {
  syncPageRows();
  report(view_->fillAt(platform::Seek{value, 0, true}, 1));
  ShowPage();
}

platform::KeyValue BrowseManager::KeyValueOfText(int keyField, const std::string& latin1) const {
  const Order* o = current();
  if (!o) return std::monostate{};
  const platform::FieldDesc& d = file().layout().field(keyField);
  if (d.type == FieldType::String || d.type == FieldType::CString) {
    const std::string folded = platform::latin1Upper(latin1);
    return std::string(platform::rtrim(folded));
  }
  std::vector<std::uint8_t> image(file().recordSize());
  platform::clearRecord(file().layout(), image.data());
  FieldRef::of(d, image.data()).setText(latin1);
  platform::KeyValue v = file().keyValue(o->key, image.data());
  if (std::holds_alternative<std::monostate>(v)) return std::int64_t{0};
  return v;
}

void BrowseManager::report(DbStatus status) {
  if (status == DbStatus::Ok) return;
  platform::ErrorManager* errors = window_->ERRORS;
  if (!errors) return;
  errors->setFile(file().layout().label());
  errors->setErrors(file().error().fileCode, file().error().text);
  errors->raise(platform::Msg::RetrievalError);
}

// --- selection and the buttons -----------------------------------------------------

bool BrowseManager::LoadSelectionForAction(bool keepGone) {
  const platform::DbRow* row = view_->selectedRow();
  if (!row) return true;
  DbStatus s = file().get(row->position);
  if (s == DbStatus::Ok) return true;
  if (s != DbStatus::NotFound) report(s);
  if (keepGone) {
    const platform::DbFileState gone = file().saveState();
    ReloadPage();
    file().restoreState(gone);
  } else {
    ReloadPage();
  }
  return false;
}

void BrowseManager::LoadSelection() { LoadSelectionForAction(); }

int BrowseManager::PrimeRecord() {
  platform::DbFile& f = file();
  platform::clearRecord(f.layout(), f.record());
  if (const Order* o = current(); o && o->range)
    copyValue(FieldRef::of(f.layout().field(o->range->field), f.record()), o->range->parent);
  return primer_ ? primer_() : platform::LevelContinue;
}

int BrowseManager::Ask(std::uint8_t request) {
  if (!LoadSelectionForAction()) return 0;
  if (request == app::RequestInsert && insertAllowed_ && !insertAllowed_()) {
    UpdateButtons();
    return app::ResponseCancelled;
  }
  std::uint8_t response = app::ResponseCancelled;
  do {
    if (window_->VCRREQUEST) *window_->VCRREQUEST = 0;
    const platform::DbFileState before = file().saveState();
    const int row = view_->selected();
    response = app::ResponseCancelled;
    if (request != app::RequestInsert || PrimeRecord() == platform::LevelContinue)
      response = static_cast<std::uint8_t>(window_->CallProcedure(updateProcedure_, request));
    if (response != app::ResponseCompleted) file().restoreState(before);
    afterAsk(request, response, row);
  } while (window_->VCRREQUEST && *window_->VCRREQUEST != 0);
  return response;
}

void BrowseManager::afterAsk(std::uint8_t request, std::uint8_t response, int row) {
  syncPageRows();
  const bool saved =
      response == app::ResponseCompleted && (request == app::RequestInsert || request == app::RequestChange);
  if (saved && view_->holds(file().record()))
    report(view_->fillAt(platform::Seek{view_->keyOf(file().record()), file().position(), true}, std::max(row, 1)));
  else
    report(view_->refill());  // a saved record the view no longer holds counts as deleted
  // The deleted record must not outlive the last row that showed it: with
  // no row left to load, the window's displays and own buttons would go on
  // with it.
  if (request == app::RequestDelete && response == app::ResponseCompleted && view_->rowCount() == 0)
    platform::clearRecord(file().layout(), file().record());
  RecalcFromView();
  ShowPage();
  window().select(listControl_);
}

void BrowseManager::press(int control) {
  if (!control) return;
  if (usable(window().find(control))) window().post(platform::EventKind::Accepted, control);
}

void BrowseManager::pick() {
  if (!selectMode_ || view_->rowCount() == 0) return;
  const platform::DbRow* row = view_->selectedRow();
  // A record another thread deleted cannot be picked; the buffer is left
  // alone while its presence is checked.
  const platform::DbFileState state = file().saveState();
  const DbStatus s = file().get(row->position);
  file().restoreState(state);
  if (s != DbStatus::Ok) {
    if (s != DbStatus::NotFound) report(s);
    ReloadPage();
    return;
  }
  picked_ = *row;
  window_->RESPONSE = app::ResponseCompleted;
  window().post(platform::EventKind::CloseRequest);
}

void BrowseManager::scroll(const platform::Event& e) {
  syncPageRows();
  DbStatus s = DbStatus::Ok;
  switch (e.scroll) {
    case platform::ScrollAction::Up: s = view_->move(-1); break;
    case platform::ScrollAction::Down: s = view_->move(1); break;
    case platform::ScrollAction::PageUp: s = view_->move(-view_->pageRows()); break;
    case platform::ScrollAction::PageDown: s = view_->move(view_->pageRows()); break;
    case platform::ScrollAction::Top: s = view_->fillFirst(); break;
    case platform::ScrollAction::Bottom: s = view_->fillLast(); break;
    case platform::ScrollAction::Thumb:
      if (const Order* o = current(); o && o->steps) {
        Locate(o->steps->ValueAt(e.thumb));
        return;
      }
      break;
  }
  report(s);
  ShowPage();
}

// --- events ------------------------------------------------------------------------------

int BrowseManager::TakeEvent(const platform::Event& e) {
  using platform::EventKind;
  if (!view_) return platform::LevelContinue;
  if (e.kind == EventKind::OpenWindow) {
    Refresh(true);
    return platform::LevelContinue;
  }
  // The list shows as many rows as fit: after a resize (once the resizer
  // has placed the controls for the new size), or when the desktop reports
  // another number of rows.
  if (e.kind == EventKind::Sized)
    for (platform::WindowComponent* c : window_->components())
      if (auto* fitter = dynamic_cast<platform::WindowFitter*>(c)) fitter->Fit();
  if (order_ != 0)
    if (const platform::Control* list = window().find(listControl_); list && list->pageRows() != view_->pageRows())
      ReloadPage();
  Order* o = current();
  if (o && o->locator && e.control != 0 && o->locator->TakeEvent(e)) return platform::LevelContinue;

  const platform::Control* c = e.control ? window().find(e.control) : nullptr;
  switch (e.kind) {
    case EventKind::Accepted:
      if (e.control == 0) break;
      if (e.control == buttons_.insert) Ask(app::RequestInsert);
      else if (e.control == buttons_.change) Ask(app::RequestChange);
      else if (e.control == buttons_.remove) Ask(app::RequestDelete);
      else if (e.control == buttons_.view) Ask(app::RequestView);
      else if (e.control == buttons_.select) pick();
      break;
    case EventKind::NewSelection:
      if (e.control == listControl_) {
        if (const platform::Control* list = window().find(listControl_)) view_->select(list->selected());
        CopySelection();
        if (o && o->steps)
          if (const platform::DbRow* row = view_->selectedRow())
            window().find(listControl_)->setThumb(o->steps->ThumbOf(view_->keyOf(*row)));
      } else if (c && c->kind() == platform::ControlKind::Sheet) {
        Refresh(false);
      }
      break;
    case EventKind::Scroll:
      if (e.control != listControl_) break;
      scroll(e);
      return platform::LevelSkip;  // the page moved; the runtime's own move would undo it
    case EventKind::Key:
      if (e.control != listControl_) break;
      if (e.key.is(platform::Key::Insert)) press(buttons_.insert);
      else if (e.key.is(platform::Key::Delete)) press(buttons_.remove);
      else if (e.key.is(platform::Key::Enter, platform::ModCtrl)) press(buttons_.change);
      else if (e.key.is(platform::Key::Enter, platform::ModShift)) press(buttons_.view);
      break;
    case EventKind::DoubleClick:
      if (e.control != listControl_) break;
      press(selectMode_ ? buttons_.select : buttons_.change);
      break;
    default:
      break;
  }
  return platform::LevelContinue;
}

void BrowseManager::RefreshComponent(bool force) { Refresh(force); }

void BrowseManager::ShutdownComponent() {
  if (!selectMode_ || !callerBuffer_) return;
  if (window_->RESPONSE == app::ResponseCompleted && picked_)
    copyRow(*picked_);
  else
    file().restoreState(*callerBuffer_);
  callerBuffer_.reset();
}

// --- the update form's call ------------------------------------------------------------

platform::ListView::Opener UseFileOpener(platform::FileManager& access) {
  return [&access] { return access.UseFile() == 0 ? platform::DbStatus::Ok : platform::DbStatus::NotOpen; };
}

std::uint8_t CallUpdateForm(std::uint8_t listRequest, void (*form)(), std::uint8_t request) {
  if (listRequest == app::RequestView || !form) return app::ResponseCancelled;
  return app::CallWithRequest(form, request);
}

}  // namespace cases
