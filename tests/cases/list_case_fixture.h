#pragma once
// The case list and the case picker on the real record files: the data
// layer plugged into the program's threads, a scratch directory, cases
// written from the test body (as another copy of the program would),
// stand-ins for the windows of the list's own buttons, and the driver.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/frame/globals.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "cases/browse_case_close_summary.h"
#include "dictionary/dictionary.h"
#include "platform/db/transaction.h"
#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "platform/os/os_fakes.h"
#include "platform/types/clock.h"
#include "platform/types/latin1.h"
#include "platform/ui/headless/driver.h"
#include "platform/ui/window.h"
#include "tests/app/frame/test_data_layer.h"
#include "tests/platform/os/temp_dir.h"

namespace browsetest {

using dictionary::CCS;
using platform::DbStatus;
using platform::FieldRef;
using platform::Window;

// The data layer on the program's threads: one ThreadData per logical
// thread, and one for the test body outside them.
using CaseDataLayer = lvtest::DataLayer;

// A case as the tests write it.
struct Case {
  std::string number, name, rate = "100";
  std::string judge = {};
  std::int32_t date = 0;  // a day number
  std::string attorney = {}, ausa = {}, defendant = {}, uspo = {}, charges = {};
};

// Cases, entries and totals written from the test body through a driver
// context of its own.
class CaseWriter {
 public:
  CaseWriter() {
    for (platform::DbFile* f : {&cases_, &entries_, &totals_, &rates_}) {
      DbStatus s = f->open();
      if (s == DbStatus::FileNotFound && f->create() == DbStatus::Ok) s = f->open();
      EXPECT_EQ(s, DbStatus::Ok) << f->error().text;
    }
  }
  std::int64_t add(const Case& c) {
    platform::clearRecord(cases_.layout(), cases_.record());
    field(cases_, dictionary::CCS_CASENUMBER).setText(c.number);
    field(cases_, dictionary::CCS_CASENAME).setText(c.name);
    field(cases_, dictionary::CCS_HOURLYRATE).setDecimal(*platform::Decimal::parse(c.rate));
    field(cases_, dictionary::CCS_JUDGE).setText(c.judge);
    field(cases_, dictionary::CCS_DATE).setDay(c.date);
    field(cases_, dictionary::CCS_ATTORNEY).setText(c.attorney);
    field(cases_, dictionary::CCS_AUSA).setText(c.ausa);
    field(cases_, dictionary::CCS_DEFENDANT).setText(c.defendant);
    field(cases_, dictionary::CCS_USPO).setText(c.uspo);
    field(cases_, dictionary::CCS_CHARGES).setText(c.charges);
    EXPECT_EQ(cases_.add(), DbStatus::Ok) << cases_.error().text;
    return cases_.position();
  }
  void addEntry(const std::string& caseNumber, int fn) { addEntry(caseNumber, fn, [](auto) {}); }
  // An entry with the fields `fill` sets through the setter it is given.
  void addEntry(const std::string& caseNumber, int fn,
                const std::function<void(const std::function<FieldRef(dictionary::HOURLYField)>&)>& fill) {
    platform::clearRecord(entries_.layout(), entries_.record());
    field(entries_, dictionary::HOU_FN).setInteger(fn);
    field(entries_, dictionary::HOU_CASENUMBER).setText(caseNumber);
    fill([this](dictionary::HOURLYField f) { return field(entries_, f); });
    EXPECT_EQ(entries_.add(), DbStatus::Ok) << entries_.error().text;
  }
  void addRate(const std::string& rate, std::int32_t day = 0) {
    platform::clearRecord(rates_.layout(), rates_.record());
    field(rates_, dictionary::RTM_MILAGERATE).setText(rate);
    field(rates_, dictionary::RTM_DATEMILAGERATE).setDay(day);
    EXPECT_EQ(rates_.add(), DbStatus::Ok) << rates_.error().text;
  }
  // A field of entry `fn` as plain text; empty when it has gone.
  std::string entryField(int fn, dictionary::HOURLYField f) {
    std::vector<platform::DbRow> rows;
    entries_.readPage(dictionary::HOU_KEYFN, platform::Direction::Forward, std::nullopt, 1,
                      platform::KeyValue{std::int64_t{fn}}, rows);
    return rows.empty() ? std::string() : FieldRef::of(entries_.layout().field(f), rows.front().image.data()).text();
  }
  // The numbers of every entry.
  std::vector<int> entryNumbers() {
    std::vector<platform::DbRow> rows;
    entries_.readPage(dictionary::HOU_KEYFN, platform::Direction::Forward, std::nullopt, 100000, std::nullopt, rows);
    std::vector<int> out;
    for (platform::DbRow& r : rows)
      out.push_back(static_cast<int>(FieldRef::of(entries_.layout().field(dictionary::HOU_FN), r.image.data()).integer()));
    return out;
  }
  // A totals record of a case, with its arraignment hours and mileage.
  void addTotals(const std::string& caseNumber, const std::string& hours = "0", const std::string& mileage = "0") {
    platform::clearRecord(totals_.layout(), totals_.record());
    field(totals_, dictionary::TOT_CASENUMBER).setText(caseNumber);
    field(totals_, dictionary::TOT_A).setText(hours);
    field(totals_, dictionary::TOT_N).setText(mileage);
    EXPECT_EQ(totals_.add(), DbStatus::Ok) << totals_.error().text;
  }
  // A field of the totals record of a case, as plain text; empty for none.
  std::string totalsField(const std::string& caseNumber, dictionary::TOTALSField f) {
    std::vector<platform::DbRow> rows;
    totals_.readPage(dictionary::TOT_KeyCaseNumber, platform::Direction::Forward, std::nullopt, 2,
                     platform::KeyValue{platform::latin1Upper(caseNumber)}, rows);
    return rows.empty() ? std::string() : FieldRef::of(totals_.layout().field(f), rows.front().image.data()).text();
  }
  // Many cases in one transaction: number and name of case i.
  void addMany(int count, const std::function<void(int, FieldRef number, FieldRef name)>& fill) {
    platform::DbTransaction t(context_);
    ASSERT_EQ(t.begin({&cases_}), DbStatus::Ok);
    for (int i = 1; i <= count; ++i) {
      platform::clearRecord(cases_.layout(), cases_.record());
      fill(i, field(cases_, dictionary::CCS_CASENUMBER), field(cases_, dictionary::CCS_CASENAME));
      ASSERT_EQ(cases_.add(), DbStatus::Ok) << cases_.error().text;
    }
    ASSERT_EQ(t.commit(), DbStatus::Ok);
  }
  void remove(std::int64_t position) { EXPECT_EQ(cases_.remove(position), DbStatus::Ok); }
  // Gives the case at `position` another number, as another thread's case
  // form would (its entries and totals are left alone).
  void renumber(std::int64_t position, const std::string& number) {
    ASSERT_EQ(cases_.get(position), DbStatus::Ok) << cases_.error().text;
    const std::vector<std::uint8_t> original(cases_.image().begin(), cases_.image().end());
    field(cases_, dictionary::CCS_CASENUMBER).setText(number);
    EXPECT_EQ(cases_.change(position, original), DbStatus::Ok) << cases_.error().text;
  }
  // How many records each file holds for a case number.
  int count(platform::DbFile& f, int key, const std::string& number) {
    std::vector<platform::DbRow> rows;
    f.readPage(key, platform::Direction::Forward, std::nullopt, 100000,
               platform::KeyValue{platform::latin1Upper(number)}, rows);
    return static_cast<int>(rows.size());
  }
  int cases(const std::string& n) { return count(cases_, dictionary::CCS_KeyCaseNumber, n); }
  int entries(const std::string& n) { return count(entries_, dictionary::HOU_KeyCaseNumber, n); }
  int totals(const std::string& n) { return count(totals_, dictionary::TOT_KeyCaseNumber, n); }

