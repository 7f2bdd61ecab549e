#include "reports/report_shape.h"

#include <stdexcept>
#include <utility>

#include "app/frame/globals.h"
#include "app/frame/placement.h"
#include "app/frame/thread_state.h"
#include "platform/report/progress_window.h"
#include "platform/types/clock.h"
#include "platform/types/latin1.h"
#include "platform/types/picture.h"

namespace reports {

namespace pr = platform::report;

namespace detail {

namespace {

platform::WindowSpec progressSpec(const std::string& caption, const std::string& procedure) {
  platform::WindowSpec spec = pr::ProgressWindowSpec(caption);
  // A kept placement is restored after the window opens; the desktop must
  // not centre it over that.
  if (app::settingsManagerExists() && app::SettingsManager().find(platform::rtrim(procedure), "Maximize"))
    spec.centred = false;
  return spec;
}

}  // namespace

ProgressWindow::ProgressWindow(const std::string& caption, const std::string& procedure)
    : progressWindow(progressSpec(caption, procedure)) {
  pr::AddProgressControls(progressWindow,
                          platform::FieldRef(platform::FieldType::Byte, &progressPercent, 1));
}

}  // namespace detail

ReportProcedure::ReportProcedure(ReportSettings settings)
    : ProgressWindow(settings.caption, settings.procedure),
      app::ProcedureWindow(progressWindow, settings.procedure),
      settings_(std::move(settings)),
      reader_(*this),
      controller_(*this),
      files_(dictionary::threadData().relate(settings_.file)) {
  reader_.Init(dictionary::threadData().access(settings_.file), dictionary::threadData().relate(settings_.file),
               settings_.key);
  if (settings_.range) rangeValue_.assign(settings_.range->begin(), settings_.range->end());
}

ReportProcedure::~ReportProcedure() = default;

void ReportProcedure::JoinView(const ReportJoin& join) {
  reader_.Join(dictionary::threadData().access(join.file), join.key, reader_[join.field]);
}

pr::Report& ReportProcedure::report() const {
  if (!report_) throw std::logic_error("the report of " + settings_.procedure + " is made when it runs");
  return *report_;
}

pr::Preview& ReportProcedure::preview() const {
  if (!preview_) throw std::logic_error("the preview of " + settings_.procedure + " is made when it runs");
  return *preview_;
}

void ReportProcedure::Run() {
  report_ = std::make_unique<pr::Report>(Describe());
  preview_ = pr::makePreview();
  app::RunProcedureWindow(*this);
}

int ReportProcedure::SetupMembers() {
  if (settings_.stopWhenBlank && (!settings_.range || platform::rtrim(*settings_.range).empty()))
    return platform::LevelSkip;
  if (int level = OpenFiles(files_); level != platform::LevelContinue) return level;
  return SetupReportMembers();
}

void ReportProcedure::AttachTargets() {
  // Steps 7 to 17: the window is open and has its placement.
  window().setTimer(pr::ProgressTimer);
  steps_ = settings_.steps ? settings_.steps() : std::make_unique<platform::TextStepMgr>();
  reader_.SetProgress(window(), pr::ProgressPctText, platform::FieldRef(platform::FieldType::Byte, &progressPercent, 1),
                      steps_.get());
  if (settings_.range) {
    platform::FieldRef value(platform::FieldType::String, rangeValue_.data(),
                             static_cast<std::uint32_t>(rangeValue_.size()));
    reader_.SetRange(value);
  }
  AddCloseButton(pr::ProgressCancel, app::ResponseCancelled);
  controller_.SetupReport(reader_, *report_, *preview_);
  AddComponent(controller_);
  window().control(pr::ProgressUserString).setText("");
  reader_.SwitchQuickScan(true);
  pr::PreviewOptions& o = preview_->options;
  o.zoom = settings_.zoom;
  o.placement = &placement_;
  o.userZoom = true;
  o.maximize = true;
  o.title = settings_.title.empty() ? settings_.procedure : settings_.title;
}

void ReportProcedure::ShutdownMembers() { steps_.reset(); }

int ReportProcedure::OnRecord() { return PrintDetail(); }

int ReportProcedure::PrintDetail() {
  reader_.OwnStep();
  report().Print("?DETAIL");
  return platform::LevelContinue;
}

int ReportProcedure::ReportStamp() {
  if (int level = controller_.OwnBeginning(); level != platform::LevelContinue) return level;
  report().SetText("?REPORTDATESTAMP", platform::formatDay(platform::today(), platform::Picture::of("D17")));
  report().SetText("?REPORTTIMESTAMP", platform::formatTime(platform::clockTime(), platform::Picture::of("T7")));
  return platform::LevelContinue;
}

void ReportProcedure::Placement::Restore(platform::Window& window) {
  if (app::settingsManagerExists()) app::RestorePlacement(window, app::SettingsManager(), PreviewSection);
}

void ReportProcedure::Placement::Save(const platform::Window& window) {
  if (app::settingsManagerExists()) app::SavePlacement(window, app::SettingsManager(), PreviewSection);
}

}  // namespace reports
