// The mileage-rate windows through the real Qt widgets, offscreen: the
// program from its password gate, a rate added from the frame's menu, and
// the rate picked in the picker by a double-click, for a thread that plays
// the picker's caller.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/frame/data_layer.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "app/main_frame.h"
#include "app/password_windows.h"
#include "cases/rate_windows.h"
#include "cases/select_rate_milage.h"
#include "dictionary/dictionary.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/os/os_fakes.h"
#include "platform/qt/widgets.h"
#include "platform/types/clock.h"
#include "platform/types/daynum.h"
#include "platform/types/picture.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

using platform::qt::test::must;
namespace rl = cases::rate_list;
namespace rf = cases::rate_form;
namespace rp = cases::rate_picker;

class RateWindowsQtTest : public platform::qt::test::QtTest {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "lv-qt-rates-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    if (const char* x = std::getenv("XDG_CONFIG_HOME")) oldXdg = x;
    ::setenv("XDG_CONFIG_HOME", (dir / "xdg").c_str(), 1);
    platform::setClockSource([] {
      platform::LocalDateTime t;
      t.date = {2007, 3, 15};
      return t;
    });
    platform::setSystemDateTimeFormat(platform::DateTimeFormat{});
    app::InstallDataLayer();
  }
  void TearDown() override {
    QtTest::TearDown();
    platform::scheduler().endAllThreads();
    settle();
    app::SetThreadDataLayer(nullptr);
    dictionary::setThreadDataSource({});
    platform::setClockSource({});
    std::filesystem::current_path(oldCwd);
    if (oldXdg)
      ::setenv("XDG_CONFIG_HOME", oldXdg->c_str(), 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  // Settles until `found` answers a widget, for at most five seconds.
  template <class F>
  auto waitFor(F found) -> decltype(found()) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
      settle();
      if (auto* w = found()) return w;
      if (clock.elapsed() > 5000) return nullptr;
      QTest::qWait(10);
    }
  }
  QMainWindow* frame() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) return m;
    return nullptr;
  }
  QWidget* topLevel(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->windowTitle() == title) return w;
    return nullptr;
  }
  QMdiSubWindow* child(const QString& title) {
    if (QMainWindow* f = frame())
      if (auto* area = f->findChild<QMdiArea*>())
        for (QMdiSubWindow* s : area->subWindowList())
          if (s->isVisible() && s->windowTitle() == title) return s;
    return nullptr;
  }
  // The widget of control `number` (the desktop marks each with its number).
  template <class T>
  static T* control(QWidget* window, int number) {
    for (T* w : window->findChildren<T*>())
      if (w->property("lvControl").toInt() == number && w->isVisible()) return w;
    return nullptr;
  }
  static QTableView* table(QWidget* window, int number) {
    QWidget* holder = control<QWidget>(window, number);
    return holder ? holder->findChild<QTableView*>() : nullptr;
  }
  // The row of a list whose cells read `date` and `rate`; -1 for none.
  static int rowOf(QTableView* view, const QString& date, const QString& rate) {
    const QAbstractItemModel* m = view->model();
    for (int r = 0; r < m->rowCount(); ++r)
      if (m->index(r, 0).data().toString().trimmed() == date && m->index(r, 1).data().toString().trimmed() == rate)
        return r;
    return -1;
  }
  void click(QAbstractButton* b) {
    QTest::mouseClick(must(b), Qt::LeftButton);
    settle();
  }
  // The frame's menu item with this text.
  QAction* menuItem(const QString& text) {
    if (QMainWindow* f = frame())
      for (QAction* menu : f->menuBar()->actions())
        if (menu->menu())
          for (QAction* item : menu->menu()->actions())
            if (item->text() == text) return item;
    return nullptr;
  }
  // Every rate in the rate file, as "date rate".
  static std::vector<std::string> storedRates() {
    platform::DbContext context;
    platform::DbFile file(context, dictionary::RateMilageDefinition());
    EXPECT_EQ(file.open(), platform::DbStatus::Ok);
    std::vector<platform::DbRow> rows;
    file.readPage(dictionary::RTM_KeyMilageRate, platform::Direction::Forward, std::nullopt, 100, std::nullopt, rows);
    std::vector<std::string> out;
    for (platform::DbRow& r : rows) {
      const auto& layout = dictionary::RateMilageLayout();
      out.push_back(platform::format(platform::FieldRef::of(layout.field(dictionary::RTM_DATEMILAGERATE), r.image.data()),
                                     platform::Picture::of("D17B")) +
                    " " +
                    platform::format(platform::FieldRef::of(layout.field(dictionary::RTM_MILAGERATE), r.image.data()),
                                     platform::Picture::of("n6.3")));
    }
    return out;
  }
  static void seedRate(const char* rate, std::int32_t day) {
    platform::DbContext context;
    platform::DbFile file(context, dictionary::RateMilageDefinition());
    ASSERT_EQ(file.create(), platform::DbStatus::Ok);
    ASSERT_EQ(file.open(), platform::DbStatus::Ok);
    platform::clearRecord(file.layout(), file.record());
    platform::FieldRef::of(file.layout().field(dictionary::RTM_MILAGERATE), file.record())
        .setDecimal(*platform::Decimal::parse(rate));
    platform::FieldRef::of(file.layout().field(dictionary::RTM_DATEMILAGERATE), file.record()).setDay(day);
    ASSERT_EQ(file.add(), platform::DbStatus::Ok);
  }

  std::filesystem::path dir, oldCwd;
  std::optional<std::string> oldXdg;
  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
};

