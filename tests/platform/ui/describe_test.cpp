// Window descriptions: controls the code never addresses are numbered in
// the order they come, and the controls after within() go on that tab
// unless they name a parent of their own.

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

}  // namespace
}  // namespace platform::test
