#include "platform/ui/message_port.h"

namespace platform {

unsigned showMessageBox(const MessageRequest& request);  // message_box.cpp

namespace {

class WindowPort final : public MessagePort {
 public:
  unsigned show(const MessageRequest& r) override { return showMessageBox(r); }
};

WindowPort windowPort;
MessagePort* current = nullptr;

}  // namespace

MessagePort& messagePort() { return current ? *current : windowPort; }

void setMessagePort(MessagePort* port) { current = port; }

unsigned message(const std::string& text, const std::string& title, MsgIcon icon, unsigned buttons,
                 unsigned defaultButton) {
  MessageRequest r;
  r.title = title;
  r.text = text;
  r.icon = icon;
  r.buttons = buttons;
  if (defaultButton == 0) {
    for (unsigned b : {BtnOk, BtnYes, BtnNo, BtnCancel})
      if (buttons & b) {
        defaultButton = b;
        break;
      }
  }
  r.defaultButton = defaultButton;
  return messagePort().show(r);
}

}  // namespace platform
