#include "app/help_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/app/app_fixture.h"

namespace apptest {
namespace {

using namespace app::faq;
using platform::input::PointerAction;
using ::testing::ElementsAre;

constexpr const char* FaqCaption = "FAQ - Frequent Asked Questions";

class HelpTest : public AppTest {
 protected:
  platform::Window& openFaq() {
    start(app::FAQ);
    return drv->window(FaqCaption);
  }
};

TEST_F(HelpTest, EachLinkAreaLiesOverItsAddressWithTheHandCursor) {
  platform::Window& w = openFaq();
  for (auto [area, shown] : {std::pair{WwwLink, STRINGWWW}, std::pair{MailLink, STRINGEMAIL}}) {
    SCOPED_TRACE(area);
    const platform::Control& link = w.control(area);
    EXPECT_EQ(link.kind(), platform::ControlKind::Region);
    EXPECT_EQ(link.rect(), w.control(shown).rect());
    EXPECT_EQ(link.cursor(), platform::CursorShape::Hand);
    EXPECT_TRUE(link.visible());
    EXPECT_EQ(w.control(shown).fontColor(), 0);
  }
}

TEST_F(HelpTest, PointerEventsColourTheLinkAndEveryReleaseOpensItAgain) {
  platform::Window& w = openFaq();
  drv->pointer(w, WwwLink, PointerAction::Enter);
  EXPECT_EQ(w.control(STRINGWWW).fontColor(), app::LinkHoverColor);
  EXPECT_EQ(w.control(STRINGEMAIL).fontColor(), 0);
  drv->pointer(w, WwwLink, PointerAction::Release);
  drv->pointer(w, WwwLink, PointerAction::Release);
  drv->pointer(w, WwwLink, PointerAction::Leave);
  EXPECT_EQ(w.control(STRINGWWW).fontColor(), 0);

  drv->pointer(w, MailLink, PointerAction::Enter);
  EXPECT_EQ(w.control(STRINGEMAIL).fontColor(), app::LinkHoverColor);
  // No handler for mail: nothing is shown (an unexpected box would fail).
  links.result = false;
  drv->click(w, MailLink);
  drv->pointer(w, MailLink, PointerAction::Leave);
  EXPECT_EQ(w.control(STRINGEMAIL).fontColor(), 0);

  EXPECT_THAT(links.links, ElementsAre(w.control(STRINGWWW).text(), w.control(STRINGWWW).text(),
                                       "MailTo:" + w.control(STRINGEMAIL).text()));
  EXPECT_EQ(w.control(STRINGWWW).text(), "https://www.pellmark.example");
  EXPECT_EQ(w.control(STRINGEMAIL).text(), "support@pellmark.example");
  EXPECT_TRUE(w.isOpen()) << "the window stays open";
  EXPECT_TRUE(drv->messages().empty());
}

TEST_F(HelpTest, ShellOpenDropsTrailingBlanksAndKeepsAtMost3255Characters) {
  const std::string e = "\xC3\xA9";  // one character, two bytes
  struct Case {
    std::string link, opened;
  };
  const Case cases[] = {
      {"https://www.pellmark.example   ", "https://www.pellmark.example"},
      {std::string(3255, 'a') + "   ", std::string(3255, 'a')},
      {std::string(4000, 'a'), std::string(3255, 'a')},
      {std::string(3254, 'a') + e + "b", std::string(3254, 'a') + e},
  };
  for (const Case& c : cases) {
    links.links.clear();
    app::ShellOpen(0, c.link);
    ASSERT_EQ(links.links.size(), 1u);
    EXPECT_EQ(links.links[0], c.opened);
  }
}

}  // namespace
}  // namespace apptest
