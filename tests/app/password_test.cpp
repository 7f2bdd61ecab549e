#include "app/password_windows.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/frame/globals.h"
#include "app/frame/thread_state.h"
#include "app/password.h"
#include "platform/types/halt.h"
#include "tests/app/app_fixture.h"
#include "tests/platform/db/child_process.h"

namespace apptest {
namespace {

using platform::KeyPress;
using platform::MsgIcon;

constexpr const char* GateCaption = "Please enter your password";
constexpr const char* SetupCaption = "Set up new password";

// --- the gate -----------------------------------------------------------------

enum class Stored { NoFile, OtherEntryOnly, Empty, Hash, NotAHash, Hash20 };
enum class Closed { Button, Enter, CloseBox };

class GateTest : public AppTest {
 protected:
  void prepare(Stored stored) {
    switch (stored) {
      case Stored::NoFile: break;
      case Stored::OtherEntryOnly:
        ASSERT_TRUE(platform::writeProfileString(app::PasswordSection, "Other", "x", app::PasswordFile));
        break;
      case Stored::Empty: writePwd(""); break;
      case Stored::Hash: ASSERT_TRUE(app::StorePassword("Secret-1")); break;
      case Stored::NotAHash: writePwd("vimbro"); break;
      case Stored::Hash20: ASSERT_TRUE(app::StorePassword("ABCDEFGHIJ0123456789")); break;
    }
  }

