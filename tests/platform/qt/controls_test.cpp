// Every control kind on the offscreen desktop: what the model sets shows on
// the widget, and what the user does on the widget reaches the window's
// event loop.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <cstring>

#include "platform/qt/widgets.h"
#include "qt_fixture.h"

namespace platform::qt::test {
namespace {

using Kind = ControlKind;

struct KindCase {
  ControlKind kind;
  const char* widgetClass;
};

// The widget each kind is drawn with.
const KindCase kinds[] = {
    {Kind::Prompt, "platform::qt::LabelWidget"}, {Kind::String, "platform::qt::LabelWidget"},
    {Kind::Entry, "QLineEdit"},                  {Kind::Text, "QPlainTextEdit"},
    {Kind::Button, "QPushButton"},               {Kind::Check, "QCheckBox"},
    {Kind::DropList, "QComboBox"},               {Kind::Combo, "QComboBox"},
    {Kind::DropCombo, "QComboBox"},              {Kind::Spin, "platform::qt::SpinEntry"},
    {Kind::List, "platform::qt::ListWidget"},    {Kind::Sheet, "platform::qt::SheetWidget"},
    {Kind::Image, "platform::qt::ImageWidget"},  {Kind::Box, "platform::qt::BoxWidget"},
    {Kind::Panel, "platform::qt::BoxWidget"},    {Kind::Region, "QWidget"},
    {Kind::Progress, "QProgressBar"},            {Kind::Option, "QWidget"},
};

class Controls : public QtTest {};

TEST_F(Controls, CommonPropertiesSetInTheModelShowOnTheWidget) {
  for (const KindCase& k : kinds) {
    SCOPED_TRACE(kindName(k.kind));
    Script s{windowSpec("kinds"), {ctl(1, Kind::Entry), ctl(2, k.kind, "x", {10, 30, 80, 40})}, {}, {}, nullptr, false};
    start(s);
    ASSERT_NE(s.window, nullptr);
    QWidget* w = desk->controlWidget(*s.window, 2);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->inherits(k.widgetClass)) << w->metaObject()->className();
    QWidget* top = desk->windowWidget(*s.window);
    const DialogUnits du = desk->units(*s.window);
    EXPECT_EQ(w->geometry(), du.toPixels(Rect{10, 30, 80, 40}));

    Control& c = s.window->control(2);
    EXPECT_TRUE(w->isVisibleTo(top));
    c.setHidden(true);
    EXPECT_FALSE(w->isVisibleTo(top));
    c.setHidden(false);
    EXPECT_TRUE(w->isVisibleTo(top));

    c.setDisabled(true);
    EXPECT_FALSE(w->isEnabled());
    c.setDisabled(false);
    EXPECT_TRUE(w->isEnabled());

    c.setTip("Accept Operation");
    EXPECT_EQ(w->toolTip(), "Accept Operation");

    c.setFont(Font{"Verdana", 14, true, false, 0});
    EXPECT_EQ(w->font().family(), "DejaVu Sans");
    EXPECT_EQ(w->font().pointSize(), 14);
    EXPECT_TRUE(w->font().bold());

    c.setRect(Rect{20, 40, 50, 30});
    EXPECT_EQ(w->geometry(), du.toPixels(Rect{20, 40, 50, 30}));

    c.setFill(rgb(0x71, 0x0F, 0x27));
    c.setFontColor(rgb(255, 255, 255));
    if (auto* label = qobject_cast<LabelWidget*>(w)) {
      EXPECT_EQ(label->fill(), QColor(0x71, 0x0F, 0x27));
      EXPECT_EQ(label->ink(), QColor(Qt::white));
    } else if (auto* box = qobject_cast<BoxWidget*>(w)) {
      EXPECT_EQ(box->fill(), QColor(0x71, 0x0F, 0x27));
    } else {
      EXPECT_EQ(w->palette().color(QPalette::Base), QColor(0x71, 0x0F, 0x27));
      EXPECT_EQ(w->palette().color(QPalette::Text), QColor(Qt::white));
    }
    c.setFill(NoColor);
    if (auto* label = qobject_cast<LabelWidget*>(w)) {
      EXPECT_FALSE(label->fill().isValid());
    }
    input::closeWindow(*s.window);
    settle();
    EXPECT_TRUE(s.ended);
  }
}

TEST_F(Controls, ParentsHideAndDisableTheirChildrenAndTabsShowTheirOwn) {
  ControlSpec sheet = ctl(1, Kind::Sheet, "", {0, 0, 180, 100});
  Script s{windowSpec("sheet"),
           {sheet, ctl(2, Kind::Tab, "&1) Case Name", {}, 1), ctl(3, Kind::Entry, "", {10, 20, 60, 12}, 2),
            ctl(4, Kind::Tab, "&2) Case Number", {}, 1), ctl(5, Kind::Entry, "", {10, 20, 60, 12}, 4)},
           {}, {}, nullptr, false};
  start(s);
  QWidget* top = desk->windowWidget(*s.window);
  auto* sw = widget<SheetWidget>(s, 1);
  ASSERT_NE(sw, nullptr);
  ASSERT_EQ(sw->bar()->count(), 2);
  EXPECT_EQ(sw->bar()->tabText(1), "&2) Case Number");
  EXPECT_TRUE(widget(s, 3)->isVisibleTo(top));
  EXPECT_FALSE(widget(s, 5)->isVisibleTo(top));

  // The user picks the second tab: the model hears it, the controls follow.
  QTest::mouseClick(sw->bar(), Qt::LeftButton, Qt::NoModifier, sw->bar()->tabRect(1).center());
  settle();
  EXPECT_TRUE(s.saw("NewSelection 1"));
  EXPECT_EQ(s.window->control(1).selected(), 2);
  EXPECT_FALSE(widget(s, 3)->isVisibleTo(top));
  EXPECT_TRUE(widget(s, 5)->isVisibleTo(top));

  // The code picks it back; a hidden or disabled tab shows as such.
  s.window->control(1).setSelected(1);
  EXPECT_EQ(sw->bar()->currentIndex(), 0);
  s.window->control(4).setHidden(true);
  EXPECT_FALSE(sw->bar()->isTabVisible(1));
  s.window->control(2).setDisabled(true);
  EXPECT_FALSE(sw->bar()->isTabEnabled(0));
  EXPECT_FALSE(widget(s, 3)->isEnabled());
}

TEST_F(Controls, ReadOnlyAndMaskedEntries) {
  ControlSpec pass = ctl(1, Kind::Entry);
  pass.password = true;
  Script s{windowSpec("entries"),
           {pass, ctl(2, Kind::Text), ctl(3, Kind::Spin), ctl(4, Kind::Combo, "", {4, 4, 60, 40})}, {}, {}, nullptr,
           false};
  start(s);
  EXPECT_EQ(widget<QLineEdit>(s, 1)->echoMode(), QLineEdit::Password);
  for (int n : {1, 2, 3, 4}) s.window->control(n).setReadOnly(true);
  EXPECT_TRUE(widget<QLineEdit>(s, 1)->isReadOnly());
  EXPECT_TRUE(widget<QPlainTextEdit>(s, 2)->isReadOnly());
  EXPECT_TRUE(widget<SpinEntry>(s, 3)->isReadOnly());
  EXPECT_TRUE(widget<QComboBox>(s, 4)->lineEdit()->isReadOnly());
  s.window->control(1).setReadOnly(false);
  EXPECT_FALSE(widget<QLineEdit>(s, 1)->isReadOnly());
}

TEST_F(Controls, TypingReachesTheVariableWhenTheEntryIsLeft) {
  char name[20];
  std::memset(name, ' ', sizeof name);
  ControlSpec entry = ctl(1, Kind::Entry);
  entry.var = FieldRef(FieldType::String, reinterpret_cast<std::uint8_t*>(name), sizeof name);
  entry.picture = "s20";
  ControlSpec ok = ctl(3, Kind::Button, "&OK", {4, 40, 40, 14});
  ok.defaultButton = true;
  Script s{windowSpec("type"), {entry, ctl(2, Kind::Entry, "", {4, 20, 60, 12}), ok}, {}, {}, nullptr, false};
  start(s);
  auto* e = widget<QLineEdit>(s, 1);
  ASSERT_EQ(s.window->focus(), 1);
  QTest::keyClicks(e, "Doe");
  settle();
  EXPECT_EQ(s.window->control(1).text(), "Doe");
  EXPECT_EQ(std::string(name, 3), "   ");  // not accepted yet

  QTest::keyClick(e, Qt::Key_Tab);
  settle();
  EXPECT_EQ(std::string(name, 4), "Doe ");
  EXPECT_TRUE(s.saw("Accepted 1"));
  EXPECT_EQ(s.window->focus(), 2);
  EXPECT_TRUE(widget(s, 2)->hasFocus());

  // Enter in an entry accepts it and presses the default button.
  QTest::keyClicks(widget(s, 2), "x");
  QTest::keyClick(widget(s, 2), Qt::Key_Return);
  settle();
  EXPECT_TRUE(s.saw("Accepted 2"));
  EXPECT_TRUE(s.saw("Accepted 3"));

  // The code changes the variable: the entry shows it after the event.
  std::memcpy(name, "Roe", 3);
  s.window->display();
  EXPECT_EQ(e->text(), "Roe");
}

TEST_F(Controls, TheFocusTheProgramGivesSelectsAnEntrysTextAndAClickDoesNot) {
  std::uint8_t rate[4] = {};  // DECIMAL(7,3) zero: "0.000"
  std::uint8_t day[4] = {15, 3, 0xD7, 0x07};
  ControlSpec entry = ctl(1, Kind::Entry);
  entry.var = FieldRef(FieldType::Decimal, rate, 4, 7, 3);
  entry.picture = "n6.3";
  ControlSpec spin = ctl(2, Kind::Spin, "", {4, 20, 60, 12});
  spin.var = FieldRef(FieldType::Date, day, 4);
  spin.picture = "D2B";
  Script s{windowSpec("focus"), {entry, spin}, {}, {}, nullptr, false};
  start(s);
  auto* e = widget<QLineEdit>(s, 1);
  ASSERT_TRUE(e->hasFocus());
  EXPECT_EQ(e->selectedText(), "0.000");  // the window opened on it
  QTest::keyClicks(e, "0.485");
  settle();
  EXPECT_EQ(e->text(), "0.485");

  QTest::keyClick(e, Qt::Key_Tab);
  settle();
  ASSERT_EQ(s.window->focus(), 2);
  EXPECT_EQ(widget<SpinEntry>(s, 2)->edit()->selectedText(), "3/15/2007");

  // A click puts the cursor where it lands, in an entry as in a spin box.
  QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, QPoint(2, e->height() / 2));
  settle();
  ASSERT_EQ(s.window->focus(), 1);
  EXPECT_EQ(e->selectedText(), "");
  QLineEdit* date = widget<SpinEntry>(s, 2)->edit();
  QTest::mouseClick(date, Qt::LeftButton, Qt::NoModifier, QPoint(2, date->height() / 2));
  settle();
  ASSERT_EQ(s.window->focus(), 2);
  EXPECT_EQ(date->selectedText(), "");
}

