// The windows of the case form as a user meets them on the desktop: where
// they reopen, and which window has the front and the keys after a window
// of its own closes.

#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>

#include "cases/browse_case_close_summary.h"
#include "cases/options.h"
#include "cases/select_date.h"
#include "cases/update_case_close_summary.h"
#include "platform/os/profile.h"
#include "platform/qt/images.h"
#include "platform/qt/widgets.h"
#include "tests/app/desktop/desktop_fixture.h"

namespace desktoptest {
namespace {

namespace cf = cases::case_form;
namespace browse = cases::case_list;

constexpr const char* Added = "Record Will Be Added";

class CaseFormWindows : public DesktopTest {
 protected:
  Window& newCase() {
    click(*list, browse::INSERT_3);
    return window(Added);
  }
  void showTab(Window& form, int tab) {
    auto* sheet = qobject_cast<platform::qt::SheetWidget*>(widget(form, cf::CURRENTTAB));
    ASSERT_NE(sheet, nullptr);
    sheet->bar()->setCurrentIndex(tab - 1);
    settle();
  }
  // The window the calendar button opens: the one window of its own without
  // a caption.
  Window& calendar() { return window(""); }
  Window& box21(Window& form) {
    showTab(form, 5);
    click(form, cf::BUTTON3);
    return window("BOX 21");
  }
  static std::optional<int> saved(const char* section, const char* entry) {
    const std::optional<std::string> v = platform::findProfileString(section, entry, app::SettingsFileName);
    return v ? std::optional<int>(std::stoi(*v)) : std::nullopt;
  }
  // Where a position in pixels lands once it has been stored in dialog units.
  static QPoint stored(const platform::qt::DialogUnits& du, QPoint p) {
    return {du.toX(du.fromX(p.x())), du.toY(du.fromY(p.y()))};
  }
};

TEST_F(CaseFormWindows, TheFormAndBox21ReopenWhereTheyWereLeft) {
  Window* form = &newCase();
  const platform::qt::DialogUnits du = desk->units(*form);
  const QPoint centred = sub(*form)->pos();
  const QPoint moved = centred + QPoint(30, 20);
  sub(*form)->move(moved);
  ASSERT_TRUE(waitFor([&] { return form->rect().x == du.fromX(moved.x()); }));
  click(*form, cf::CANCEL);
  ASSERT_EQ(findWindow(Added), nullptr);
  EXPECT_EQ(saved("UpdateCaseCloseSummary", "XPos"), du.fromX(moved.x()));
  EXPECT_EQ(saved("UpdateCaseCloseSummary", "YPos"), du.fromY(moved.y()));

  form = &newCase();
  EXPECT_EQ(sub(*form)->pos(), stored(du, moved)) << "centred at " << centred.x() << "," << centred.y();

  // BOX 21 is a window of its own the user can also resize.
  Window* box = &box21(*form);
  QWidget* top = desk->windowWidget(*box);
  const platform::qt::DialogUnits boxDu = desk->units(*box);
  const QPoint boxMoved = top->pos() + QPoint(70, -30);
  const QSize boxSize = desk->clientWidget(*box)->size() + QSize(90, 60);
  top->move(boxMoved);
  top->resize(top->size() + QSize(90, 60));
  // A window manager moves and sizes it in its own time.
  ASSERT_TRUE(waitFor([&] { return top->pos() == boxMoved && desk->clientWidget(*box)->size() == boxSize; }));
  click(*box, cases::options::OK);
  ASSERT_EQ(findWindow("BOX 21"), nullptr);

  box = &box21(*form);
  top = desk->windowWidget(*box);
  const QSize storedSize(boxDu.toX(boxDu.fromX(boxSize.width())), boxDu.toY(boxDu.fromY(boxSize.height())));
  waitFor([&] { return top->pos() == stored(boxDu, boxMoved) && desk->clientWidget(*box)->size() == storedSize; });
  EXPECT_EQ(top->pos(), stored(boxDu, boxMoved));
  EXPECT_EQ(desk->clientWidget(*box)->size(), storedSize);
  click(*box, cases::options::OK);
}

TEST_F(CaseFormWindows, Box21ShowsItsTableAsDrawnAndInProportionWhenResized) {
  Window& form = newCase();
  Window& box = box21(form);
  auto* image = qobject_cast<platform::qt::ImageWidget*>(widget(box, cases::options::IMAGE1));
  ASSERT_NE(image, nullptr);
  const QImage table = platform::qt::loadImage(cases::options::CodeTablePicture);
  ASSERT_FALSE(table.isNull());
  // At the window's designed size the picture is the control's size and
  // shape: drawn as it is, pixel for pixel.
  EXPECT_EQ(image->size(), table.size());
  EXPECT_EQ(image->pictureRect(), QRect(QPoint(0, 0), table.size()));

  // Made wider than tall, the window shows the whole table larger, in its
  // own proportions.
  QWidget* top = desk->windowWidget(box);
  top->resize(top->size() + QSize(300, 100));
  ASSERT_TRUE(waitFor([&] { return image->width() > table.width() + 200; }));
  const QRect drawn = image->pictureRect();
  EXPECT_GT(drawn.height(), table.height());
  EXPECT_NEAR(double(drawn.width()) / drawn.height(), double(table.width()) / table.height(), 0.01);
  click(box, cases::options::OK);
  click(form, cf::CANCEL);
}

// The runs of ink across the lines y0 to y1 of a picture, from x0 to x1:
// the first and last column of each run of columns holding a pixel that
// `ink` accepts, runs less than four columns apart taken as one.
std::vector<std::pair<int, int>> inkRuns(const QImage& image, QRect lines, const std::function<bool(QColor)>& ink) {
  std::vector<std::pair<int, int>> runs;
  for (int x = lines.left(); x <= lines.right(); ++x) {
    bool inked = false;
    for (int y = lines.top(); y <= lines.bottom() && !inked; ++y) inked = ink(image.pixelColor(x, y));
    if (!inked) continue;
    if (!runs.empty() && x - runs.back().second < 4)
      runs.back().second = x;
    else
      runs.push_back({x, x});
  }
  return runs;
}

TEST_F(CaseFormWindows, TheCalendarHasNoTitleBarAndItsDaysStandUnderTheirWeekdays) {
  namespace sd = cases::select_date;
  Window& form = newCase();
  click(form, cf::BUTTON4);
  Window& cal = calendar();
  QWidget* top = desk->windowWidget(cal);
  EXPECT_TRUE(top->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(top->windowHandle()->frameMargins().isNull()) << "a window manager framed it";

  // March 2007: its second week, 4 to 10, fills cells 8 to 14, Sunday to
  // Saturday, in black on the grey window; the header's words are silver
  // on dark grey.
  const QImage shot = top->grab().toImage();
  const QRect header = widget(cal, sd::STRING1)->geometry();
  const auto words = inkRuns(shot, header, [](QColor c) { return c.lightness() > 160; });
  const QRect week(3, widget(cal, sd::cell(8))->y(), shot.width() - 7, widget(cal, sd::cell(8))->height());
  const auto days = inkRuns(shot, week, [](QColor c) { return c.lightness() < 80; });
  ASSERT_EQ(words.size(), 7u);
  ASSERT_EQ(days.size(), 7u);
  for (std::size_t i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_LE(std::abs((words[i].first + words[i].second) - (days[i].first + days[i].second)), 6)
        << "a day stands beside its weekday";
  }
  // "10", Saturday's two digits, stay clear of the window's edge.
  EXPECT_LE(days[6].second, shot.width() - 8);
  click(cal, sd::CANCELBUTTON);
  click(form, cf::CANCEL);
}

struct OwnWindow {
  const char* name;
  bool calendar;
};

TEST_F(CaseFormWindows, AfterAWindowOfItsOwnClosesTheFormHasTheFrontAndTheKeys) {
  for (OwnWindow own : {OwnWindow{"the calendar", true}, OwnWindow{"BOX 21", false}}) {
    SCOPED_TRACE(own.name);
    Window& form = newCase();
    if (own.calendar) {
      click(form, cf::BUTTON4);
      click(calendar(), cases::select_date::CANCELBUTTON);
    } else {
      click(box21(form), cases::options::OK);
      showTab(form, 1);
    }
    ASSERT_TRUE(waitFor([&] { return !findWindow(own.calendar ? "" : "BOX 21"); }));
    // The frame is the active window, the form its active child, and the
    // focus in the form (a window manager answers in its own time).
    auto inForm = [&] {
      QWidget* focused = QApplication::focusWidget();
      return focused && desk->clientWidget(form)->isAncestorOf(focused);
    };
    waitFor([&] {
      return QApplication::activeWindow() == main() && desk->mdiArea()->activeSubWindow() == sub(form) && inForm();
    });
    EXPECT_EQ(QApplication::activeWindow(), main());
    EXPECT_EQ(desk->mdiArea()->activeSubWindow(), sub(form)) << "the case list came to the front";
    EXPECT_TRUE(inForm());

    // The keys are the form's: Tab moves its focus on.
    const int before = form.focus();
    QTest::keyClick(main()->windowHandle(), Qt::Key_Tab);
    settle();
    EXPECT_NE(form.focus(), before) << "the keys did not reach the form";
    click(form, cf::CANCEL);
    if (Window* box = findWindow("")) FAIL() << "a window is left: " << box->caption();
  }
}

TEST_F(CaseFormWindows, TheFrameFillsTheScreenAndAFormLargerThanItsAreaCanBeScrolledTo) {
  // Opened maximized, with or without a window manager to do it.
  QScreen* screen = main()->screen();
  ASSERT_NE(screen, nullptr);
  waitFor([&] { return main()->frameGeometry() == screen->availableGeometry(); });
  EXPECT_EQ(main()->frameGeometry(), screen->availableGeometry());

  // Restored to its designed size, the frame's area is smaller than the
  // form; the area scrolls to the form's buttons.
  main()->showNormal();
  const QSize designed = desk->units(*frame).toPixels(frame->rect().width, frame->rect().height);
  ASSERT_TRUE(waitFor([&] { return !frame->maximized() && main()->size() == designed; }));
  Window& form = newCase();
  QMdiArea* mdi = desk->mdiArea();
  QWidget* ok = widget(form, cf::OK);
  auto okInView = [&] {
    const QRect seen = mdi->viewport()->rect();
    return seen.contains(QRect(ok->mapTo(mdi->viewport(), QPoint(0, 0)), ok->size()));
  };
  ASSERT_FALSE(okInView()) << "the frame's area holds the whole form: nothing to scroll";
  mdi->verticalScrollBar()->setValue(mdi->verticalScrollBar()->maximum());
  mdi->horizontalScrollBar()->setValue(mdi->horizontalScrollBar()->maximum());
  settle();
  EXPECT_TRUE(okInView());
  click(form, cf::CANCEL);
  EXPECT_EQ(findWindow(Added), nullptr);
}

}  // namespace
}  // namespace desktoptest