  // Runs the gate as the program's frame would; true when it returned.
  bool runGate(const std::string& typed, Closed closed) {
    bool returned = false;
    start([&returned] {
      app::PROCEDURE_PASSWORD1();
      returned = true;
    });
    platform::Window& gate = drv->window(GateCaption);
    EXPECT_EQ(drv->openWindows().size(), 1u) << "the gate is the only window";
    if (!typed.empty()) drv->edit(gate, app::gate::G_PASS, typed);
    switch (closed) {
      case Closed::Button: drv->click(gate, app::gate::BUTTON2); break;
      case Closed::Enter: drv->press(gate, KeyPress(platform::Key::Enter)); break;
      case Closed::CloseBox: drv->close(gate); break;
    }
    EXPECT_TRUE(drv->programEnded());
    return returned;
  }
};

TEST_F(GateTest, TheTypedPasswordOpensTheProgramOrEndsItWithExitCode9) {
  struct Case {
    Stored stored;
    const char* typed;
    Closed closed;
    bool passes;
  };
  const Case cases[] = {
      {Stored::NoFile, "vimbro", Closed::Button, true},
      {Stored::NoFile, "Vimbro", Closed::Enter, false},
      {Stored::NoFile, "", Closed::CloseBox, false},
      {Stored::OtherEntryOnly, "vimbro", Closed::CloseBox, true},
      // An empty entry is no password: the built-in one holds.
      {Stored::Empty, "vimbro", Closed::Enter, true},
      {Stored::Empty, "", Closed::Button, false},
      {Stored::Hash, "Secret-1", Closed::Enter, true},
      {Stored::Hash, "Secret-1   ", Closed::Button, true},
      {Stored::Hash, "secret-1", Closed::Button, false},
      {Stored::Hash, "vimbro", Closed::CloseBox, false},
      {Stored::Hash, "", Closed::CloseBox, false},
      // Typed but never accepted: the close box checks what the entry shows.
      {Stored::Hash, "Secret-1", Closed::CloseBox, true},
      // A value that is not a hash of ours opens nothing.
      {Stored::NotAHash, "vimbro", Closed::Button, false},
      // The gate keeps the first 20 characters typed.
      {Stored::Hash20, "ABCDEFGHIJ0123456789XYZ", Closed::Enter, true},
      {Stored::Hash20, "ABCDEFGHIJ012345678", Closed::Enter, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << n++ << ": typed \"" << c.typed << "\"");
    drv.emplace();
    drv->answerWith([](const platform::MessageRequest&) { return platform::BtnOk; });
    std::filesystem::remove("lanvik.ini");
    prepare(c.stored);
    const bool returned = runGate(c.typed, c.closed);
    EXPECT_EQ(returned, c.passes);
    if (c.passes) {
      EXPECT_EQ(drv->exitCode(), 0);
      EXPECT_TRUE(drv->messages().empty());
    } else {
      EXPECT_EQ(drv->exitCode(), platform::ExitWrongPassword);
      ASSERT_EQ(drv->messages().size(), 1u);
      const platform::MessageRequest& m = drv->messages()[0];
      EXPECT_EQ(m.title, "Halt");
      EXPECT_EQ(m.text, "Incorrect Password! This program will be terminated.");
      EXPECT_EQ(m.icon, MsgIcon::Stop);
      EXPECT_EQ(m.buttons, platform::BtnOk);
    }
    // G:PASS holds what was typed (at most 20 characters), never the hash.
    std::string kept = std::string(c.typed).substr(0, 20);
    kept.erase(kept.find_last_not_of(' ') + 1);
    EXPECT_EQ(app::G_PASS().text(), kept);
    // The placement was saved before the check, on both ways out.
    EXPECT_TRUE(entry("PROCEDURE_PASSWORD1", "Maximize"));
  }
}

TEST_F(GateTest, APasswordFileThatCannotBeReadEndsTheProgramBeforeTheGateOpens) {
  struct Case {
    const char* what;
    std::function<void()> make;
    const char* reason;
  };
  const Case cases[] = {
      {"a file without read permission",
       [] {
         ASSERT_TRUE(app::StorePassword("Secret-1"));
         ::chmod("lanvik.ini", 0);
       },
       "Permission denied"},
      {"a directory", [] { std::filesystem::create_directory("lanvik.ini"); }, "Is a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    drv.emplace();
    drv->answerWith([](const platform::MessageRequest&) { return platform::BtnOk; });
    std::filesystem::remove_all("lanvik.ini");
    dbtest::runUnprivileged(dir.string(), [&] {
      c.make();
      const std::string path = (dir / "lanvik.ini").string();
      bool returned = false;
      start([&returned] {
        app::PROCEDURE_PASSWORD1();
        returned = true;
      });
      EXPECT_FALSE(returned);
      EXPECT_TRUE(drv->programEnded());
      EXPECT_EQ(drv->exitCode(), platform::ExitFatalError);
      EXPECT_EQ(drv->findWindow(GateCaption), nullptr) << "nothing opens";
      ASSERT_EQ(drv->messages().size(), 2u);
      const platform::MessageRequest& fatal = drv->messages()[0];
      EXPECT_EQ(fatal.title, app::PasswordFileErrorTitle);
      EXPECT_EQ(fatal.text, "The password file " + path + " could not be read.  Error: " + c.reason +
                                ".  Press OK to end this application");
      EXPECT_EQ(fatal.icon, MsgIcon::Stop);
      EXPECT_EQ(drv->messages()[1].title, "Halt");
      EXPECT_EQ(drv->messages()[1].text, app::PasswordFileErrorTitle);
    });
  }
}

// --- the set-up window ----------------------------------------------------------

enum class Button { Ok, Cancel };

class SetupTest : public AppTest {
 protected:
  // Runs the set-up window, types both entries and presses a button;
  // answers ThreadResponse as the window left it.
  int runSetup(const std::string& first, const std::string& second, Button button) {
    int response = -1;
    start([&response] {
      app::PASSWORD();
      response = app::ThreadResponse();
    });
    platform::Window& w = drv->window(SetupCaption);
    drv->type(w, app::setup::WPASS, first);
    drv->type(w, app::setup::WPASS1, second);
    drv->click(w, button == Button::Ok ? app::setup::OK : app::setup::CANCEL);
    EXPECT_EQ(drv->findWindow(SetupCaption), nullptr) << "the window closes in every case";
    return response;
  }
};

TEST_F(SetupTest, ANewPasswordIsStoredAsAHashOrRefusedWithAMessage) {
  const std::string twenty = "ABCDEFGHIJ0123456789";
  const std::string mismatch = "Passwords do not match, please try again!";
  const std::string blank = "Password can not be blank... set up a new password or quit!";
  struct Case {
    std::string first, second;
    Button button;
    std::string message;  // empty: none
    std::string title;
    std::optional<std::string> stored;  // the password the file holds afterwards
  };
  const Case cases[] = {
      {"NewPass1", "NewPass1", Button::Ok, "", "", "NewPass1"},
      {"NewPass1", "NewPass1  ", Button::Ok, "", "", "NewPass1"},
      {"NewPass1", "newpass1", Button::Ok, mismatch, "ERROR", std::nullopt},
      {"NewPass1", "", Button::Ok, mismatch, "ERROR", std::nullopt},
      {"", "", Button::Ok, blank, "Invalid password procedure", std::nullopt},
      {"   ", "", Button::Ok, blank, "Invalid password procedure", std::nullopt},
      {twenty, twenty, Button::Ok, "", "", twenty},
      // Longer than the gate keeps: it could never be typed there.
      {twenty + "X", twenty + "X", Button::Ok, app::PasswordTooLongText, "Invalid password procedure", std::nullopt},
      {"NewPass1", "NewPass1", Button::Cancel, "", "", std::nullopt},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << n++ << ": \"" << c.first << "\" / \"" << c.second << "\"");
    drv.emplace();
    drv->answerWith([](const platform::MessageRequest&) { return platform::BtnOk; });
    std::filesystem::remove("lanvik.ini");
    EXPECT_EQ(runSetup(c.first, c.second, c.button), app::ResponseCancelled);
    if (c.message.empty()) {
      EXPECT_TRUE(drv->messages().empty());
    } else {
      ASSERT_EQ(drv->messages().size(), 1u);
      EXPECT_EQ(drv->messages()[0].text, c.message);
      EXPECT_EQ(drv->messages()[0].title, c.title);
    }
    const std::optional<std::string> pwd = storedPwd();
    if (!c.stored) {
      EXPECT_FALSE(pwd) << "nothing is stored";
      continue;
    }
    ASSERT_TRUE(pwd);
    EXPECT_EQ(pwd->rfind("$argon2id$", 0), 0u) << *pwd;
    EXPECT_TRUE(app::PasswordMatches(*c.stored, pwd));
    EXPECT_FALSE(app::PasswordMatches(*c.stored + "x", pwd));
  }
}

TEST_F(SetupTest, ANewPasswordReplacesTheOldOneAndTheGateAsksForIt) {
  ASSERT_TRUE(app::StorePassword("OldPass1"));
  runSetup("NewPass1", "NewPass1", Button::Ok);
  EXPECT_FALSE(app::PasswordMatches("OldPass1", storedPwd()));
  EXPECT_TRUE(app::PasswordMatches("NewPass1", storedPwd()));
  EXPECT_FALSE(app::PasswordMatches("vimbro", storedPwd()));
}

TEST_F(SetupTest, APasswordFileThatCannotBeWrittenIsReportedAndTheOldPasswordStays) {
  ASSERT_TRUE(app::StorePassword("OldPass1"));
  const std::optional<std::string> before = storedPwd();
  // The file's lock cannot be taken: no write can succeed.
  std::filesystem::remove("lanvik.ini.lock");
  std::filesystem::create_directory("lanvik.ini.lock");
  runSetup("NewPass1", "NewPass1", Button::Ok);
  ASSERT_EQ(drv->messages().size(), 1u);
  EXPECT_EQ(drv->messages()[0].text, app::PasswordNotStoredText);
  EXPECT_EQ(storedPwd(), before);
}

}  // namespace
}  // namespace apptest