TEST_F(Controls, ClicksOnButtonsChecksAndRadiosReachTheModel) {
  ControlSpec option = ctl(3, Kind::Option, "Trial", {4, 30, 120, 40});
  option.boxed = true;
  Script s{windowSpec("clicks"),
           {ctl(1, Kind::Button, "&Go"), ctl(2, Kind::Check, "Detained", {4, 18, 60, 10}), option,
            ctl(4, Kind::Radio, "No Trial", {8, 40, 50, 10}, 3), ctl(5, Kind::Radio, "Jury Trial", {8, 52, 50, 10}, 3)},
           {}, {}, nullptr, false};
  start(s);
  EXPECT_EQ(widget<QGroupBox>(s, 3)->title(), "Trial");
  QTest::mouseClick(widget(s, 1), Qt::LeftButton);
  settle();
  EXPECT_TRUE(s.saw("Accepted 1"));

  QTest::mouseClick(widget(s, 2), Qt::LeftButton);
  settle();
  EXPECT_TRUE(s.window->control(2).checked());
  EXPECT_TRUE(s.saw("Accepted 2"));
  s.window->control(2).setChecked(false);
  EXPECT_FALSE(widget<QCheckBox>(s, 2)->isChecked());

  QTest::mouseClick(widget(s, 5), Qt::LeftButton);
  settle();
  EXPECT_EQ(s.window->control(3).selected(), 2);
  EXPECT_TRUE(s.saw("Accepted 3"));
  EXPECT_TRUE(widget<QRadioButton>(s, 5)->isChecked());
  EXPECT_FALSE(widget<QRadioButton>(s, 4)->isChecked());
  s.window->control(3).setSelected(1);
  EXPECT_TRUE(widget<QRadioButton>(s, 4)->isChecked());
  EXPECT_FALSE(widget<QRadioButton>(s, 5)->isChecked());

  // A read-only group refuses the click and the radios show the model.
  s.window->control(3).setReadOnly(true);
  QTest::mouseClick(widget(s, 5), Qt::LeftButton);
  settle();
  EXPECT_EQ(s.window->control(3).selected(), 1);
  EXPECT_FALSE(widget<QRadioButton>(s, 5)->isChecked());
}

