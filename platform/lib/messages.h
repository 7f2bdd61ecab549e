#pragma once
// The system's numbered messages: their levels, titles and texts, raised
// through the error manager (platform/lib/error_manager.h).
//
// A text may hold placeholders that the error manager replaces when the
// message is raised: %File, %Key, %Field, %Message, %Procedure, %Category,
// %Previous, %Error, %ErrorCode, %ErrorText, %FileError, %FileErrorCode.
// A '|' in a text starts a new line when the box is shown.

#include <span>
#include <string_view>

namespace platform {

// Levels of messages, which are also the levels that raising them answers
// and that operations which can fail return.
constexpr int LevelBenign = 0;     // nothing shown; go on
constexpr int LevelQuestion = 1;   // a question: Yes answers 0, No answers 4
constexpr int LevelProgram = 2;    // fatal: the program ends
constexpr int LevelFatal = 3;      // fatal: the program ends
constexpr int LevelCancelled = 4;  // the user said no
constexpr int LevelNotify = 5;     // a notice was shown; the operation failed

enum class Msg : int {
  RetrievalError = 1,      // "Record Retrieval Error"
  AccessDenied = 2,        // "Access Denied"
  InsertError = 4,         // "Record Insert Error"
  ConfirmDelete = 11,      // "Confirm Delete"
  CreateError = 12,        // "File Creation Error"
  DeleteError = 13,        // "Record was not deleted"
  DuplicateKey = 15,       // "Duplicate Key Error"
  FieldNotInFile = 16,     // "Field contents error"
  TransactionError = 24,   // "Transaction cancelled"
  OpenError = 26,          // "File Access Error"
  UpdateError = 28,        // "Record was not updated"
  KeyBuildError = 29,      // "Key was not built"
  InvalidKey = 30,         // "Invalid Key"
  RecordHeld = 31,         // "Record not read"
  RestrictDelete = 33,     // "Referential Integrity Delete Error"
  RestrictUpdate = 34,     // "Referential Integrity Update Error"
  AutoNumberError = 35,    // "Auto Increment Error"
  RetryDelete = 36,        // "Record Delete Error"
  RetryUpdate = 37,        // "Record Update Error" (Yes, No and Cancel)
  ConfirmCancel = 38,      // "Changes will be lost!"
  NoRecords = 39,          // "No Records"
  FileNotOpen = 42,        // "File Usage Error"
};

struct MessageDef {
  Msg id;
  int level;
  std::string_view title;
  std::string_view text;
  // The buttons of a question (a MsgButton set): Yes and No, or Yes, No and
  // Cancel. Unused for other levels.
  unsigned questionButtons;
};

// Every message, in number order.
std::span<const MessageDef> messageTable();

// The definition of a message; nullptr for a number that is not in the table.
const MessageDef* findMessage(int number);
const MessageDef& messageDef(Msg id);

}  // namespace platform
