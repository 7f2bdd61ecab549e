#pragma once
// A report of the tests' own over the real entry file, run through the
// report shape on the program's threads: a scratch directory, the data
// layer, entries written from the test body, a caller window on the first
// thread that calls the report directly (as a worksheet's print button
// does) or starts it on a thread of its own (as the frame's menu does), and
// the driver.
//
// The test report ("ENTRY TEST REPORT", procedure "Report:EntryTest") reads
// the entries of one case by HOU:KeyCaseNumber, prints a line for each
// entry with an in-court amount (a description that grows, the trial hours
// and the amount), a group footer with the sums, the case's name from a
// record of its own in the header, "ENCLOSURE:" and the page number, and
// the stamps in the footer.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/frame/globals.h"
#include "app/frame/procedure_window.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "dictionary/dictionary.h"
#include "platform/db/transaction.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/os/os_fakes.h"
#include "platform/os/profile.h"
#include "platform/report/preview.h"
#include "platform/report/progress_window.h"
#include "platform/ui/headless/driver.h"
#include "reports/report_shape.h"
#include "tests/app/frame/test_data_layer.h"
#include "tests/platform/os/temp_dir.h"

namespace reporttest {

namespace pr = platform::report;
using platform::Decimal;
using platform::FieldRef;
using platform::Window;

// One ThreadData per logical thread, and one for the test body.
using lvtest::DataLayer;

struct EntryRow {
  std::string caseNumber;
  std::string description = "Hearing";
  std::string trial = "1.0";
  std::string amount = "100.00";
};

// Writes cases and entries through a driver context of its own.
class Writer {
 public:
  Writer() {
    for (platform::DbFile* f : {&cases_, &entries_}) {
      platform::DbStatus s = f->open();
      if (s == platform::DbStatus::FileNotFound && f->create() == platform::DbStatus::Ok) s = f->open();
      EXPECT_EQ(s, platform::DbStatus::Ok) << f->error().text;
    }
  }
  // A record's fields by number, for the fill functions below.
  struct Fields {
    platform::DbFile& file;
    FieldRef operator()(int n) const { return field(file, n); }
  };
  using Fill = std::function<void(const Fields&)>;
  void addCase(const std::string& number, const std::string& name, const std::string& rate = "0") {
    addCaseWith([&](const Fields& f) {
      f(dictionary::CCS_CASENUMBER).setText(number);
      f(dictionary::CCS_CASENAME).setText(name);
      f(dictionary::CCS_HOURLYRATE).setDecimal(*Decimal::parse(rate));
    });
  }
  // A case that `fill` sets up.
  void addCaseWith(const Fill& fill) {
    platform::clearRecord(cases_.layout(), cases_.record());
    fill(Fields{cases_});
    EXPECT_EQ(cases_.add(), platform::DbStatus::Ok) << cases_.error().text;
  }
  // Entries that `fills` set up (numbered in order), in one transaction.
  void addEntriesWith(const std::vector<Fill>& fills) {
    platform::DbTransaction t(context_);
    ASSERT_EQ(t.begin({&entries_}), platform::DbStatus::Ok);
    for (const Fill& fill : fills) {
      platform::clearRecord(entries_.layout(), entries_.record());
      field(entries_, dictionary::HOU_FN).setInteger(++fn_);
      fill(Fields{entries_});
      ASSERT_EQ(entries_.add(), platform::DbStatus::Ok) << entries_.error().text;
    }
    ASSERT_EQ(t.commit(), platform::DbStatus::Ok);
  }
  // Entries given field by field: text fields take the text, dates a day
  // number, numbers a decimal.
  using Values = std::vector<std::pair<int, std::string>>;
  void addEntries(const std::vector<Values>& rows) {
    std::vector<Fill> fills;
    for (const Values& r : rows)
      fills.push_back([&r](const Fields& f) {
        for (const auto& [n, value] : r) {
          FieldRef to = f(n);
          if (to.isText())
            to.setText(value);
          else if (to.type() == platform::FieldType::Date)
            to.setDay(std::stoi(value));
          else
            to.setDecimal(*Decimal::parse(value));
        }
      });
    addEntriesWith(fills);
  }
  // Every case's bytes, in key order.
  std::vector<std::vector<std::uint8_t>> cases() {
    std::vector<platform::DbRow> rows;
    cases_.readPage(dictionary::CCS_KeyCaseNumber, platform::Direction::Forward, std::nullopt, 1000000, std::nullopt,
                    rows);
    std::vector<std::vector<std::uint8_t>> images;
    for (auto& r : rows) images.push_back(r.image);
    return images;
  }
  void add(const std::vector<EntryRow>& rows) {
    platform::DbTransaction t(context_);
    ASSERT_EQ(t.begin({&entries_}), platform::DbStatus::Ok);
    for (const EntryRow& r : rows) {
      platform::clearRecord(entries_.layout(), entries_.record());
      field(entries_, dictionary::HOU_FN).setInteger(++fn_);
      field(entries_, dictionary::HOU_CASENUMBER).setText(r.caseNumber);
      field(entries_, dictionary::HOU_BRIEFDESCRIPTIONSERVICES).setText(r.description);
      field(entries_, dictionary::HOU_TRIAL).setDecimal(*Decimal::parse(r.trial));
      field(entries_, dictionary::HOU_TOTALSECTION_INCOURT).setDecimal(*Decimal::parse(r.amount));
      ASSERT_EQ(entries_.add(), platform::DbStatus::Ok) << entries_.error().text;
    }
    ASSERT_EQ(t.commit(), platform::DbStatus::Ok);
  }
  // Every entry's bytes, in key order.
  std::vector<std::vector<std::uint8_t>> entries() {
    std::vector<platform::DbRow> rows;
    entries_.readPage(dictionary::HOU_KEYFN, platform::Direction::Forward, std::nullopt, 1000000, std::nullopt, rows);
    std::vector<std::vector<std::uint8_t>> images;
    for (auto& r : rows) images.push_back(r.image);
    return images;
  }

