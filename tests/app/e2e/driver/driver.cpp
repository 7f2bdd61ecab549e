// A user for the end-to-end test, preloaded into the real program
// (LD_PRELOAD): once the program has made its application object, it works
// through the steps in LV_E2E_STEPS, one after the other, on the real
// widgets with QTest, and writes what it did to the file LV_E2E_REPORT, one
// line per step: "ok <step>" or "FAIL <step>: <why>". A step that cannot be
// done within 15 seconds fails, and the program is ended with exit code 99.
//
// Steps, separated by ';':
//   gate:TEXT      types TEXT into the password gate and presses "VERIFY PASSWORD"
//   box:TITLE      presses OK in the message box titled TITLE
//   frame          the program's frame is shown
//   subwindow:T    the frame shows a window titled T
//   toolbar:TEXT   clicks the frame's toolbar button TEXT
//   setup:TEXT     types TEXT into both entries of "Set up new password" and presses OK
//   closed:TITLE   no window titled TITLE is shown
//   exit           chooses "E&xit" in the frame's menu
//   click:T/N      clicks the button numbered N in the window titled T
//                  (a window of its own or a child of the frame)
//   type:T/N/TEXT  types TEXT into the entry numbered N of window T and
//                  leaves it with Tab
//   row:T/N/TEXT   the list numbered N of window T has its selected row
//                  showing TEXT in a cell
//   gone:T         the frame shows no child window titled T
//   shown:T        a window titled T (of its own or a child of the frame)
//                  is on the screen
//   tab:T/N/I      clicks tab I (from 1) of the tab sheet numbered N of
//                  window T
//   pause:MS       waits MS milliseconds (a window manager's and the
//                  program's own answers to the step before)
//   shot:FILE      saves a picture of the whole screen as FILE (PNG)

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QString plain(QString text) { return text.remove(QLatin1Char('&')); }

QWidget* shownWindow(const QString& title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == title) return w;
  return nullptr;
}

QMainWindow* shownFrame() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) return m;
  return nullptr;
}

template <class T>
T* findByText(QWidget* in, const QString& text) {
  for (T* b : in->findChildren<T*>())
    if (b->isVisible() && plain(b->text()) == plain(text)) return b;
  return nullptr;
}

// The window's visible entries, from the top down.
QList<QLineEdit*> entries(QWidget* in) {
  QList<QLineEdit*> list;
  for (QLineEdit* e : in->findChildren<QLineEdit*>())
    if (e->isVisible()) list << e;
  std::sort(list.begin(), list.end(),
            [](QLineEdit* a, QLineEdit* b) { return a->mapToGlobal(QPoint()).y() < b->mapToGlobal(QPoint()).y(); });
  return list;
}

QMdiSubWindow* shownSubwindow(const QString& title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible())
      if (auto* area = m->findChild<QMdiArea*>())
        for (QMdiSubWindow* s : area->subWindowList())
          if (s->isVisible() && s->windowTitle() == title) return s;
  return nullptr;
}

// A window of its own or a child window of the frame.
QWidget* anyWindow(const QString& title) {
  if (QWidget* w = shownWindow(title)) return w;
  return shownSubwindow(title);
}

// The widget that shows control `number` of a window (the desktop marks
// each control's widget with its number).
template <class T>
T* controlWidget(QWidget* window, int number) {
  for (T* w : window->findChildren<T*>())
    if (w->property("lvControl").toInt() == number && w->isVisible()) return w;
  return nullptr;
}