TEST_F(Controls, RadiosWithIconsAreButtonsThatStayDown) {
  ControlSpec cell = ctl(8, Kind::Radio, "15", {4, 20, 16, 12}, 7);
  cell.icon = "Blank.ico";
  cell.transparent = true;
  Script s{windowSpec("", WindowKind::Own, {0, 0, 130, 104}),
           {ctl(7, Kind::Option, "", {0, 0, 130, 104}), cell}, {}, {}, nullptr, false};
  start(s);
  auto* b = widget<QPushButton>(s, 8);
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->isCheckable());
  EXPECT_TRUE(b->isFlat());
  EXPECT_EQ(b->text(), "15");
  s.window->control(8).setFontColor(rgb(255, 0, 0));
  EXPECT_EQ(b->palette().color(QPalette::ButtonText), QColor(Qt::red));
  QTest::mouseClick(b, Qt::LeftButton);
  settle();
  EXPECT_EQ(s.window->control(7).selected(), 1);
  EXPECT_TRUE(s.saw("Accepted 7"));
  EXPECT_EQ(desk->windowWidget(*s.window)->windowTitle(), "");
}

TEST_F(Controls, DropListsAndCombos) {
  ControlSpec drop = ctl(1, Kind::DropList, "", {4, 4, 80, 60});
  drop.choices = {"Under 100 Pages", "100-300 Pages", "Tape Recordings"};
  drop.dropLines = 8;
  ControlSpec combo = ctl(2, Kind::DropCombo, "", {4, 24, 80, 60});
  combo.choices = {"01", "02"};
  Script s{windowSpec("choices"), {drop, combo}, {}, {}, nullptr, false};
  start(s);
  auto* d = widget<QComboBox>(s, 1);
  EXPECT_EQ(d->count(), 3);
  EXPECT_EQ(d->maxVisibleItems(), 8);
  EXPECT_EQ(d->currentIndex(), -1);
  QTest::keyClick(d, Qt::Key_Down);
  settle();
  EXPECT_EQ(s.window->control(1).selected(), 1);
  EXPECT_EQ(s.window->control(1).text(), "Under 100 Pages");
  EXPECT_TRUE(s.saw("NewSelection 1"));
  s.window->control(1).setSelected(3);
  EXPECT_EQ(d->currentText(), "Tape Recordings");
  s.window->control(1).setChoices({"a", "b"});
  EXPECT_EQ(d->count(), 2);

  auto* c = widget<QComboBox>(s, 2);
  ASSERT_TRUE(c->isEditable());
  QTest::mouseClick(c->lineEdit(), Qt::LeftButton);
  QTest::keyClicks(c->lineEdit(), "RV");
  settle();
  EXPECT_EQ(s.window->focus(), 2);
  EXPECT_EQ(s.window->control(2).text(), "RV");
  c->activated(1);  // the user picks the second entry of the list
  settle();
  EXPECT_EQ(s.window->control(2).text(), "02");
  EXPECT_EQ(c->lineEdit()->text(), "02");
}

