// The scroll-step object of number and date keys.

#include "platform/lib/step_managers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using Value = std::int64_t;

TEST(NumberStepMgrTest, TheThumbSpreadsEvenlyFromTheLowestValueToTheHighest) {
  platform::NumberStepMgr steps;
  steps.Setup(Value{445}, Value{1445});  // rates 0.445 to 1.445
  struct Case {
    Value value;
    int thumb;
  } cases[] = {{445, 0}, {695, 25}, {945, 50}, {1445, 100}, {0, 0}, {99999, 100}};
  for (const Case& c : cases) EXPECT_EQ(steps.ThumbOf(c.value), c.thumb) << c.value;
  struct Back {
    int thumb;
    Value value;
  } backs[] = {{0, 445}, {50, 945}, {100, 1445}, {-5, 445}, {150, 1445}};
  for (const Back& b : backs) EXPECT_EQ(steps.ValueAt(b.thumb), platform::KeyValue{b.value}) << b.thumb;
}

TEST(NumberStepMgrTest, AnEmptyViewOneValueOrTheWholeRangeStillGiveAPlace) {
  platform::NumberStepMgr steps;
  steps.Setup(std::monostate{}, std::monostate{});
  EXPECT_EQ(steps.ThumbOf(Value{945}), 0);
  EXPECT_EQ(steps.ValueAt(50), platform::KeyValue{Value{0}});

  steps.Setup(Value{700}, Value{700});
  EXPECT_EQ(steps.ThumbOf(Value{700}), 0);
  EXPECT_EQ(steps.ValueAt(100), platform::KeyValue{Value{700}});

  constexpr Value lo = std::numeric_limits<Value>::min(), hi = std::numeric_limits<Value>::max();
  steps.Setup(lo, hi);
  EXPECT_EQ(steps.ThumbOf(Value{0}), 50);
  EXPECT_EQ(steps.ThumbOf(hi), 100);
  EXPECT_EQ(steps.ValueAt(0), platform::KeyValue{lo});
  EXPECT_EQ(steps.ValueAt(100), platform::KeyValue{hi});
}

}  // namespace
