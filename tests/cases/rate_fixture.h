#pragma once
// The mileage-rate windows on the real record files: the data layer on the
// program's threads, a scratch directory, today fixed at 3/15/2007, rates
// and entries written from the test body (as another copy of the program
// would), a stand-in for the list's own button, and the driver.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "cases/rate_windows.h"
#include "dictionary/dictionary.h"
#include "platform/types/clock.h"
#include "platform/types/daynum.h"
#include "platform/types/picture.h"
#include "tests/cases/list_case_fixture.h"

namespace ratetest {

using browsetest::CaseDataLayer;
using platform::DbStatus;
using platform::FieldRef;
using platform::Window;

// A record as the file holds it: its position and its bytes.
struct Stored {
  std::int64_t position;
  std::vector<std::uint8_t> image;
  friend bool operator==(const Stored&, const Stored&) = default;
};

// Rates and entries written and read from the test body through a driver
// context of its own.
class RateWriter {
 public:
  RateWriter() {
    for (platform::DbFile* f : {&rates_, &entries_}) {
      DbStatus s = f->open();
      if (s == DbStatus::FileNotFound && f->create() == DbStatus::Ok) s = f->open();
      EXPECT_EQ(s, DbStatus::Ok) << f->error().text;
    }
  }
  // A rate ("0.485") of a day (0: no date).
  std::int64_t add(const std::string& rate, std::int32_t day) {
    platform::clearRecord(rates_.layout(), rates_.record());
    field(rates_, dictionary::RTM_MILAGERATE).setDecimal(*platform::Decimal::parse(rate));
    field(rates_, dictionary::RTM_DATEMILAGERATE).setDay(day);
    EXPECT_EQ(rates_.add(), DbStatus::Ok) << rates_.error().text;
    return rates_.position();
  }
  void addEntry(int fn, const std::string& caseNumber, const std::string& rate, const std::string& miles) {
    platform::clearRecord(entries_.layout(), entries_.record());
    field(entries_, dictionary::HOU_FN).setInteger(fn);
    field(entries_, dictionary::HOU_CASENUMBER).setText(caseNumber);
    field(entries_, dictionary::HOU_MILAGERATE).setDecimal(*platform::Decimal::parse(rate));
    field(entries_, dictionary::HOU_MILEAGE).setDecimal(*platform::Decimal::parse(miles));
    EXPECT_EQ(entries_.add(), DbStatus::Ok) << entries_.error().text;
  }
  // Every record of a file, in the order of a key that keeps every record.
  std::vector<Stored> all(platform::DbFile& f, int key) {
    std::vector<platform::DbRow> rows;
    EXPECT_EQ(f.readPage(key, platform::Direction::Forward, std::nullopt, 100000, std::nullopt, rows), DbStatus::Ok);
    std::vector<Stored> out;
    for (platform::DbRow& r : rows) out.push_back({r.position, std::move(r.image)});
    return out;
  }
  std::vector<Stored> entries() { return all(entries_, dictionary::HOU_KeyCaseNumber); }
  // Every rate as "date rate" ("3/15/2007 0.485"), by rate.
  std::vector<std::string> rates() {
    std::vector<std::string> out;
    for (Stored& s : all(rates_, dictionary::RTM_KeyMilageRate)) out.push_back(shown(s.image.data()));
    return out;
  }
  static std::string shown(std::uint8_t* image) {
    const auto& layout = dictionary::RateMilageLayout();
    return platform::format(FieldRef::of(layout.field(dictionary::RTM_DATEMILAGERATE), image),
                            platform::Picture::of("D17B")) +
           " " +
           platform::format(FieldRef::of(layout.field(dictionary::RTM_MILAGERATE), image), platform::Picture::of("n6.3"));
  }

 private:
  static FieldRef field(platform::DbFile& f, int number) { return FieldRef::of(f.layout().field(number), f.record()); }
  platform::DbContext context_;
  platform::DbFile rates_{context_, dictionary::RateMilageDefinition()};
  platform::DbFile entries_{context_, dictionary::HOURLYDefinition()};
};

// What the stand-in of the list's own button found on the list's thread.
struct OwnCall {
  std::string procedure;
  std::uint8_t request;
  std::string rate;  // the thread's RateMilage buffer, as RateWriter::shown
};
inline std::vector<OwnCall>& ownCalls() {
  static std::vector<OwnCall> calls;
  return calls;
}
// The thread's RateMilage buffer as RateWriter::shown.
inline std::string bufferShown() { return RateWriter::shown(dictionary::RateMilage().record()); }

class RateTest : public lvtest::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    platform::setClockSource([] {
      platform::LocalDateTime t;
      t.date = {2007, 3, 15};
      return t;
    });
    platform::setSystemDateTimeFormat(platform::DateTimeFormat{});
    app::SetThreadDataLayer(&layer);
    writer.emplace();
    drv.emplace();
    ownCalls().clear();
    for (cases::RateListCall& c : cases::RateListCalls()) {
      saved.push_back(c.call);
      c.call = [] {
        ownCalls().push_back({cases::RateListCalls()[0].procedure, app::ThreadRequest(), bufferShown()});
      };
    }
  }
  void TearDown() override {
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
    drv.reset();
    writer.reset();
    app::SetThreadDataLayer(nullptr);
    platform::setClockSource({});
    auto it = saved.begin();
    for (cases::RateListCall& c : cases::RateListCalls()) c.call = *it++;
    saved.clear();
    ScratchDirTest::TearDown();
  }
  void start(std::function<void()> body) {
    ASSERT_NE(app::StartProgram(std::move(body)), 0);
    drv->settle();
  }

  // The cells of a list, row by row, as "date rate".
  std::vector<std::string> rows(Window& w, int list) {
    std::vector<std::string> out;
    const platform::Control& c = drv->control(w, list);
    for (int r = 1; r <= c.rowCount(); ++r) out.push_back(c.cell(r, 1) + " " + c.cell(r, 2));
    return out;
  }
  std::string selected(Window& w, int list) {
    const platform::Control& c = drv->control(w, list);
    return c.selected() ? c.cell(c.selected(), 1) + " " + c.cell(c.selected(), 2) : std::string();
  }
  // The RateMilage buffer of a window's thread, as RateWriter::shown.
  std::string threadBuffer(const Window& w) {
    dictionary::ThreadData* data = layer.of(w.thread());
    EXPECT_NE(data, nullptr);
    return data ? RateWriter::shown(data->file(dictionary::RateMilageFile).record()) : std::string();
  }

  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  CaseDataLayer layer;
  std::optional<RateWriter> writer;
  std::optional<platform::HeadlessDriver> drv;
  std::vector<void (*)()> saved;
};

}  // namespace ratetest
