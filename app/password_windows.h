#pragma once
// The password gate PROCEDURE_PASSWORD1 and the set-up window PASSWORD.
//
// The gate runs on the frame's thread before the frame's window opens. It
// reads the stored password when it opens and checks what was typed when
// its window closes, however it is closed (the "VERIFY PASSWORD" button,
// Enter, the close box): the first 20 characters typed go to G:PASS, and
// unless they are the password (password.h) the message "Incorrect
// Password! This program will be terminated." titled "Halt" is shown and
// the program ends with exit code 9 (platform::ExitWrongPassword). The gate
// returns only when the password matched. A password file that is there but
// cannot be read ends the program before the gate's window opens, with a
// fatal message (PasswordFileErrorTitle) naming the file and the reason,
// then "Halt", and exit code 3 (platform::ExitFatalError).
//
// The set-up window takes the new password twice and stores it; it does
// not ask for the current one. OK and Cancel both close the window. On OK:
//   - entries that differ: both are blanked, "Passwords do not match,
//     please try again!";
//   - both blank: "Password can not be blank... set up a new password or
//     quit!";
//   - longer than the 20 characters the gate keeps: a message, since such
//     a password could never be typed at the gate;
//   - otherwise the password is stored; when the password file cannot be
//     written, a message says that the earlier password still holds.
// Nothing is stored in the first three cases. The new password takes
// effect at the next start of the program.

#include <string>

namespace app {

void PROCEDURE_PASSWORD1();
void PASSWORD();

// Controls of the gate's window "Please enter your password".
namespace gate {
inline constexpr int BOX2 = 1;
inline constexpr int BOX1 = 2;
inline constexpr int IMAGE2 = 3;
inline constexpr int STRING2_2 = 4;
inline constexpr int STRING2_3 = 5;
inline constexpr int G_PASS_PROMPT = 6;
inline constexpr int G_PASS = 7;
inline constexpr int BUTTON2 = 8;
inline constexpr int STRING4 = 9;
inline constexpr int STRING1 = 10;
}  // namespace gate

// Controls of the set-up window "Set up new password".
namespace setup {
inline constexpr int WPASS_PROMPT = 1;
inline constexpr int WPASS = 2;
inline constexpr int WPASS1_PROMPT = 3;
inline constexpr int WPASS1 = 4;
inline constexpr int OK = 5;
inline constexpr int CANCEL = 6;
}  // namespace setup

// The texts of the set-up window's messages that are our own.
inline constexpr const char* PasswordTooLongText =
    "Password can not be longer than 20 characters... set up a shorter password!";
inline constexpr const char* PasswordNotStoredText =
    "The new password could not be saved! Your previous password is still in effect.";

// The gate's fatal message for a password file that cannot be read.
inline constexpr const char* PasswordFileErrorTitle = "Password File Error";
inline std::string PasswordFileUnreadableText(const std::string& path, const std::string& reason) {
  return "The password file " + path + " could not be read.  Error: " + reason + ".";
}

}  // namespace app
