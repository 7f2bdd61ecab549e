#pragma once
// Runs the logical threads from Qt's event loop.
//
// The scheduler's ready notifier posts one queued call that runs every
// queued thread (Scheduler::runReady) from the event loop, outside every
// logical thread; the scheduler's timers are kept on one single-shot
// QTimer set to the next one due. The dispatcher's aboutToBlock and awake
// signals tell when an event loop runs while a logical thread is current:
// that is a nested event loop, which the scheduler counts as a design
// violation. When the program has ended, the event loop is told to quit
// with the program's exit code.

#include <QObject>
#include <QTimer>
#include <QString>

namespace platform::qt {

class FiberPump : public QObject {
 public:
  FiberPump();
  ~FiberPump() override;
  FiberPump(const FiberPump&) = delete;
  FiberPump& operator=(const FiberPump&) = delete;

  // Runs the queued threads now, then sets the timer again.
  void run();
  // Whether a call of run() is posted and has not happened yet.
  bool pending() const { return posted_; }
  // Faults of logical threads (exceptions that ended one), as text, in
  // order; each is also written to the standard error.
  const QStringList& faults() const { return faults_; }

 private:
  void post();
  void armTimer();
  void fireTimers();
  void checkEnd();

  QTimer timer_;
  bool posted_ = false;
  bool quitting_ = false;
  QStringList faults_;
  QMetaObject::Connection block_, awake_;
};

}  // namespace platform::qt