 private:
  static FieldRef field(platform::DbFile& f, int n) { return FieldRef::of(f.layout().field(n), f.record()); }
  platform::DbContext context_;
  platform::DbFile cases_{context_, dictionary::CaseCloseSummaryDefinition()};
  platform::DbFile entries_{context_, dictionary::HOURLYDefinition()};
  int fn_ = 0;
};

// What the tests arrange for the next run, and what it saw.
struct Knobs {
  std::string procedure = "Report:EntryTest";
  bool stopWhenBlank = true;
  bool whole = false;  // no range: the whole file
  int pageHeight = 0;  // the body's height; 0: the sheet's
  // The report the caller's buttons run (the test report when empty), and
  // the title of its progress window.
  std::function<void(const std::string&)> report;
  std::string progressCaption = "Report HOURLY";
  // The case of the entry the caller holds in its HOURLY buffer when it
  // calls the report (the printed case when empty).
  std::string callerEntryCase;
  // Hundredths of a second each record takes, on the clock of the loop.
  platform::Scheduler::Centis recordCost = 0;
  // Quick-scan of the entry file and of the case file, as the last record
  // read found them.
  bool quickScanSeen = false, relatedQuickScanSeen = false;
};
Knobs& knobs();

class EntryReport;
// The run in progress, while one runs.
EntryReport*& running();

class EntryReport final : public reports::ReportProcedure {
 public:
  explicit EntryReport(std::string caseNumber);
  ~EntryReport() override;

 protected:
  reports::ReportSpec Describe() override;
  int OnRecord() override;
  int SetupReportMembers() override;

 private:
  std::string caseNumber_;
  pr::RunRecord case_{dictionary::CaseCloseSummaryLayout()};
  std::vector<std::uint8_t> caseNumberBytes_;
};

// The procedure: the report of `caseNumber`.
void EntryTestReport(const std::string& caseNumber);

// What a run must leave as it found it on its caller's thread: the record
// buffers and positions of the files, HOURLY's use count and quick-scan,
// and the procedure names of the thread's error manager.
struct CallerState {
  std::vector<std::uint8_t> entry, kase;
  std::int64_t entryPosition = 0, casePosition = 0;
  int uses = 0;
  bool quickScan = false;
  std::vector<std::string> procedures;
  friend bool operator==(const CallerState&, const CallerState&) = default;
};
CallerState callerStateNow();
// Around the caller's last direct call, and its ThreadResponse after it.
extern CallerState stateBefore, stateAfter;
extern int lastResponse;

// The caller window: "CALLER" on the first thread. PrintButton calls the
// report (the test report, or knobs().report) directly for `callerCase`; StartButton starts it on a new thread
// (50000 bytes); CloseButton asks the other threads' windows to close, as
// the frame does when it closes (the answer in `othersClosed`).
constexpr int CaseEntry = 1;
constexpr int PrintButton = 2;
constexpr int StartButton = 3;
constexpr int CloseButton = 4;
extern std::string callerCase;
extern std::optional<bool> othersClosed;
void Caller();

// A clock for the record loop: the driver's clock, plus the cost of the
// records read since the driver's clock last moved.
class CostClock {
 public:
  explicit CostClock(platform::HeadlessDriver& drv) : drv_(drv) {}
  platform::Scheduler::Centis operator()() {
    if (drv_.now() != seen_) {
      seen_ = drv_.now();
      extra_ = 0;
    }
    return seen_ + extra_;
  }
  void spend(platform::Scheduler::Centis c) { extra_ += c; }

 private:
  platform::HeadlessDriver& drv_;
  platform::Scheduler::Centis seen_ = -1, extra_ = 0;
};
CostClock*& costClock();

class ReportTest : public lvtest::ScratchDirTest {
 public:
  void SetUp() override;
  void TearDown() override;

  // Starts the program (the caller window on its first thread).
  void start();
  Window& caller() { return drv->window("CALLER"); }
  // Presses the caller's print button for `caseNumber` (a direct call).
  void print(const std::string& caseNumber);
  // Runs the timer until the progress window has gone.
  void readToTheEnd();
  Window* progress() { return drv->findWindow(knobs().progressCaption); }
  Window* preview() { return drv->findWindow("Report Preview"); }
  std::optional<std::string> setting(const std::string& section, const std::string& entry) const {
    return platform::findProfileString(section, entry, app::SettingsFileName);
  }
  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  DataLayer layer;
  std::optional<Writer> writer;
  std::optional<platform::HeadlessDriver> drv;
  std::optional<CostClock> clock;
  pr::RecordingPrintSink sink;
  int firstThread = 0;
};

}  // namespace reporttest
