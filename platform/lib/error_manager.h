#pragma once
// The error manager: raises the numbered messages of platform/lib/messages.h
// as message boxes and answers with a level. One manager serves one logical
// thread; it keeps what that thread's messages refer to: the names of the
// procedures running on the thread and the file, field, key, message text and
// driver error its callers set before raising.
//
// What raising answers, by the message's level:
// - LevelBenign (0): nothing is shown; answers 0.
// - LevelNotify (5): a box with the information icon and OK; answers 5.
// - LevelQuestion (1): a box with the exclamation icon and Yes and No; Yes
//   answers LevelBenign (0, go on), No answers LevelCancelled (4). A question
//   with a Cancel button as well ("Record Update Error") answers Cancel with
//   LevelNotify (5): the operation stays where it was, for example the form
//   stays open.
// - LevelFatal (3) and LevelProgram (2): a box with the stop icon and OK
//   whose text is followed by "  Press OK to end this application", then a
//   box titled "Halt" showing the message's title; then the program ends
//   with ExitFatalError (platform::haltProgram throws ProgramHalt).
//
// Raising silently shows nothing and never ends the program: it answers the
// message's level (a question answers LevelCancelled, the answer that
// changes nothing).
//
// Placeholders in a message's text are replaced in one pass, so text that a
// value brings along is never replaced in turn:
//   %File        the file label           %Key           the key's name
//   %Field       the field's name         %Message       the message text
//   %Procedure   the thread's innermost procedure name
//   %Category    the category text        %Previous      the last text raised
//   %ErrorCode   the driver's error code  %ErrorText     its error text
//   %Error       error text and code together, "text (code)"
//   %FileErrorCode, %FileError   the underlying system error's code and text
// A '%' that starts none of these stays as it is; '|' stays for the box,
// which shows it as a line break.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/lib/messages.h"

namespace platform {

class ErrorManager {
 public:
  // ---- what messages refer to ----
  void setFile(std::string label) { file_ = std::move(label); }
  void setField(std::string name) { field_ = std::move(name); }
  void setKey(std::string name) { key_ = std::move(name); }
  void setMessage(std::string text) { message_ = std::move(text); }
  void setCategory(std::string text) { category_ = std::move(text); }
  // The driver's error of the failed operation.
  void setErrors(int code, std::string text) {
    errorCode_ = code;
    errorText_ = std::move(text);
  }
  // The system error underneath the driver's, when it reports one.
  void setFileError(std::string code, std::string text) {
    fileErrorCode_ = std::move(code);
    fileErrorText_ = std::move(text);
  }
  // Forgets both errors.
  void clearErrors();

  const std::string& file() const { return file_; }
  const std::string& field() const { return field_; }
  const std::string& key() const { return key_; }
  const std::string& message() const { return message_; }
  int errorCode() const { return errorCode_; }
  const std::string& errorText() const { return errorText_; }

  // ---- raising ----
  // Shows the message and answers its level (see above). May end the
  // program (throws ProgramHalt).
  int raise(Msg id);
  // The same after setting the message text.
  int raise(Msg id, std::string_view message);
  // Answers the message's level without showing anything.
  int raiseSilently(Msg id);
  int raiseSilently(Msg id, std::string_view message);

  // The text of a message with its placeholders replaced.
  std::string textOf(Msg id) const;
  // Any text with the placeholders replaced.
  std::string substitute(std::string_view text) const;

  // ---- procedure names ----
  // A window's set-up adds its procedure's name (trailing blanks removed);
  // its shut-down removes the last one. Removing from an empty list does
  // nothing.
  void pushProcedure(std::string_view name);
  void popProcedure();
  // The innermost name; empty when none.
  std::string_view procedure() const;
  const std::vector<std::string>& procedures() const { return procedures_; }

 private:
  int answer(const MessageDef& def, const std::string& text);

  std::string file_, field_, key_, message_, category_;
  int errorCode_ = 0;
  std::string errorText_;
  std::string fileErrorCode_, fileErrorText_;
  std::string previous_;
  std::vector<std::string> procedures_;
};

}  // namespace platform
