#pragma once
// The program's windows under the headless driver: a scratch current
// directory (the password file) and configuration home (the settings
// file), fixed operating-system answers, a recording link opener, a fixed
// clock and the US date and time formats.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/password.h"
#include "platform/os/os_fakes.h"
#include "platform/os/profile.h"
#include "platform/types/clock.h"
#include "platform/types/picture.h"
#include "tests/app/frame/frame_fixture.h"

namespace apptest {

class AppTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    platform::setClockSource([] {
      platform::LocalDateTime t;
      t.date = {2007, 4, 5};
      t.hour = 14;
      t.minute = 5;
      t.second = 9;
      return t;
    });
    platform::setSystemDateTimeFormat(platform::DateTimeFormat{});
    drv->answerWith([this](const platform::MessageRequest&) { return answer; });
  }
  void TearDown() override {
    platform::setClockSource({});
    ProgramTest::TearDown();
  }

  // The "Pwd" entry of the password file as it stands.
  std::optional<std::string> storedPwd() const {
    return platform::findProfileString(app::PasswordSection, app::PasswordEntry, app::PasswordFile);
  }
  void writePwd(const std::string& value) {
    ASSERT_TRUE(platform::writeProfileString(app::PasswordSection, app::PasswordEntry, value, app::PasswordFile));
  }

  // How message boxes are answered when a test queues nothing else.
  unsigned answer = platform::BtnOk;

  platform::FakeUserName user{std::string("jdoe")};
  platform::FakeOsVersion os{"Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64"};
  platform::RecordingLinkOpener links;
  platform::ScopedOsServices appServices{platform::OsServices{&user, &os, &links, &drag}};
};

}  // namespace apptest
