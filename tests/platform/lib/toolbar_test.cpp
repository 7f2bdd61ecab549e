#include "platform/lib/toolbar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/platform/lib/window_fixture.h"

namespace platform::test {
namespace {

using ::testing::ElementsAre;

constexpr int ToolbarControl = -36;
constexpr int InsertTool = -40;
constexpr int Entry = 1;
constexpr int InsertButton = 3;

class ListTarget final : public ToolbarTarget {
 public:
  ListTarget(Window& w, int insert) : window_(w), insert_(insert) {}
  Window& ToolbarWindow() const override { return window_; }
  int ToolbarControl(ToolbarButton b) const override { return b == ToolbarButton::Insert ? insert_ : 0; }

 private:
  Window& window_;
  int insert_;
};

// A list window on a thread of its own whose Insert button the toolbar
// reaches; what it accepts goes to the log under its caption.
void listWindow(const std::string& caption, std::vector<std::string>& log) {
  Window w(ownWindow(caption));
  w.add(ctl(Entry, ControlKind::Entry));
  w.add(ctl(InsertButton, ControlKind::Button));
  std::vector<std::string> own;
  Probe probe(w, own);
  probe.accepted = [&](const Event& e) {
    log.push_back(caption + " " + std::to_string(e.control));
    return LevelContinue;
  };
  Toolbar toolbar;
  probe.AttachToolbar(toolbar);
  ListTarget target(w, InsertButton);
  probe.Setup();
  toolbar.SetTarget(&target);
  probe.EventLoop();
  probe.Shutdown();
}

TEST_F(WindowTest, FrameToolbarButtonsReachTheCurrentTarget) {
  std::vector<std::string> log, frameLog;
  drv.start([&] {
    WindowSpec spec = ownWindow("Frame");
    spec.kind = WindowKind::Frame;
    Window w(spec);
    w.add(ctl(ToolbarControl, ControlKind::Toolbar));
    w.add(ctl(InsertTool, ControlKind::Button, {}, ToolbarControl));
    Probe probe(w, frameLog);
    Toolbar toolbar;
    toolbar.AddButton(InsertTool, ToolbarButton::Insert);
    probe.AttachToolbar(toolbar);
    probe.Execute();
  });
  Window& frame = drv.window("Frame");
  drv.click(frame, InsertTool);  // no target yet
  drv.start([&] { listWindow("Cases", log); });
  drv.click(frame, InsertTool);
  drv.start([&] { listWindow("Rates", log); });
  drv.click(frame, InsertTool);  // the list attached last
  drv.focus(drv.window("Cases"), InsertButton);
  drv.click(frame, InsertTool);  // the list that got the focus last
  drv.window("Cases").control(InsertButton).setDisabled(true);
  drv.click(frame, InsertTool);  // a disabled button is not pressed
  drv.close(drv.window("Cases"));
  drv.click(frame, InsertTool);  // gone: the other list again
  EXPECT_THAT(log, ElementsAre("Cases 3", "Rates 3", "Cases 3", "Rates 3"));
  for (const std::string& s : frameLog) EXPECT_NE(s, "window Accepted -40") << "the toolbar keeps its buttons";
  drv.close(drv.window("Rates"));
  drv.close(frame);
  EXPECT_EQ(Toolbar::currentTarget(), nullptr);
}

}  // namespace
}  // namespace platform::test
