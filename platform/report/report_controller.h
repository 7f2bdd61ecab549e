#pragma once
// The report controller: the record loop of a run, a component of the
// progress window's controller.
//
// The procedure's set-up hands it the record reader, the report and the
// preview (SetupReport), and sets the window's timer (ProgressTimer). Then:
//
//   the window opens    BeginReport: the reader goes back to the start of
//                       the view and reads its first record. No record:
//                       "No Records"; a failed open or read: its own
//                       message; either way the window closes and the run
//                       is cancelled. Otherwise the report opens, its pages
//                       going to a page store of the run. Reports override
//                       BeginReport (their stamps) and call it first.
//   each timer event    handle the current record (the reader's per-record
//                       step), read the next; repeat until this event has
//                       read a batch. The batch starts at 1 record and the
//                       time slice is 100 hundredths: an event that took
//                       under 80 doubles the batch, and under 50 reads on
//                       to the new size in the same event; one that took
//                       over 150 halves it, never below 1. The time is the
//                       scheduler's steady clock (Scheduler::now), never the
//                       time of day. The end of the view closes the window
//                       completed; a failed read closes it cancelled.
//   the window closes   (Cancel, the end, any close request) the window is
//                       hidden first. A completed run closes the report
//                       (group footers, the last page) and shows the
//                       preview; a run that printed no page shows "No
//                       Records" and ends cancelled, and so does one whose
//                       last print failed. A cancelled run drops its pages:
//                       no preview, nothing printed.
//   shut-down           the pages are dropped (the store's file removed),
//                       the reader shut down (quick-scan off).
//
// The result is the window controller's RESPONSE: 1 completed, 2 cancelled.

#include <memory>

#include "platform/fiber/scheduler.h"
#include "platform/lib/window_controller.h"
#include "platform/report/page_store.h"
#include "platform/report/preview.h"
#include "platform/report/process.h"
#include "platform/report/report.h"

namespace platform::report {

class ReportController : public WindowComponent {
 public:
  static constexpr int StartBatch = 1;
  static constexpr Scheduler::Centis TimeSlice = 100;

  ReportController() = default;
  ~ReportController() override;

  void SetupReport(Process& reader, Report& report, Preview& preview);

  // The beginning of the run (see above). Answers 0 when the run began.
  virtual int BeginReport();

  // --- state, for the procedure and for tests ---
  bool begun() const { return begun_; }
  int batch() const { return batch_; }
  // Timer events that read records so far.
  int events() const { return events_; }
  PageStore* pages() const { return pages_.get(); }
  Process* reader() const { return reader_; }
  Report* report() const { return report_; }
  // The preview's answer, once it was shown.
  std::optional<PreviewResult> previewResult() const { return previewResult_; }

  // --- the window's component ---
  int TakeEvent(const Event& event) override;
  void ShutdownComponent() override;

 private:
  void onTimer();
  void finish(std::uint8_t response);
  void endRun();
  void storeFailed(const PageStoreError& e);

  Process* reader_ = nullptr;
  Report* report_ = nullptr;
  Preview* preview_ = nullptr;
  std::unique_ptr<PageStore> pages_;
  int batch_ = StartBatch;
  int events_ = 0;
  bool begun_ = false;
  bool finished_ = false;
  bool ended_ = false;
  std::optional<PreviewResult> previewResult_;
};

}  // namespace platform::report
