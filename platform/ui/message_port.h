#pragma once
// Message boxes as the class library's error manager and the window
// procedures see them: a title, a text, an icon and a set of buttons. A box
// is modal to the calling logical thread only. A '|' in the text starts a new
// line when the box is shown.

#include <string>

namespace platform {

enum class MsgIcon { None, Information, Exclamation, Question, Stop };

// Buttons, combined as a bit set in MessageRequest::buttons. In a message
// box window, each button's control number is its bit.
enum MsgButton : unsigned {
  BtnOk = 1,
  BtnYes = 2,
  BtnNo = 4,
  BtnCancel = 8,
};

struct MessageRequest {
  std::string title;
  std::string text;  // UTF-8; '|' is a line break
  MsgIcon icon = MsgIcon::None;
  unsigned buttons = BtnOk;
  unsigned defaultButton = BtnOk;
};

// Where message boxes are shown. The window runtime installs the real port;
// tests install scripted ones.
class MessagePort {
 public:
  virtual ~MessagePort() = default;
  // Shows the box and returns the button that closed it (a single MsgButton
  // bit). A box closed without a button answers Cancel when it has one,
  // otherwise No when it has one, otherwise OK.
  virtual unsigned show(const MessageRequest& request) = 0;
};

// The port in use. Unless one is installed: the window runtime's message
// boxes (platform/ui/window.h), modal to the calling logical thread; called
// outside every logical thread, where nobody could answer, a box answers
// with its default button.
MessagePort& messagePort();
// Installs a port (not owned); nullptr restores the default.
void setMessagePort(MessagePort* port);

// Shorthand for messagePort().show(...).
unsigned message(const std::string& text, const std::string& title, MsgIcon icon = MsgIcon::None,
                 unsigned buttons = BtnOk, unsigned defaultButton = 0);

}  // namespace platform