TEST_F(Controls, SpinBoxesStepThroughTheModel) {
  std::uint8_t count = 5;
  ControlSpec spin = ctl(1, Kind::Spin);
  spin.var = FieldRef(FieldType::Byte, &count, 1);
  spin.picture = "n3";
  spin.rangeLow = 0;
  spin.rangeHigh = 10;
  Script s{windowSpec("spin"), {ctl(2, Kind::Entry), spin}, {}, {}, nullptr, false};
  start(s);
  auto* sp = widget<SpinEntry>(s, 1);
  EXPECT_EQ(sp->edit()->text().trimmed(), "5");
  // The arrows step the variable even before the spin box has the focus.
  sp->stepBy(1);
  settle();
  EXPECT_EQ(count, 6);
  EXPECT_EQ(s.window->focus(), 1);
  EXPECT_TRUE(s.saw("NewSelection 1"));
  QTest::keyClick(sp, Qt::Key_Down);
  QTest::keyClick(sp, Qt::Key_Down);
  settle();
  EXPECT_EQ(count, 4);
  EXPECT_EQ(sp->edit()->text().trimmed(), "4");
  QTest::keyClick(sp, Qt::Key_PageUp);  // no ten-step jumps of the widget's own
  settle();
  EXPECT_EQ(count, 4);
}

