#pragma once
// The entry forms' tests: the case form's scratch program and list
// stand-ins, with a worksheet's side of a call: the case current on the
// list's thread, an entry primed for it or loaded, and the form called.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cases/select_date.h"
#include "dictionary/dictionary.h"
#include "tests/cases/form_fixture.h"

namespace casetest {

using dictionary::HOU;
using dictionary::HOURLYField;

// A mileage rate as the tests seed it.
struct Rate {
  std::string rate;
  std::int32_t day = 0;
};

class EntryFormTest : public CaseFormTest {
 protected:
  using Form = void (*)();

  // Insert from a worksheet: `caseNumber` is the worksheet's case; the new
  // entry carries its number.
  void insertEntry(Form procedure, const std::string& caseNumber) {
    on([this, procedure, caseNumber] {
      load(caseNumber);
      // The list's side of an insert: the entry it showed comes back when
      // the form does not complete.
      platform::DbFile& file = dictionary::HOURLY();
      const platform::DbFileState before = file.saveState();
      platform::clearRecord(dictionary::HOURLYLayout(), file.record());
      HOU(dictionary::HOU_CASENUMBER).setText(dictionary::CCS(dictionary::CCS_CASENUMBER).text());
      ASSERT_EQ(dictionary::Access_HOURLY().PrimeRecord(true), 0);
      response = app::CallWithRequest(procedure, app::RequestInsert);
      if (response != app::ResponseCompleted) file.restoreState(before);
    });
  }
  // Change, view or delete of entry `fn`, with `current` the case current
  // on the thread.
  void callEntry(Form procedure, std::uint8_t request, std::int32_t fn, const std::string& current) {
    on([this, procedure, request, fn, current] {
      load(current);
      loadEntry(fn);
      response = app::CallWithRequest(procedure, request);
    });
  }

  static void loadEntry(std::int32_t fn) {
    HOU(dictionary::HOU_FN).setInteger(fn);
    ASSERT_EQ(dictionary::Access_HOURLY().TryFetch(dictionary::HOU_KEYFN), 0) << fn;
  }
  // Adds an entry of a case with the fields `fill` sets; its number.
  std::int32_t seedEntry(const std::string& caseNumber, const std::function<void()>& fill) {
    std::int32_t fn = 0;
    on([&] {
      ASSERT_EQ(dictionary::Access_HOURLY().PrimeRecord(), 0);
      HOU(dictionary::HOU_CASENUMBER).setText(caseNumber);
      fill();
      ASSERT_EQ(dictionary::Access_HOURLY().Insert(), 0);
      fn = static_cast<std::int32_t>(HOU(dictionary::HOU_FN).integer());
    });
    return fn;
  }
  void seedRates(const std::vector<Rate>& rates) {
    on([&] {
      for (const Rate& r : rates) {
        ASSERT_EQ(dictionary::Access_RateMilage().PrimeRecord(), 0);
        dictionary::RTM(dictionary::RTM_MILAGERATE).setText(r.rate);
        dictionary::RTM(dictionary::RTM_DATEMILAGERATE).setDay(r.day);
        ASSERT_EQ(dictionary::Access_RateMilage().Insert(), 0);
      }
    });
  }
  // The stored values of the entry's fields (plain text: "17.95").
  std::vector<std::string> stored(std::int32_t fn, const std::vector<HOURLYField>& fields) {
    std::vector<std::string> out;
    on([&] {
      loadEntry(fn);
      for (HOURLYField f : fields) out.push_back(HOU(f).text());
    });
    return out;
  }
  // The numbers of every stored entry.
  std::vector<std::int32_t> entries() {
    std::vector<std::int32_t> out;
    on([&] {
      for (const std::string& fn : column(dictionary::Access_HOURLY(), dictionary::HOU_KEYFN, dictionary::HOU_FN))
        out.push_back(std::stoi(fn));
    });
    return out;
  }

  // The calendar, open on the list's thread.
  Window& calendar() { return drv->active(list.window->thread()); }
  // Picks the day of the shown month in the calendar.
  void pickDay(int day) {
    namespace sd = cases::select_date;
    Window& c = calendar();
    std::string text = std::to_string(day);
    if (text.size() < 2) text += ' ';
    for (int n = 1; n <= sd::Cells; ++n)
      if (c.control(sd::cell(n)).text() == text) {
        drv->choose(c, sd::AMONTH, n);
        return;
      }
    FAIL() << "no day " << day;
  }
};

}  // namespace casetest
