// The desktop's standard actions and the frame's own parts: the edit
// commands on the focused control, window arrangement, the list of open
// windows, the status bar's help texts and the close box.

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "qt_fixture.h"

namespace platform::qt::test {
namespace {

using Kind = ControlKind;

ControlSpec item(int number, const char* text, StdAction action, int menu) {
  ControlSpec s = ctl(number, Kind::Item, text, {}, menu);
  s.action = action;
  return s;
}

class Actions : public QtTest {
 protected:
  Script frame{windowSpec("Frame", WindowKind::Frame, {0, 0, 500, 300}),
               {ctl(-6, Kind::Menu, "&Edit"), item(-7, "Cu&t", StdAction::Cut, -6),
                item(-8, "&Copy", StdAction::Copy, -6), item(-9, "&Paste", StdAction::Paste, -6),
                ctl(-28, Kind::Menu, "&Window"), item(-30, "&Cascade", StdAction::Cascade, -28),
                item(-31, "&Arrange Icons", StdAction::ArrangeIcons, -28), item(-29, "T&ile", StdAction::Tile, -28)},
               {}, {}, nullptr, false};
  void SetUp() override {
    frame.spec.maximize = true;
    frame.spec.statusZones = {-1, 80};
    frame.controls[0].action = StdAction::None;
    frame.controls[4].action = StdAction::WindowList;
    frame.controls[1].statusText = "Cut Selection To Clipboard";
    start(frame);
  }
  void choose(int item) {
    must(desk->controlAction(*frame.window, item))->trigger();
    settle();
  }
};

TEST_F(Actions, CutCopyAndPasteWorkOnTheFocusedControl) {
  Script s{windowSpec("FORM", WindowKind::Child), {ctl(1, Kind::Entry), ctl(2, Kind::Entry, "", {4, 20, 60, 12})},
           {}, {}, nullptr, false};
  start(s);
  auto* e = widget<QLineEdit>(s, 1);
  QApplication::setActiveWindow(must(desk->frameWidget()));
  e->setFocus();
  QTest::keyClicks(e, "Doe");
  e->selectAll();
  choose(-8);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "Doe");
  choose(-7);
  EXPECT_EQ(s.window->control(1).text(), "");
  QGuiApplication::clipboard()->setText("Roe");
  choose(-9);
  EXPECT_EQ(e->text(), "Roe");
  EXPECT_EQ(s.window->control(1).text(), "Roe");
  EXPECT_TRUE(s.window->control(1).edited());
}

TEST_F(Actions, ChildWindowsAreArrangedAndListed) {
  Script a{windowSpec("ONE", WindowKind::Child), {}, {}, {}, nullptr, false};
  Script b{windowSpec("TWO", WindowKind::Child), {}, {}, {}, nullptr, false};
  a.spec.maximizeBox = b.spec.maximizeBox = true;
  start(a);
  start(b);
  auto* subA = must(qobject_cast<QMdiSubWindow*>(desk->windowWidget(*a.window)));
  auto* subB = must(qobject_cast<QMdiSubWindow*>(desk->windowWidget(*b.window)));
  EXPECT_EQ(subA->pos(), subB->pos());
  choose(-30);
  EXPECT_NE(subA->pos(), subB->pos());
  // Cascading is the user's placement: the model knows it.
  EXPECT_EQ(b.window->rect().x, desk->units(*b.window).fromX(subB->pos().x()));
  EXPECT_TRUE(subA->geometry().intersects(subB->geometry()));
  choose(-29);
  EXPECT_FALSE(subA->geometry().intersects(subB->geometry()));
  EXPECT_EQ(a.window->rect().x, desk->units(*a.window).fromX(subA->pos().x()));
  EXPECT_EQ(b.window->rect().x, desk->units(*b.window).fromX(subB->pos().x()));

  subA->showMinimized();
  subB->showMinimized();
  settle();
  EXPECT_TRUE(a.window->minimized());
  choose(-31);
  QMdiArea* mdi = must(desk->mdiArea());
  EXPECT_EQ(subA->geometry().bottom(), mdi->viewport()->height() - 1);
  EXPECT_EQ(subB->geometry().bottom(), mdi->viewport()->height() - 1);
  EXPECT_FALSE(subA->geometry().intersects(subB->geometry()));

  QMenu* windows = must(must(desk->controlAction(*frame.window, -28))->menu());
  emit windows->aboutToShow();
  QStringList titles;
  for (QAction* entry : windows->actions()) titles << entry->text();
  EXPECT_TRUE(titles.contains("&1 ONE"));
  EXPECT_TRUE(titles.contains("&2 TWO"));
  // Choosing an entry brings that window forward.
  for (QAction* entry : windows->actions())
    if (entry->text() == "&1 ONE") entry->trigger();
  settle();
  EXPECT_EQ(mdi->activeSubWindow(), subA);
}

TEST_F(Actions, AHighlightedItemShowsItsHelpTextInTheStatusBarOverTheActiveControlsText) {
  ControlSpec list = ctl(2, Kind::List, "", {4, 20, 100, 40});
  list.statusText = "Browsing the CaseCloseSummary file";
  Script s{windowSpec("LIST", WindowKind::Child), {ctl(1, Kind::Entry), list}, {}, {}, nullptr, false};
  start(s);
  QLabel* zone = must(desk->statusZone(1));
  input::focus(*s.window, 2);
  settle();
  EXPECT_EQ(zone->text(), "Browsing the CaseCloseSummary file");

  QMainWindow* main = must(desk->frameWidget());
  QAction* edit = must(desk->controlAction(*frame.window, -6));
  main->menuBar()->setActiveAction(edit);  // the user opens "&Edit"
  QMenu* menu = must(edit->menu());
  menu->setActiveAction(must(desk->controlAction(*frame.window, -7)));
  EXPECT_EQ(main->statusBar()->currentMessage(), "Cut Selection To Clipboard");
  EXPECT_FALSE(zone->isVisible());  // the item's text stands in its place
  menu->setActiveAction(must(desk->controlAction(*frame.window, -8)));
  EXPECT_EQ(main->statusBar()->currentMessage(), "");
  menu->hide();
  // The list is still the active control: its text is back.
  EXPECT_TRUE(zone->isVisible());
  EXPECT_EQ(zone->text(), "Browsing the CaseCloseSummary file");
  input::focus(*s.window, 1);
  settle();
  EXPECT_EQ(zone->text(), "");
}

TEST_F(Actions, TheCloseBoxAsksTheModel) {
  Script s{windowSpec("CHILD", WindowKind::Child), {}, {}, {}, nullptr, false};
  s.handler = [](Window&, const Event& e) {
    return e.kind == EventKind::CloseRequest ? EventLevel::Skip : EventLevel::Continue;
  };
  start(s);
  QWidget* sub = must(desk->windowWidget(*s.window));
  sub->close();
  settle();
  // The handler refused: the window stays, and so does its sub-window.
  EXPECT_TRUE(s.saw("CloseRequest"));
  EXPECT_FALSE(s.ended);
  EXPECT_TRUE(sub->isVisible());
  s.handler = {};
  sub->close();
  settle();
  EXPECT_TRUE(s.ended);
}

}  // namespace
}  // namespace platform::qt::test
