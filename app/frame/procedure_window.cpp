#include "app/frame/procedure_window.h"

#include <utility>

#include "app/frame/globals.h"
#include "app/frame/placement.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "platform/lib/error_manager.h"
#include "platform/ui/control.h"

namespace app {

namespace {

// The control types that FocusHighlight colours, in the order it compares
// them.
constexpr int HighlightedTypes[] = {
    platform::ctltype::Entry,     platform::ctltype::Text,     platform::ctltype::Radio,
    platform::ctltype::Check,     platform::ctltype::DropCombo, platform::ctltype::DropList,
    platform::ctltype::Combo,     platform::ctltype::Spin,
};

std::string withoutTrailingBlanks(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

ProcedureWindow::ProcedureWindow(platform::Window& window, std::string procedureName, std::int32_t firstField)
    : WindowController(window), name_(withoutTrailingBlanks(std::move(procedureName))), firstField_(firstField) {}

int ProcedureWindow::OpenFiles(platform::RelatedFiles& relation) {
  opened_.push_back(&relation);
  FILESOPENED = 1;
  return relation.Open();
}

int ProcedureWindow::Setup() {
  ThreadErrors().pushProcedure(name_);
  REQUEST = ThreadRequest();
  ThreadRequest() = 0;
  ThreadResponse() = 0;
  if (int level = WindowController::Setup(); level != platform::LevelContinue) return level;
  FIRSTFIELD = firstField_;
  VCRREQUEST = &ThreadVcrRequest();
  ERRORS = &ThreadErrors();
  AttachToolbar(toolbarObject_);
  if (int level = SetupMembers(); level != platform::LevelContinue) return level;
  window().open();
  OPENED = 1;
  SetupOpenWindow();
  if (resizer_) {
    resizer_->Setup(window());
    AddComponent(*resizer_);
  }
  RestorePlacement(window(), SettingsManager(), name_);
  if (resizer_) resizer_->Fit();
  AttachTargets();
  AddAlertKeys();
  return platform::LevelContinue;
}

int ProcedureWindow::Shutdown() {
  if (int level = WindowController::Shutdown(); level != platform::LevelContinue) return level;
  if (FILESOPENED) {
    for (auto it = opened_.rbegin(); it != opened_.rend(); ++it) (*it)->Close();
    opened_.clear();
  }
  if (OPENED) SavePlacement(window(), SettingsManager(), name_);
  ShutdownMembers();
  ThreadErrors().popProcedure();
  return platform::LevelContinue;
}

int ProcedureWindow::FocusHighlight() {
  if (lastColoured_ != 0) {
    if (platform::Control* left = window().find(lastColoured_)) left->setFill(platform::NoColor);
    lastColoured_ = 0;
  }
  const int control = event().control;
  if (platform::Control* c = window().find(control))
    for (int type : HighlightedTypes)
      if (c->type() == type) {
        lastColoured_ = control;
        c->setFill(FocusFill);
        break;
      }
  return WindowController::OnSelected();
}

int ProcedureWindow::OnSelected() { return FocusHighlight(); }

int ProcedureWindow::OnCloseRequest() {
  if (window().kind() == platform::WindowKind::Frame && !CloseOtherThreads()) return platform::LevelSkip;
  return WindowController::OnCloseRequest();
}

void RunProcedureWindow(ProcedureWindow& window) {
  const int response = window.Execute();
  ThreadResponse() = response != 0 ? static_cast<std::uint8_t>(response) : ResponseCancelled;
}

}  // namespace app
