#pragma once
// Windows: the application frame, MDI children of the frame, windows of
// their own and message boxes.
//
// A window belongs to the logical thread that built it. The procedure that
// owns it builds it from its description (the constructor and add()), opens
// it, runs its event loop on its own thread and closes it:
//
//   Window w(spec);                  // built: nothing shown yet
//   w.add({...});                    // controls, numbered as in the description
//   w.open();
//   while (w.accept()) {             // waits for the next event
//     EventLevel level = handle(w.event());
//     w.endEvent(level);             // 0 go on, 5 skip the default action, 3 end the loop
//   }
//   w.close();
//
// accept() ends the previous event first if endEvent() was not called for
// it (with EventLevel::Continue). Ending an event runs its default action
// (a close request ends the loop, a button with StdAction::Close posts a
// close request, a navigation key moves a list's selection) and then
// redisplays every bound control of the thread's windows whose variable
// changed.
//
// Input (input.h) only queues events; the window's thread takes them in
// accept(). Taking an event can involve the variables first:
//   - leaving an edited entry, pressing Enter in it, or any event that
//     accepts it writes its text back to its variable through its picture.
//     Text that does not read as the picture shows a message box with what
//     is wrong, leaves the variable unchanged and keeps the focus on the
//     entry; the rest of that input (the button that was clicked, the focus
//     move) is dropped;
//   - a check box, radio or drop-list choice writes its variable just before
//     its event is handed over;
//   - a close request of the window, whoever asks, accepts the edited entry
//     first (its accepted event comes before the close request); a text that
//     does not read drops the close request, and the window stays open.
//
// A timer (setTimer) posts timer events on the scheduler's clock (the
// virtual clock in headless tests).
//
// Message boxes (message_port.h) are windows of kind Message made by the
// runtime's port: their buttons are numbered by their MsgButton bit, and
// the calling thread waits in the box until a button or the close box
// answers it.
//
// Modality: of the open windows of one thread, only the one opened last
// takes input; the others are disabled for the user until it closes (a form
// called from a list, a message box). Windows of other threads are not
// affected.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/event.h"
#include "platform/ui/keys.h"
#include "platform/ui/message_port.h"
#include "platform/ui/style.h"

namespace platform {

enum class WindowKind : std::uint8_t {
  Frame,    // the application frame (multiple-document window)
  Child,    // a child window inside the frame
  Own,      // a window of its own
  Message,  // a message box
};

// The controls of a message box: its buttons are numbered by their
// MsgButton bit; the text and the icon have these numbers.
constexpr int MessageTextControl = 21;
constexpr int MessageIconControl = 20;

enum class WindowState : std::uint8_t { Built, Open, Closed };

// What changed about a window (DesktopObserver::windowChanged).
enum class WindowProp : std::uint8_t { Caption, Position, Maximized, Minimized, Enabled, StatusText, MinimumSize, WaitCursor };

struct WindowSpec {
  WindowKind kind = WindowKind::Own;
  std::string caption;
  Rect rect;  // designed position and size
  bool resizable = false;
  bool maximize = false;  // opens maximized
  bool centred = false;   // the desktop centres it as it opens and sets the
                          // position it took, before anything places it
  bool systemMenu = true;
  bool maximizeBox = false;
  bool doubleBorder = false;
  std::string icon;
  Color background = NoColor;
  std::string backgroundPicture;  // tiled when backgroundTiled
  bool backgroundTiled = false;
  Font font;
  std::vector<int> statusZones;  // frame: widths of the status-bar zones, -1 the rest
  std::optional<MessageRequest> message;  // message boxes: what they show
};

class Window {
 public:
  explicit Window(WindowSpec spec);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  int id() const { return id_; }  // unique for the process's life
  int thread() const { return thread_; }
  WindowKind kind() const { return spec_.kind; }
  WindowState state() const { return state_; }
  bool isOpen() const { return state_ == WindowState::Open; }
  const WindowSpec& spec() const { return spec_; }
  // Message boxes: the box's title, text, icon and buttons.
  const MessageRequest* message() const { return spec_.message ? &*spec_.message : nullptr; }

  // --- controls ---
  // Adds a control (also after the window has opened: link areas). Throws
  // std::invalid_argument for number 0, a number in use or a parent that
  // does not exist.
  Control& add(ControlSpec spec);
  // Removes a control and its children; nothing when there is none.
  void remove(int number);
  // Throws std::out_of_range when the window has no such control.
  Control& control(int number) const;
  Control* find(int number) const;
  // In the order they were added (the Tab order).
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  // The first visible, enabled button marked as default, if any.
  Control* defaultButton() const;

