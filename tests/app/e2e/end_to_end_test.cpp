// The real program, started offscreen in a scratch directory, driven by a
// user preloaded into it (driver/driver.cpp).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/profile.h"
#include "tests/platform/os/temp_dir.h"

namespace {

struct Outcome {
  int exitCode = -1;  // -1: killed after the time limit
  std::string report;
};

class EndToEndTest : public lvtest::ScratchDirTest {
 protected:
  // Starts the program in the scratch directory with the steps, waits for
  // its end (at most 25 seconds) and answers its exit code and the report.
  Outcome run(const std::string& steps) {
    const std::string report = (dir / "report.txt").string();
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      const std::string var = *e;
      if (var.rfind("LD_PRELOAD=", 0) == 0 || var.rfind("ASAN_OPTIONS=", 0) == 0) continue;
      env.push_back(var);
    }
    env.push_back(std::string("LD_PRELOAD=") + LV_E2E_DRIVER);
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("LV_E2E_STEPS=" + steps);
    env.push_back("LV_E2E_REPORT=" + report);
    // The sanitizers' runtime need not come first when the user is preloaded.
    std::string asan = "ASAN_OPTIONS=verify_asan_link_order=0";
    if (const char* a = std::getenv("ASAN_OPTIONS")) asan += std::string(":") + a;
    env.push_back(asan);
    std::vector<char*> envp;
    for (std::string& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
      if (::chdir(dir.c_str()) != 0) ::_exit(120);
      char program[] = LV_LANVIK;
      char* argv[] = {program, nullptr};
      ::execve(program, argv, envp.data());
      ::_exit(121);
    }
    Outcome out;
    if (pid < 0) return out;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(25);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > limit) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        out.report = lvtest::slurp(report);
        return out;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    out.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    out.report = lvtest::slurp(report);
    return out;
  }

  // Every step was done.
  static std::string allDone(const std::string& steps) {
    std::string expected;
    std::size_t from = 0;
    while (from <= steps.size()) {
      const std::size_t end = std::min(steps.find(';', from), steps.size());
      expected += "ok " + steps.substr(from, end - from) + "\n";
      from = end + 1;
    }
    return expected;
  }
};

TEST_F(EndToEndTest, TheGateTheFrameAndANewPasswordAsAUserMeetsThem) {
  // 1. A wrong password ends the program with exit code 9.
  const std::string wrong = "gate:guess;box:Halt";
  Outcome o = run(wrong);
  EXPECT_EQ(o.exitCode, 9) << o.report;
  EXPECT_EQ(o.report, allDone(wrong));

  // 2. The built-in password opens the frame; a new password is set up.
  const std::string setUp =
      "gate:vimbro;frame;subwindow:CASE FILE;toolbar:SET UP NEW PASSWORD ;setup:Tr1al-Pass;closed:Set up new password;"
      "exit";
  o = run(setUp);
  EXPECT_EQ(o.exitCode, 0) << o.report;
  EXPECT_EQ(o.report, allDone(setUp));
  const std::optional<std::string> pwd = platform::findProfileString("LANVik - Password Control", "Pwd", ".\\lanvik.ini");
  ASSERT_TRUE(pwd);
  EXPECT_EQ(pwd->rfind("$argon2id$", 0), 0u) << *pwd;

  // 3. From now on the new password is asked for, and the old one ends it.
  const std::string oldPassword = "gate:vimbro;box:Halt";
  o = run(oldPassword);
  EXPECT_EQ(o.exitCode, 9) << o.report;
  EXPECT_EQ(o.report, allDone(oldPassword));
  const std::string newPassword = "gate:Tr1al-Pass;frame;exit";
  o = run(newPassword);
  EXPECT_EQ(o.exitCode, 0) << o.report;
  EXPECT_EQ(o.report, allDone(newPassword));
}

TEST_F(EndToEndTest, AddingACaseThroughTheRealWindows) {
  // The case list opens by itself; "&CREATE NEW CASE" (14) opens the case
  // form; the case number (1) and the hourly rate (13) are typed; OK (8)
  // adds the case, and the list (11) is positioned on it.
  const std::string road =
      "gate:vimbro;frame;subwindow:CASE FILE;click:CASE FILE/14;subwindow:Record Will Be Added;"
      "type:Record Will Be Added/1/1:26-cr-00042;type:Record Will Be Added/12/United States v. Roe;"
      "type:Record Will Be Added/13/150;click:Record Will Be Added/8;gone:Record Will Be Added;"
      "row:CASE FILE/11/1:26-cr-00042;exit";
  Outcome o = run(road);
  EXPECT_EQ(o.exitCode, 0) << o.report;
  EXPECT_EQ(o.report, allDone(road));
  EXPECT_TRUE(std::filesystem::exists(dir / "CASECLOS.lvd"));
}

}  // namespace
