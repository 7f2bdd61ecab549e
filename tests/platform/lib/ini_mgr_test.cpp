#include "platform/lib/ini_mgr.h"

#include <gtest/gtest.h>

#include "platform/os/profile.h"
#include "tests/platform/os/temp_dir.h"

namespace {

using platform::IniMgr;

class IniMgrTest : public lvtest::ScratchDirTest {
 protected:
  std::filesystem::path settingsFile() const { return dir / "xdg" / "lanvik" / "LANVIK.INI"; }
};

TEST_F(IniMgrTest, BookkeepingSurvivesARun) {
  {
    IniMgr ini;
    ini.open("LANVIK.INI");
    EXPECT_TRUE(ini.sections().empty());
    ASSERT_TRUE(ini.writeString("Main", "Maximize", "No"));
    ASSERT_TRUE(ini.writeNumber("Main", "XPos", 12));
    ASSERT_TRUE(ini.writeString("ReportHOURLYByHOU:KeyDate", "Maximize", "Yes"));
    ASSERT_TRUE(ini.removeEntry("ReportHOURLYByHOU:KeyDate", "XPos"));
    ASSERT_TRUE(ini.shutdown());
    EXPECT_FALSE(ini.isOpen());
    EXPECT_TRUE(ini.sections().empty());
  }
  EXPECT_EQ(platform::readProfileString("Sectors", "__Dont_Touch_Me__", "", "LANVIK.INI"),
            "Main,ReportHOURLYByHOU:KeyDate");

  IniMgr next;
  next.open("LANVIK.INI");
  EXPECT_EQ(next.sections(), (std::vector<std::string>{"Main", "ReportHOURLYByHOU:KeyDate"}));
  EXPECT_EQ(next.readString("Main", "Maximize", ""), "No");
  EXPECT_EQ(next.readNumber("main", "xpos"), 12);
  ASSERT_TRUE(next.writeString("MAIN", "Minimize", "No"));  // known already, in any case
  ASSERT_TRUE(next.writeString("_PreviewWindow_", "Maximize", "Yes"));
  ASSERT_TRUE(next.shutdown());
  EXPECT_EQ(platform::readProfileString("Sectors", "__Dont_Touch_Me__", "", "LANVIK.INI"),
            "Main,ReportHOURLYByHOU:KeyDate,_PreviewWindow_");
}

TEST_F(IniMgrTest, ReadNumberTellsNumbersFromEverythingElse) {
  IniMgr ini;
  ini.open("LANVIK.INI");
  struct Case {
    const char* stored;  // nullptr: no entry
    std::optional<std::int32_t> expected;
  };
  const Case cases[] = {
      {"120", 120},  {"-35", -35},           {"  7  ", 7},          {"0", 0},
      {"", {}},      {"12abc", {}},          {"1.5", {}},           {"+3", {}},
      {"abc", {}},   {"99999999999", {}},    {nullptr, {}},
  };
  for (const auto& c : cases) {
    ini.removeEntry("Win", "Width");
    if (c.stored) {
      ASSERT_TRUE(ini.writeString("Win", "Width", c.stored));
    }
    EXPECT_EQ(ini.readNumber("Win", "Width"), c.expected) << (c.stored ? c.stored : "(missing)");
  }
  ini.shutdown();
}

TEST_F(IniMgrTest, LongBookkeepingListKeepsWholeNames) {
  IniMgr ini;
  ini.open("LANVIK.INI");
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) {
    names.push_back("ReportCaseCloseSummaryByCCS:KeyCaseName" + std::to_string(i));
    ASSERT_TRUE(ini.writeString(names.back(), "Maximize", "No"));
  }
  ASSERT_TRUE(ini.shutdown());

  ini.open("LANVIK.INI");
  auto kept = ini.sections();
  ASSERT_LT(kept.size(), names.size());
  EXPECT_EQ(kept, std::vector<std::string>(names.begin(), names.begin() + static_cast<long>(kept.size())));
}

TEST_F(IniMgrTest, UnboundManagerFindsNothingAndStoresNothing) {
  IniMgr ini;
  EXPECT_EQ(ini.find("Main", "XPos"), std::nullopt);
  EXPECT_EQ(ini.readString("Main", "XPos", "d"), "d");
  EXPECT_FALSE(ini.writeString("Main", "XPos", "1"));
  EXPECT_FALSE(ini.removeEntry("Main", "XPos"));
  EXPECT_FALSE(ini.shutdown());
  EXPECT_FALSE(std::filesystem::exists(settingsFile()));
}

}  // namespace
