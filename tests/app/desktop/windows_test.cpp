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
