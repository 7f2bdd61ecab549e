// Window descriptions: controls the code never addresses are numbered in
// the order they come, and the controls after within() go on that tab
// unless they name a parent of their own. The procedures' windows start from
// childWindow() and set only what differs, so its values are their look.

#include <string>
#include <vector>

#include "platform/ui/describe.h"
#include "tests/platform/ui/ui_fixture.h"

namespace platform::test {
namespace {

using namespace platform::describe;

TEST_F(Ui, ADescriptionNumbersItsLabelsAndPutsThemWhereItsWithinSays) {
  std::vector<std::pair<int, int>> added;  // number, parent
  drv.start([&] {
    Window w(windowSpec("Form"));
    Description d(w, 100);
    d.add(control(1, ControlKind::Sheet, {}));
    d.add(control(2, ControlKind::Tab, {}, "&1) Hours", 1));
    d.within(2);
    d.add(prompt({}, "Trial"));
    d.add(entry(3, {}, FieldRef(), {}));
    d.add(control(4, ControlKind::Tab, {}, "&2) Other", 1));
    d.within(0);
    d.add(box({}, Black));
    for (const auto& c : w.controls()) added.emplace_back(c->number(), c->parent());
    Description unnumbered(w);
    EXPECT_THROW(unnumbered.add(prompt({}, "no number")), std::invalid_argument);
  });
  const std::vector<std::pair<int, int>> expected = {{1, 0}, {2, 1}, {100, 2}, {3, 2}, {4, 1}, {101, 0}};
  EXPECT_EQ(added, expected);
}

TEST(ChildWindow, IsACentredFixedGreyChildWithASystemMenuInTheDialogFont) {
  const WindowSpec s = childWindow("Form TOTALS", {0, 0, 300, 222});
  EXPECT_EQ(s.kind, WindowKind::Child);
  EXPECT_EQ(s.caption, "Form TOTALS");
  EXPECT_EQ(s.rect, (Rect{0, 0, 300, 222}));
  EXPECT_TRUE(s.centred);
  EXPECT_FALSE(s.resizable);
  EXPECT_TRUE(s.systemMenu);
  EXPECT_EQ(s.background, Grey);
  EXPECT_EQ(s.font, (Font{"MS Sans Serif", 8}));
  // Nothing else of a window's look: no icon, border or maximizing.
  EXPECT_TRUE(s.icon.empty());
  EXPECT_FALSE(s.doubleBorder);
  EXPECT_FALSE(s.maximize);
  EXPECT_FALSE(s.maximizeBox);
}

}  // namespace
}  // namespace platform::test
