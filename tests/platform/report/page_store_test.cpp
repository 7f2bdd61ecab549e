// The run's pages in their temporary file.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "platform/report/page_store.h"
#include "tests/platform/os/temp_dir.h"

namespace {

using namespace platform::report;

Page sample(int number) {
  Page p;
  p.number = number;
  p.width = LetterLong;
  p.height = LetterShort;
  PageItem text;
  text.name = "?HOU:ARRAIGNMENTPLEA:2";
  text.text = "12.5\nsecond line \xC3\xB1";
  text.font = {"Courier", 10, true, false, true};
  text.rect = {250, 850 + number, 900, 250};
  text.align = ItemAlign::Right;
  PageItem bar;
  bar.kind = ItemKind::Box;
  bar.name = "?BAR";
  bar.rect = {-5, 0, 10500, 300};
  bar.color = platform::NoColor;
  bar.fill = Black;
  bar.rounded = true;
  bar.pen = 35;
  PageItem radio;
  radio.kind = ItemKind::Radio;
  radio.name = "?RADIO";
  radio.text = "Jury Trial";
  radio.checked = true;
  radio.angle = 900;
  radio.color = White;
  p.items = {text, bar, radio};
  return p;
}

class PageStoreTest : public lvtest::ScratchDirTest {};

TEST_F(PageStoreTest, PagesReadBackAsTheyWereAddedInAnyOrder) {
  PageStore store(dir);
  for (int n = 1; n <= 300; ++n) store.add(sample(n));
  ASSERT_EQ(store.count(), 300);
  for (int n : {300, 1, 150, 299, 2}) {
    const Page p = store.read(n);
    const Page expected = sample(n);
    EXPECT_EQ(p.number, n);
    EXPECT_EQ(p.width, LetterLong);
    EXPECT_EQ(p.items, expected.items);
  }
  EXPECT_THROW(store.read(0), std::out_of_range);
  EXPECT_THROW(store.read(301), std::out_of_range);
  // Names and fonts are kept once: a page costs little more than its texts.
  EXPECT_LT(store.bytes(), 300u * 100u);
  store.clear();
  EXPECT_EQ(store.count(), 0);
}

TEST_F(PageStoreTest, TheFileGoesWithTheStoreAndAFileACrashLeftGoesAtTheNextStart) {
  std::filesystem::path kept;
  {
    PageStore store(dir);
    kept = store.path();
    EXPECT_TRUE(std::filesystem::exists(kept));
    EXPECT_EQ(kept.filename().string().rfind(PageStore::FilePrefix, 0), 0u);
  }
  EXPECT_FALSE(std::filesystem::exists(kept));

  // A run that crashed left its file, its lock gone with its process; a
  // live run's file holds its lock and stays.
  const std::filesystem::path left = dir / (std::string(PageStore::FilePrefix) + "999999-1.tmp");
  lvtest::spit(left, "pages");
  const std::filesystem::path other = dir / "lanvik-other.tmp";
  lvtest::spit(other, "not ours");
  PageStore live(dir);
  EXPECT_EQ(PageStore::RemoveStale(dir), 1);
  EXPECT_FALSE(std::filesystem::exists(left));
  EXPECT_TRUE(std::filesystem::exists(live.path()));
  EXPECT_TRUE(std::filesystem::exists(other));
}

}  // namespace
