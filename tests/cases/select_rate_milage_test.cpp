// The mileage-rate picker on the real record files, through the driver.

#include "cases/select_rate_milage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cases/rate_fixture.h"

namespace ratetest {
namespace {

using ::testing::ElementsAre;
using namespace cases::rate_picker;
using platform::dayNumber;
using platform::Key;
using platform::KeyPress;

class SelectRateTest : public RateTest {
 protected:
  // The picker called as a form calls it, on a thread whose RateMilage
  // buffer holds the caller's rate.
  void pick() {
    start([this] {
      dictionary::RTM(dictionary::RTM_MILAGERATE).setDecimal(*platform::Decimal::parse("0.999"));
      dictionary::RTM(dictionary::RTM_DATEMILAGERATE).setDay(dayNumber(2001, 2, 3));
      before = bufferShown();
      app::ThreadRequest() = app::RequestSelect;
      cases::SelectRateMilage();
      response = app::ThreadResponse();
      after = bufferShown();
    });
  }
  Window& picker() { return drv->window("Select a Rate "); }

  std::optional<std::uint8_t> response;
  std::string before, after;
};

TEST_F(SelectRateTest, APickLeavesTheRateInTheBufferAndAnythingElseGivesTheBufferBack) {
  struct Way {
    const char* what;
    std::function<void(platform::HeadlessDriver&, Window&)> end;
    std::uint8_t response;
  } ways[] = {
      {"the close box", [](platform::HeadlessDriver& d, Window& w) { d.close(w); }, app::ResponseCancelled},
      {"Select", [](platform::HeadlessDriver& d, Window& w) { d.click(w, SELECT_2); }, app::ResponseCompleted},
      {"Enter", [](platform::HeadlessDriver& d, Window& w) { d.press(w, KeyPress(Key::Enter)); },
       app::ResponseCompleted},
      {"a double-click", [](platform::HeadlessDriver& d, Window& w) { d.doubleClick(w, BROWSE_1, 2); },
       app::ResponseCompleted},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    TearDown();
    SetUp();
    writer->add("0.485", dayNumber(2007, 1, 1));
    writer->add("0.445", dayNumber(2006, 1, 1));
    pick();
    EXPECT_THAT(rows(picker(), BROWSE_1), ElementsAre("1/1/2006 0.445", "1/1/2007 0.485"));
    EXPECT_TRUE(drv->control(picker(), SELECT_2).enabled());
    EXPECT_TRUE(drv->control(picker(), SELECT_2).isDefault());
    drv->selectRow(picker(), BROWSE_1, 2);
    EXPECT_EQ(drv->text(picker(), RTM_MILAGERATE), "0.485");
    way.end(*drv, picker());
    EXPECT_EQ(drv->findWindow("Select a Rate "), nullptr);
    ASSERT_EQ(response, way.response);
    EXPECT_EQ(after, way.response == app::ResponseCompleted ? "1/1/2007 0.485" : before);
  }
}

TEST_F(SelectRateTest, WithNoRatesNothingCanBeSelected) {
  pick();
  EXPECT_EQ(drv->control(picker(), BROWSE_1).rowCount(), 0);
  EXPECT_FALSE(drv->control(picker(), SELECT_2).enabled());
  drv->press(picker(), KeyPress(Key::Enter));
  EXPECT_FALSE(response.has_value());
  drv->close(picker());
  EXPECT_EQ(response, app::ResponseCancelled);
  EXPECT_EQ(after, "2/3/2001 0.999");
}

}  // namespace
}  // namespace ratetest
