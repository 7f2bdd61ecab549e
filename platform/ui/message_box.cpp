// Message boxes as windows of the model: modal to the calling logical
// thread, answered by one of their buttons.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/fiber/thread.h"
#include "platform/ui/message_port.h"
#include "platform/ui/window.h"

namespace platform {

namespace {

const char* buttonText(unsigned b) {
  switch (b) {
    case BtnOk: return "&OK";
    case BtnYes: return "&Yes";
    case BtnNo: return "&No";
    default: return "&Cancel";
  }
}

const char* iconName(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return "information";
    case MsgIcon::Exclamation: return "exclamation";
    case MsgIcon::Question: return "question";
    case MsgIcon::Stop: return "stop";
    case MsgIcon::None: break;
  }
  return "";
}

}  // namespace

unsigned showMessageBox(const MessageRequest& request) {
  MessageRequest r = request;
  if ((r.buttons & (BtnOk | BtnYes | BtnNo | BtnCancel)) == 0) r.buttons = BtnOk;
  const unsigned order[] = {BtnOk, BtnYes, BtnNo, BtnCancel};
  if (!(r.buttons & r.defaultButton) || (r.defaultButton & (r.defaultButton - 1)))
    r.defaultButton = *std::find_if(std::begin(order), std::end(order), [&](unsigned b) { return r.buttons & b; });
  // Outside every logical thread nobody could answer: the default button.
  if (currentThread() == 0) return r.defaultButton;
  const unsigned closedAnswer = (r.buttons & BtnCancel) ? BtnCancel : (r.buttons & BtnNo) ? BtnNo : BtnOk;

  std::string text = r.text;
  std::replace(text.begin(), text.end(), '|', '\n');
  std::vector<std::size_t> runs{0};
  for (char ch : text) {
    if (ch == '\n') runs.push_back(0);
    else ++runs.back();
  }
  const std::size_t longest = *std::max_element(runs.begin(), runs.end());
  const int width = std::clamp(static_cast<int>(longest) * 4 + 50, 140, 400);
  // A line longer than the widest box wraps at word breaks; a word break
  // wastes part of a line, so a wrapped line is counted on 4/5 of the width.
  const std::size_t perLine = std::max<std::size_t>(1, static_cast<std::size_t>(width - 50) / 4 * 4 / 5);
  int lines = 0;
  for (std::size_t n : runs) lines += n <= static_cast<std::size_t>(width - 50) / 4 ? 1 : static_cast<int>((n + perLine - 1) / perLine);
  WindowSpec spec;
  spec.kind = WindowKind::Message;
  spec.caption = r.title;
  spec.centred = true;
  spec.rect = {0, 0, width, lines * 10 + 45};
  spec.message = r;
  Window box(spec);
  if (r.icon != MsgIcon::None) {
    ControlSpec icon;
    icon.number = MessageIconControl;
    icon.kind = ControlKind::Image;
    icon.text = iconName(r.icon);
    icon.rect = {8, 8, 20, 20};
    box.add(icon);
  }
  ControlSpec label;
  label.number = MessageTextControl;
  label.kind = ControlKind::String;
  label.text = text;
  label.rect = {36, 8, spec.rect.width - 44, lines * 10};
  box.add(label);
  int x = 8;
  for (unsigned b : order) {
    if (!(r.buttons & b)) continue;
    ControlSpec button;
    button.number = static_cast<int>(b);
    button.kind = ControlKind::Button;
    button.text = buttonText(b);
    button.defaultButton = b == r.defaultButton;
    button.rect = {x, spec.rect.height - 22, 45, 14};
    x += 50;
    box.add(button);
  }
  box.open();
  box.select(static_cast<int>(r.defaultButton));
  unsigned answer = closedAnswer;
  while (box.accept()) {
    const Event& e = box.event();
    if (e.kind == EventKind::Accepted && e.control > 0 && (r.buttons & static_cast<unsigned>(e.control))) {
      answer = static_cast<unsigned>(e.control);
      break;
    }
  }
  box.close();
  return answer;
}

}  // namespace platform
