#include "platform/report/report_controller.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/lib/error_manager.h"
#include "platform/lib/messages.h"
#include "platform/ui/message_port.h"

namespace platform::report {

namespace {

constexpr std::uint8_t Completed = 1;
constexpr std::uint8_t Cancelled = 2;

// Timing of a timer event, in hundredths of a second (see the header).
constexpr Scheduler::Centis DoubleUnder = ReportController::TimeSlice * 8 / 10;
constexpr Scheduler::Centis ReadOnUnder = ReportController::TimeSlice / 2;
constexpr Scheduler::Centis HalveOver = ReportController::TimeSlice * 3 / 2;
// A batch never grows beyond this (a clock that does not move would double
// it for ever).
constexpr int MaxBatch = 1 << 20;

}  // namespace

ReportController::~ReportController() = default;

void ReportController::SetupReport(Process& reader, Report& report, Preview& preview) {
  reader_ = &reader;
  report_ = &report;
  preview_ = &preview;
  batch_ = StartBatch;
  events_ = 0;
}

int ReportController::BeginReport() {
  if (!reader_ || !report_ || !owner()) throw std::logic_error("a report run that is not set up");
  const Process::Read read = reader_->Reset();
  if (read != Process::Read::Record) {
    // A failed open or read has shown its own message.
    if (read == Process::Read::End) {
      if (owner()->ERRORS)
        owner()->ERRORS->raise(Msg::NoRecords);
      else
        message(std::string(messageDef(Msg::NoRecords).text), std::string(messageDef(Msg::NoRecords).title),
                MsgIcon::Information);
    }
    finish(Cancelled);
    return LevelNotify;
  }
  try {
    pages_ = std::make_unique<PageStore>();
  } catch (const PageStoreError& e) {
    storeFailed(e);
    return LevelNotify;
  }
  report_->Open(*pages_);
  begun_ = true;
  return LevelContinue;
}

int ReportController::TakeEvent(const Event& event) {
  switch (event.kind) {
    case EventKind::OpenWindow:
      if (!begun_ && !finished_) BeginReport();
      break;
    case EventKind::Timer:
      if (begun_ && !finished_) {
        try {
          onTimer();
        } catch (const PageStoreError& e) {
          storeFailed(e);
        }
      }
      break;
    case EventKind::CloseRequest:
      if (!ended_) endRun();
      break;
    default: break;
  }
  return LevelContinue;
}

void ReportController::onTimer() {
  ++events_;
  const Scheduler::Centis start = scheduler().now();
  long count = 0;
  for (;;) {
    reader_->OnRecord();
    const Process::Read read = reader_->Next();
    if (read == Process::Read::End) return finish(Completed);
    if (read == Process::Read::Failed) return finish(Cancelled);
    if (++count < batch_) continue;
    const Scheduler::Centis took = scheduler().now() - start;
    if (took < DoubleUnder) {
      batch_ = std::min(batch_ * 2, MaxBatch);
      if (took < ReadOnUnder && count < batch_) continue;
    } else if (took > HalveOver && batch_ > 1) {
      batch_ = std::max(batch_ / 2, 1);
    }
    return;
  }
}

void ReportController::finish(std::uint8_t response) {
  finished_ = true;
  if (!owner()) return;
  Window& w = owner()->window();
  w.setTimer(0);
  owner()->RESPONSE = response;
  w.post(EventKind::CloseRequest);
}

void ReportController::storeFailed(const PageStoreError& e) {
  const std::string caption = owner() ? owner()->window().caption() : std::string("Report");
  message(std::string("The report's pages could not be kept: ") + e.what() + ".", caption, MsgIcon::Exclamation);
  if (report_ && report_->isOpen()) report_->Drop();
  if (!finished_) finish(Cancelled);
  if (owner()) owner()->RESPONSE = Cancelled;
}

void ReportController::endRun() {
  ended_ = true;
  WindowController& w = *owner();
  w.window().setTimer(0);
  const bool completed = begun_ && w.RESPONSE == Completed;
  // The progress window goes first; the preview takes its place.
  w.window().close();
  if (!completed) {
    if (report_ && report_->isOpen()) report_->Drop();
    w.RESPONSE = Cancelled;
    return;
  }
  try {
    report_->Close();
  } catch (const PageStoreError& e) {
    storeFailed(e);
    return;
  }
  if (pages_->count() == 0) {
    // The loop ran to its end but printed nothing: no preview to open.
    if (w.ERRORS)
      w.ERRORS->raise(Msg::NoRecords);
    else
      message(std::string(messageDef(Msg::NoRecords).text), std::string(messageDef(Msg::NoRecords).title),
              MsgIcon::Information);
    w.RESPONSE = Cancelled;
    return;
  }
  previewResult_ = preview_->Display(*pages_);
  if (*previewResult_ == PreviewResult::PrintFailed) w.RESPONSE = Cancelled;
}

void ReportController::ShutdownComponent() {
  if (report_ && report_->isOpen()) report_->Drop();
  pages_.reset();
  if (reader_) reader_->Kill();
}

}  // namespace platform::report
