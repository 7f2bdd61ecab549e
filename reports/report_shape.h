#pragma once
// The report shape: what every report procedure is built on. A report is
// its settings (the file it reads, the key, the range, the captions, the
// zoom its preview opens at), its description (the bands and controls it
// prints, platform/report/report_description.h) and the few steps it overrides.
//
//   namespace {
//   class InCourt final : public reports::ReportProcedure {
//    public:
//     explicit InCourt(std::string caseNumber)
//         : ReportProcedure({.procedure = "PRT_InCOURT", .caption = "Report HOURLY",
//                            .title = "InCourtSheet Report", .file = dictionary::HOURLYFile,
//                            .key = dictionary::HOU_KeyCaseNumber, .range = std::move(caseNumber),
//                            .stopWhenBlank = true, .zoom = Zoom::PageWidth}) {}
//    protected:
//     ReportSpec Describe() override;   // bands bound to View(HOU_...) and the run's other records
//     int OnRecord() override {         // the per-record step
//       if (View(HOU_TOTALSECTION_INCOURT).decimal().isZero()) return 0;
//       return PrintDetail();
//     }
//   };
//   }  // namespace
//   void PRT_InCOURT(const std::string& caseNumber) { InCourt(caseNumber).Run(); }
//
// Run() is the procedure's body: the description is made (bound to the
// run's own records), then the progress window runs its set-up, its record
// loop and its shut-down, and the result goes to ThreadResponse
// (ResponseCompleted when the view was read to its end and the preview
// shown, whether or not the user printed; ResponseCancelled otherwise).
// The objects go when the procedure object goes.
//
// The run never touches the caller's records: the view is read into a
// record the run owns (View), and a report that prints another file's
// record keeps one of its own too (platform/report/run_record.h: RunRecord
// and its Fetch), filled in SetupReportMembers or in its per-record step.
// After a run the caller's buffers, positions and use counts of the files
// are what they were.
//
// ReportSetup, in this order (the window frame, app/frame/
// procedure_window.h, does the name, the request bytes and the placement):
//    1. the procedure's name goes on the thread's error manager; the
//       request is taken from ThreadRequest;
//    2. ThreadRequest and ThreadResponse are cleared;
//    3. case reports (stopWhenBlank): a blank range value ends the run
//       here: no file, no window, no message, ResponseCancelled;
//    4. the report's file is opened with its related files; a failed open
//       ends the run (the file layer has shown its message). Then the
//       report's own members (SetupReportMembers);
//    5. the progress window opens;
//    6. it takes its placement from the section named after the procedure;
//    7. its timer: 10 hundredths;
//    8. the step object (a TextStepMgr unless the settings give another);
//    9. the record reader: progress text, percentage, step object;
//   10. the one sort order, the report's key;
//   11. the range, "key = value";
//   12. Cancel closes the window with ResponseCancelled;
//   13. the reader, the report and the preview go to the controller, which
//       starts with one record per batch;
//   14. the progress window's user text is emptied;
//   15. quick-scan on for the file and its related files;
//   16. the preview: never skipped, its zoom;
//   17. the preview's placement under "_PreviewWindow_", user zoom,
//       maximised;
//   18. the alert keys.
// ReportStamp (the controller's beginning, when the window has opened):
// the controller's own beginning (the first record, or "No Records"), then
// the stamps "?REPORTDATESTAMP" (today, "D17") and "?REPORTTIMESTAMP" (the
// time, "T7"), once per run. The record loop, the end of the run and the
// preview are the controller's (platform/report/report_controller.h).
// ReportShutdown, in this order: the controller's shut-down (pages
// dropped, preview gone, quick-scan off); the files closed; the progress
// window's placement saved; the step object shut down; the name removed.
// Every way out, the early ones included, runs it.
//
// FocusHighlight is the window frame's.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/frame/procedure_window.h"
#include "dictionary/thread_data.h"
#include "platform/lib/step_managers.h"
#include "platform/report/preview.h"
#include "platform/report/process.h"
#include "platform/report/report.h"
#include "platform/report/report_controller.h"
#include "platform/report/report_description.h"
#include "platform/ui/window.h"