  // --- life ---
  // Shows the window; its first events are the open event and the focus
  // event of its first control that can take the focus.
  void open();
  // Hides the window for good: its loop ends, its queue is dropped.
  void close();
  // Open and on top of its thread's other open windows.
  bool takesInput() const;

  // --- events ---
  // Waits in the calling logical thread (which must own the window) for the
  // next event and makes it the current event. Returns false when the
  // window's loop has ended or the window was closed. Throws
  // std::logic_error on another thread's window or a window not opened.
  bool accept();
  const Event& event() const { return current_; }
  // Ends the current event (see above).
  void endEvent(EventLevel level);
  // Posts an event (from any code). An accepted event posted to a control
  // works like a click on a button or menu item: the handlers see it, then
  // its default action runs (a closing button closes the window).
  void post(EventKind kind, int control = 0);
  void post(const Event& event);
  // Moves the focus to a control, as the user would: an edited entry that
  // loses the focus is accepted first; the focus event follows.
  void select(int control);
  // The control that has the focus, 0 for none.
  int focus() const { return focus_; }
  // A timer in hundredths of a second; 0 stops it. A timer event waits in
  // the queue at most once.
  void setTimer(int centiseconds);
  int timer() const { return timerPeriod_; }
  // Keys that reach the window as alert events instead of their usual
  // action.
  void alert(KeyPress key);
  void unalert(KeyPress key);
  bool alerted(KeyPress key) const;
  // Redisplays every bound control (or one) from its variable now, dropping
  // input that has not been accepted.
  void display();
  void display(int control);

  // --- caption, status bar and placement ---
  const std::string& caption() const { return spec_.caption; }
  void setCaption(std::string caption);
  int statusZones() const { return static_cast<int>(statusTexts_.size()); }
  const std::string& statusText(int zone) const;  // zones from 1
  void setStatusText(int zone, std::string text);
  // Position and size while neither maximized nor minimized.
  const Rect& rect() const { return rect_; }
  void setPosition(int x, int y);
  // Kept at least the minimum size.
  void setSize(int width, int height);
  bool resizable() const { return spec_.resizable; }
  bool maximized() const { return maximized_; }
  bool minimized() const { return minimized_; }
  void setMaximized(bool on);
  void setMinimized(bool on);
  void setMinimumSize(int width, int height);
  int minimumWidth() const { return minWidth_; }
  int minimumHeight() const { return minHeight_; }

  // --- the wait cursor ---
  // While the window works without taking input (a long read), the system's
  // wait cursor shows. Calls nest: each on needs its off.
  void setWaitCursor(bool on);
  bool waitCursor() const { return waitCursor_ > 0; }

 private:
  friend class Control;
  friend class Desktop;
  friend struct WindowInput;

  enum class Op : std::uint8_t { Deliver, Focus, Spin };
  struct Queued {
    Op op = Op::Deliver;
    Event event;
    int batch = 0;   // input that belongs together; 0 for posted events
    int apply = -1;  // Deliver: a choice to make on the control when the event is
                     // taken (-1 none); Spin: the step
    bool keyed = false;    // a list's row aimed at by its record: `key`, found
    std::int64_t key = 0;  // again when the event is taken
  };

  void enqueue(Queued q, bool front = false);
  bool take(Queued q);
  void applyChoice(Control& c, int value);
  bool writeBack(Control& c, int batch);
  void dropBatch(int batch);
  void deliver(const Event& e);
  void defaultAction(const Event& e);
  void moveFocus(int control);
  void refreshThread();
  void showVariables(bool force);
  Control* editedTextControl(const Control* except) const;
  void controlChanged(Control& c, Prop p);
  void rowsChanged(Control& c);
  void windowChanged(WindowProp p);
  void stepSpin(Control& c, int delta);

  int id_;
  int thread_;
  WindowSpec spec_;
  WindowState state_ = WindowState::Built;
  long openOrder_ = 0;
  bool takesInput_ = false;  // as last reported

  std::vector<std::unique_ptr<Control>> controls_;
  std::unordered_map<int, Control*> byNumber_;

  Rect rect_;
  bool maximized_ = false;
  bool minimized_ = false;
  int minWidth_ = 0, minHeight_ = 0;
  int waitCursor_ = 0;
  std::vector<std::string> statusTexts_;

  std::deque<Queued> queue_;
  Event current_;
  bool inEvent_ = false;
  bool loopEnded_ = false;
  bool waiting_ = false;
  bool timerQueued_ = false;
  int focus_ = 0;
  int timerPeriod_ = 0;
  int timerId_ = 0;
  std::vector<KeyPress> alerts_;
};

}  // namespace platform
