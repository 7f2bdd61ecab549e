#include "platform/lib/window_controller.h"

#include <algorithm>
#include <utility>

#include "platform/lib/thread_closing.h"
#include "platform/lib/toolbar.h"

namespace platform {

EventLevel eventLevel(int level) {
  switch (level) {
    case LevelContinue: return EventLevel::Continue;
    case 2:
    case LevelEndLoop: return EventLevel::End;
    default: return EventLevel::Skip;
  }
}

// --- components ----------------------------------------------------------------

WindowComponent::~WindowComponent() {
  if (owner_) owner_->RemoveComponent(*this);
}

int WindowComponent::TakeEvent(const Event&) { return LevelContinue; }

void WindowComponent::AddAlertKeys(Window&) {}

void WindowComponent::RefreshComponent(bool) {}

// --- the windows in their event loops ------------------------------------------

namespace {

struct Loop {
  const Window* window;
  WindowController* controller;
};

std::vector<Loop>& loops() {
  static std::vector<Loop> list;
  return list;
}

// Registers a window as being in its controller's event loop while it lives.
struct InLoop {
  const Window& window;
  WindowController& controller;
  InLoop(const Window& w, WindowController& c) : window(w), controller(c) { loops().push_back({&w, &c}); }
  ~InLoop() {
    auto& list = loops();
    auto it = std::find_if(list.rbegin(), list.rend(),
                           [this](const Loop& l) { return l.window == &window && l.controller == &controller; });
    if (it != list.rend()) list.erase(std::next(it).base());
  }
  InLoop(const InLoop&) = delete;
  InLoop& operator=(const InLoop&) = delete;
};

}  // namespace

WindowController* WindowController::inEventLoop(const Window& window) {
  for (const Loop& l : loops())
    if (l.window == &window) return l.controller;
  return nullptr;
}

// --- the controller ------------------------------------------------------------

WindowController::WindowController(Window& window) : window_(window) {}

WindowController::~WindowController() {
  for (WindowComponent* c : components_) c->owner_ = nullptr;
}

int WindowController::Execute() {
  if (Setup() == LevelContinue) EventLoop();
  Shutdown();
  return RESPONSE;
}

int WindowController::Setup() {
  if (setUp_) return LevelSkip;
  setUp_ = true;
  // A component's set-up may add further components: go by index.
  for (std::size_t i = 0; i < components_.size(); ++i)
    if (int level = components_[i]->SetupComponent(); level != LevelContinue) return level;
  return LevelContinue;
}

void WindowController::EventLoop() {
  if (!window_.isOpen()) return;
  InLoop registered(window_, *this);
  while (window_.accept()) {
    int level = TakeEvent();
    bool closing = event().kind == EventKind::CloseRequest;
    EventLevel how = eventLevel(level);
    window_.endEvent(how);
    if (closing) detail::closeAnswered(window_, how == EventLevel::Skip);
  }
}

int WindowController::Shutdown() {
  if (shutDown_) return LevelSkip;
  shutDown_ = true;
  // Newest first; a component may remove others while it shuts down.
  std::vector<WindowComponent*> list = components_;
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (std::find(components_.begin(), components_.end(), *it) != components_.end()) (*it)->ShutdownComponent();
  for (WindowComponent* c : components_) c->owner_ = nullptr;
  components_.clear();
  toolbar_ = nullptr;
  closeButtons_.clear();
  releaseFileStates();
  files_.clear();
  return LevelContinue;
}

int WindowController::TakeEvent() {
  const Event e = event();
  if (e.control != 0)
    if (int level = OnControlEvent(); level != LevelContinue) return level;
  int level = LevelContinue;
  switch (e.kind) {
    case EventKind::Accepted: level = OnAccepted(); break;
    case EventKind::Selected: level = OnSelected(); break;
    case EventKind::NewSelection: level = OnNewSelection(); break;
    case EventKind::CloseRequest: level = OnCloseRequest(); break;
    case EventKind::Timer: level = OnTimer(); break;
    case EventKind::Sized: level = OnSized(); break;
    case EventKind::AlertKey: level = OnAlertKey(); break;
    default: level = OnOtherEvent(); break;
  }
  if (level != LevelContinue || e.control == 0) return level;
  return AfterControlEvent();
}

int WindowController::TakeComponentEvents() {
  const Event e = event();  // a component may post or take further events
  std::vector<WindowComponent*> list = components_;
  for (WindowComponent* c : list) {
    if (std::find(components_.begin(), components_.end(), c) == components_.end()) continue;
    if (int level = c->TakeEvent(e); level != LevelContinue) return level;
  }
  return LevelContinue;
}

int WindowController::OnAccepted() {
  if (int level = TakeComponentEvents(); level != LevelContinue) return level;
  int control = event().control;
  for (const CloseButton& b : closeButtons_)
    if (b.control == control && control != 0) {
      RESPONSE = b.response;
      window_.post(EventKind::CloseRequest);
      break;
    }
  return LevelContinue;
}

int WindowController::OnSelected() { return TakeComponentEvents(); }
int WindowController::OnNewSelection() { return TakeComponentEvents(); }
int WindowController::OnCloseRequest() { return TakeComponentEvents(); }
int WindowController::OnTimer() { return TakeComponentEvents(); }
int WindowController::OnSized() { return TakeComponentEvents(); }
int WindowController::OnAlertKey() { return TakeComponentEvents(); }
int WindowController::OnOtherEvent() { return TakeComponentEvents(); }

int WindowController::CallProcedure(int, std::uint8_t) { return 0; }

void WindowController::Refresh(bool force) {
  std::vector<WindowComponent*> list = components_;
  for (WindowComponent* c : list)
    if (std::find(components_.begin(), components_.end(), c) != components_.end()) c->RefreshComponent(force);
}

void WindowController::LoadSelection() {
  std::vector<WindowComponent*> list = components_;
  for (WindowComponent* c : list)
    if (std::find(components_.begin(), components_.end(), c) != components_.end()) c->LoadSelection();
}

void WindowController::AddComponent(WindowComponent& component) {
  if (component.owner_ == this) return;
  if (component.owner_) component.owner_->RemoveComponent(component);
  component.owner_ = this;
  components_.push_back(&component);
  if (setUp_ && !shutDown_) component.SetupComponent();
}

void WindowController::RemoveComponent(WindowComponent& component) {
  components_.erase(std::remove(components_.begin(), components_.end(), &component), components_.end());
  if (component.owner_ == this) component.owner_ = nullptr;
  if (toolbar_ == &component) toolbar_ = nullptr;
}

void WindowController::AttachToolbar(Toolbar& toolbar) {
  AddComponent(toolbar);
  toolbar_ = &toolbar;
}

void WindowController::AddAlertKeys() {
  for (WindowComponent* c : components_) c->AddAlertKeys(window_);
}

void WindowController::AddCloseButton(int control, std::uint8_t response) {
  for (CloseButton& b : closeButtons_)
    if (b.control == control) {
      b.response = response;
      return;
    }
  closeButtons_.push_back({control, response});
}

void WindowController::AddFileState(FileStateKeeper& file) {
  for (const FileState& f : files_)
    if (f.file == &file) return;
  files_.push_back({&file, false, 0});
}

void WindowController::SaveFileStates() {
  for (FileState& f : files_) {
    if (f.saved) f.file->ReleaseState(f.handle);
    f.handle = f.file->SaveState();
    f.saved = true;
  }
}

void WindowController::RestoreFileStates() {
  for (FileState& f : files_)
    if (f.saved) f.file->RestoreState(f.handle);
}

void WindowController::releaseFileStates() {
  for (FileState& f : files_)
    if (f.saved) {
      f.saved = false;
      f.file->ReleaseState(f.handle);
    }
}

}  // namespace platform
