// The case picker on the real record files, through the driver.

#include "cases/select_case_close_summary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/types/daynum.h"
#include "tests/cases/list_case_fixture.h"

namespace browsetest {
namespace {

using ::testing::ElementsAre;
using namespace cases::case_picker;
using platform::Key;
using platform::KeyPress;

// The nine fields the picker lists, in its column order.
constexpr dictionary::CaseCloseSummaryField Listed[] = {
    dictionary::CCS_DATE,     dictionary::CCS_CASENUMBER, dictionary::CCS_CASENAME,
    dictionary::CCS_HOURLYRATE, dictionary::CCS_ATTORNEY, dictionary::CCS_JUDGE,
    dictionary::CCS_AUSA,     dictionary::CCS_DEFENDANT,  dictionary::CCS_USPO};

class SelectCaseTest : public CaseListTest {
 protected:
  void addThree() {
    writer->add({"2:07-CR-002", "United States v. Baker", "110", "Judge B", platform::dayNumber(2007, 3, 15),
                 "Attorney B", "AUSA B", "Defendant B", "USPO B", "charges B"});
    writer->add({"2:07-CR-001", "United States v. Adams", "100", "Judge A"});
    writer->add({"2:07-CR-003", "", "120", "Judge C"});
  }
  // The picker called as a select button calls it, on a thread whose case
  // buffer holds the caller's case.
  void pick() {
    start([] {
      using namespace dictionary;
      CCS(CCS_CASENUMBER).setText("CALLER-1");
      CCS(CCS_CASENAME).setText("The caller's case");
      CCS(CCS_JUDGE).setText("Caller's judge");
      CCS(CCS_CHARGES).setText("The caller's charges");
      CCS(CCS_HOURLYRATE).setDecimal(*platform::Decimal::parse("77"));
      caseSeen().bufferBefore.assign(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());
      app::ThreadRequest() = app::RequestSelect;
      cases::SelectCaseCloseSummary();
      caseSeen().response = app::ThreadResponse();
      caseSeen().bufferAfter.assign(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());
    });
  }
  Window& picker() { return drv->window("Select a CaseCloseSummary Record"); }
  platform::Control& listControl() { return drv->control(picker(), BROWSE_1); }
  std::vector<std::string> numbers() {
    std::vector<std::string> out;
    for (int r = 1; r <= listControl().rowCount(); ++r) out.push_back(listControl().cell(r, 2));
    return out;
  }
  std::string after(dictionary::CaseCloseSummaryField f) {
    return FieldRef::of(dictionary::CaseCloseSummaryLayout().field(f), caseSeen().bufferAfter.data()).text();
  }
};

TEST_F(SelectCaseTest, APickLeavesTheNineListedFieldsAndAnythingElseGivesTheBufferBack) {
  struct Way {
    const char* what;
    std::function<void(platform::HeadlessDriver&, Window&)> end;
    std::uint8_t response;
  } ways[] = {
      {"Close", [](platform::HeadlessDriver& d, Window& w) { d.click(w, CLOSE); }, app::ResponseCancelled},
      {"the close box", [](platform::HeadlessDriver& d, Window& w) { d.close(w); }, app::ResponseCancelled},
      {"Select", [](platform::HeadlessDriver& d, Window& w) { d.click(w, SELECT_2); }, app::ResponseCompleted},
      {"Enter", [](platform::HeadlessDriver& d, Window& w) { d.press(w, KeyPress(Key::Enter)); },
       app::ResponseCompleted},
      {"a double-click", [](platform::HeadlessDriver& d, Window& w) { d.doubleClick(w, BROWSE_1, 2); },
       app::ResponseCompleted},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    TearDown();
    SetUp();
    addThree();
    pick();
    EXPECT_THAT(numbers(), ElementsAre("2:07-CR-001", "2:07-CR-002"));  // by name
    drv->selectRow(picker(), BROWSE_1, 2);                            // Baker
    way.end(*drv, picker());
    ASSERT_EQ(caseSeen().response, way.response);
    if (way.response == app::ResponseCancelled) {
      EXPECT_EQ(caseSeen().bufferAfter, caseSeen().bufferBefore);
      continue;
    }
    EXPECT_EQ(FieldRef::of(dictionary::CaseCloseSummaryLayout().field(dictionary::CCS_DATE),
                           caseSeen().bufferAfter.data())
                  .day(),
              platform::dayNumber(2007, 3, 15));
    EXPECT_EQ(after(dictionary::CCS_CASENUMBER), "2:07-CR-002");
    EXPECT_EQ(after(dictionary::CCS_CASENAME), "United States v. Baker");
    EXPECT_EQ(after(dictionary::CCS_HOURLYRATE), "110.00");
    EXPECT_EQ(after(dictionary::CCS_ATTORNEY), "Attorney B");
    EXPECT_EQ(after(dictionary::CCS_JUDGE), "Judge B");
    EXPECT_EQ(after(dictionary::CCS_AUSA), "AUSA B");
    EXPECT_EQ(after(dictionary::CCS_DEFENDANT), "Defendant B");
    EXPECT_EQ(after(dictionary::CCS_USPO), "USPO B");
    // Every field the picker does not list is the caller's.
    std::vector<std::uint8_t> expected = caseSeen().bufferAfter;
    const auto& layout = dictionary::CaseCloseSummaryLayout();
    for (auto f : Listed) {
      const auto& d = layout.field(f);
      std::copy_n(caseSeen().bufferBefore.begin() + d.offset, d.size, expected.begin() + d.offset);
    }
    EXPECT_EQ(expected, caseSeen().bufferBefore);
    EXPECT_EQ(after(dictionary::CCS_CHARGES), "The caller's charges");
  }
}

TEST_F(SelectCaseTest, WithNoCasesOnlyCloseEndsThePicker) {
  pick();
  EXPECT_EQ(listControl().rowCount(), 0);
  EXPECT_FALSE(drv->control(picker(), SELECT_2).enabled());
  drv->press(picker(), KeyPress(Key::Enter));
  EXPECT_FALSE(caseSeen().response.has_value());
  drv->click(picker(), CLOSE);
  EXPECT_EQ(caseSeen().response, app::ResponseCancelled);
  EXPECT_EQ(caseSeen().bufferAfter, caseSeen().bufferBefore);
}

TEST_F(SelectCaseTest, TabsChooseTheOrderAndATypedCharacterSearches) {
  addThree();
  pick();
  EXPECT_THAT(listControl().row(1), ElementsAre("", "2:07-CR-001", "United States v. Adams", "$100.00", "", "Judge A",
                                                "", "", ""));
  drv->focus(picker(), BROWSE_1);
  drv->press(picker(), KeyPress::character(U'u'));
  EXPECT_EQ(listControl().selected(), 1);
  drv->press(picker(), KeyPress::character(U'v'));  // past every name: the last
  EXPECT_EQ(listControl().cell(listControl().selected(), 2), "2:07-CR-002");
  drv->selectTab(picker(), CURRENTTAB, 2);  // by number: the case without a name too
  EXPECT_THAT(numbers(), ElementsAre("2:07-CR-001", "2:07-CR-002", "2:07-CR-003"));
  drv->focus(picker(), BROWSE_1);
  drv->press(picker(), KeyPress::character(U'3'));  // after every number: the last
  EXPECT_EQ(listControl().cell(listControl().selected(), 2), "2:07-CR-003");
  drv->press(picker(), KeyPress::character(U'2'));
  EXPECT_EQ(listControl().cell(listControl().selected(), 2), "2:07-CR-001");
}

TEST_F(SelectCaseTest, OutsideSelectModeTheSelectButtonIsHidden) {
  addThree();
  start([] { cases::SelectCaseCloseSummary(); });
  EXPECT_FALSE(drv->control(picker(), SELECT_2).visible());
  EXPECT_FALSE(drv->control(picker(), SELECT_2).enabled());
  EXPECT_EQ(listControl().rowCount(), 2);
}

}  // namespace
}  // namespace browsetest
