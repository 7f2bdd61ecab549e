// The rules the desktop's design rests on: where windows hang, that
// modality is the model's (per thread) and never Qt's, that the frame's
// own widget is never disabled, that dialogs made for fiber code are
// heap objects shown without a nested event loop.

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QWindow>

#include "platform/qt/widgets.h"
#include "platform/ui/message_port.h"
#include "qt_fixture.h"

namespace platform::qt::test {
namespace {

using Kind = ControlKind;

constexpr int ListControl = 1, ChangeButton = 2, OkButton = 3;
constexpr int TileItem = -29, PrintSetupItem = -3, AboutItem = -34;

Script frameScript(std::function<EventLevel(Window&, const Event&)> handler = {}) {
  WindowSpec spec = windowSpec("Frame", WindowKind::Frame, {0, 0, 500, 300});
  spec.maximize = true;
  spec.statusZones = {-1, 80};
  ControlSpec tile = ctl(TileItem, Kind::Item, "T&ile", {}, -28);
  tile.action = StdAction::Tile;
  ControlSpec setup = ctl(PrintSetupItem, Kind::Item, "&Print Setup ...", {}, -2);
  setup.action = StdAction::PrintSetup;
  return Script{spec,
                {ctl(-2, Kind::Menu, "&File"), setup, ctl(-28, Kind::Menu, "&Window"), tile,
                 ctl(-32, Kind::Menu, "&Help"), ctl(AboutItem, Kind::Item, "&About", {}, -32), ctl(-36, Kind::Toolbar),
                 ctl(-37, Kind::Button, "OPEN", {0, 0, 60, 14}, -36)},
                std::move(handler), {}, nullptr, false};
}

Script formScript(const std::string& caption, WindowKind kind) {
  WindowSpec spec = windowSpec(caption, kind, {20, 20, 120, 60});
  spec.resizable = true;
  ControlSpec ok = ctl(OkButton, Kind::Button, "&OK", {4, 4, 40, 14});
  ok.action = StdAction::Close;
  return Script{spec, {ok}, {}, {}, nullptr, false};
}

// A list whose Change button calls its form on the list's own thread.
struct ListWithForm {
  Script list;
  Script form;
  ListWithForm(const std::string& caption, WindowKind listKind, WindowKind formKind)
      : list{windowSpec(caption, listKind, {10, 10, 160, 80}), {}, {}, {}, nullptr, false},
        form(formScript(caption + " form", formKind)) {
    list.spec.resizable = true;
    ControlSpec l = ctl(ListControl, Kind::List, "", {4, 20, 150, 50});
    l.columns = {{60, Justify::Left, "Case", Justify::Left, "s20"}};
    list.controls = {ctl(ChangeButton, Kind::Button, "&Change", {4, 4, 50, 14}), l};
    list.handler = [this](Window& w, const Event& e) {
      if (e.kind == EventKind::OpenWindow) w.control(ListControl).setRows({{"CR-1"}, {"CR-2"}});
      if (e.kind == EventKind::Accepted && e.control == ChangeButton) form.run();
      return EventLevel::Continue;
    };
  }
};

class Design : public QtTest {
 protected:
  QWidget* client(Script& s) { return desk->clientWidget(*s.window); }
  // The frame's Tile item: the MDI children side by side, none covering
  // another, so clicks at window level land where they are aimed.
  void tile(Script& frame) {
    must(desk->controlAction(*frame.window, TileItem))->trigger();
    settle();
  }
  std::size_t events(Script& s) { return s.log.size(); }
};

TEST_F(Design, AFormIsAWidgetChildOfTheFrameWithItsCallerAsTransientParentOnly) {
  Script frame = frameScript();
  start(frame);
  ListWithForm own("CASE FILE", WindowKind::Own, WindowKind::Own);
  start(own.list);
  clickInWindow(widget(own.list, ChangeButton));
  ASSERT_NE(own.form.window, nullptr);

  QWidget* form = desk->windowWidget(*own.form.window);
  QWidget* list = desk->windowWidget(*own.list.window);
  EXPECT_EQ(form->parentWidget(), desk->frameWidget());
  ASSERT_NE(form->windowHandle(), nullptr);
  EXPECT_EQ(form->windowHandle()->transientParent(), list->windowHandle());
  EXPECT_EQ(desk->callerOf(*own.form.window), own.list.window);
  // The caller is disabled for the user; the form is not.
  EXPECT_FALSE(client(own.list)->isEnabled());
  EXPECT_TRUE(client(own.form)->isEnabled());
  EXPECT_TRUE(widget(own.form, OkButton)->isEnabled());

  // An MDI child's form is a sub-window of the frame, not a child of the list.
  ListWithForm child("CHILD LIST", WindowKind::Child, WindowKind::Child);
  start(child.list);
  clickInWindow(widget(child.list, ChangeButton));
  ASSERT_NE(child.form.window, nullptr);
  auto* sub = qobject_cast<QMdiSubWindow*>(desk->windowWidget(*child.form.window));
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->mdiArea(), desk->mdiArea());
  EXPECT_FALSE(client(child.list)->isEnabled());
  EXPECT_TRUE(client(child.form)->isEnabled());
  EXPECT_FALSE(client(child.list)->isAncestorOf(client(child.form)));

