#include "platform/os/profile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/platform/os/temp_dir.h"

namespace {

using lvtest::slurp;
using lvtest::spit;
using platform::findProfileString;
using platform::readProfileString;
using platform::removeProfileEntry;
using platform::writeProfileString;

constexpr const char* File = "./test.ini";

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ProfileTest : public lvtest::ScratchDirTest {};

TEST_F(ProfileTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  spit("test.ini", "[Main]\nXPos=10\n");
  for (auto [section, entry] : {std::pair{"Main", "XPos"}, {"MAIN", "xpos"}, {"main", "XPOS"}, {" Main ", "XPos "}})
    EXPECT_EQ(readProfileString(section, entry, "none", File), "10") << section << "/" << entry;

  ASSERT_TRUE(writeProfileString("MAIN", "xPOS", "20", File));
  EXPECT_EQ(slurp("test.ini"), "[Main]\nXPos=20\n");
}

TEST_F(ProfileTest, DefaultOnlyWhenFileSectionOrEntryIsMissing) {
  struct Case {
    const char* name;
    std::optional<std::string> contents;  // nullopt: no file
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"no file", std::nullopt, "vimbro"},
      {"no section", "[Other]\nPwd=x\n", "vimbro"},
      {"no entry", "[LANVik - Password Control]\nPw=x\n", "vimbro"},
      {"empty entry", "[LANVik - Password Control]\nPwd=\n", ""},
      {"blank entry", "[LANVik - Password Control]\nPwd=   \n", ""},
      {"entry of a later section only", "[LANVik - Password Control]\n[Next]\nPwd=x\n", "vimbro"},
      {"present", "; comment\r\n[LANVik - Password Control]\r\n  Pwd  =  secret  \r\n", "secret"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove("test.ini");
    if (c.contents) spit("test.ini", *c.contents);
    EXPECT_EQ(readProfileString("LANVik - Password Control", "Pwd", "vimbro", File), c.expected) << c.name;
  }
  spit("test.ini", "[S]\nE=\n");
  EXPECT_EQ(findProfileString("S", "E", File), std::optional<std::string>(""));
  EXPECT_EQ(findProfileString("S", "F", File), std::nullopt);
}

TEST_F(ProfileTest, NamesAndValuesAreTrimmedAndCut) {
  ASSERT_TRUE(writeProfileString("  S  ", "  E  ", "  a b  ", File));
  EXPECT_EQ(slurp("test.ini"), "[S]\nE=a b\n");

  const std::string longValue(1100, 'v');
  ASSERT_TRUE(writeProfileString("S", "Long", longValue, File));
  EXPECT_EQ(readProfileString("S", "Long", "", File), std::string(1023, 'v'));

  // Cut by characters, not bytes: 1100 two-byte letters keep 1023 of them.
  std::string accented;
  for (int i = 0; i < 1100; ++i) accented += "\xC3\xA9";
  ASSERT_TRUE(writeProfileString("S", "Accented", accented, File));
  EXPECT_EQ(readProfileString("S", "Accented", "", File), accented.substr(0, 2 * 1023));

  // A value whose cut ends in blanks loses them too.
  ASSERT_TRUE(writeProfileString("S", "CutAtBlank", std::string(1022, 'x') + "   y", File));
  EXPECT_EQ(readProfileString("S", "CutAtBlank", "", File), std::string(1022, 'x'));

  const std::string longName(70, 'n');
  ASSERT_TRUE(writeProfileString(longName, longName, "1", File));
  EXPECT_EQ(readProfileString(longName.substr(0, 63), longName.substr(0, 63), "", File), "1");
  EXPECT_EQ(readProfileString(longName + "more", longName, "", File), "1");
  EXPECT_NE(slurp("test.ini").find("[" + std::string(63, 'n') + "]\n"), std::string::npos);

  EXPECT_EQ(readProfileString("S", "Missing", "  dflt  ", File), "dflt");
}

TEST_F(ProfileTest, WriteCreatesReplacesAndRemovesKeepingOtherLines) {
  spit("test.ini", "; kept comment\n[A]\nX=1\nstray line\n\n[B]\nY=2\n");
  ASSERT_TRUE(writeProfileString("A", "Z", "3", File));   // new entry at the end of A's lines
  ASSERT_TRUE(writeProfileString("A", "X", "9", File));   // replaced in place
  ASSERT_TRUE(writeProfileString("C", "W", "4", File));   // new section
  ASSERT_TRUE(removeProfileEntry("B", "Y", File));
  EXPECT_EQ(slurp("test.ini"), "; kept comment\n[A]\nX=9\nstray line\nZ=3\n\n[B]\n\n[C]\nW=4\n");

  // Removing what is not there succeeds and touches nothing.
  const std::string before = slurp("test.ini");
  EXPECT_TRUE(removeProfileEntry("B", "Y", File));
  EXPECT_TRUE(removeProfileEntry("Nowhere", "Y", File));
  EXPECT_EQ(slurp("test.ini"), before);
  EXPECT_TRUE(removeProfileEntry("S", "E", "./absent.ini"));
  EXPECT_FALSE(std::filesystem::exists("absent.ini"));
}

TEST_F(ProfileTest, NamesAndValuesThatWouldBreakTheFileAreRefused) {
  spit("test.ini", "[S]\nE=old\n");
  struct Case {
    std::string section, entry, value;
  };
  const std::vector<Case> cases = {
      {"S", "E", "new\n[Injected]\nX=1"},
      {"S", "E", "carriage\rreturn"},
      {"S", "E", std::string("nul\0byte", 8)},
      {"S]x", "E", "v"},
      {"S", "E=x", "v"},
      {"S", "[E", "v"},
      {"S", ";E", "v"},
      {"S", "   ", "v"},
      {"", "E", "v"},
  };
  for (const auto& c : cases)
    EXPECT_FALSE(writeProfileString(c.section, c.entry, c.value, File)) << c.section << "/" << c.entry;
  EXPECT_EQ(slurp("test.ini"), "[S]\nE=old\n");
}

TEST_F(ProfileTest, FailedWriteIsReported) {
  spit("plain-file", "x");
  EXPECT_FALSE(writeProfileString("S", "E", "v", "./plain-file/test.ini"));
  EXPECT_FALSE(writeProfileString("S", "E", "v", "./no-such-dir/test.ini"));
  std::filesystem::create_directory("a-directory.ini");
  EXPECT_FALSE(writeProfileString("S", "E", "v", "./a-directory.ini"));
}

TEST_F(ProfileTest, FailedWriteLeavesTheOldFileIntact) {
  const std::string old = "[S]\nE=old\n" + std::string(100, ';') + "\n";
  spit("test.ini", old);

  // Let the new file outgrow the process's file-size limit part way through.
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 200;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool stored = writeProfileString("S", "Big", std::string(1000, 'b'), File);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(stored);
  EXPECT_EQ(slurp("test.ini"), old);
  EXPECT_FALSE(std::filesystem::exists("test.ini.tmp"));
}

TEST_F(ProfileTest, WriteThroughASymbolicLinkKeepsTheLink) {
  spit("real.ini", "[S]\nE=1\n");
  std::filesystem::create_symlink("real.ini", "link.ini");
  ASSERT_TRUE(writeProfileString("S", "E", "2", "./link.ini"));
  EXPECT_TRUE(std::filesystem::is_symlink("link.ini"));
  EXPECT_EQ(slurp("real.ini"), "[S]\nE=2\n");
}

TEST_F(ProfileTest, ConcurrentWritersLoseNoEntries) {
  constexpr int Writers = 4;
  constexpr int EntriesEach = 25;
  std::vector<pid_t> children;
  for (int w = 0; w < Writers; ++w) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      bool ok = true;
      for (int i = 0; i < EntriesEach; ++i)
        ok = writeProfileString("Shared", "W" + std::to_string(w) + "_" + std::to_string(i), "v", File) && ok;
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int w = 0; w < Writers; ++w)
    for (int i = 0; i < EntriesEach; ++i)
      EXPECT_EQ(readProfileString("Shared", "W" + std::to_string(w) + "_" + std::to_string(i), "lost", File), "v");
  // Each writer removed the lock file as it let go, and no writer wrote
  // under a lock file another had removed.
  EXPECT_FALSE(std::filesystem::exists("test.ini.lock"));
}

