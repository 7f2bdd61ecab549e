// The case form's own window: a new case, the history entries of all five
// tabs, the stored values of the claim status and the disposition codes,
// and the calendar button.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "cases/select_date.h"
#include "platform/types/daynum.h"
#include "tests/cases/form_fixture.h"

namespace casetest {
namespace {

using ::testing::ElementsAreArray;
namespace sd = cases::select_date;

using UpdateTest = CaseFormTest;

TEST_F(UpdateTest, ANewCaseOpensWithTodaysDateAndNothingElseFilledIn) {
  insert();
  Window& w = added();
  EXPECT_EQ(drv->text(w, cf::CCS_DATE), "3/15/2007");
  for (const auto& c : w.controls()) {
    if (!c->bound() || c->number() == cf::CCS_DATE) continue;
    switch (c->kind()) {
      case platform::ControlKind::Check: EXPECT_FALSE(c->checked()) << c->number(); break;
      case platform::ControlKind::Option:
      case platform::ControlKind::DropList: EXPECT_EQ(c->selected(), 0) << c->number(); break;
      default: EXPECT_EQ(c->text(), "") << c->number(); break;
    }
  }
  drv->click(w, cf::CANCEL);
}

// The fields the form shows; the others (the spare texts, the claim form's
// court-order data, the number of days) are not on it.
const int ShownFields[] = {
    dictionary::CCS_DATE,
    dictionary::CCS_CASENUMBER,
    dictionary::CCS_CASENAME,
    dictionary::CCS_HOURLYRATE,
    dictionary::CCS_ATTORNEY,
    dictionary::CCS_DEFENDANT,
    dictionary::CCS_JUDGE,
    dictionary::CCS_AUSA,
    dictionary::CCS_USPO,
    dictionary::CCS_CHARGES,
    dictionary::CCS_NUMBER,
    dictionary::CCS_CODEFNUM,
    dictionary::CCS_DISPOSITION,
    dictionary::CCS_NOTDETAINED,
    dictionary::CCS_DETAINED,
    dictionary::CCS_CONTESTEDDETENTIONHEARING,
    dictionary::CCS_DETENTIONAPPEAL,
    dictionary::CCS_DISCOVERY,
    dictionary::CCS_TAPERECORDINGNUMBER,
    dictionary::CCS_INVESTIGATOREMPLOYED,
    dictionary::CCS_INVESTIGATIVEHOURS,
    dictionary::CCS_PARALEGALEMPLOYED,
    dictionary::CCS_PARALEGALHOURS,
    dictionary::CCS_WITENESSESINTERVIEWED,
    dictionary::CCS_DISCOVERYMOTION,
    dictionary::CCS_MOTIONTODISMISS,
    dictionary::CCS_OTHERPRETRIALMOTION,
    dictionary::CCS_EVIDENTIARYHEARING,
    dictionary::CCS_OTHERNONDM,
    dictionary::CCS_MOTIONSUPPRESS,
    dictionary::CCS_MOTIONLIMINE,
    dictionary::CCS_NUMBERTESTIFYINGWITNESSES,
    dictionary::CCS_TRIAL,
    dictionary::CCS_LENGTH,
    dictionary::CCS_INFORMALOBJECTIONSFILED,
    dictionary::CCS_SENTENCINGMEMORANDUMFILED,
    dictionary::CCS_FORMALOBJECTIONSFILED,
    dictionary::CCS_CONTESTEDSENTENCINGHEARING,
    dictionary::CCS_APPEALWAIVED,
    dictionary::CCS_HABEASWAIVED,
    dictionary::CCS_NOTICEOFAPPEALFILED,
    dictionary::CCS_COMMENTS,
    dictionary::CCS_CERTIFICATIONFROM,
    dictionary::CCS_CERTIFICATIONTO,
    dictionary::CCS_APPOINTMENTDATE2,
    dictionary::CCS_CASEDISPOSITION,
    dictionary::CCS_CLAIMSTATUS,
    dictionary::CCS_PAYMENTNUMBER,
    dictionary::CCS_APPLY,
    dictionary::CCS_PAID,
    dictionary::CCS_CONNECTION,
    dictionary::CCS_DATESIGNTAURE,
};

// A value of its own in every field of the buffer.
void fillEveryField() {
  const platform::RecordLayout& layout = dictionary::CaseCloseSummaryLayout();
  for (int f = 1; f <= layout.fieldCount(); ++f) {
    const platform::FieldDesc& d = layout.field(f);
    FieldRef field = FieldRef::of(d, dictionary::CaseCloseSummary().record());
    switch (d.type) {
      case platform::FieldType::Group: break;
      case platform::FieldType::Date: field.setDay(platform::dayNumber(2006, 1, 1) + f); break;
      case platform::FieldType::Byte: field.setInteger(f % 2 == 0 ? 1 : 3); break;
      case platform::FieldType::Decimal: field.setText(std::to_string(f) + ".25"); break;
      default: field.setText("F" + std::to_string(f)); break;
    }
  }
}

TEST_F(UpdateTest, TheHistoryKeyRestoresEveryFieldOfEveryTab) {
  // The first case completes with a value in every field.
  on([this] {
    callPrimed([this] {
      ASSERT_EQ(dictionary::Access_CaseCloseSummary().PrimeRecord(), 0);
      fillEveryField();
    });
  });
  drv->click(added(), cf::OK);
  ASSERT_EQ(response, app::ResponseCompleted);

  // The next: Ctrl+H in every control that takes the focus, tab by tab.
  insert();
  Window& w = added();
  std::set<int> groups;
  for (const auto& c : w.controls()) {
    const platform::Control* parent = c->parent() ? w.find(c->parent()) : nullptr;
    if (c->kind() == platform::ControlKind::Radio && !groups.insert(c->parent()).second) continue;
    if (c->kind() == platform::ControlKind::Radio) parent = w.find(parent->parent());
    if (!parent || parent->kind() != platform::ControlKind::Tab) continue;
    if (!c->takesFocus() || c->kind() == platform::ControlKind::Button) continue;
    drv->selectTab(w, cf::CURRENTTAB, parent->position());
    drv->focus(w, c->number());
    drv->press(w, cases::HistoryKey);
  }
  drv->selectTab(w, cf::CURRENTTAB, 1);
  drv->type(w, cf::CCS_CASENUMBER, "CR-2");
  drv->click(w, cf::OK);
  ASSERT_EQ(response, app::ResponseCompleted);

  on([] {
    load("F3");
    std::vector<std::uint8_t> first(dictionary::CaseCloseSummary().image().begin(),
                                          dictionary::CaseCloseSummary().image().end());
    load("CR-2");
    const platform::RecordLayout& layout = dictionary::CaseCloseSummaryLayout();
    for (int f : ShownFields) {
      if (f == dictionary::CCS_CASENUMBER) continue;
      const FieldRef was = FieldRef::of(layout.field(f), first.data());
      const FieldRef now = FieldRef::of(layout.field(f), dictionary::CaseCloseSummary().record());
      EXPECT_TRUE(now.sameValue(was)) << layout.field(f).name << ": " << now.text() << " against " << was.text();
    }
  });
}

TEST_F(UpdateTest, InterimPaymentIsStoredCutToItsFieldAndChosenAgainWhenTheCaseReopens) {
  seed({{"CR-1", "US v. Doe", "100"}});
  call(app::RequestChange, "CR-1");
  Window& w = changed();
  drv->selectTab(w, cf::CURRENTTAB, 5);
  drv->choose(w, cf::CCS_CLAIMSTATUS, "Interim Payment Number");
  drv->type(w, cf::CCS_PAYMENTNUMBER_2, "3");
  drv->click(w, cf::OK);
  ASSERT_EQ(response, app::ResponseCompleted);
  on([] {
    load("CR-1");
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_CLAIMSTATUS).text(), "Interim Payment Numb");
  });

