#pragma once
// The class library's window class: one WindowController runs one window
// (platform::Window) of a window procedure.
//
//   Window w(spec);               // the procedure builds its window structure
//   MyWindow thisWindow(w);       // a class derived from WindowController
//   int response = thisWindow.Execute();
//
// Execute runs Setup; when it answers 0, EventLoop; then Shutdown, always.
// The event loop hands every event to TakeEvent, which calls the hook for
// control events (OnControlEvent), then the handler of the event's kind,
// and last, for a control event that its handling let go on, the
// after-handling hook (AfterControlEvent).
// Every handler answers a level:
//   LevelContinue (0)  go on with the event's normal handling, its default
//                      action included (a close request then ends the loop);
//   LevelEndLoop  (3)  end the window's event loop;
//   LevelSkip     (5)  stop handling the event, its default action included
//                      (a close request answered with 5 leaves the window
//                      open).
// Operations that can fail answer the same levels (5 a notice was shown, 3
// fatal, 4 cancelled). A derived class overrides a handler and calls the
// base's handler where the class library's own handling belongs, usually
// first.
//
// The class library's own handling of an event is to give it to the
// window's components (lists, a form's history, the resizer, the toolbar),
// in the order they were added, until one answers a level other than 0; an
// accepted close button then sets RESPONSE and asks the window to close.
//
// A window's components and the record files whose states it saves belong
// to the procedure; the controller only refers to them.

#include <cstdint>
#include <vector>

#include "platform/ui/event.h"
#include "platform/ui/window.h"

namespace platform {

class ErrorManager;
class Toolbar;
class WindowController;

// Handler levels (see above).
constexpr int LevelContinue = 0;
constexpr int LevelEndLoop = 3;
constexpr int LevelSkip = 5;

// The event loop's reading of a level: 0 goes on, 3 (and 2, fatal) ends the
// loop, every other level skips the rest of the event.
EventLevel eventLevel(int level);

// A part of a window with a life of its own inside the window's: a list, the
// history of a form, the resizer, the toolbar. Every operation has a default
// that does nothing.
class WindowComponent {
 public:
  WindowComponent() = default;
  WindowComponent(const WindowComponent&) = delete;
  WindowComponent& operator=(const WindowComponent&) = delete;
  virtual ~WindowComponent();

  // The window the component was added to; nullptr before.
  WindowController* owner() const { return owner_; }

  // Runs when the window's class library set-up runs, or when the
  // component is added after it. A level other than 0 fails the set-up.
  virtual int SetupComponent() { return 0; }
  // Every event, before the window's own handling (see above); 0 lets the
  // event go on.
  virtual int TakeEvent(const Event& event);
  // Registers the keys the component reacts to as alert keys of the window.
  virtual void AddAlertKeys(Window& window);
  // The window is refreshed (forced or not).
  virtual void RefreshComponent(bool force);
  // Before a button's action: reloads what the component shows as selected.
  virtual void LoadSelection() {}
  // The window's class library shut-down; the component is dropped from the
  // window afterwards.
  virtual void ShutdownComponent() {}

 private:
  friend class WindowController;
  WindowController* owner_ = nullptr;
};

// A record file whose buffer and position a window can save and later
// restore or drop (the data layer's access object of a file).
class FileStateKeeper {
 public:
  virtual ~FileStateKeeper() = default;
  // Saves the file's record buffer and position; answers a handle.
  virtual std::uint32_t SaveState() = 0;
  virtual void RestoreState(std::uint32_t handle) = 0;
  // Drops a saved state without restoring it.
  virtual void ReleaseState(std::uint32_t handle) = 0;
};

// A relation object as a window procedure opens it (the record file with
// its related files) and closes it at its shut-down. Both answer a level.
class RelatedFiles {
 public:
  virtual ~RelatedFiles() = default;
  virtual int Open() = 0;
  virtual int Close() = 0;
};

class WindowController {
 public:
  explicit WindowController(Window& window);
  WindowController(const WindowController&) = delete;
  WindowController& operator=(const WindowController&) = delete;
  virtual ~WindowController();

  Window& window() const { return window_; }

