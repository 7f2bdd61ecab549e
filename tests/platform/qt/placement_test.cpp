// Window placement both ways: the model's position, size and states on the
// real windows, and the user's moves and resizes back in the model.

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include "qt_fixture.h"

namespace platform::qt::test {
namespace {

class Placement : public QtTest {
 protected:
  Script frame{windowSpec("Frame", WindowKind::Frame, {0, 0, 400, 250}), {}, {}, {}, nullptr, false};
  void SetUp() override {
    frame.spec.maximize = true;
    start(frame);
  }
};

TEST_F(Placement, TheModelsPlacementShowsOnAChildWindow) {
  Script s{windowSpec("CHILD", WindowKind::Child, {10, 20, 100, 60}), {}, {}, {}, nullptr, false};
  s.spec.resizable = true;
  s.spec.maximizeBox = true;
  start(s);
  auto* sub = must(qobject_cast<QMdiSubWindow*>(desk->windowWidget(*s.window)));
  const DialogUnits du = desk->units(*s.window);
  EXPECT_EQ(sub->pos(), QPoint(du.toX(10), du.toY(20)));
  EXPECT_EQ(must(desk->clientWidget(*s.window))->size(), du.toPixels(100, 60));

  s.window->setPosition(30, 40);
  s.window->setSize(120, 70);
  EXPECT_EQ(sub->pos(), QPoint(du.toX(30), du.toY(40)));
  EXPECT_EQ(must(desk->clientWidget(*s.window))->size(), du.toPixels(120, 70));
  s.window->setMaximized(true);
  EXPECT_TRUE(sub->isMaximized());
  s.window->setMaximized(false);
  s.window->setMinimized(true);
  EXPECT_TRUE(sub->isMinimized());
  s.window->setMinimized(false);
  EXPECT_FALSE(sub->isMinimized());
  EXPECT_EQ(sub->pos(), QPoint(du.toX(30), du.toY(40)));
}

TEST_F(Placement, TheUsersMovesAndResizesReachTheModel) {
  Script s{windowSpec("CHILD", WindowKind::Child, {10, 20, 100, 60}), {}, {}, {}, nullptr, false};
  s.spec.resizable = true;
  start(s);
  auto* sub = must(qobject_cast<QMdiSubWindow*>(desk->windowWidget(*s.window)));
  const DialogUnits du = desk->units(*s.window);
  s.log.clear();
  sub->move(du.toX(50), du.toY(30));
  settle();
  EXPECT_EQ(s.window->rect().x, 50);
  EXPECT_EQ(s.window->rect().y, 30);
  EXPECT_TRUE(s.log.empty());  // a move is no event

  const QSize outer = sub->size() - must(desk->clientWidget(*s.window))->size();
  sub->resize(du.toPixels(140, 90) + outer);
  settle();
  EXPECT_EQ(s.window->rect().width, 140);
  EXPECT_EQ(s.window->rect().height, 90);
  EXPECT_TRUE(s.saw("Sized"));

  s.log.clear();
  sub->showMaximized();
  settle();
  EXPECT_TRUE(s.window->maximized());
  EXPECT_TRUE(s.saw("Sized"));
  sub->showNormal();
  settle();
  EXPECT_FALSE(s.window->maximized());
  // The normal placement survived the maximized spell.
  EXPECT_EQ(s.window->rect().x, 50);
  EXPECT_EQ(s.window->rect().width, 140);
}

TEST_F(Placement, AFixedSizeWindowKeepsItsSize) {
  Script s{windowSpec("FIXED", WindowKind::Child, {10, 20, 100, 60}), {}, {}, {}, nullptr, false};
  start(s);
  auto* sub = must(qobject_cast<QMdiSubWindow*>(desk->windowWidget(*s.window)));
  const QSize before = sub->size();
  sub->resize(before + QSize(50, 50));
  settle();
  EXPECT_EQ(sub->size(), before);
  EXPECT_EQ(s.window->rect().width, 100);
}

TEST_F(Placement, ACentredWindowReportsThePositionItTook) {
  Script child{windowSpec("CENTRED", WindowKind::Child, {0, 0, 100, 60}), {}, {}, {}, nullptr, false};
  child.spec.centred = true;
  start(child);
  QMdiArea* mdi = must(desk->mdiArea());
  auto* sub = must(qobject_cast<QMdiSubWindow*>(desk->windowWidget(*child.window)));
  const QPoint expected((mdi->viewport()->width() - sub->width()) / 2, (mdi->viewport()->height() - sub->height()) / 2);
  EXPECT_LE((sub->pos() - expected).manhattanLength(), 1);
  const DialogUnits du = desk->units(*child.window);
  EXPECT_EQ(child.window->rect().x, du.fromX(sub->pos().x()));
  EXPECT_EQ(child.window->rect().y, du.fromY(sub->pos().y()));
}

TEST_F(Placement, TheFrameOpensMaximizedAndReportsItsRestore) {
  QMainWindow* main = must(desk->frameWidget());
  EXPECT_TRUE(main->isMaximized());
  EXPECT_TRUE(frame.window->maximized());
  main->showNormal();
  settle();
  EXPECT_FALSE(frame.window->maximized());
  frame.window->setMaximized(true);
  EXPECT_TRUE(main->isMaximized());
}

}  // namespace
}  // namespace platform::qt::test