  call(app::RequestChange, "CR-1");
  EXPECT_EQ(changed().control(cf::CCS_CLAIMSTATUS).selected(), 2);
  drv->click(changed(), cf::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
}

TEST_F(UpdateTest, TheDispositionListOffersTheTwentyThreeCodesOfBox21) {
  seed({{"CR-1", "US v. Doe", "100"}});
  call(app::RequestChange, "CR-1");
  Window& w = changed();
  EXPECT_THAT(w.control(cf::CCS_CASEDISPOSITION).choices(),
              ElementsAreArray({"01", "02", "03", "04", "05", "08", "09", "CC", "EE", "FF", "GG", "HH",
                                "XX", "AA", "RR", "00", "RA", "AR", "01", "RV", "RS", "GR", "DE"}));
  struct Pick {
    int position;
    const char* stored;
    int shownAgain;  // the code's first place in the list
  };
  for (const Pick& p : {Pick{12, "HH", 12}, Pick{19, "01", 1}}) {
    if (!formOpen()) call(app::RequestChange, "CR-1");
    Window& f = changed();
    drv->selectTab(f, cf::CURRENTTAB, 5);
    drv->choose(f, cf::CCS_CASEDISPOSITION, p.position);
    drv->click(f, cf::OK);
    on([&] {
      load("CR-1");
      EXPECT_EQ(dictionary::CCS(dictionary::CCS_CASEDISPOSITION).text(), p.stored);
    });
    call(app::RequestChange, "CR-1");
    EXPECT_EQ(changed().control(cf::CCS_CASEDISPOSITION).selected(), p.shownAgain);
  }
  drv->click(changed(), cf::CANCEL);
}

TEST_F(UpdateTest, TheCalendarButtonPicksTheCaseDate) {
  insert();
  Window& w = added();
  drv->click(w, cf::BUTTON4);
  Window& calendar = drv->active(list.window->thread());
  EXPECT_EQ(drv->text(calendar, sd::XMNTHYR), "March - 2007");
  EXPECT_EQ(calendar.control(sd::cell(19)).fontColor(), platform::rgb(0xFF, 0, 0)) << "the case date is marked";
  drv->click(calendar, sd::cell(24));  // 20 March 2007
  EXPECT_EQ(drv->text(w, cf::CCS_DATE), "3/20/2007");

  drv->click(w, cf::BUTTON4);
  drv->click(drv->active(list.window->thread()), sd::CANCELBUTTON);
  EXPECT_EQ(drv->text(w, cf::CCS_DATE), "3/20/2007") << "a cancelled calendar leaves the date";

  // A case without a date: the calendar opens on today's month, and
  // cancelling keeps the field empty.
  drv->focus(w, cf::CCS_DATE);
  drv->type(w, cf::CCS_DATE, "");
  drv->click(w, cf::BUTTON4);
  EXPECT_EQ(drv->text(drv->active(list.window->thread()), sd::XMNTHYR), "March - 2007");
  drv->click(drv->active(list.window->thread()), sd::CANCELBUTTON);
  EXPECT_EQ(drv->text(w, cf::CCS_DATE), "");
  drv->click(w, cf::BUTTON4);
  drv->click(drv->active(list.window->thread()), sd::cell(9));  // 5 March 2007
  drv->type(w, cf::CCS_CASENUMBER, "CR-1");
  drv->type(w, cf::CCS_HOURLYRATE, "100");
  drv->click(w, cf::OK);
  on([] {
    load("CR-1");
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_DATE).day(), platform::dayNumber(2007, 3, 5));
  });
}

