#include "platform/lib/window_fitter.h"

#include <gtest/gtest.h>

#include "tests/platform/lib/window_fixture.h"

namespace platform::test {
namespace {

// A 200 by 100 window: a locator entry top left, a list below it, a text at
// the right, buttons at the bottom left and bottom right, a help button top
// right, a sheet's tab with an entry on it, and two pictures, of which the
// window marks one to grow.
enum : int { Locator = 1, List, Notes, Insert, Close, Help, Sheet, Tab, OnTab, Logo, Table };

struct Expect {
  int control;
  Rect designed;
  Rect grown;  // after the window grew by 40 across and 30 down
};

const Expect layout[] = {
    {Locator, {5, 5, 60, 12}, {5, 5, 60, 12}},              // top left: stays
    {List, {5, 20, 120, 60}, {5, 20, 160, 90}},             // grows both ways
    {Notes, {130, 20, 60, 30}, {130, 20, 100, 60}},         // a multi-line text grows too
    {Insert, {5, 82, 40, 14}, {5, 112, 40, 14}},            // bottom left: moves down
    {Close, {150, 82, 40, 14}, {190, 112, 40, 14}},         // bottom right: moves both ways
    {Help, {150, 5, 40, 14}, {190, 5, 40, 14}},             // top right: moves across
    {Sheet, {0, 0, 200, 100}, {0, 0, 240, 130}},            // a sheet grows
    {OnTab, {130, 30, 20, 10}, {170, 30, 20, 10}},          // right half, upper half
    {Logo, {70, 5, 30, 12}, {70, 5, 30, 12}},               // a picture keeps its size
    {Table, {60, 40, 30, 20}, {60, 40, 70, 50}},            // unless marked to grow
};

ControlKind kindOf(int control) {
  switch (control) {
    case Locator: case OnTab: return ControlKind::Entry;
    case List: return ControlKind::List;
    case Notes: return ControlKind::Text;
    case Sheet: return ControlKind::Sheet;
    case Logo: case Table: return ControlKind::Image;
    default: return ControlKind::Button;
  }
}

TEST_F(WindowTest, ControlsFollowTheWindowAndTheDesignedSizeIsTheMinimum) {
  drv.start([&] {
    Window w(ownWindow("Fitted", {10, 10, 200, 100}));
    w.add(ctl(Sheet, ControlKind::Sheet, {0, 0, 200, 100}));
    w.add(ctl(Tab, ControlKind::Tab, {}, Sheet));
    for (const Expect& e : layout)
      if (e.control != Sheet) w.add(ctl(e.control, kindOf(e.control), e.designed, e.control == OnTab ? Tab : 0));
    WindowController controller(w);
    WindowFitter fitter;
    fitter.SetGrows(Table);
    controller.AddComponent(fitter);
    controller.Setup();
    w.open();
    fitter.Setup(w);
    controller.EventLoop();
    controller.Shutdown();
  });
  Window& w = drv.window("Fitted");
  EXPECT_EQ(w.minimumWidth(), 200);
  EXPECT_EQ(w.minimumHeight(), 100);

  auto expectAll = [&](bool grown) {
    for (const Expect& e : layout) {
      SCOPED_TRACE("control " + std::to_string(e.control));
      EXPECT_EQ(w.control(e.control).rect(), grown ? e.grown : e.designed);
    }
  };
  drv.resize(w, 240, 130);
  expectAll(true);
  drv.resize(w, 240, 130);  // fitting again changes nothing
  expectAll(true);

  drv.resize(w, 150, 60);  // smaller than designed: kept at the designed size
  EXPECT_EQ(w.rect().width, 200);
  EXPECT_EQ(w.rect().height, 100);
  expectAll(false);
  drv.close(w);
}

}  // namespace
}  // namespace platform::test
