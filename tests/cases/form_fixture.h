#pragma once
// The case form's tests: the program running in a scratch directory with
// the real data layer, and stand-ins of the case list: windows on their
// own threads that run the steps a test gives them (priming or loading a
// case and calling the form, as the list does) when their button is
// clicked.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/frame/data_layer.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "cases/form_manager.h"
#include "cases/update_case_close_summary.h"
#include "dictionary/dictionary.h"
#include "platform/os/os_fakes.h"
#include "platform/types/clock.h"
#include "platform/types/picture.h"
#include "platform/ui/headless/driver.h"
#include "tests/platform/os/temp_dir.h"

namespace casetest {

namespace cf = cases::case_form;
using platform::BtnNo;
using platform::BtnOk;
using platform::BtnYes;
using platform::FieldRef;
using platform::Window;

// A case as the tests seed and read it.
struct Case {
  std::string number;
  std::string name;
  std::string rate;  // plain decimal text
};

// A stand-in of the case list: the thread's files stay open while it runs;
// each click of its button runs the steps queued for it.
struct List {
  std::string caption;
  std::deque<std::function<void()>> steps;
  Window* window = nullptr;

  static constexpr int RunButton = 1;

  void run() {
    dictionary::Relate_CaseCloseSummary().Open();
    platform::WindowSpec spec;
    spec.kind = platform::WindowKind::Own;
    spec.caption = caption;
    spec.rect = {0, 0, 100, 40};
    Window w(spec);
    platform::ControlSpec button;
    button.number = RunButton;
    button.kind = platform::ControlKind::Button;
    button.rect = {5, 5, 40, 14};
    w.add(button);
    w.open();
    window = &w;
    while (w.accept()) {
      if (w.event().kind == platform::EventKind::Accepted && w.event().control == RunButton)
        while (!steps.empty()) {
          std::function<void()> step = std::move(steps.front());
          steps.pop_front();
          step();
        }
      w.endEvent(platform::EventLevel::Continue);
    }
    window = nullptr;
    dictionary::Relate_CaseCloseSummary().Close();
  }
};

class CaseFormTest : public lvtest::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    platform::setClockSource([] {
      platform::LocalDateTime t;
      t.date = {2007, 3, 15};
      return t;
    });
    platform::setSystemDateTimeFormat(platform::DateTimeFormat{});
    app::InstallDataLayer();
    list.caption = "CASE FILE";
    ASSERT_NE(app::StartProgram([this] { list.run(); }), 0);
    drv->settle();
    ASSERT_NE(list.window, nullptr);
  }
  void TearDown() override {
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
    drv.reset();
    app::SetThreadDataLayer(nullptr);
    dictionary::setThreadDataSource({});
    platform::setClockSource({});
    ScratchDirTest::TearDown();
  }

  // Runs `step` on the list's thread; returns when every thread waits (a
  // form the step called is open, or the step has ended).
  void on(List& l, std::function<void()> step) {
    l.steps.push_back(std::move(step));
    drv->click(*l.window, List::RunButton);
  }
  void on(std::function<void()> step) { on(list, std::move(step)); }

  // Starts a second list on a thread of its own.
  void startSecondList() {
    second.caption = "CASE FILE 2";
    on([this] { app::StartThread([this] { second.run(); }, 50000); });
    ASSERT_NE(second.window, nullptr);
  }

  // --- what the list does around the form ---

  // Insert: the buffer primed (cleared, today's date) and the form called;
  // the response lands in `response`. As the list does, a call that does
  // not complete gets back the record that was current before the priming.
  void insert() {
    on([this] { callPrimed([] { ASSERT_EQ(dictionary::Access_CaseCloseSummary().PrimeRecord(true), 0); }); });
  }
  // `prime` fills the cleared buffer, then the form is called as for an
  // insert (with `requestAfterPriming`).
  void callPrimed(const std::function<void()>& prime) {
    platform::DbFile& file = dictionary::CaseCloseSummary();
    const platform::DbFileState before = file.saveState();
    platform::clearRecord(dictionary::CaseCloseSummaryLayout(), file.record());
    prime();
    response = app::CallWithRequest(cases::UpdateCaseCloseSummary, requestAfterPriming);
    if (response != app::ResponseCompleted) file.restoreState(before);
  }
  // Change, view, delete: the case is loaded into the buffer first.
  void call(std::uint8_t request, const std::string& number) {
    on([this, request, number] {
      load(number);
      response = app::CallWithRequest(cases::UpdateCaseCloseSummary, request);
    });
  }

  // --- the record files, on the list's thread ---

  static void load(const std::string& number) {
    dictionary::CCS(dictionary::CCS_CASENUMBER).setText(number);
    ASSERT_EQ(dictionary::Access_CaseCloseSummary().TryFetch(dictionary::CCS_KeyCaseNumber), 0) << number;
  }
  static void addCase(const Case& c) {
    ASSERT_EQ(dictionary::Access_CaseCloseSummary().PrimeRecord(), 0);
    dictionary::CCS(dictionary::CCS_CASENUMBER).setText(c.number);
    dictionary::CCS(dictionary::CCS_CASENAME).setText(c.name);
    dictionary::CCS(dictionary::CCS_HOURLYRATE).setText(c.rate);
    ASSERT_EQ(dictionary::Access_CaseCloseSummary().Insert(), 0) << c.number;
  }
  static void addEntry(const std::string& number) {
    ASSERT_EQ(dictionary::Access_HOURLY().PrimeRecord(), 0);
    dictionary::HOU(dictionary::HOU_CASENUMBER).setText(number);
    ASSERT_EQ(dictionary::Access_HOURLY().Insert(), 0) << number;
  }
  static void addTotals(const std::string& number) {
    ASSERT_EQ(dictionary::Access_TOTALS().PrimeRecord(), 0);
    dictionary::TOT(dictionary::TOT_CASENUMBER).setText(number);
    ASSERT_EQ(dictionary::Access_TOTALS().Insert(), 0) << number;
  }
  // A text field of every record of a file, in the order of a key that
  // keeps every record.
  static std::vector<std::string> column(platform::FileManager& access, int key, int field) {
    EXPECT_EQ(access.UseFile(), 0);
    platform::DbFile& file = access.file();
    std::vector<platform::DbRow> rows;
    EXPECT_EQ(file.readPage(key, platform::Direction::Forward, std::nullopt, 100000, std::nullopt, rows),
              platform::DbStatus::Ok);
    std::vector<std::string> out;
    for (platform::DbRow& r : rows) out.push_back(FieldRef::of(file.layout().field(field), r.image.data()).text());
    return out;
  }
  // The case numbers of every case (by attorney, a key that leaves no
  // record out).
  std::vector<std::string> caseNumbers() {
    std::vector<std::string> out;
    on([&] {
      out = column(dictionary::Access_CaseCloseSummary(), dictionary::CCS_KeyAttorney, dictionary::CCS_CASENUMBER);
    });
    return out;
  }
  // A field of the list thread's record buffer.
  std::string buffer(dictionary::CaseCloseSummaryField field) {
    std::string out;
    on([&] { out = dictionary::CCS(field).text(); });
    return out;
  }
  void seed(const std::vector<Case>& cases) {
    on([&] {
      for (const Case& c : cases) addCase(c);
    });
  }

  // --- the form ---

  Window& form(const char* caption) { return drv->window(caption); }
  Window& added() { return form("Record Will Be Added"); }
  Window& changed() { return form("Record Will Be Changed"); }
  bool formOpen() const {
    for (const char* caption : {"Record Will Be Added", "Record Will Be Changed", "View Record"})
      if (drv->findWindow(caption)) return true;
    return false;
  }
  // Types the three values of the first tab.
  void fill(Window& w, const Case& c) {
    drv->type(w, cf::CCS_CASENUMBER, c.number);
    drv->type(w, cf::CCS_CASENAME, c.name);
    drv->type(w, cf::CCS_HOURLYRATE, c.rate);
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const auto& m : drv->messages()) t.push_back(m.title);
    return t;
  }

  std::optional<std::uint8_t> response;
  std::uint8_t requestAfterPriming = app::RequestInsert;
  List list;
  List second;
  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  std::optional<platform::HeadlessDriver> drv{std::in_place};
};

}  // namespace casetest