  // --- what the window works for ---
  std::uint8_t REQUEST = 0;           // the request the window was called with
  std::uint8_t RESPONSE = 0;          // the window's result; 0 until something sets it
  ErrorManager* ERRORS = nullptr;     // the error manager the window reports through
  std::int32_t* VCRREQUEST = nullptr; // scrolling request shared with the procedures it calls
  std::int32_t FIRSTFIELD = 0;        // the control that receives the focus first
  std::uint8_t FILESOPENED = 0;       // the procedure opened its record files
  std::uint8_t OPENED = 0;            // the window structure has been opened

  // --- running the window ---
  // Setup; EventLoop when it answered 0; Shutdown. Answers RESPONSE.
  virtual int Execute();
  // The class library's own set-up: sets up the components added so far.
  // Answers 0, or the first other level a component answered (the window
  // then must not run its event loop), or LevelSkip when the window was set
  // up before.
  virtual int Setup();
  // Accepts events until the loop ends or the window closes.
  virtual void EventLoop();
  // The class library's own shut-down: shuts the components down (the
  // resizer and the toolbar among them) and drops them, and releases the
  // saved file states without restoring them. Answers LevelSkip when it had
  // run before, otherwise 0.
  virtual int Shutdown();

  // --- handling the current event ---
  // OnControlEvent for an event of a control; unless that answered a level
  // other than 0, the handler of the event's kind; unless that answered a
  // level other than 0, AfterControlEvent for an event of a control.
  virtual int TakeEvent();
  // Before any event of a control (event().control != 0).
  virtual int OnControlEvent() { return LevelContinue; }
  // After an event of a control whose own handling (OnControlEvent and the
  // handler of its kind) answered 0, before its default action; what it
  // answers is the event's level. Events that a handler skipped or that
  // ended the loop, and events of the window itself, never reach it.
  virtual int AfterControlEvent() { return LevelContinue; }
  virtual int OnAccepted();
  virtual int OnSelected();  // a control received the focus
  virtual int OnNewSelection();
  virtual int OnCloseRequest();
  virtual int OnTimer();
  virtual int OnSized();
  virtual int OnAlertKey();
  // Every other kind: the window opened, keys, double-clicks and scrolling
  // of lists, the pointer over regions.
  virtual int OnOtherEvent();
  const Event& event() const { return window_.event(); }

  // --- operations procedures call or override ---
  // Calls procedure `number` of the window with a request (lists call their
  // form, forms their picker) and answers its response. The class library
  // has no procedures of its own to call: answers 0.
  virtual int CallProcedure(int number, std::uint8_t request);
  // Refreshes the window's components.
  virtual void Refresh(bool force = false);
  // Lets the components reload their selected records.
  virtual void LoadSelection();

  // --- components ---
  void AddComponent(WindowComponent& component);
  void RemoveComponent(WindowComponent& component);
  const std::vector<WindowComponent*>& components() const { return components_; }
  // Adds the window's toolbar object as a component and keeps it as the
  // toolbar that lists and forms attach to.
  void AttachToolbar(Toolbar& toolbar);
  Toolbar* toolbar() const { return toolbar_; }
  // Registers the alert keys of every component.
  void AddAlertKeys();
  // Gives the current event to the components in order; the first level
  // other than 0.
  int TakeComponentEvents();

  // --- buttons that close the window with a response ---
  // Accepting `control` sets RESPONSE to `response` and posts a close
  // request to the window, which its close handler may still refuse.
  void AddCloseButton(int control, std::uint8_t response);

  // --- record files whose states the window keeps ---
  void AddFileState(FileStateKeeper& file);
  // Saves the state of every registered file (forms do so when they prepare
  // their request); a state saved before is released first.
  void SaveFileStates();
  // Puts every saved state back and keeps it saved.
  void RestoreFileStates();

  // Whether the window is in this controller's event loop (used when other
  // threads' windows are asked to close, see thread_closing.h).
  static WindowController* inEventLoop(const Window& window);

 private:
  void releaseFileStates();

  Window& window_;
  bool setUp_ = false;
  bool shutDown_ = false;
  std::vector<WindowComponent*> components_;
  Toolbar* toolbar_ = nullptr;
  struct CloseButton {
    int control;
    std::uint8_t response;
  };
  std::vector<CloseButton> closeButtons_;
  struct FileState {
    FileStateKeeper* file;
    bool saved;
    std::uint32_t handle;
  };
  std::vector<FileState> files_;
};

}  // namespace platform
