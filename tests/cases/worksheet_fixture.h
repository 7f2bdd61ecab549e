#pragma once
// The worksheets and the case totals window as the user reaches them: the
// real case list on a thread of the program, its "IN COURT", "OUT OF
// COURT", "OTHER EXPENSES" and "GRAND TOTAL FOR SELECTED CASE" calling the
// real windows, with the real entry forms; entries written from the test
// body; the printouts replaced by a stub that notes what it was given.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/frame/globals.h"
#include "cases/browse_case_close_summary.h"
#include "cases/column_totals.h"
#include "cases/worksheets.h"
#include "platform/fiber/thread.h"
#include "platform/types/clock.h"
#include "platform/types/picture.h"
#include "tests/cases/list_case_fixture.h"

namespace sheettest {

using browsetest::Case;
using dictionary::HOURLYField;
using platform::DbStatus;
using platform::FieldRef;
using platform::Window;
namespace cl = cases::case_list;
namespace ws = cases::worksheet;

// An entry as the tests write it: its case and the values of its decimal
// fields (plain text).
struct Entry {
  std::string caseNumber;
  std::vector<std::pair<HOURLYField, std::string>> values;
  std::string description = "Entry";
};

// Entries written from the test body, numbered 1, 2, ...
class EntryWriter {
 public:
  EntryWriter() {
    DbStatus s = file_.open();
    if (s == DbStatus::FileNotFound && file_.create() == DbStatus::Ok) s = file_.open();
    EXPECT_EQ(s, DbStatus::Ok) << file_.error().text;
  }
  void add(const Entry& e) { addMany({e}); }
  // In one transaction.
  void addMany(const std::vector<Entry>& entries) {
    platform::DbTransaction t(context_);
    ASSERT_EQ(t.begin({&file_}), DbStatus::Ok);
    for (const Entry& e : entries) {
      platform::clearRecord(file_.layout(), file_.record());
      field(dictionary::HOU_FN).setInteger(++last_);
      field(dictionary::HOU_CASENUMBER).setText(e.caseNumber);
      field(dictionary::HOU_BRIEFDESCRIPTIONSERVICES).setText(e.description);
      field(dictionary::HOU_BRIEFDESCRIPTIONSERVICES3).setText(e.description);
      for (const auto& [f, v] : e.values) ASSERT_EQ(field(f).setDecimal(*platform::Decimal::parse(v)), platform::StoreStatus::Ok) << v;
      ASSERT_EQ(file_.add(), DbStatus::Ok) << file_.error().text;
    }
    ASSERT_EQ(t.commit(), DbStatus::Ok);
  }
  int count() {
    std::vector<platform::DbRow> rows;
    file_.readPage(dictionary::HOU_KEYFN, platform::Direction::Forward, std::nullopt, 1000000, std::nullopt, rows);
    return static_cast<int>(rows.size());
  }

 private:
  FieldRef field(int f) { return FieldRef::of(file_.layout().field(f), file_.record()); }
  platform::DbContext context_;
  platform::DbFile file_{context_, dictionary::HOURLYDefinition()};
  std::int32_t last_ = 0;
};

// What the stub printout saw.
struct Printed {
  std::string procedure, given, printCase;  // the number given, G:CASENUMBER
  int thread;
};
inline std::vector<Printed>& printed() {
  static std::vector<Printed> p;
  return p;
}
template <std::size_t I>
void stubPrint(const std::string& caseNumber) {
  printed().push_back({cases::WorksheetPrintCalls()[I].procedure, caseNumber, app::G_CASENUMBER().text(),
                       platform::currentThread()});
}

class SheetTest : public browsetest::CaseListTest {
 protected:
  void SetUp() override {
    CaseListTest::SetUp();
    // The case list's buttons to the worksheets and the totals window call
    // their windows as the case list connects them; the others stay
    // stand-ins.
    for (std::size_t i = 0; i < 4; ++i) {
      ASSERT_NE(saved[i], nullptr) << cases::CaseListCalls()[i].procedure;
      cases::CaseListCalls()[i].call = saved[i];
    }
    platform::setClockSource([] {
      platform::LocalDateTime t;
      t.date = {2007, 3, 15};
      return t;
    });
    platform::setSystemDateTimeFormat(platform::DateTimeFormat{});
    printed().clear();
    void (*stubs[])(const std::string&) = {stubPrint<0>, stubPrint<1>, stubPrint<2>, stubPrint<3>};
    for (std::size_t i = 0; i < 4; ++i) {
      savedPrints.push_back(cases::WorksheetPrintCalls()[i].call);
      cases::WorksheetPrintCalls()[i].call = stubs[i];
    }
    for (int i = 0; i < cases::TotalCount; ++i) cases::TotalGlobal(i).setDecimal(platform::Decimal());
    entries.emplace();
  }
  void TearDown() override {
    platform::ListView::setReadFault({});
    entries.reset();
    CaseListTest::TearDown();
    for (std::size_t i = 0; i < savedPrints.size(); ++i) cases::WorksheetPrintCalls()[i].call = savedPrints[i];
    platform::setClockSource({});
  }

  // The case list, on the first tab (by name).
  void openList() { start([] { cases::BrowseCaseCloseSummary(); }); }
  Window& list() { return drv->window("CASE FILE"); }
  // Selects the case listed with this name and presses one of the list's
  // buttons; answers the window it opened.
  Window& open(const std::string& name, int button, const char* caption) { return open(list(), name, button, caption); }
  Window& open(Window& caseList, const std::string& name, int button, const char* caption) {
    platform::Control& rows = drv->control(caseList, cl::BROWSE_1);
    for (int r = 1; r <= rows.rowCount(); ++r)
      if (rows.cell(r, 2) == name) drv->selectRow(caseList, cl::BROWSE_1, r);
    drv->click(caseList, button);
    return drv->window(caption);
  }
 public:
  // The worksheet of the case listed with this name.
  Window& inCourt(const std::string& name) { return open(name, cl::BROWSEHOURLY, "IN COURT WORKSHEET"); }
  Window& outOfCourt(const std::string& name) { return open(name, cl::BROWSEHOURLY_2, "OUT OF COURT WORKSHEET"); }
  Window& otherExpenses(const std::string& name) {
    return open(name, cl::BROWSEHOURLY_3, "OTHER EXPENSES WORKSHEET");
  }

 protected:
  // A list's rows, a column each (1-based).
  std::vector<std::string> column(Window& w, int list, int c) {
    std::vector<std::string> out;
    platform::Control& l = drv->control(w, list);
    for (int r = 1; r <= l.rowCount(); ++r) out.push_back(l.cell(r, c));
    return out;
  }
  // The texts of the 22 total displays that a window has (empty where it
  // has none).
  std::vector<std::string> totalsShown(Window& w, int (*control)(int) = ws::G) {
    std::vector<std::string> out;
    for (int i = 0; i < cases::TotalCount; ++i) {
      const platform::Control* c = w.find(control(i));
      out.push_back(c ? c->text() : "-");
    }
    return out;
  }
  // The globals G:A ... G:OTHER as plain decimals.
  static std::vector<std::string> globals() {
    std::vector<std::string> out;
    for (int i = 0; i < cases::TotalCount; ++i) out.push_back(cases::TotalGlobal(i).text());
    return out;
  }

  std::optional<EntryWriter> entries;
  std::vector<void (*)(const std::string&)> savedPrints;
};

}  // namespace sheettest
