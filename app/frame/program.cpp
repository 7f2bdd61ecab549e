#include "app/frame/program.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/frame/globals.h"
#include "app/frame/thread_state.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "platform/lib/thread_closing.h"
#include "platform/os/services.h"
#include "platform/types/halt.h"

namespace app {

namespace {

ThreadDataLayer* installedLayer = nullptr;

struct Program {
  int firstThread = 0;       // 0: no program running
  std::vector<int> threads;  // set up and not ended
};

Program& program() {
  static Program p;
  return p;
}

void unregisterThread(int thread) {
  auto& list = program().threads;
  list.erase(std::remove(list.begin(), list.end(), thread), list.end());
}

// One thread's own state.
struct ThreadState {
  std::optional<platform::ErrorManager> errors;
  std::uint8_t request = 0;
  std::uint8_t response = 0;
  std::int32_t vcrRequest = 0;
  ThreadDataLayer* layer = nullptr;  // the layer that made the thread's files
  bool dictionary = false;
  int registered = 0;  // the thread's number while it is in the program's list

  ThreadState() = default;
  ThreadState(const ThreadState&) = delete;
  ThreadState& operator=(const ThreadState&) = delete;
  // A thread ended by a halt or from outside: the data layer's own
  // fiber-local values are gone by now (they were made later, so they are
  // destroyed first) and have closed what they held.
  // The first thread ended so also ends the process-wide objects (a halted
  // program does not come back to ProgramBody's last steps).
  ~ThreadState() {
    if (!registered) return;
    unregisterThread(registered);
    if (program().firstThread == registered) {
      program().firstThread = 0;
      ProgramGlobalsShutdown();
    }
  }
};

platform::FiberLocal<ThreadState>& threadState() {
  static platform::FiberLocal<ThreadState> state;
  return state;
}

void threadStarts() {
  Program& p = program();
  // A thread outside the program (none runs, or one that ended before its
  // first thread ran).
  if (p.firstThread == 0 || !platform::threadAlive(p.firstThread)) return;
  const int self = platform::currentThread();
  ProgramThreadFiles();
  if (self == p.firstThread) ProgramGlobalsSetup();
  ProgramThreadSetup();
  threadState()->registered = self;
  if (std::find(p.threads.begin(), p.threads.end(), self) == p.threads.end()) p.threads.push_back(self);
}

void threadEnds() {
  const int self = platform::currentThread();
  ThreadState* s = threadState().find(self);
  if (!s || !s->registered) return;
  ProgramThreadShutdown();
  unregisterThread(self);
  s->registered = 0;
  if (self == program().firstThread) {
    ProgramGlobalsShutdown();
    program().firstThread = 0;
  }
}

void installHooks() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  platform::addThreadStartHook(threadStarts);
  platform::addThreadEndHook(threadEnds);
}

std::vector<int> otherThreads() {
  std::vector<int> others = program().threads;
  others.erase(std::remove(others.begin(), others.end(), platform::currentThread()), others.end());
  return others;
}

// Puts full-window dragging back on exactly once: on the normal path, from
// the halt action when the program halts, or when ProgramBody is left by
// any other way (a fault, the thread ended from outside).
class DragRestore {
 public:
  DragRestore() = default;
  DragRestore(const DragRestore&) = delete;
  DragRestore& operator=(const DragRestore&) = delete;
  ~DragRestore() { restore(); }

  void arm() {
    armed_ = true;
    haltAction_ = platform::addHaltAction([this] { restore(); });
  }
  void restore() {
    if (!armed_) return;
    armed_ = false;
    platform::removeHaltAction(haltAction_);
    platform::setFullDragWindows(true, platform::DragSettingSave | platform::DragSettingBroadcast);
  }

 private:
  bool armed_ = false;
  int haltAction_ = 0;
};

}  // namespace

// --- per-thread state ------------------------------------------------------------

platform::ErrorManager& ThreadErrors() {
  ThreadState& s = *threadState();
  if (!s.errors) throw std::logic_error("this thread has no error manager");
  return *s.errors;
}

std::uint8_t& ThreadRequest() { return threadState()->request; }
std::uint8_t& ThreadResponse() { return threadState()->response; }
std::int32_t& ThreadVcrRequest() { return threadState()->vcrRequest; }

std::uint8_t CallWithRequest(const std::function<void()>& procedure, std::uint8_t request) {
  ThreadRequest() = request;
  procedure();
  return ThreadResponse();
}

void SetThreadDataLayer(ThreadDataLayer* layer) { installedLayer = layer; }
ThreadDataLayer* threadDataLayer() { return installedLayer; }

// --- the steps -------------------------------------------------------------------

void ProgramThreadFiles() {
  ThreadState& s = *threadState();
  s.layer = installedLayer;
  if (s.layer) s.layer->MakeThreadFiles();
}

void ProgramThreadSetup() {
  ThreadState& s = *threadState();
  s.errors.emplace();
  s.request = 0;
  s.response = 0;
  s.vcrRequest = 0;
  if (s.layer) {
    s.layer->ConstructDictionary();
    s.dictionary = true;
  }
}

void ProgramThreadShutdown() {
  ThreadState& s = *threadState();
  if (s.dictionary) {
    s.dictionary = false;
    s.layer->DestroyDictionary();
  }
  s.errors.reset();
  if (ThreadDataLayer* layer = std::exchange(s.layer, nullptr)) layer->ReleaseThreadFiles();
}

void ProgramBody(const FrameProcedure& frame) {
  platform::IniMgr& settings = SettingsManager();
  settings.open(SettingsFileName);
  FullDragWasOn = platform::fullDragWindows() ? 1 : 0;
  DragRestore drag;
  if (FullDragWasOn == 1) {
    platform::setFullDragWindows(false, platform::DragSettingSave | platform::DragSettingBroadcast);
    drag.arm();
  }
  frame();
  // Threads whose windows are still open (the frame procedure may have
  // ended without closing them) end first.
  for (std::vector<int> others = otherThreads(); !others.empty(); others = otherThreads())
    platform::joinThreads(others);
  drag.restore();
  settings.shutdown();
}

int StartProgram(FrameProcedure frame) {
  Program& p = program();
  if (p.firstThread != 0 && platform::threadAlive(p.firstThread))
    throw std::logic_error("the program is running already");
  p.threads.clear();
  installHooks();
  int id = platform::scheduler().startProgram([frame = std::move(frame)] { ProgramBody(frame); });
  p.firstThread = id;
  return id;
}

platform::ThreadProcedure ProgramThread(FrameProcedure frame) {
  return [frame = std::move(frame)] {
    Program& p = program();
    if (p.firstThread != 0 && platform::threadAlive(p.firstThread))
      throw std::logic_error("the program is running already");
    p.threads.clear();
    installHooks();
    p.firstThread = platform::currentThread();
    threadStarts();
    ProgramBody(frame);
    threadEnds();
  };
}

int StartThread(platform::ThreadProcedure procedure, std::size_t stackSize) {
  int id = platform::StartThread(std::move(procedure), stackSize);
  Program& p = program();
  if (id != 0 && p.firstThread != 0) p.threads.push_back(id);
  return id;
}

std::vector<int> programThreads() { return program().threads; }

bool CloseOtherThreads() {
  for (std::vector<int> others = otherThreads(); !others.empty(); others = otherThreads())
    if (!platform::CloseThreads(others)) return false;
  return true;
}

}  // namespace app
