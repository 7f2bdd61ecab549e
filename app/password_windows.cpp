#include "app/password_windows.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/describe.h"
#include "app/frame/globals.h"
#include "app/frame/procedure_window.h"
#include "app/frame/thread_state.h"
#include "app/password.h"
#include "platform/types/halt.h"
#include "platform/types/picture.h"
#include "platform/ui/describe.h"
#include "platform/ui/message_port.h"
#include "platform/ui/window.h"

namespace app {

namespace {

using namespace platform::describe;
using platform::ControlKind;
using platform::Window;
using platform::WindowKind;
using platform::WindowSpec;

constexpr platform::Color LightGrey = Grey;
constexpr platform::Color Band = 0x270F71;

// --- the gate -------------------------------------------------------------------

void describeGate(Window& w) {
  using namespace gate;
  w.add(box(BOX2, {0, 0, 230, 26}, Band));
  w.add(box(BOX1, {0, 94, 230, 16}, Black));
  w.add(image(IMAGE2, {196, 3, 20, 20}, ProgramIcon));
  w.add(control(STRING2_2, ControlKind::String, {8, 4, 160, 10}, "LANVik - Pellmark Software")
            .colour(LightGrey)
            .transparent());
  w.add(control(STRING2_3, ControlKind::String, {8, 14, 160, 9}, "VERSION 2007.1").colour(LightGrey).transparent());
  w.add(prompt(G_PASS_PROMPT, {8, 38, 62, 10}, "Enter Password:"));
  w.add(entry(gate::G_PASS, {72, 36, 148, 12}, app::G_PASS(), "s50").password());
  w.add(button(BUTTON2, {120, 54, 100, 16}, "VERIFY PASSWORD").isDefault().action(platform::StdAction::Close));
  w.add(control(STRING4, ControlKind::String, {8, 78, 214, 10}, "Passwords are case-sensitive."));
  w.add(control(STRING1, ControlKind::String, {8, 97, 214, 10}, "DO NOT USE THIS PROGRAM IF YOU ARE NOT AUTHORIZED")
            .colour(White)
            .size(7)
            .transparent());
}

// A password file that is there but cannot be read ends the program, as a
// fatal error does: with no stored password to check, letting the built-in
// one in would open the program to anyone who makes the file unreadable.
[[noreturn]] void haltOnUnreadableFile(const std::string& reason) {
  platform::message(PasswordFileUnreadableText(PasswordFilePath(), reason) + "  Press OK to end this application",
                    PasswordFileErrorTitle, platform::MsgIcon::Stop, platform::BtnOk);
  platform::message(PasswordFileErrorTitle, "Halt", platform::MsgIcon::Stop, platform::BtnOk);
  platform::haltProgram(platform::ExitFatalError);
}

class GateWindow final : public ProcedureWindow {
 public:
  using ProcedureWindow::ProcedureWindow;

 protected:
  int SetupMembers() override {
    StoredPassword stored = ReadStoredPassword();
    if (!stored.unreadable.empty()) haltOnUnreadableFile(stored.unreadable);
    stored_ = std::move(stored.hash);
    return platform::LevelContinue;
  }

  // Runs in the window's shut-down, after its placement was saved.
  void ShutdownMembers() override {
    platform::FieldRef pass = G_PASS();
    const platform::Control* entry = window().find(gate::G_PASS);
    // What the entry shows, accepted or not; text that G:PASS cannot hold
    // (a character outside Latin-1) is no password.
    if (!entry || !platform::accept(pass, entry->text(), platform::Picture::of("s50"))) pass.clear();
    if (PasswordMatches(pass.text(), stored_)) return;
    platform::message("Incorrect Password! This program will be terminated.", "Halt", platform::MsgIcon::Stop,
                      platform::BtnOk);
    platform::haltProgram(platform::ExitWrongPassword);
  }

 private:
  std::optional<std::string> stored_;
};

// --- the set-up window ----------------------------------------------------------

struct Text50 {
  std::array<std::uint8_t, 50> bytes;
  Text50() { bytes.fill(' '); }
  platform::FieldRef ref() { return platform::FieldRef(platform::FieldType::String, bytes.data(), 50); }
};

void describeSetup(Window& w, Text50& wpass, Text50& wpass1) {
  using namespace setup;
  w.add(prompt(WPASS_PROMPT, {8, 10, 100, 10}, "New Password"));
  w.add(entry(WPASS, {110, 8, 92, 12}, wpass.ref(), "s50").password());
  w.add(prompt(WPASS1_PROMPT, {8, 28, 100, 10}, "New Password Confirmation"));
  w.add(entry(WPASS1, {110, 26, 92, 12}, wpass1.ref(), "s50").password());
  w.add(button(OK, {98, 48, 50, 14}, "&OK", "Accept Operation"));
  w.add(button(CANCEL, {152, 48, 50, 14}, "&Cancel", "Cancel Operation"));
}

class SetupWindow final : public ProcedureWindow {
 public:
  SetupWindow(Window& w, platform::FieldRef wpass, platform::FieldRef wpass1)
      : ProcedureWindow(w, "PASSWORD"), wpass_(wpass), wpass1_(wpass1) {}

  int OnAccepted() override {
    // The close buttons first: RESPONSE is set and the close request posted.
    const int level = ProcedureWindow::OnAccepted();
    if (event().control == setup::OK) {
      Accept();
      window().display();
    }
    return level;
  }

 protected:
  int SetupMembers() override {
    AddCloseButton(setup::OK, ResponseCancelled);
    AddCloseButton(setup::CANCEL, ResponseCancelled);
    return platform::LevelContinue;
  }

 private:
  void Accept() {
    using platform::MsgIcon;
    if (!wpass_.sameValue(wpass1_)) {
      wpass_.clear();
      wpass1_.clear();
      platform::message("Passwords do not match, please try again!", "ERROR", MsgIcon::Exclamation);
    } else if (wpass_.isEmpty()) {
      platform::message("Password can not be blank... set up a new password or quit!", "Invalid password procedure",
                        MsgIcon::Exclamation);
    } else if (wpass_.text().size() > PasswordMax) {
      platform::message(PasswordTooLongText, "Invalid password procedure", MsgIcon::Exclamation);
    } else if (!StorePassword(wpass_.text())) {
      platform::message(PasswordNotStoredText, "ERROR", MsgIcon::Exclamation);
    }
  }

  platform::FieldRef wpass_, wpass1_;
};

WindowSpec dialogSpec(std::string caption, platform::Rect rect) {
  WindowSpec s = DescribeOwnWindow(std::move(caption), rect);
  s.doubleBorder = true;
  return s;
}

}  // namespace

void PROCEDURE_PASSWORD1() {
  Window w(dialogSpec("Please enter your password", {0, 0, 230, 110}));
  describeGate(w);
  platform::WindowFitter resizer;
  GateWindow thisWindow(w, "PROCEDURE_PASSWORD1");
  thisWindow.SetResizer(resizer);
  RunProcedureWindow(thisWindow);
}

void PASSWORD() {
  Text50 wpass, wpass1;
  Window w(dialogSpec("Set up new password", {0, 0, 210, 70}));
  describeSetup(w, wpass, wpass1);
  platform::WindowFitter resizer;
  SetupWindow thisWindow(w, wpass.ref(), wpass1.ref());
  thisWindow.SetResizer(resizer);
  RunProcedureWindow(thisWindow);
}

}  // namespace app
