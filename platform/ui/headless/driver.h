#pragma once
// The headless driver: runs the logical threads and their windows without a
// screen and acts as the user would, for tests.
//
//   HeadlessDriver drv;
//   drv.start(BrowseCases, 50000);         // START, then run until idle
//   Window& list = drv.window("CASE FILE");
//   drv.type(list, CaseNameEntry, "Doe");  // focus, type, Tab away
//   drv.answer(BtnYes);                    // for the next message box
//   drv.click(list, DeleteButton);
//   EXPECT_EQ(drv.text(list, SelectedName), "...");
//
// Every action feeds its input through the same entry points as the
// desktop (platform/ui/input.h) and then settles: it runs the threads until
// all wait, answering the message boxes that appear from the script. A box
// that appears with no answer scripted, input the user could not give (a
// disabled or hidden control, a window under a modal one), a fault of a
// thread and a design violation counted by the scheduler all throw
// DriverError (the thread's own exception for a fault), which fails the
// test with the reason.
//
// Timers run on a virtual clock that only advance() moves.
//
// The driver resets the scheduler when it is made and ends every thread
// when it goes; one driver at a time.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fiber/scheduler.h"
#include "platform/ui/desktop.h"
#include "platform/ui/input.h"
#include "platform/ui/message_port.h"
#include "platform/ui/window.h"

namespace platform {

struct DriverError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// An answer for a message box: close it with its close box instead of a
// button.
constexpr unsigned CloseBox = 0x80000000u;

class HeadlessDriver : private DesktopObserver {
 public:
  HeadlessDriver();
  ~HeadlessDriver() override;
  HeadlessDriver(const HeadlessDriver&) = delete;
  HeadlessDriver& operator=(const HeadlessDriver&) = delete;

  // --- threads ---
  // START, then settle. Returns the thread's number.
  int start(ThreadProcedure procedure, std::size_t stackSize = 0);
  // The program's first thread (Scheduler::startProgram), then settle.
  int startProgram(ThreadProcedure body);
  // Runs the threads until all wait, answering message boxes.
  void settle();
  bool programEnded() const { return scheduler().programEnded(); }
  int exitCode() const { return scheduler().exitCode(); }

  // --- the virtual clock, in hundredths of a second ---
  Scheduler::Centis now() const { return now_; }
  // Moves the clock on, firing every timer that comes due on the way at its
  // own time and settling after each.
  void advance(Scheduler::Centis centis);

  // --- message boxes ---
  // Queues an answer (a MsgButton, or CloseBox) for the next box.
  void answer(unsigned button);
  // Answers boxes when no queued answer is left; returning 0 means no
  // answer. The callback sees the box's title and text.
  void answerWith(std::function<unsigned(const MessageRequest&)> answerer);
  // Every box shown so far, in order.
  const std::vector<MessageRequest>& messages() const { return messages_; }

  // --- finding windows ---
  std::vector<Window*> openWindows() const;
  Window* findWindow(std::string_view caption) const;
  // Throws DriverError when no open window has the caption.
  Window& window(std::string_view caption) const;
  // The window of the thread that takes input; throws DriverError for none.
  Window& active(int thread) const;

  // --- acting as the user; each settles afterwards ---
  void focus(Window& w, int control);
  // Focuses the control, replaces its text and leaves it with Tab.
  void type(Window& w, int control, std::string_view text);
  // Focuses the control and replaces its text, leaving the focus there.
  void edit(Window& w, int control, std::string_view text);
  void press(Window& w, KeyPress key);
  void tab(Window& w, bool backwards = false);
  void click(Window& w, int control);
  void choose(Window& w, int control, int position);
  // Chooses the entry (drop list, combo) or radio (option group) with this
  // text.
  void choose(Window& w, int control, std::string_view text);
  void selectRow(Window& w, int list, int row);
  void doubleClick(Window& w, int list, int row);
  void selectTab(Window& w, int sheet, int position);
  void scroll(Window& w, int list, ScrollAction action, int thumb = 0);
  void pointer(Window& w, int region, input::PointerAction action);
  void close(Window& w);
  void move(Window& w, int x, int y);
  void resize(Window& w, int width, int height);
  void maximize(Window& w);
  void minimize(Window& w);
  void restore(Window& w);

  // --- reading ---
  // Throws DriverError when the window has no such control.
  Control& control(Window& w, int control) const;
  std::string text(Window& w, int control) const { return this->control(w, control).text(); }

  // Standard actions that the desktop would carry out (print set-up, cut,
  // tile ...), in order.
  struct Action {
    std::string window;  // caption
    int control;
    StdAction action;
  };
  const std::vector<Action>& standardActions() const { return actions_; }

 private:
  void standardAction(Window& w, Control& c, StdAction a) override;
  void act(const Window& w, input::Status s, const char* what, int control = 0);
  void checkViolations();

  Scheduler::Centis now_ = 0;
  std::vector<unsigned> answers_;
  std::function<unsigned(const MessageRequest&)> answerer_;
  std::vector<MessageRequest> messages_;
  std::vector<int> answered_;  // boxes already answered
  std::vector<Action> actions_;
  long violations_ = 0;
};

}  // namespace platform