  clickInWindow(widget(child.form, OkButton));
  EXPECT_TRUE(child.form.ended);
  EXPECT_TRUE(client(child.list)->isEnabled());
}

struct CloseOrder {
  const char* name;
  bool firstA;
};

TEST_F(Design, TwoListsOnTwoThreadsWithFormsOpenAtOnceCloseInEitherOrder) {
  for (CloseOrder order : {CloseOrder{"A then B", true}, CloseOrder{"B then A", false}}) {
    SCOPED_TRACE(order.name);
    Script frame = frameScript();
    start(frame);
    ListWithForm a("LIST A", WindowKind::Child, WindowKind::Child);
    ListWithForm b("LIST B", WindowKind::Child, WindowKind::Child);
    const int threadA = start(a.list);
    const int threadB = start(b.list);
    ASSERT_NE(threadA, threadB);

    tile(frame);
    clickInWindow(widget(a.list, ChangeButton));
    tile(frame);
    clickInWindow(widget(b.list, ChangeButton));
    ASSERT_NE(a.form.window, nullptr);
    ASSERT_NE(b.form.window, nullptr);
    tile(frame);

    // Clicks at window level: the lists under their forms take none, the
    // forms of both threads take theirs.
    const std::size_t before = events(a.list);
    clickInWindow(widget(a.list, ChangeButton));
    auto* tableB = widget<ListWidget>(b.list, ListControl)->table();
    clickInWindow(tableB->viewport());
    EXPECT_EQ(events(a.list), before);
    EXPECT_EQ(b.list.window->control(ListControl).selected(), 0);

    ListWithForm& first = order.firstA ? a : b;
    ListWithForm& second = order.firstA ? b : a;
    clickInWindow(widget(first.form, OkButton));
    EXPECT_TRUE(first.form.ended);
    EXPECT_FALSE(second.form.ended);
    EXPECT_TRUE(client(first.list)->isEnabled());
    EXPECT_FALSE(client(second.list)->isEnabled());
    tile(frame);
    clickInWindow(widget(first.list, ChangeButton));  // its form again
    ASSERT_NE(first.form.window, nullptr);
    tile(frame);
    clickInWindow(widget(first.form, OkButton));

    clickInWindow(widget(second.form, OkButton));
    EXPECT_TRUE(second.form.ended);
    EXPECT_TRUE(client(a.list)->isEnabled());
    EXPECT_TRUE(client(b.list)->isEnabled());
    auto* tableA = widget<ListWidget>(a.list, ListControl)->table();
    QTest::mouseClick(tableA->viewport(), Qt::LeftButton, Qt::NoModifier,
                      tableA->visualRect(tableA->model()->index(1, 0)).center());
    settle();
    EXPECT_EQ(a.list.window->control(ListControl).selected(), 2);
    scheduler().endAllThreads();
    settle();
  }
}

TEST_F(Design, AClosedFormGivesTheFrontBackToTheListThatCalledIt) {
  Script frame = frameScript();
  start(frame);
  ListWithForm a("LIST A", WindowKind::Child, WindowKind::Child);
  ListWithForm b("LIST B", WindowKind::Child, WindowKind::Child);
  start(a.list);
  start(b.list);
  QMdiArea* mdi = desk->mdiArea();
  auto* listB = widget<ListWidget>(b.list, ListControl);
  // The form called from the button, then from the list, which keeps the
  // focus meanwhile (as its Insert key does): either way the list is in
  // front again afterwards, the second time with the keyboard back on it.
  for (bool fromList : {false, true}) {
    SCOPED_TRACE(fromList ? "from the list" : "from the button");
    if (fromList) {
      clickInWindow(listB->table()->viewport());
      ASSERT_EQ(b.list.window->focus(), ListControl);
      b.list.window->post(EventKind::Accepted, ChangeButton);
      settle();
    } else {
      clickInWindow(widget(b.list, ChangeButton));
    }
    ASSERT_NE(b.form.window, nullptr);
    EXPECT_EQ(mdi->activeSubWindow(), desk->windowWidget(*b.form.window));
    clickInWindow(widget(b.form, OkButton));
    ASSERT_TRUE(b.form.ended);
    EXPECT_EQ(mdi->activeSubWindow(), desk->windowWidget(*b.list.window));
    EXPECT_TRUE(!fromList || listB->hasFocus());
  }
}

TEST_F(Design, AMessageBoxIsAHeapWindowShownWithoutNestedLoopThatBlocksOnlyItsThread) {
  Script frame = frameScript();
  start(frame);
  unsigned answer = 0;
  Script asker{windowSpec("ASKER", WindowKind::Child), {ctl(ChangeButton, Kind::Button, "&Delete")}, {}, {}, nullptr,
               false};
  asker.handler = [&answer](Window&, const Event& e) {
    if (e.kind == EventKind::Accepted && e.control == ChangeButton)
      answer = message("Are you sure?", "Confirm", MsgIcon::Question, BtnYes | BtnNo, BtnNo);
    return EventLevel::Continue;
  };
  ListWithForm other("OTHER", WindowKind::Child, WindowKind::Child);
  start(asker);
  start(other.list);
  tile(frame);
  clickInWindow(widget(asker, ChangeButton));

  Window* boxWindow = desktop().findByCaption("Confirm");
  ASSERT_NE(boxWindow, nullptr);
  QWidget* shown = must(desk->windowWidget(*boxWindow));
  QPointer<QWidget> box = shown;
  EXPECT_TRUE(shown->isVisible());
  EXPECT_TRUE(shown->isWindow());
  EXPECT_EQ(shown->parentWidget(), desk->frameWidget());
  EXPECT_EQ(shown->windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  for (QWidget* top : QApplication::topLevelWidgets()) EXPECT_EQ(top->windowModality(), Qt::NonModal);
  EXPECT_FALSE(client(asker)->isEnabled());
  EXPECT_TRUE(client(other.list)->isEnabled());

  // The other thread goes on while the box waits for its answer.
  clickInWindow(widget(other.list, ChangeButton));
  ASSERT_NE(other.form.window, nullptr);
  tile(frame);
  clickInWindow(widget(other.form, OkButton));
  EXPECT_TRUE(other.form.ended);
  EXPECT_EQ(answer, 0u);

  QWidget* yes = desk->controlWidget(*boxWindow, BtnYes);
  ASSERT_NE(yes, nullptr);
  QTest::mouseClick(yes, Qt::LeftButton);
  settle();
  EXPECT_EQ(answer, static_cast<unsigned>(BtnYes));
  EXPECT_TRUE(box.isNull());  // deleted once the box was done with
  EXPECT_TRUE(client(asker)->isEnabled());
}

TEST_F(Design, AMessageBoxHasRoomForAllOfItsText) {
  const std::string texts[] = {
      "Adding this record creates a duplicate entry for the key: Case Number",
      "The value of Hourly Rate is too large for its field, which holds numbers from -999999999.99 to 999999999.99. "
      "The value was not stored.",
      "An error was experienced during the update of record. Do you want to try to save again?|"
      "Error: (5) a long explanation that keeps on going well past the width of the widest box there is",
  };
  for (const std::string& text : texts) {
    Script asker{windowSpec("ASKER", WindowKind::Own), {ctl(ChangeButton, Kind::Button, "&Go")}, {}, {}, nullptr, false};
    asker.handler = [&text](Window&, const Event& e) {
      if (e.kind == EventKind::Accepted && e.control == ChangeButton) message(text, "Box", MsgIcon::Stop, BtnOk);
      return EventLevel::Continue;
    };
    start(asker);
    clickInWindow(widget(asker, ChangeButton));
    Window* boxWindow = desktop().findByCaption("Box");
    ASSERT_NE(boxWindow, nullptr) << text;
    QWidget* label = must(desk->controlWidget(*boxWindow, MessageTextControl));
    QString shown = QString::fromLatin1(text.c_str()).replace(u'|', u'\n');
    QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 100000), Qt::TextWordWrap, shown);
    EXPECT_LE(needed.height(), label->height()) << text;
    EXPECT_LE(needed.width(), label->width()) << text;
    QTest::mouseClick(must(desk->controlWidget(*boxWindow, BtnOk)), Qt::LeftButton);
    settle();
    asker.window->post(EventKind::CloseRequest);
    settle();
  }
}

