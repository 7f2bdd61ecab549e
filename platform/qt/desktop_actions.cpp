// The desktop's standard actions: the clipboard, tiling and cascading the
// MDI children, arranging their icons, the window list and the printer
// set-up dialog.

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/desktop_views.h"
#include "platform/qt/printer.h"
#include "platform/qt/widgets.h"
#include "platform/ui/window.h"

namespace platform::qt {

// --- standard actions ----------------------------------------------------------

void QtDesktop::standardAction(Window& w, Control&, StdAction a) {
  // Everything but the printer set-up is the desktop's own doing, done
  // from the event loop: it may feed input back (a paste is typing).
  switch (a) {
    case StdAction::Cut:
    case StdAction::Copy:
    case StdAction::Paste: QTimer::singleShot(0, this, [this, a] { editAction(a); }); break;
    case StdAction::Tile:
      QTimer::singleShot(0, this, [this] {
        if (QMdiArea* mdi = mdiArea()) mdi->tileSubWindows();
      });
      break;
    case StdAction::Cascade:
      QTimer::singleShot(0, this, [this] {
        if (QMdiArea* mdi = mdiArea()) mdi->cascadeSubWindows();
      });
      break;
    case StdAction::ArrangeIcons: QTimer::singleShot(0, this, [this] { arrangeIcons(); }); break;
    case StdAction::WindowList: {
      QPointer<QWidget> anchor = windowWidget(w);
      QTimer::singleShot(0, this, [this, anchor] { showWindowList(anchor); });
      break;
    }
    case StdAction::PrintSetup: printSetup(w); break;
    case StdAction::None:
    case StdAction::Close: break;
  }
}

void QtDesktop::editAction(StdAction a) {
  QWidget* f = QApplication::focusWidget();
  if (!f) return;
  if (auto* sp = qobject_cast<SpinEntry*>(f)) f = sp->edit();
  if (auto* box = qobject_cast<QComboBox*>(f); box && box->lineEdit()) f = box->lineEdit();
  if (auto* e = qobject_cast<QLineEdit*>(f)) {
    if (a == StdAction::Cut && !e->isReadOnly()) e->cut();
    if (a == StdAction::Copy) e->copy();
    if (a == StdAction::Paste && !e->isReadOnly()) e->paste();
  } else if (auto* t = qobject_cast<QPlainTextEdit*>(f)) {
    if (a == StdAction::Cut && !t->isReadOnly()) t->cut();
    if (a == StdAction::Copy) t->copy();
    if (a == StdAction::Paste && !t->isReadOnly()) t->paste();
  }
}

void QtDesktop::arrangeIcons() {
  QMdiArea* mdi = mdiArea();
  if (!mdi) return;
  // Minimized children in a row along the bottom of the area, from the left.
  int x = 0;
  int rowTop = mdi->viewport()->height();
  for (QMdiSubWindow* s : mdi->subWindowList(QMdiArea::CreationOrder)) {
    if (!s->isVisible() || !s->isMinimized()) continue;
    QSize size = s->size();
    if (x > 0 && x + size.width() > mdi->viewport()->width()) {
      x = 0;
      rowTop -= size.height();
    }
    s->move(x, rowTop - size.height());
    x += size.width();
  }
}

void QtDesktop::showWindowList(QWidget* anchor) {
  QMdiArea* mdi = mdiArea();
  if (!mdi) return;
  auto* menu = new QMenu(frameWidget());
  menu->setAttribute(Qt::WA_DeleteOnClose);
  int k = 0;
  for (QMdiSubWindow* s : mdi->subWindowList()) {
    if (!s->isVisible()) continue;
    QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(++k).arg(s->windowTitle()));
    QPointer<QMdiSubWindow> target(s);
    QObject::connect(a, &QAction::triggered, mdi, [mdi, target] {
      if (target) mdi->setActiveSubWindow(target);
    });
  }
  const QPoint at = anchor ? anchor->mapToGlobal(QPoint(0, 0)) : QCursor::pos();
  menu->popup(at);
}

void QtDesktop::printSetup(Window& w) {
  const int thread = currentThread();
  QPointer<QWidget> parent = windowWidget(w) ? windowWidget(w)->window() : nullptr;
  struct State {
    bool done = false;
    bool abandoned = false;
    QPointer<QPrintDialog> dialog;
  };
  auto state = std::make_shared<State>();
  // The dialog is made and shown from the event loop; the calling thread
  // waits for it with its windows closed to the user, as for a message box.
  QMetaObject::invokeMethod(
      this,
      [state, thread, parent] {
        if (state->abandoned) return;
        auto* dialog = new QPrintDialog(&sharedPrinter(), parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowTitle(QStringLiteral("Print Setup"));
        dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
        dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        if (auto* box = dialog->findChild<QDialogButtonBox*>())
          if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
        state->dialog = dialog;
        auto finish = [state, thread] {
          if (state->done) return;
          state->done = true;
          if (thread) wakeThread(thread);
        };
        QObject::connect(dialog, &QDialog::finished, dialog, finish);
        QObject::connect(dialog, &QObject::destroyed, finish);
        dialog->show();
      },
      Qt::QueuedConnection);
  if (thread == 0) return;  // nobody waits
  ++blocked_[thread];
  applyInputOfThread(thread);
  struct Leave {
    QtDesktop& desk;
    int thread;
    std::shared_ptr<State> state;
    ~Leave() {
      state->abandoned = true;
      if (state->dialog && !state->done) state->dialog->deleteLater();
      if (--desk.blocked_[thread] <= 0) desk.blocked_.erase(thread);
      desk.applyInputOfThread(thread);
    }
  } leave{*this, thread, state};
  while (!state->done) waitForWake();
}

void QtDesktop::blockThread(int thread) {
  ++blocked_[thread];
  applyInputOfThread(thread);
}

void QtDesktop::unblockThread(int thread) {
  if (--blocked_[thread] <= 0) blocked_.erase(thread);
  applyInputOfThread(thread);
}

}  // namespace platform::qt