namespace reports {

using platform::report::ReportSpec;
using platform::report::Zoom;

// A view joined with the related records of another file (an outer join):
// each record of the report's file with each record of `file` whose key
// `key` equals the record's field `field`; a record without any gives one
// row whose related record is cleared. A report joins its view in its
// constructor (JoinView).
struct ReportJoin {
  dictionary::FileIndex file = dictionary::HOURLYFile;
  int key = 0;
  int field = 0;  // of the report's file
};

// The settings of one report procedure.
struct ReportSettings {
  std::string procedure;  // its name: %Procedure, and the progress window's section
  std::string caption;    // the progress window's title: "Report HOURLY"
  std::string title;      // the report's title, the print job's name
  dictionary::FileIndex file = dictionary::HOURLYFile;
  int key = 0;                       // the one sort order
  std::optional<std::string> range;  // key = this value (Latin-1); none: the whole key
  bool stopWhenBlank = false;        // a blank range value ends the run at once
  Zoom zoom = Zoom::TilePages;       // the preview opens at it
  // The step object for the key's field; empty: a TextStepMgr (text keys).
  std::function<std::unique_ptr<platform::StepMgr>()> steps;
};

// The place the preview's placement is kept: "_PreviewWindow_".
inline constexpr const char* PreviewSection = "_PreviewWindow_";

namespace detail {
// The progress window, made before the window frame that runs it. It opens
// centred the first time; once its placement is kept, where it was left.
struct ProgressWindow {
  ProgressWindow(const std::string& caption, const std::string& procedure);
  std::uint8_t progressPercent = 0;
  platform::Window progressWindow;
};
}  // namespace detail

class ReportProcedure : private detail::ProgressWindow, public app::ProcedureWindow {
 public:
  explicit ReportProcedure(ReportSettings settings);
  ~ReportProcedure() override;

  // The procedure's body (see above).
  void Run();

  const ReportSettings& settings() const { return settings_; }
  // A field of the view's record, which the run owns: what the description
  // binds the view's controls to (Field("?HOU:DATE", {...}, View(HOU_DATE), "D02B")).
  platform::FieldRef View(int field) { return reader_[field]; }
  platform::report::RunRecord& ViewRecord() { return reader_.record(); }
  // A field of the row's related record, in a joined view (JoinView).
  platform::FieldRef Joined(int field) { return reader_.joined()[field]; }
  platform::report::RunRecord& JoinedRecord() { return reader_.joined(); }
  // Valid from Run() on.
  platform::report::Report& report() const;
  platform::report::ReportController& controller() { return controller_; }
  platform::report::Process& reader() { return reader_; }
  platform::report::Preview& preview() const;
  // The percentage byte the thermometer shows.
  std::uint8_t percent() const { return progressPercent; }

 protected:
  // The report's description, bound to the run's records.
  virtual ReportSpec Describe() = 0;
  // The per-record step; PrintDetail unless the report has its own.
  virtual int OnRecord();
  // The reader's own per-record step, then PRINT of "?DETAIL"; answers 0.
  int PrintDetail();
  // The beginning of the run (see above); a report that adds to it calls
  // this first.
  virtual int ReportStamp();
  // Joins the view with the related records of another file; in the
  // report's constructor.
  void JoinView(const ReportJoin& join);
  // Set-up of the report's own members, once its files are open and before
  // its window opens; a level other than 0 ends the run.
  virtual int SetupReportMembers() { return 0; }
  // The view's first record (after the reader has gone back to its start)
  // and the next one: the reader's own, the file's records in key order
  // within the range. A report whose view holds something else overrides
  // them and calls these for the file's records.
  virtual platform::report::Process::Read FirstRecord() { return reader_.OwnReset(); }
  virtual platform::report::Process::Read NextRecord() { return reader_.OwnNext(); }

  int SetupMembers() override;
  void AttachTargets() override;
  void ShutdownMembers() override;

 private:
  class Reader final : public platform::report::JoinedProcess {
   public:
    explicit Reader(ReportProcedure& shape) : shape_(shape) {}
    int OnRecord() override { return shape_.OnRecord(); }
    int OwnStep() { return Process::OnRecord(); }
    Read Reset() override { return shape_.FirstRecord(); }
    Read Next() override { return shape_.NextRecord(); }
    Read OwnReset() { return JoinedProcess::Reset(); }
    Read OwnNext() { return JoinedProcess::Next(); }

   private:
    ReportProcedure& shape_;
  };
  class Controller final : public platform::report::ReportController {
   public:
    explicit Controller(ReportProcedure& shape) : shape_(shape) {}
    int BeginReport() override { return shape_.ReportStamp(); }
    int OwnBeginning() { return ReportController::BeginReport(); }

   private:
    ReportProcedure& shape_;
  };
  class Files final : public platform::RelatedFiles {
   public:
    explicit Files(platform::FileRelations& relation) : relation_(relation) {}
    int Open() override { return relation_.Open(); }
    int Close() override { return relation_.Close(); }

   private:
    platform::FileRelations& relation_;
  };
  class Placement final : public platform::report::PlacementKeeper {
   public:
    void Restore(platform::Window& window) override;
    void Save(const platform::Window& window) override;
  };

  ReportSettings settings_;
  std::vector<std::uint8_t> rangeValue_;
  Reader reader_;
  Controller controller_;
  Files files_;
  Placement placement_;
  std::unique_ptr<platform::StepMgr> steps_;
  std::unique_ptr<platform::report::Report> report_;
  std::unique_ptr<platform::report::Preview> preview_;
};

}  // namespace reports