TEST_F(Controls, MultiLineTextTakesEnterAsANewLine) {
  ControlSpec text = ctl(1, Kind::Text, "", {4, 4, 100, 40});
  text.vscroll = true;
  Script s{windowSpec("text"), {text, ctl(2, Kind::Button, "OK", {4, 60, 40, 14})}, {}, {}, nullptr, false};
  s.controls[1].defaultButton = true;
  start(s);
  auto* t = widget<QPlainTextEdit>(s, 1);
  EXPECT_EQ(t->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QTest::keyClicks(t, "one");
  QTest::keyClick(t, Qt::Key_Return);
  QTest::keyClicks(t, "two");
  settle();
  EXPECT_EQ(s.window->control(1).text(), "one\ntwo");
  EXPECT_FALSE(s.saw("Accepted 2"));
}

TEST_F(Controls, ListsShowTheirPageAndTurnTheUsersMovesIntoEvents) {
  ControlSpec list = ctl(7, Kind::List, "", {4, 4, 180, 80});
  list.vscroll = true;
  list.columns = {{80, Justify::Left, "Case Number", Justify::Left, "s20"},
                  {60, Justify::Right, "Hourly Rate", Justify::Center, "N$-10.2B"}};
  Script s{windowSpec("list", WindowKind::Own, {10, 10, 200, 100}), {ctl(1, Kind::Entry), list}, {}, {}, nullptr,
           false};
  start(s);
  Control& c = s.window->control(7);
  c.setRows({{"CR-1", "$100.00"}, {"CR-2", "$90.00"}, {"CR-3", "$80.00"}});
  auto* lw = widget<ListWidget>(s, 7);
  QTableView* table = lw->table();
  const DialogUnits du = desk->units(*s.window);
  EXPECT_EQ(table->model()->rowCount(), 3);
  EXPECT_EQ(table->model()->data(table->model()->index(1, 1)).toString(), "$90.00");
  EXPECT_EQ(table->model()->headerData(1, Qt::Horizontal).toString(), "Hourly Rate");
  EXPECT_EQ(table->model()->data(table->model()->index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignHorizontal_Mask,
            Qt::AlignRight);
  EXPECT_EQ(table->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignHorizontal_Mask,
            Qt::AlignHCenter);
  EXPECT_EQ(table->columnWidth(0), du.toX(80));
  EXPECT_TRUE(lw->scrollBar()->isVisibleTo(lw));
  // The real number of rows that fit is the model's page.
  EXPECT_EQ(c.pageRows(), lw->visibleRows());
  EXPECT_GT(c.pageRows(), 1);

  const QRect row2 = table->visualRect(table->model()->index(1, 0));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, row2.center());
  settle();
  EXPECT_EQ(c.selected(), 2);
  EXPECT_EQ(s.window->focus(), 7);
  EXPECT_TRUE(s.saw("NewSelection 7"));
  EXPECT_EQ(table->selectionModel()->selectedRows().value(0).row(), 1);

  QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, row2.center());
  settle();
  EXPECT_TRUE(s.saw("DoubleClick 7"));

  s.log.clear();
  QTest::keyClick(lw, Qt::Key_Down);
  QTest::keyClick(lw, Qt::Key_Insert);
  QTest::keyClick(lw, Qt::Key_D);
  settle();
  EXPECT_EQ((std::vector<std::string>{"Scroll 7", "NewSelection 7", "Key 7", "Key 7"}), s.log);
  EXPECT_EQ(c.selected(), 3);

  s.log.clear();
  QWheelEvent wheel(QPointF(10, 10), lw->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(table->viewport(), &wheel);
  settle();
  EXPECT_EQ(std::count(s.log.begin(), s.log.end(), "Scroll 7"), 3);

  s.log.clear();
  lw->scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  settle();
  EXPECT_TRUE(s.saw("Scroll 7"));
  c.setThumb(40);
  EXPECT_EQ(lw->scrollBar()->value(), 40);

  // More rows than fit (the page is the list object's business): selecting
  // one out of sight never scrolls the rows by themselves.
  std::vector<std::vector<std::string>> many;
  for (int i = 0; i < c.pageRows() + 5; ++i) many.push_back({"CR-" + std::to_string(i), "$1.00"});
  c.setRows(many);
  c.setSelected(static_cast<int>(many.size()));
  EXPECT_EQ(table->verticalScrollBar()->value(), 0);
  EXPECT_EQ(table->rowAt(0), 0);

  // Fewer rows: the view follows, and the selection with it.
  c.setRows({{"CR-9", "$1.00"}});
  EXPECT_EQ(table->model()->rowCount(), 1);
  EXPECT_EQ(table->selectionModel()->selectedRows().value(0).row(), 0);
}

TEST_F(Controls, ImagesBoxesRegionsAndProgressBars) {
  ControlSpec region = ctl(100, Kind::Region, "", {4, 40, 60, 10});
  region.cursor = CursorShape::Hand;
  ControlSpec progress = ctl(3, Kind::Progress, "", {4, 60, 100, 10});
  progress.rangeLow = 0;
  progress.rangeHigh = 50;
  ControlSpec icon = ctl(2, Kind::Image, "stop", {4, 4, 20, 20});
  Script s{windowSpec("look"), {icon, progress, region}, {}, {}, nullptr, false};
  start(s);
  EXPECT_FALSE(widget<ImageWidget>(s, 2)->pixmap().isNull());
  auto* bar = widget<QProgressBar>(s, 3);
  EXPECT_EQ(bar->maximum(), 50);
  s.window->control(3).setValue(20);
  EXPECT_EQ(bar->value(), 20);

  QWidget* r = widget(s, 100);
  EXPECT_EQ(r->cursor().shape() == Qt::PointingHandCursor || r->cursor().shape() == Qt::BitmapCursor, true);
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), r->mapToGlobal(QPointF(2, 2)));
  QCoreApplication::sendEvent(r, &enter);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(r, &leave);
  QTest::mouseClick(r, Qt::LeftButton);
  settle();
  EXPECT_EQ((std::vector<std::string>{"PointerIn 100", "PointerOut 100", "PointerUp 100"}),
            std::vector<std::string>(s.log.end() - 3, s.log.end()));
}