TEST_F(UpdateTest, APromptsKeyMovesTheFocusToTheEntryAfterIt) {
  using platform::KeyPress;
  using platform::ModAlt;
  insert();
  Window& w = added();
  drv->selectTab(w, cf::CURRENTTAB, 2);
  drv->press(w, KeyPress::character(U'a', ModAlt));  // "&Attorney:"
  EXPECT_EQ(w.focus(), cf::CCS_ATTORNEY);
  drv->edit(w, cf::CCS_ATTORNEY, "J. Smith");
  drv->press(w, KeyPress::character(U'J', ModAlt));  // "&Judge:"
  EXPECT_EQ(w.focus(), cf::CCS_JUDGE);
  EXPECT_FALSE(w.control(cf::CCS_ATTORNEY).edited()) << "the entry left was accepted";

  // A prompt on a tab not shown has no key; "&Case Number" gives way to
  // "&Cancel", which the desktop presses.
  drv->selectTab(w, cf::CURRENTTAB, 1);
  drv->focus(w, cf::CCS_CASENAME);
  for (char32_t key : {U'a', U'c'}) {
    drv->press(w, KeyPress::character(key, ModAlt));
    EXPECT_EQ(w.focus(), cf::CCS_CASENAME);
  }
  EXPECT_TRUE(formOpen());
}

}  // namespace
}  // namespace casetest