TEST_F(Design, TheFrameWidgetIsNeverDisabled) {
  Script about{windowSpec("About", WindowKind::Own), {}, {}, {}, nullptr, false};
  Script frame = frameScript([&about](Window&, const Event& e) {
    if (e.kind == EventKind::Accepted && e.control == AboutItem) about.run();
    return EventLevel::Continue;
  });
  start(frame);
  ListWithForm other("OTHER", WindowKind::Child, WindowKind::Child);
  start(other.list);
  desk->controlAction(*frame.window, AboutItem)->trigger();
  settle();
  ASSERT_NE(about.window, nullptr);

  QMainWindow* main = must(desk->frameWidget());
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(must(desk->mdiArea())->isEnabled());
  EXPECT_FALSE(must(main->menuBar())->isEnabled());
  EXPECT_FALSE(must(main->findChild<QToolBar*>())->isEnabled());
  // Another thread's MDI child in the frame stays usable.
  clickInWindow(widget(other.list, ChangeButton));
  EXPECT_NE(other.form.window, nullptr);
  clickInWindow(widget(other.form, OkButton));

  input::closeWindow(*about.window);
  settle();
  EXPECT_TRUE(about.ended);
  EXPECT_TRUE(must(main->menuBar())->isEnabled());
}

TEST_F(Design, PrinterSetUpIsQtsDialogShownWhileTheCallingThreadWaits) {
  Script frame = frameScript();
  start(frame);
  desk->controlAction(*frame.window, PrintSetupItem)->trigger();
  settle();
  QPrintDialog* shown = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<QPrintDialog*>(top); d && d->isVisible()) shown = d;
  QPointer<QPrintDialog> dialog = must(shown);
  EXPECT_FALSE(shown->isModal());
  EXPECT_EQ(shown->windowModality(), Qt::NonModal);
  EXPECT_EQ(shown->windowTitle(), "Print Setup");
  QMainWindow* main = must(desk->frameWidget());
  EXPECT_FALSE(must(main->menuBar())->isEnabled());
  EXPECT_TRUE(main->isEnabled());

  // The frame's thread waits in the dialog: its next event waits too.
  frame.window->post(EventKind::Accepted, AboutItem);
  settle();
  EXPECT_FALSE(frame.saw("Accepted -34"));

  shown->reject();
  settle();
  EXPECT_TRUE(frame.saw("Accepted -34"));
  EXPECT_TRUE(dialog.isNull());
  EXPECT_TRUE(must(main->menuBar())->isEnabled());
}