TEST_F(Controls, AlertKeysReachTheWindowBeforeTheWidget) {
  Script s{windowSpec("alert"), {ctl(1, Kind::Entry)}, {}, {}, nullptr, false};
  s.handler = [](Window& w, const Event& e) {
    if (e.kind == EventKind::OpenWindow) w.alert(KeyPress::ctrl('H'));
    return EventLevel::Continue;
  };
  start(s);
  auto* e = widget<QLineEdit>(s, 1);
  QTest::keyClicks(e, "ab");
  QTest::keyClick(e, Qt::Key_H, Qt::ControlModifier);
  settle();
  EXPECT_TRUE(s.saw("AlertKey 1"));
  EXPECT_EQ(e->text(), "ab");  // not a backspace
}

TEST_F(Controls, MenusToolbarAndStatusBarOfTheFrame) {
  WindowSpec frame = windowSpec("Frame", WindowKind::Frame, {0, 0, 654, 318});
  frame.statusZones = {-1, 80, 120, 45};
  ControlSpec hidden = ctl(-12, Kind::Item, "Browse the HOURLY file", {}, -10);
  hidden.hidden = true;
  ControlSpec browse = ctl(-11, Kind::Item, "OPEN MY CASE FILES", {}, -10);
  browse.statusText = "Browse CaseCloseSummary";
  ControlSpec info = ctl(-35, Kind::Item, "Lanvik");
  info.disabled = true;
  ControlSpec tool = ctl(-37, Kind::Button, "OPEN MY CASE FILES", {0, 0, 128, 26}, -36);
  tool.font = Font{"Verdana", 8, false, false, 0};
  tool.icon = "folder.ico";
  Script s{frame,
           {ctl(-10, Kind::Menu, "&Browse"), browse, hidden, ctl(-13, Kind::Item, "-", {}, -10), info,
            ctl(-36, Kind::Toolbar), tool},
           {}, {}, nullptr, false};
  start(s);
  QMainWindow* main = desk->frameWidget();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->isVisible());
  QAction* menu = desk->controlAction(*s.window, -10);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->text(), "&Browse");
  EXPECT_FALSE(desk->controlAction(*s.window, -12)->isVisible());
  EXPECT_TRUE(desk->controlAction(*s.window, -13)->isSeparator());
  EXPECT_FALSE(desk->controlAction(*s.window, -35)->isEnabled());
  EXPECT_EQ(desk->controlAction(*s.window, -11)->statusTip(), "Browse CaseCloseSummary");

  desk->controlAction(*s.window, -11)->trigger();
  settle();
  EXPECT_TRUE(s.saw("Accepted -11"));
  // A hidden item still works for the code.
  s.window->post(EventKind::Accepted, -12);
  settle();
  EXPECT_TRUE(s.saw("Accepted -12"));

  auto* button = qobject_cast<QToolButton*>(desk->controlWidget(*s.window, -37));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->size(), desk->units(*s.window).toPixels(128, 26));
  EXPECT_EQ(button->font().family(), "DejaVu Sans");
  // The text, then its icon right beside it, the two in the middle of the
  // button: an icon never stands nearer the next button's text than its own.
  auto* laid = must(qobject_cast<ToolbarButton*>(button));
  const QRect text = laid->textRect(), icon = laid->iconRect();
  ASSERT_FALSE(icon.isEmpty());
  EXPECT_GE(text.width(), button->fontMetrics().horizontalAdvance("OPEN MY CASE FILES"));
  EXPECT_LT(text.right(), icon.left());
  EXPECT_LE(icon.left() - text.right(), 8);
  EXPECT_LE(std::abs(text.left() - (button->width() - 1 - icon.right())), 2);
  QTest::mouseClick(button, Qt::LeftButton);
  settle();
  EXPECT_TRUE(s.saw("Accepted -37"));

  ASSERT_NE(desk->statusZone(4), nullptr);
  EXPECT_EQ(desk->statusZone(2)->width(), desk->units(*s.window).toX(80));
  s.window->setStatusText(2, "zone two");
  EXPECT_EQ(desk->statusZone(2)->text(), "zone two");
  s.window->setCaption("New caption");
  EXPECT_EQ(main->windowTitle(), "New caption");
}

