#include "cases/form_manager.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "app/frame/thread_state.h"
#include "platform/fiber/fiber_local.h"
#include "platform/lib/error_manager.h"
#include "platform/lib/messages.h"
#include "platform/ui/control.h"
#include "platform/ui/window.h"

namespace cases {

namespace {

using platform::Control;
using platform::ControlKind;
using platform::EventKind;

// Hidden by its own attribute or a parent's; a control on a tab that is
// not showing is not hidden in this sense.
bool hiddenByAttribute(const platform::Window& w, const Control& c) {
  for (const Control* k = &c; k; k = k->parent() ? w.find(k->parent()) : nullptr)
    if (k->hidden()) return true;
  return false;
}

}  // namespace

const char* FormCaption(std::uint8_t request) {
  switch (request) {
    case app::RequestView: return "View Record";
    case app::RequestInsert: return "Record Will Be Added";
    case app::RequestChange: return "Record Will Be Changed";
    default: return "";
  }
}

// --- history -----------------------------------------------------------------------

std::span<std::uint8_t> HistoryCopy(const std::string& procedureName, const platform::RecordLayout& layout) {
  static platform::FiberLocal<std::map<std::string, std::vector<std::uint8_t>>> copies;
  auto [it, made] = copies->try_emplace(procedureName);
  std::vector<std::uint8_t>& copy = it->second;
  if (made || copy.size() != layout.recordSize()) {
    copy.assign(layout.recordSize(), 0);
    platform::clearRecord(layout, copy.data());
  }
  return copy;
}

void FormHistory::Setup(const platform::RecordLayout& layout, std::uint8_t* record, std::span<std::uint8_t> copy) {
  layout_ = &layout;
  record_ = record;
  copy_ = copy;
}

void FormHistory::AddEntry(int control, int field) { entries_.emplace_back(control, field); }

void FormHistory::TakeCopy() {
  if (record_ && copy_.size() == layout_->recordSize()) std::memcpy(copy_.data(), record_, copy_.size());
}

int FormHistory::TakeEvent(const platform::Event& event) {
  if (event.kind != EventKind::AlertKey || !(event.key == HistoryKey) || !record_ || !owner())
    return platform::LevelContinue;
  platform::Window& w = owner()->window();
  // A radio stands for its option group.
  int focused = event.control;
  if (const Control* f = w.find(focused); f && f->kind() == ControlKind::Radio) focused = f->parent();
  for (const auto& [control, field] : entries_) {
    if (control != focused) continue;
    const Control* c = w.find(control);
    // A control that takes no changes (view mode) keeps its value.
    if (!c || c->readOnly() || !c->enabled()) return platform::LevelSkip;
    const platform::FieldDesc& f = layout_->field(field);
    std::memcpy(record_ + f.offset, copy_.data() + f.offset, f.size);
    ++restores_;
    w.display(control);
    return platform::LevelSkip;
  }
  return platform::LevelContinue;
}

void FormHistory::AddAlertKeys(platform::Window& window) {
  if (!entries_.empty()) window.alert(HistoryKey);
}

// --- the form ----------------------------------------------------------------------

FormWindow::FormWindow(platform::Window& window, std::string procedureName, platform::FileManager& access,
                       platform::FileRelations& relation, std::int32_t firstField)
    : ProcedureWindow(window, std::move(procedureName), firstField),
      access_(access),
      relation_(relation) {}

FormWindow::~FormWindow() { toolbarObject().SetTarget(nullptr); }

void FormWindow::SetButtons(int ok, int cancel) {
  ok_ = ok;
  cancel_ = cancel;
}

void FormWindow::AddHistory(int control, int field) { history_.AddEntry(control, field); }

void FormWindow::SetViewLock(std::vector<int> readOnly, std::vector<int> disabled) {
  viewReadOnly_ = std::move(readOnly);
  viewDisabled_ = std::move(disabled);
}

bool FormWindow::adding() const { return REQUEST == app::RequestInsert; }
bool FormWindow::changing() const { return REQUEST == app::RequestChange; }

bool FormWindow::RecordChanged() const {
  if (original_.empty()) return false;
  std::span<const std::uint8_t> now = access_.file().image();
  return !std::equal(now.begin(), now.end(), original_.begin(), original_.end());
}

int FormWindow::SetupMembers() {
  platform::DbFile& file = access_.file();
  history_.Setup(file.layout(), file.record(), HistoryCopy(procedureName(), file.layout()));
  AddComponent(history_);
  AddFileState(access_);
  if (cancel_) AddCloseButton(cancel_, app::ResponseCancelled);
  if (int level = OpenFiles(relation_); level != platform::LevelContinue) return level;

  // The request is prepared: the file's state is kept for the end of a form
  // that does not complete, and the record for the change test.
  SaveFileStates();
  original_.assign(file.image().begin(), file.image().end());
  if (REQUEST == app::RequestDelete) {
    RESPONSE = relation_.Delete(true) == platform::LevelBenign ? app::ResponseCompleted : app::ResponseCancelled;
    return platform::LevelEndLoop;  // the window never opens
  }
  return platform::LevelContinue;
}

void FormWindow::SetupOpenWindow() {
  if (REQUEST == app::RequestView) {
    for (int control : viewReadOnly_)
      if (Control* c = window().find(control)) c->setReadOnly(true);
    for (int control : viewDisabled_)
      if (Control* c = window().find(control)) c->setDisabled(true);
  }
  if (FIRSTFIELD != 0) SelectControl(FIRSTFIELD);
}

void FormWindow::AttachTargets() { toolbarObject().SetTarget(this); }

int FormWindow::Execute() {
  const int response = ProcedureWindow::Execute();
  if (REQUEST != app::RequestView) return response;
  RESPONSE = app::ResponseCancelled;
  return app::ResponseCancelled;
}

void FormWindow::EventLoop() {
  if (const std::string title = FormCaption(REQUEST); !title.empty()) window().setCaption(title);
  ProcedureWindow::EventLoop();
}

bool FormWindow::isDataControl(const Control& c) const {
  switch (c.kind()) {
    case ControlKind::Entry:
    case ControlKind::Text:
    case ControlKind::Check:
    case ControlKind::Option:
    case ControlKind::DropList:
    case ControlKind::Combo:
    case ControlKind::DropCombo:
    case ControlKind::Spin:
      return true;
    default:
      return false;
  }
}

int FormWindow::nextToCheck(int control) const {
  const auto& controls = window().controls();
  auto it = controls.begin();
  if (control != 0) {
    it = std::find_if(controls.begin(), controls.end(), [control](const auto& c) { return c->number() == control; });
    if (it == controls.end()) return 0;
    ++it;
  }
  for (; it != controls.end(); ++it) {
    const Control& c = **it;
    if (isDataControl(c) && !hiddenByAttribute(window(), c) && c.enabled()) return c.number();
  }
  return 0;
}

void FormWindow::startCheck() {
  checking_ = nextToCheck(0);
  if (checking_ == 0) {
    save();
    return;
  }
  window().post(EventKind::Accepted, checking_);
}

int FormWindow::TakeEvent() {
  const platform::Event e = event();
  const bool awaited = checking_ != 0 && e.kind == EventKind::Accepted && e.control == checking_;
  // Any other control accepted meanwhile (the user pressed OK again) ends
  // the check; OK starts a new one.
  if (checking_ != 0 && !awaited && e.kind == EventKind::Accepted) checking_ = 0;
  const int level = ProcedureWindow::TakeEvent();
  if (!awaited || checking_ != e.control) return level;
  checking_ = 0;
  if (level != platform::LevelContinue) return level;
  return checkStep(e.control);
}

int FormWindow::checkStep(int control) {
  if (const Control* c = window().find(control); c && c->required() && c->bound() && c->variable().isEmpty()) {
    SelectControl(control);
    return platform::LevelContinue;
  }
  checking_ = nextToCheck(control);
  if (checking_ != 0)
    window().post(EventKind::Accepted, checking_);
  else
    save();
  return platform::LevelContinue;
}

void FormWindow::save() {
  if (!ReadyToSave()) {
    focusFirst();
    return;
  }
  history_.TakeCopy();
  if (adding()) {
    if (access_.Insert() == platform::LevelBenign)
      complete();
    else
      focusFirst();
    return;
  }
  if (!changing()) return;
  if (!RecordChanged()) {
    complete();
    return;
  }
  for (;;) {
    // A record the file's field check refuses is refused again however often
    // it is tried.
    const bool fieldsValid = access_.ValidateRecord(false) == platform::LevelBenign;
    if (relation_.Update(original_) == platform::LevelBenign) {
      complete();
      return;
    }
    // The relation object has shown what went wrong. Only a write that
    // found the files locked may go through when tried again.
    if (!fieldsValid || access_.lastError().status != platform::DbStatus::Locked) {
      focusFirst();
      return;
    }
    const int answer = app::ThreadErrors().raise(platform::Msg::RetryUpdate);
    if (answer == platform::LevelBenign) continue;  // Yes
    if (answer == platform::LevelCancelled) {       // No: given up, as Cancel does
      givingUp_ = true;
      RESPONSE = app::ResponseCancelled;
      window().post(EventKind::CloseRequest);
      return;
    }
    focusFirst();  // Cancel: the form stays open
    return;
  }
}

void FormWindow::complete() {
  RESPONSE = app::ResponseCompleted;
  window().post(EventKind::CloseRequest);
}

int FormWindow::OnAccepted() {
  if (int level = ProcedureWindow::OnAccepted(); level != platform::LevelContinue) return level;
  if (ok_ != 0 && event().control == ok_) {
    if (REQUEST == app::RequestView)
      window().post(EventKind::CloseRequest);
    else if (adding() || changing())
      startCheck();
  }
  return platform::LevelContinue;
}

int FormWindow::OnAlertKey() {
  const int restoredBefore = history_.restores();
  const int level = ProcedureWindow::OnAlertKey();
  if (level == platform::LevelSkip && history_.restores() != restoredBefore) return platform::LevelContinue;
  return level;
}

int FormWindow::OnCloseRequest() {
  if (int level = ProcedureWindow::OnCloseRequest(); level != platform::LevelContinue) return level;
  if (RESPONSE == app::ResponseCompleted || givingUp_) return platform::LevelContinue;
  checking_ = 0;
  if ((adding() || changing()) && RecordChanged() &&
      app::ThreadErrors().raise(platform::Msg::ConfirmCancel) != platform::LevelBenign) {
    focusFirst();
    return platform::LevelSkip;
  }
  return platform::LevelContinue;
}

int FormWindow::Shutdown() {
  const bool completed = RESPONSE == app::ResponseCompleted && REQUEST != app::RequestView;
  if (!completed && !shutDown_) {
    // The reserved number of a new record is released and the record the
    // form was given restored.
    if (adding() && access_.initialised()) access_.CancelAutoInc();
    RestoreFileStates();
  }
  shutDown_ = true;
  return ProcedureWindow::Shutdown();
}

void FormWindow::SelectControl(int control) {
  platform::Window& w = window();
  const Control* c = w.find(control);
  if (!c) return;
  for (const Control* k = c; k; k = k->parent() ? w.find(k->parent()) : nullptr) {
    if (k->kind() != ControlKind::Tab) continue;
    if (Control* sheet = w.find(k->parent()); sheet && sheet->kind() == ControlKind::Sheet)
      sheet->setSelected(k->position());
  }
  w.select(control);
}

void FormWindow::focusFirst() { SelectControl(FIRSTFIELD); }

}  // namespace cases
