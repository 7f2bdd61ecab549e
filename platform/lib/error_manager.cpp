#include "platform/lib/error_manager.h"

#include <array>
#include <utility>

#include "platform/types/halt.h"
#include "platform/ui/message_port.h"

namespace platform {
namespace {

constexpr std::string_view FatalSuffix = "  Press OK to end this application";

std::string_view withoutTrailingBlanks(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

unsigned show(std::string title, std::string text, MsgIcon icon, unsigned buttons, unsigned defaultButton) {
  MessageRequest r;
  r.title = std::move(title);
  r.text = std::move(text);
  r.icon = icon;
  r.buttons = buttons;
  r.defaultButton = defaultButton;
  return messagePort().show(r);
}

}  // namespace

void ErrorManager::clearErrors() {
  errorCode_ = 0;
  errorText_.clear();
  fileErrorCode_.clear();
  fileErrorText_.clear();
}

std::string ErrorManager::substitute(std::string_view text) const {
  std::string error = errorText_;
  if (errorCode_ != 0) error += (error.empty() ? "(" : " (") + std::to_string(errorCode_) + ")";

  // Longer names first where one name starts another (%FileErrorCode,
  // %FileError, %File).
  const std::array<std::pair<std::string_view, std::string>, 12> names = {{
      {"%FileErrorCode", fileErrorCode_},
      {"%FileError", fileErrorText_},
      {"%File", file_},
      {"%ErrorCode", std::to_string(errorCode_)},
      {"%ErrorText", errorText_},
      {"%Error", error},
      {"%Key", key_},
      {"%Field", field_},
      {"%Message", message_},
      {"%Procedure", std::string(procedure())},
      {"%Category", category_},
      {"%Previous", previous_},
  }};

  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '%') {
      bool replaced = false;
      for (const auto& [name, value] : names) {
        if (text.substr(i).starts_with(name)) {
          out += value;
          i += name.size();
          replaced = true;
          break;
        }
      }
      if (replaced) continue;
    }
    out += text[i++];
  }
  return out;
}

std::string ErrorManager::textOf(Msg id) const { return substitute(messageDef(id).text); }

int ErrorManager::raise(Msg id) {
  const MessageDef& def = messageDef(id);
  std::string text = substitute(def.text);
  previous_ = text;
  return answer(def, text);
}

int ErrorManager::raise(Msg id, std::string_view message) {
  message_ = message;
  return raise(id);
}

int ErrorManager::raiseSilently(Msg id) {
  const MessageDef& def = messageDef(id);
  previous_ = substitute(def.text);
  return def.level == LevelQuestion ? LevelCancelled : def.level;
}

int ErrorManager::raiseSilently(Msg id, std::string_view message) {
  message_ = message;
  return raiseSilently(id);
}

int ErrorManager::answer(const MessageDef& def, const std::string& text) {
  std::string title(def.title);
  switch (def.level) {
    case LevelBenign:
      return LevelBenign;
    case LevelQuestion: {
      unsigned button = show(title, text, MsgIcon::Exclamation, def.questionButtons, BtnYes);
      if (button == BtnYes) return LevelBenign;
      if (button == BtnCancel && (def.questionButtons & BtnCancel)) return LevelNotify;
      return LevelCancelled;
    }
    case LevelProgram:
    case LevelFatal:
      show(title, text + std::string(FatalSuffix), MsgIcon::Stop, BtnOk, BtnOk);
      show("Halt", title, MsgIcon::Stop, BtnOk, BtnOk);
      haltProgram(ExitFatalError);
    default:
      show(title, text, MsgIcon::Information, BtnOk, BtnOk);
      return LevelNotify;
  }
}

void ErrorManager::pushProcedure(std::string_view name) { procedures_.emplace_back(withoutTrailingBlanks(name)); }

void ErrorManager::popProcedure() {
  if (!procedures_.empty()) procedures_.pop_back();
}

std::string_view ErrorManager::procedure() const {
  return procedures_.empty() ? std::string_view() : std::string_view(procedures_.back());
}

}  // namespace platform