class User : public QObject {
 public:
  User() : QObject(QCoreApplication::instance()) {
    report_.setFileName(QString::fromLocal8Bit(qgetenv("LV_E2E_REPORT")));
    report_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    steps_ = QString::fromLocal8Bit(qgetenv("LV_E2E_STEPS")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start(50);
    clock_.start();
  }

 private:
  void write(const QString& line) {
    report_.write(line.toUtf8() + '\n');
    report_.flush();
  }

  void tick() {
    if (busy_ || next_ >= steps_.size()) return;
    busy_ = true;
    const QString step = steps_[next_];
    QString why;
    if (attempt(step, why)) {
      write(QStringLiteral("ok ") + step);
      ++next_;
      clock_.restart();
    } else if (clock_.elapsed() > 15000) {
      write(QStringLiteral("FAIL ") + step + QStringLiteral(": ") + why);
      std::fflush(nullptr);
      std::_Exit(99);
    }
    busy_ = false;
  }

  // Does the step when it can be done now.
  bool attempt(const QString& step, QString& why) {
    const QString verb = step.section(QLatin1Char(':'), 0, 0);
    const QString arg = step.section(QLatin1Char(':'), 1);
    if (verb == QLatin1String("gate")) {
      QWidget* gate = shownWindow(QStringLiteral("Please enter your password"));
      if (!gate) return why = QStringLiteral("no gate"), false;
      if (shownFrame()) return why = QStringLiteral("the frame is shown with the gate"), false;
      const QList<QLineEdit*> e = entries(gate);
      QPushButton* verify = findByText<QPushButton>(gate, QStringLiteral("VERIFY PASSWORD"));
      if (e.size() != 1 || !verify) return why = QStringLiteral("no entry or button"), false;
      QTest::keyClicks(e[0], arg);
      QTest::mouseClick(verify, Qt::LeftButton);
      return true;
    }
    if (verb == QLatin1String("box")) {
      QWidget* box = shownWindow(arg);
      QPushButton* ok = box ? findByText<QPushButton>(box, QStringLiteral("OK")) : nullptr;
      if (!ok) return why = QStringLiteral("no box with OK"), false;
      QTest::mouseClick(ok, Qt::LeftButton);
      return true;
    }
    if (verb == QLatin1String("frame")) return shownFrame() != nullptr || (why = QStringLiteral("no frame"), false);
    if (verb == QLatin1String("subwindow")) {
      QMainWindow* frame = shownFrame();
      QMdiArea* area = frame ? frame->findChild<QMdiArea*>() : nullptr;
      if (area)
        for (QMdiSubWindow* s : area->subWindowList())
          if (s->isVisible() && s->windowTitle() == arg) return true;
      return why = QStringLiteral("not shown"), false;
    }
    if (verb == QLatin1String("toolbar")) {
      QMainWindow* frame = shownFrame();
      QToolButton* button = frame ? findByText<QToolButton>(frame, arg) : nullptr;
      if (!button || !button->isEnabled()) return why = QStringLiteral("no such button"), false;
      QTest::mouseClick(button, Qt::LeftButton);
      return true;
    }
    if (verb == QLatin1String("setup")) {
      QWidget* setup = shownWindow(QStringLiteral("Set up new password"));
      if (!setup) return why = QStringLiteral("no set-up window"), false;
      const QList<QLineEdit*> e = entries(setup);
      QPushButton* ok = findByText<QPushButton>(setup, QStringLiteral("OK"));
      if (e.size() != 2 || !ok) return why = QStringLiteral("no entries or OK"), false;
      QTest::keyClicks(e[0], arg);
      QTest::keyClicks(e[1], arg);
      QTest::mouseClick(ok, Qt::LeftButton);
      return true;
    }
    if (verb == QLatin1String("closed")) return !shownWindow(arg) || (why = QStringLiteral("still shown"), false);
    if (verb == QLatin1String("exit")) {
      QMainWindow* frame = shownFrame();
      if (frame)
        for (QAction* menu : frame->menuBar()->actions())
          if (menu->menu())
            for (QAction* item : menu->menu()->actions())
              if (item->text() == QLatin1String("E&xit") && item->isEnabled()) {
                item->trigger();
                return true;
              }
      return why = QStringLiteral("no E&xit"), false;
    }
    if (verb == QLatin1String("gone")) return !shownSubwindow(arg) || (why = QStringLiteral("still shown"), false);
    if (verb == QLatin1String("shown")) {
      QWidget* window = anyWindow(arg);
      QWindow* handle = window ? window->window()->windowHandle() : nullptr;
      return (handle && handle->isExposed()) || (why = QStringLiteral("not shown"), false);
    }
    if (verb == QLatin1String("pause")) return clock_.elapsed() >= arg.toInt() || (why = QStringLiteral("waiting"), false);
    if (verb == QLatin1String("shot")) {
      QScreen* screen = QGuiApplication::primaryScreen();
      if (!screen) return why = QStringLiteral("no screen"), false;
      if (!screen->grabWindow(0).save(arg, "PNG")) return why = QStringLiteral("cannot write it"), false;
      return true;
    }
    if (verb == QLatin1String("tab")) {
      const QStringList parts = arg.split(QLatin1Char('/'));
      QWidget* window = parts.size() == 3 ? anyWindow(parts[0]) : nullptr;
      QWidget* sheet = window ? controlWidget<QWidget>(window, parts[1].toInt()) : nullptr;
      auto* bar = sheet ? sheet->findChild<QTabBar*>() : nullptr;
      const int index = parts.value(2).toInt() - 1;
      if (!bar || index < 0 || index >= bar->count()) return why = QStringLiteral("no such tab"), false;
      QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
      return true;
    }
    if (verb == QLatin1String("click") || verb == QLatin1String("type") || verb == QLatin1String("row")) {
      const QStringList parts = arg.split(QLatin1Char('/'));
      if (parts.size() < 2) return why = QStringLiteral("bad step"), false;
      QWidget* window = anyWindow(parts[0]);
      if (!window) return why = QStringLiteral("no window"), false;
      const int number = parts[1].toInt();
      const QString text = parts.mid(2).join(QLatin1Char('/'));
      if (verb == QLatin1String("click")) {
        auto* b = controlWidget<QAbstractButton>(window, number);
        if (!b || !b->isEnabled()) return why = QStringLiteral("no such button"), false;
        QTest::mouseClick(b, Qt::LeftButton);
        return true;
      }
      if (verb == QLatin1String("type")) {
        auto* e = controlWidget<QLineEdit>(window, number);
        if (!e || !e->isEnabled()) return why = QStringLiteral("no such entry"), false;
        e->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
        return true;
      }
      QWidget* holder = controlWidget<QWidget>(window, number);
      auto* list = holder ? holder->findChild<QTableView*>() : nullptr;
      if (!list || !list->model()) return why = QStringLiteral("no such list"), false;
      const QModelIndex current = list->currentIndex();
      const QAbstractItemModel* m = list->model();
      for (int c = 0; current.isValid() && c < m->columnCount(); ++c)
        if (m->index(current.row(), c).data().toString().trimmed() == text) return true;
      return why = QStringLiteral("the selected row does not show it"), false;
    }
    why = QStringLiteral("unknown step");
    return false;
  }

  QFile report_;
  QStringList steps_;
  int next_ = 0;
  bool busy_ = false;
  QTimer timer_;
  QElapsedTimer clock_;
};

void startUser() {
  if (qEnvironmentVariableIsEmpty("LV_E2E_STEPS")) return;
  new User;  // the application object owns it
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startUser)