TEST_F(RateWindowsQtTest, ARateAddedFromTheMenuIsPickedInThePickerByADoubleClick) {
  seedRate("0.445", platform::dayNumber(2006, 1, 1));
  ASSERT_NE(platform::scheduler().startProgram(app::ProgramThread(app::Main)), 0);

  // The gate, then the frame with the case list.
  QWidget* gate = must(waitFor([&] { return topLevel(QStringLiteral("Please enter your password")); }));
  QTest::keyClicks(must(control<QLineEdit>(gate, app::gate::G_PASS)), QStringLiteral("vimbro"));
  click(control<QAbstractButton>(gate, app::gate::BUTTON2));
  ASSERT_NE(waitFor([&] { return child(QStringLiteral("CASE FILE")); }), nullptr);

  // 1. "DEFINE NEW MILEAGE RATE", Insert, 0.485, OK.
  must(menuItem(QStringLiteral("DEFINE NEW MILEAGE RATE")))->trigger();
  QWidget* list = must(waitFor([&] { return child(QStringLiteral("Mileage Rate")); }));
  EXPECT_FALSE(must(control<platform::qt::ImageWidget>(list, rl::IMAGE1))->pixmap().isNull()) << "the car";
  click(control<QAbstractButton>(list, rl::INSERT_4));
  QWidget* form = must(waitFor([&] { return child(QStringLiteral("Record Will Be Added")); }));
  QLineEdit* rate = must(control<QLineEdit>(form, rf::RTM_MILAGERATE));
  // The form opens on the rate with its "0.000" selected: typing replaces it.
  ASSERT_TRUE(rate->hasFocus());
  EXPECT_EQ(rate->selectedText(), QStringLiteral("0.000"));
  QTest::keyClicks(rate, QStringLiteral("0.485"));
  settle();
  click(control<QAbstractButton>(form, rf::OK));
  ASSERT_EQ(waitFor([&]() -> QWidget* { return child(QStringLiteral("Record Will Be Added")) ? nullptr : list; }), list);
  QTableView* rows = must(table(list, rl::BROWSE_1));
  EXPECT_EQ(rowOf(rows, QStringLiteral("3/15/2007"), QStringLiteral("0.485")), 1);
  EXPECT_EQ(storedRates(), (std::vector<std::string>{"1/1/2006 0.445", "3/15/2007 0.485"}));

  // 2. A thread that plays the picker's caller: its rate buffer holds the
  // 0.450 it typed, and it calls the picker to select.
  std::optional<std::uint8_t> response;
  std::string picked;
  ASSERT_NE(app::StartThread(
                [&] {
                  dictionary::RTM(dictionary::RTM_MILAGERATE).setDecimal(*platform::Decimal::parse("0.450"));
                  app::ThreadRequest() = app::RequestSelect;
                  cases::SelectRateMilage();
                  response = app::ThreadResponse();
                  picked = dictionary::RTM(dictionary::RTM_MILAGERATE).text();
                },
                25000),
            0);
  QWidget* picker = must(waitFor([&] { return child(QStringLiteral("Select a Rate ")); }));
  QTableView* choices = must(table(picker, rp::BROWSE_1));
  const int row = rowOf(choices, QStringLiteral("3/15/2007"), QStringLiteral("0.485"));
  ASSERT_EQ(row, 1);
  const QRect cell = choices->visualRect(choices->model()->index(row, 1));
  QTest::mouseDClick(choices->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  settle();
  ASSERT_EQ(waitFor([&]() -> QWidget* { return response ? picker : nullptr; }), picker);
  EXPECT_EQ(response, app::ResponseCompleted);
  EXPECT_EQ(picked, "0.485");
  EXPECT_EQ(child(QStringLiteral("Select a Rate ")), nullptr);

  // The program ends through "E&xit".
  must(menuItem(QStringLiteral("E&xit")))->trigger();
  settle();
  EXPECT_TRUE(platform::scheduler().programEnded());
}

}  // namespace
