#include "platform/os/services.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/os/os_fakes.h"
#include "tests/platform/os/temp_dir.h"

namespace {

using namespace platform;

TEST(OsVersionTest, FormatsDistributionAndKernel) {
  struct Case {
    const char* osRelease;
    const char* expected;
  };
  const Case cases[] = {
      {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nVERSION_ID=\"12\"\n",
       "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64"},
      {"NAME='Some OS'\nVERSION=\"2 (Two)\"\n", "Some OS 2 (Two), Linux 6.1.0-18-amd64"},
      {"NAME=Plain\nVERSION_ID=7\n", "Plain 7, Linux 6.1.0-18-amd64"},
      {"PRETTY_NAME=\"Quoted \\\"name\\\"\"\n", "Quoted \"name\", Linux 6.1.0-18-amd64"},
      {"", "Linux 6.1.0-18-amd64"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatOsVersion(c.osRelease, "Linux", "6.1.0-18-amd64"), c.expected);
  EXPECT_EQ(formatOsVersion("PRETTY_NAME=X\n", "", ""), "X");
}

TEST(OsServicesTest, ShorthandsUseInstalledServicesAndCutTheirTexts) {
  FakeUserName user(std::string(50, 'u'));
  FakeOsVersion version(std::string(120, 'v'));
  RecordingLinkOpener links;
  RecordingFullDrag drag(true);
  {
    ScopedOsServices scope({&user, &version, &links, &drag});
    EXPECT_EQ(currentUserName(), std::string(40, 'u'));
    EXPECT_EQ(osVersionText(), std::string(110, 'v'));
    EXPECT_TRUE(openLink("mailto:someone@example.com"));
    EXPECT_TRUE(fullDragWindows());
    setFullDragWindows(false, DragSettingSave | DragSettingBroadcast);
    EXPECT_EQ(links.links, std::vector<std::string>{"mailto:someone@example.com"});
    EXPECT_EQ(drag.sets, (std::vector<RecordingFullDrag::SetCall>{{false, 3}}));

    FakeUserName noUser(std::nullopt);
    ScopedOsServices inner({&noUser, nullptr, nullptr, nullptr});
    EXPECT_EQ(currentUserName(), std::nullopt);
    EXPECT_NE(osServices().osVersion, &version);  // a null member is the real service
  }
  EXPECT_NE(osServices().userName, &user);  // the previous set is back
}

TEST(OsServicesTest, ProcessFullDragSettingStartsOnAndKeepsTheLastValue) {
  ProcessFullDragSetting drag;
  EXPECT_TRUE(drag.isOn());
  drag.set(false, DragSettingSave | DragSettingBroadcast);
  EXPECT_FALSE(drag.isOn());
}

class LinkOpenerTest : public lvtest::ScratchDirTest {
 protected:
  // A stand-in for the desktop's opener: waits until the test lets it go,
  // then writes its argument count and each argument on a line of its own.
  std::string makeFakeOpener() {
    const auto script = dir / "fake-opener";
    lvtest::spit(script,
                 "#!/bin/sh\n"
                 "i=0\n"
                 "while [ ! -e \"" + (dir / "go").string() + "\" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\n"
                 "{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"" +
                     (dir / "args.tmp").string() + "\"\n"
                 "mv \"" + (dir / "args.tmp").string() + "\" \"" + (dir / "args").string() + "\"\n");
    ::chmod(script.c_str(), 0755);
    return script.string();
  }

  // Waits (bounded) for the fake opener's output.
  std::string waitForArgs() {
    for (int i = 0; i < 400 && !std::filesystem::exists(dir / "args"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    return lvtest::slurp(dir / "args");
  }
};

TEST_F(LinkOpenerTest, LinkReachesTheProgramAsOneArgumentWithoutAShell) {
  SpawnLinkOpener opener(makeFakeOpener());
  const std::string link = "http://example.com/a b?x=1&y=$(touch pwned);`touch pwned2`|cat>pwned3 'q' \"dq\" *";
  ASSERT_TRUE(opener.openLink(link));  // returns while the program still waits

  EXPECT_FALSE(std::filesystem::exists(dir / "args"));
  lvtest::spit(dir / "go", "");
  EXPECT_EQ(waitForArgs(), "1\n" + link + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "pwned"));
  EXPECT_FALSE(std::filesystem::exists(dir / "pwned2"));
  EXPECT_FALSE(std::filesystem::exists(dir / "pwned3"));

  // The finished program is reaped in the background: no child remains.
  bool reaped = false;
  for (int i = 0; i < 400 && !reaped; ++i) {
    siginfo_t info{};
    reaped = ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0 && errno == ECHILD;
    if (!reaped) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_TRUE(reaped);
}

TEST_F(LinkOpenerTest, MissingProgramIsReported) {
  SpawnLinkOpener opener((dir / "no-such-program").string());
  EXPECT_FALSE(opener.openLink("http://example.com"));
}

}  // namespace
