#include "platform/qt/pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <exception>

#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"

namespace platform::qt {

FiberPump::FiberPump() {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { fireTimers(); });
  scheduler().setReadyNotifier([this] { post(); });
  if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) {
    block_ = QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, this, [] {
      if (currentThread() != 0) scheduler().noteNestedEventLoop("the Qt event loop waited for events");
    });
    awake_ = QObject::connect(d, &QAbstractEventDispatcher::awake, this, [] {
      if (currentThread() != 0) scheduler().noteNestedEventLoop("the Qt event loop processed events");
    });
  }
  if (scheduler().hasReady()) post();
}

FiberPump::~FiberPump() {
  scheduler().setReadyNotifier({});
  QObject::disconnect(block_);
  QObject::disconnect(awake_);
}

void FiberPump::post() {
  if (posted_) return;
  posted_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        posted_ = false;
        run();
      },
      Qt::QueuedConnection);
}

void FiberPump::run() {
  if (currentThread() != 0) return;  // only the scheduler's own stack runs threads
  for (;;) {
    try {
      scheduler().runReady();
      break;
    } catch (const std::exception& e) {
      faults_ << QString::fromStdString(e.what());
    } catch (...) {
      rethrowThreadExit();
      faults_ << QStringLiteral("a logical thread ended by an unknown exception");
    }
    std::fprintf(stderr, "logical thread failed: %s\n", faults_.back().toLocal8Bit().constData());
  }
  armTimer();
  checkEnd();
}

void FiberPump::armTimer() {
  std::optional<Scheduler::Centis> due = scheduler().nextTimerDue();
  if (!due) {
    timer_.stop();
    return;
  }
  Scheduler::Centis wait = std::max<Scheduler::Centis>(*due - scheduler().now(), 0);
  timer_.start(static_cast<int>(std::min<Scheduler::Centis>(wait * 10, 24 * 3600 * 1000)));
}

void FiberPump::fireTimers() {
  scheduler().fireDueTimers();
  run();
}

void FiberPump::checkEnd() {
  if (quitting_ || !scheduler().programEnded()) return;
  quitting_ = true;
  timer_.stop();
  QCoreApplication::exit(scheduler().exitCode());
}

}  // namespace platform::qt