 private:
  static FieldRef field(platform::DbFile& f, int number) { return FieldRef::of(f.layout().field(number), f.record()); }
  platform::DbContext context_;
  platform::DbFile cases_{context_, dictionary::CaseCloseSummaryDefinition()};
  platform::DbFile entries_{context_, dictionary::HOURLYDefinition()};
  platform::DbFile totals_{context_, dictionary::TOTALSDefinition()};
  platform::DbFile rates_{context_, dictionary::RateMilageDefinition()};
};

// What the stand-ins saw.
struct CaseSeen {
  struct Call {
    std::string procedure;
    std::uint8_t request;
    std::string number, name, judge;  // the buffer when it was called
    std::string printCase;            // G:CASENUMBER then
  };
  std::vector<Call> calls;
  std::optional<std::uint8_t> response;
  std::vector<std::uint8_t> bufferBefore, bufferAfter;  // a picker's caller's buffer
  bool hourlyOpen = false;
};
inline CaseSeen& caseSeen() {
  static CaseSeen s;
  return s;
}

inline void noteCall(const char* procedure, std::uint8_t request) {
  caseSeen().calls.push_back({procedure, request, CCS(dictionary::CCS_CASENUMBER).text(),
                              CCS(dictionary::CCS_CASENAME).text(), CCS(dictionary::CCS_JUDGE).text(),
                              app::G_CASENUMBER().text()});
}

// Stand-ins for the windows of the case list's own buttons: each notes its
// procedure's name and what it finds on the thread.
template <std::size_t I>
void ownWindow(const std::string&) {
  noteCall(cases::CaseListCalls()[I].procedure, app::ThreadRequest());
}
template <std::size_t... I>
std::vector<void (*)(const std::string&)> ownWindows(std::index_sequence<I...>) {
  return {&ownWindow<I>...};
}

// A scratch directory, the data layer, and the program whose first thread
// runs `body`.
class CaseListTest : public lvtest::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    caseSeen() = CaseSeen{};
    app::SetThreadDataLayer(&layer);
    writer.emplace();
    drv.emplace();
    const std::vector<void (*)(const std::string&)> standIns = ownWindows(std::make_index_sequence<6>());
    ASSERT_EQ(cases::CaseListCalls().size(), standIns.size());
    for (std::size_t i = 0; i < standIns.size(); ++i) {
      saved.push_back(cases::CaseListCalls()[i].call);
      cases::CaseListCalls()[i].call = standIns[i];
    }
  }
  void TearDown() override {
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
    drv.reset();
    writer.reset();
    app::SetThreadDataLayer(nullptr);
    auto it = saved.begin();
    for (cases::CaseListCall& c : cases::CaseListCalls()) c.call = *it++;
    saved.clear();
    ScratchDirTest::TearDown();
  }
  void start(std::function<void()> body) {
    ASSERT_NE(app::StartProgram(std::move(body)), 0);
    drv->settle();
  }

  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  CaseDataLayer layer;
  std::optional<CaseWriter> writer;
  std::optional<platform::HeadlessDriver> drv;
  std::vector<void (*)(const std::string&)> saved;
};

}  // namespace browsetest