TEST_F(Controls, WindowsWithoutAnIconOfTheirOwnShowTheProgramsIcon) {
  const QIcon style = QApplication::style()->standardIcon(QStyle::SP_TitleBarMenuButton);
  auto same = [](const QIcon& a, const QIcon& b) { return a.pixmap(16).toImage() == b.pixmap(16).toImage(); };
  for (const char* program : {"docs black.ico", ""}) {
    SCOPED_TRACE(program);
    WindowSpec frameSpec = windowSpec("Frame", WindowKind::Frame, {0, 0, 400, 250});
    frameSpec.icon = program;
    Script frame{frameSpec, {}, {}, {}, nullptr, false};
    start(frame);
    Script child{windowSpec("FORM", WindowKind::Child), {}, {}, {}, nullptr, false};
    Script own{windowSpec("BOX", WindowKind::Own), {}, {}, {}, nullptr, false};
    start(child);
    start(own);
    const QIcon childIcon = must(desk->windowWidget(*child.window))->windowIcon();
    EXPECT_FALSE(childIcon.isNull());
    EXPECT_FALSE(same(childIcon, style));  // never the toolkit's emblem
    if (*program) {
      const QIcon frameIcon = must(desk->frameWidget())->windowIcon();
      EXPECT_TRUE(same(childIcon, frameIcon));
      EXPECT_TRUE(same(must(desk->windowWidget(*own.window))->windowIcon(), frameIcon));
    }
    scheduler().endAllThreads();
    settle();
  }
}

}  // namespace
}  // namespace platform::qt::test
