#include "platform/lib/messages.h"

#include <algorithm>

#include "platform/ui/message_port.h"

namespace platform {
namespace {

constexpr unsigned YesNo = BtnYes | BtnNo;
constexpr unsigned YesNoCancel = BtnYes | BtnNo | BtnCancel;

constexpr MessageDef table[] = {
    {Msg::RetrievalError, LevelNotify, "Record Retrieval Error",
     "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to previous window.", 0},
    {Msg::AccessDenied, LevelNotify, "Access Denied", "Could not get write access to %File so trying read-only.", 0},
    {Msg::InsertError, LevelNotify, "Record Insert Error",
     "An error was experienced during the creation of a record.|File: %File|Error: %ErrorText.", 0},
    {Msg::ConfirmDelete, LevelQuestion, "Confirm Delete", "Are you sure you want to delete the highlighted record?",
     YesNo},
    {Msg::CreateError, LevelFatal, "File Creation Error", "Error: (%ErrorText) creating %File.", 0},
    {Msg::DeleteError, LevelNotify, "Record was not deleted",
     "An error (%ErrorText) was experienced when deleting a record from the %File file.", 0},
    {Msg::DuplicateKey, LevelNotify, "Duplicate Key Error",
     "Adding this record creates a duplicate entry for the key: %Message", 0},
    {Msg::FieldNotInFile, LevelNotify, "Field contents error", "The value of %Field must be found in the %Message file.",
     0},
    {Msg::TransactionError, LevelNotify, "Transaction cancelled",
     "Error: (%ErrorText) attempting to frame the transaction on %File.", 0},
    {Msg::OpenError, LevelFatal, "File Access Error", "File %File could not be opened.  Error: %ErrorText.", 0},
    {Msg::UpdateError, LevelNotify, "Record was not updated",
     "An error (%ErrorText) was experienced when making changes to the %File file.", 0},
    {Msg::KeyBuildError, LevelFatal, "Key was not built", "Error: (%ErrorText) repairing key for %File.", 0},
    {Msg::InvalidKey, LevelNotify, "Invalid Key", "%File key file is invalid. Key must be rebuilt.", 0},
    {Msg::RecordHeld, LevelNotify, "Record not read",
     "A record held by another station was encountered reading from the %File file.", 0},
    {Msg::RestrictDelete, LevelNotify, "Referential Integrity Delete Error",
     "This record is referenced from the file %File. This record cannot be deleted while these references exist.", 0},
    {Msg::RestrictUpdate, LevelNotify, "Referential Integrity Update Error",
     "This record is referenced from the file %File. Linking field(s) have been restricted from change and have been "
     "reset to original values.",
     0},
    {Msg::AutoNumberError, LevelQuestion, "Auto Increment Error",
     "Attempts to automatically number this record have failed.|File: %File|Key: %Key|Error: %ErrorText.|Try Again?",
     YesNo},
    {Msg::RetryDelete, LevelQuestion, "Record Delete Error",
     "An error was experienced deleting this record. Do you want to try to delete it again?", YesNo},
    {Msg::RetryUpdate, LevelQuestion, "Record Update Error",
     "An error was experienced changing this record. Do you want to try to save again?", YesNoCancel},
    {Msg::ConfirmCancel, LevelQuestion, "Changes will be lost!", "Are you sure you want to cancel?", YesNo},
    {Msg::NoRecords, LevelNotify, "No Records", "There are no records available to process.", 0},
    {Msg::FileNotOpen, LevelProgram, "File Usage Error", "Attempt to use file (%File) before it was opened", 0},
};

// Stands in for a number outside the table, so a bad number still shows a
// box instead of failing.
constexpr MessageDef unknown = {Msg{0}, LevelNotify, "Error", "An unexpected error occurred.", 0};

}  // namespace

std::span<const MessageDef> messageTable() { return table; }

const MessageDef* findMessage(int number) {
  auto it = std::find_if(std::begin(table), std::end(table),
                         [number](const MessageDef& d) { return static_cast<int>(d.id) == number; });
  return it == std::end(table) ? nullptr : &*it;
}

const MessageDef& messageDef(Msg id) {
  const MessageDef* def = findMessage(static_cast<int>(id));
  return def ? *def : unknown;
}

}  // namespace platform