TEST_F(ProfileTest, FileNamesMapToPaths) {
  namespace fs = std::filesystem;
  const fs::path xdg = dir / "xdg";
  EXPECT_EQ(platform::profilePath("LANVIK.INI"), xdg / "lanvik" / "LANVIK.INI");
  EXPECT_EQ(platform::profilePath(".\\lanvik.ini"), fs::path("./lanvik.ini"));
  EXPECT_EQ(platform::profilePath("sub\\x.ini"), fs::path("sub/x.ini"));
  EXPECT_EQ(platform::profilePath("/etc/x.ini"), fs::path("/etc/x.ini"));

  ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  ::setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(platform::profilePath("LANVIK.INI"), fs::path("/home/someone/.config/lanvik/LANVIK.INI"));
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(platform::profilePath("LANVIK.INI"), fs::path("/home/someone/.config/lanvik/LANVIK.INI"));
}

TEST_F(ProfileTest, SettingsFileAndPasswordFileAreDifferentFiles) {
  ASSERT_TRUE(writeProfileString("Main", "XPos", "5", "LANVIK.INI"));
  ASSERT_TRUE(writeProfileString("LANVik - Password Control", "Pwd", "p", ".\\lanvik.ini"));
  EXPECT_EQ(slurp(dir / "xdg" / "lanvik" / "LANVIK.INI"), "[Main]\nXPos=5\n");
  EXPECT_EQ(slurp(dir / "lanvik.ini"), "[LANVik - Password Control]\nPwd=p\n");
  // Nothing but the files themselves stays beside them, after a removal too.
  ASSERT_TRUE(writeProfileString("Main", "YPos", "6", "LANVIK.INI"));
  ASSERT_TRUE(removeProfileEntry("Main", "YPos", "LANVIK.INI"));
  EXPECT_EQ(filesIn(dir / "xdg" / "lanvik"), std::vector<std::string>{"LANVIK.INI"});
  EXPECT_FALSE(std::filesystem::exists(dir / "lanvik.ini.lock"));

  // The settings file does not follow the current directory.
  std::filesystem::create_directory("elsewhere");
  std::filesystem::current_path("elsewhere");
  EXPECT_EQ(readProfileString("Main", "XPos", "", "LANVIK.INI"), "5");
  EXPECT_EQ(readProfileString("LANVik - Password Control", "Pwd", "none", ".\\lanvik.ini"), "none");
}

}  // namespace
