#pragma once
// A scratch directory for one test, made the current directory and the
// per-user configuration home while the test runs.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace lvtest {

inline std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spit(const std::filesystem::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

class ScratchDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "lv-os-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    if (const char* x = std::getenv("XDG_CONFIG_HOME")) oldXdg = x;
    if (const char* h = std::getenv("HOME")) oldHome = h;
    ::setenv("XDG_CONFIG_HOME", (dir / "xdg").c_str(), 1);
  }
  void TearDown() override {
    std::filesystem::current_path(oldCwd);
    if (oldXdg)
      ::setenv("XDG_CONFIG_HOME", oldXdg->c_str(), 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    if (oldHome)
      ::setenv("HOME", oldHome->c_str(), 1);
    else
      ::unsetenv("HOME");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  std::filesystem::path dir;
  std::filesystem::path oldCwd;
  std::optional<std::string> oldXdg;
  std::optional<std::string> oldHome;
};

}  // namespace lvtest
