#include "platform/lib/error_manager.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "platform/types/halt.h"
#include "platform/ui/message_port.h"

namespace {

using namespace platform;

// Answers boxes from a script (then with their default button) and keeps
// every box it was shown.
class ScriptedPort final : public MessagePort {
 public:
  ScriptedPort() { setMessagePort(this); }
  ~ScriptedPort() override { setMessagePort(nullptr); }
  unsigned show(const MessageRequest& r) override {
    shown.push_back(r);
    if (answers.empty()) return r.defaultButton;
    unsigned a = answers.front();
    answers.pop_front();
    return a;
  }
  std::deque<unsigned> answers;
  std::vector<MessageRequest> shown;
};

ErrorManager managerWithContext() {
  ErrorManager m;
  m.setFile("CaseCloseSummary");
  m.setKey("CCS:KeyCaseNumber");
  m.setField("HOU:CaseNumber");
  m.setErrors(5, "Access Denied");
  return m;
}

TEST(ErrorManagerTest, MessageTableTextsLevelsAndTitles) {
  struct Case {
    Msg id;
    int number;
    int level;
    const char* title;
    const char* text;
  };
  const Case cases[] = {
      {Msg::RetrievalError, 1, 5, "Record Retrieval Error",
       "Error: (Access Denied) attempting to access a record from the CaseCloseSummary file.  Returning to previous "
       "window."},
      {Msg::AccessDenied, 2, 5, "Access Denied", "Could not get write access to CaseCloseSummary so trying read-only."},
      {Msg::InsertError, 4, 5, "Record Insert Error",
       "An error was experienced during the creation of a record.|File: CaseCloseSummary|Error: Access Denied."},
      {Msg::ConfirmDelete, 11, 1, "Confirm Delete", "Are you sure you want to delete the highlighted record?"},
      {Msg::CreateError, 12, 3, "File Creation Error", "Error: (Access Denied) creating CaseCloseSummary."},
      {Msg::DeleteError, 13, 5, "Record was not deleted",
       "An error (Access Denied) was experienced when deleting a record from the CaseCloseSummary file."},
      {Msg::DuplicateKey, 15, 5, "Duplicate Key Error",
       "Adding this record creates a duplicate entry for the key: Case Number"},
      {Msg::FieldNotInFile, 16, 5, "Field contents error",
       "The value of HOU:CaseNumber must be found in the Case Number file."},
      {Msg::TransactionError, 24, 5, "Transaction cancelled",
       "Error: (Access Denied) attempting to frame the transaction on CaseCloseSummary."},
      {Msg::OpenError, 26, 3, "File Access Error", "File CaseCloseSummary could not be opened.  Error: Access Denied."},
      {Msg::UpdateError, 28, 5, "Record was not updated",
       "An error (Access Denied) was experienced when making changes to the CaseCloseSummary file."},
      {Msg::KeyBuildError, 29, 3, "Key was not built", "Error: (Access Denied) repairing key for CaseCloseSummary."},
      {Msg::InvalidKey, 30, 5, "Invalid Key", "CaseCloseSummary key file is invalid. Key must be rebuilt."},
      {Msg::RecordHeld, 31, 5, "Record not read",
       "A record held by another station was encountered reading from the CaseCloseSummary file."},
      {Msg::RestrictDelete, 33, 5, "Referential Integrity Delete Error",
       "This record is referenced from the file CaseCloseSummary. This record cannot be deleted while these "
       "references exist."},
      {Msg::RestrictUpdate, 34, 5, "Referential Integrity Update Error",
       "This record is referenced from the file CaseCloseSummary. Linking field(s) have been restricted from change "
       "and have been reset to original values."},
      {Msg::AutoNumberError, 35, 1, "Auto Increment Error",
       "Attempts to automatically number this record have failed.|File: CaseCloseSummary|Key: CCS:KeyCaseNumber|"
       "Error: Access Denied.|Try Again?"},
      {Msg::RetryDelete, 36, 1, "Record Delete Error",
       "An error was experienced deleting this record. Do you want to try to delete it again?"},
      {Msg::RetryUpdate, 37, 1, "Record Update Error",
       "An error was experienced changing this record. Do you want to try to save again?"},
      {Msg::ConfirmCancel, 38, 1, "Changes will be lost!", "Are you sure you want to cancel?"},
      {Msg::NoRecords, 39, 5, "No Records", "There are no records available to process."},
      {Msg::FileNotOpen, 42, 2, "File Usage Error", "Attempt to use file (CaseCloseSummary) before it was opened"},
  };
  ErrorManager m = managerWithContext();
  m.setMessage("Case Number");
  ASSERT_EQ(messageTable().size(), std::size(cases));
  for (const auto& c : cases) {
    const MessageDef* def = findMessage(c.number);
    ASSERT_NE(def, nullptr) << c.number;
    EXPECT_EQ(def->id, c.id);
    EXPECT_EQ(def->level, c.level) << c.number;
    EXPECT_EQ(def->title, c.title) << c.number;
    EXPECT_EQ(m.textOf(c.id), c.text) << c.number;
  }
  EXPECT_EQ(findMessage(3), nullptr);
}

TEST(ErrorManagerTest, PlaceholdersAreReplacedInOnePassLongestNameFirst) {
  ErrorManager m;
  m.setFile("HOURLY %Key");  // text a value brings along is not replaced again
  m.setKey("K");
  m.setErrors(35, "Locked");
  m.setFileError("11", "Resource temporarily unavailable");
  m.setCategory("Files");
  m.pushProcedure("BrowseHOURLY");
  EXPECT_EQ(m.substitute("%File|%FileError|%FileErrorCode|%ErrorCode|%ErrorText|%Error|%Category|%Procedure"),
            "HOURLY %Key|Resource temporarily unavailable|11|35|Locked|Locked (35)|Files|BrowseHOURLY");
  EXPECT_EQ(m.substitute("100% done, %Unknown, %"), "100% done, %Unknown, %");

  m.raiseSilently(Msg::NoRecords);
  EXPECT_EQ(m.substitute("after: %Previous"), "after: There are no records available to process.");

  m.clearErrors();
  EXPECT_EQ(m.substitute("[%Error][%ErrorCode][%FileError]"), "[][0][]");
}

TEST(ErrorManagerTest, NoticesAndQuestionsAnswerLevels) {
  struct Case {
    Msg id;
    unsigned answer;
    int level;
    MsgIcon icon;
    unsigned buttons;
  };
  const Case cases[] = {
      {Msg::DuplicateKey, BtnOk, LevelNotify, MsgIcon::Information, BtnOk},
      {Msg::ConfirmDelete, BtnYes, LevelBenign, MsgIcon::Exclamation, BtnYes | BtnNo},
      {Msg::ConfirmDelete, BtnNo, LevelCancelled, MsgIcon::Exclamation, BtnYes | BtnNo},
      {Msg::RetryUpdate, BtnYes, LevelBenign, MsgIcon::Exclamation, BtnYes | BtnNo | BtnCancel},
      {Msg::RetryUpdate, BtnNo, LevelCancelled, MsgIcon::Exclamation, BtnYes | BtnNo | BtnCancel},
      {Msg::RetryUpdate, BtnCancel, LevelNotify, MsgIcon::Exclamation, BtnYes | BtnNo | BtnCancel},
  };
  for (const auto& c : cases) {
    ScriptedPort port;
    port.answers = {c.answer};
    ErrorManager m;
    EXPECT_EQ(m.raise(c.id, "Case Number"), c.level) << static_cast<int>(c.id) << "/" << c.answer;
    ASSERT_EQ(port.shown.size(), 1u);
    EXPECT_EQ(port.shown[0].title, messageDef(c.id).title);
    EXPECT_EQ(port.shown[0].text, m.textOf(c.id));
    EXPECT_EQ(port.shown[0].icon, c.icon);
    EXPECT_EQ(port.shown[0].buttons, c.buttons);
  }
}

TEST(ErrorManagerTest, FatalMessageShowsBothBoxesThenEndsWithTheFatalExitCode) {
  ScriptedPort port;
  ErrorManager m;
  m.setFile("TOTALS");
  m.setErrors(2, "File Not Found");
  try {
    m.raise(Msg::OpenError);
    FAIL() << "a fatal message returned";
  } catch (const ProgramHalt& halt) {
    EXPECT_EQ(halt.exitCode, ExitFatalError);
  }
  ASSERT_EQ(port.shown.size(), 2u);
  EXPECT_EQ(port.shown[0].title, "File Access Error");
  EXPECT_EQ(port.shown[0].text,
            "File TOTALS could not be opened.  Error: File Not Found.  Press OK to end this application");
  EXPECT_EQ(port.shown[0].buttons, BtnOk);
  EXPECT_EQ(port.shown[1].title, "Halt");
  EXPECT_EQ(port.shown[1].text, "File Access Error");

  port.shown.clear();
  EXPECT_THROW(m.raise(Msg::FileNotOpen), ProgramHalt);  // level 2 is fatal too
  EXPECT_EQ(port.shown.size(), 2u);
}

TEST(ErrorManagerTest, SilentRaiseShowsNothingAndNeverEndsTheProgram) {
  ScriptedPort port;
  ErrorManager m;
  EXPECT_EQ(m.raiseSilently(Msg::RetrievalError), LevelNotify);
  EXPECT_EQ(m.raiseSilently(Msg::OpenError), LevelFatal);
  EXPECT_EQ(m.raiseSilently(Msg::FileNotOpen), LevelProgram);
  EXPECT_EQ(m.raiseSilently(Msg::ConfirmDelete), LevelCancelled);
  EXPECT_EQ(m.raiseSilently(Msg::FieldNotInFile, "CaseCloseSummary"), LevelNotify);
  EXPECT_EQ(m.message(), "CaseCloseSummary");
  EXPECT_TRUE(port.shown.empty());
}

TEST(ErrorManagerTest, ProcedureNamesFollowTheNestingOfWindows) {
  ErrorManager m;
  EXPECT_EQ(m.substitute("[%Procedure]"), "[]");
  m.pushProcedure("Main   ");
  m.pushProcedure("BrowseCaseCloseSummary");
  m.pushProcedure("UpdateCaseCloseSummary  ");
  EXPECT_EQ(m.procedure(), "UpdateCaseCloseSummary");
  m.popProcedure();
  EXPECT_EQ(m.substitute("[%Procedure]"), "[BrowseCaseCloseSummary]");
  m.popProcedure();
  EXPECT_EQ(m.procedures(), std::vector<std::string>{"Main"});
  m.popProcedure();
  m.popProcedure();  // one pop too many is harmless
  EXPECT_EQ(m.procedure(), "");
  m.pushProcedure("PASSWORD");
  EXPECT_EQ(m.procedure(), "PASSWORD");
}

}  // namespace