TEST_F(Design, APrinterSetUpDialogGoesWithTheThreadThatWaitsForIt) {
  auto shownDialogs = [] {
    int n = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (qobject_cast<QPrintDialog*>(top)) ++n;
    return n;
  };
  // The thread ends while the dialog is shown, and before it was even made.
  for (bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "shown" : "not made yet");
    Script frame = frameScript();
    start(frame);
    desk->controlAction(*frame.window, PrintSetupItem)->trigger();
    if (shown) {
      settle();
      ASSERT_EQ(shownDialogs(), 1);
    }
    scheduler().endAllThreads();
    settle();
    EXPECT_EQ(shownDialogs(), 0);
    EXPECT_EQ(desk->frameWidget(), nullptr);
  }
}

TEST_F(Design, ANestedEventLoopOnALogicalThreadIsCounted) {
  Script s{windowSpec("nested"), {ctl(1, Kind::Button, "Wait")}, {}, {}, nullptr, false};
  s.handler = [](Window&, const Event& e) {
    if (e.kind == EventKind::Accepted) {
      QEventLoop loop;
      QTimer::singleShot(20, &loop, &QEventLoop::quit);
      loop.exec();
    }
    return EventLevel::Continue;
  };
  start(s);
  EXPECT_EQ(scheduler().nestedLoopViolations(), 0);
  QTest::mouseClick(widget(s, 1), Qt::LeftButton);
  settle();
  EXPECT_GT(scheduler().nestedLoopViolations(), 0);
  expectedViolations = scheduler().violations();
}

}  // namespace
}  // namespace platform::qt::test
