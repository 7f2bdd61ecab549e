#include "platform/qt/run.h"

#include <QApplication>
#include <QStyleFactory>
#include <cstdio>

#include "platform/fiber/scheduler.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/preview_view.h"
#include "platform/qt/pump.h"
#include "platform/report/page_store.h"

namespace platform::qt {

int runDesktop(int& argc, char** argv, ThreadProcedure body) {
  QApplication app(argc, argv);
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
  return runDesktopLoop(std::move(body));
}

int runDesktopLoop(ThreadProcedure body) {
  // The model decides when the program ends, not the last window closed.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  int code = 0;
  {
    // Page files of report runs that a crash left behind go now.
    report::PageStore::RemoveStale();
    QtDesktop desk;
    QtPreviews previews(desk);
    FiberPump pump;
    desk.setRunner([&pump] { pump.run(); });
    if (scheduler().startProgram(std::move(body)) == 0) {
      std::fprintf(stderr, "the program's first thread could not be started\n");
      return 1;
    }
    const int loopCode = QApplication::exec();
    code = scheduler().programEnded() ? scheduler().exitCode() : loopCode;
    // Threads still running end now, while their windows' mirrors exist.
    scheduler().endAllThreads();
  }
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return code;
}

}  // namespace platform::qt
