// The case list and the case form through the real Qt widgets, offscreen,
// worked from the keyboard: Enter in the search entries, the tab order after
// a button, and the keys of the form's prompts.

#include <QLineEdit>
#include <QTabBar>
#include <vector>

#include "cases/update_case_close_summary.h"
#include "tests/cases/qt/case_list_qt.h"

namespace browsetest {
namespace {

using namespace cases::case_list;
namespace cf = cases::case_form;

TEST_F(CaseListQt, EnterInASearchEntryRunsTheSearchAndNeverTheChangeButton) {
  addThree();
  open();
  struct Press {
    int tab, entry;
    const char* typed;  // nothing typed: the search text unchanged
    const char* selected;
  } presses[] = {
      {1, CCS_CASENAME, nullptr, "2:07-CR-001"},
      {1, CCS_CASENAME, "carter", "2:07-CR-003"},
      {2, CCS_CASENUMBER, nullptr, "2:07-CR-001"},
      {2, CCS_CASENUMBER, "2:07-cr-002", "2:07-CR-002"},
  };
  for (const Press& p : presses) {
    SCOPED_TRACE(std::to_string(p.tab) + (p.typed ? p.typed : " unchanged"));
    auto* sheet = qobject_cast<platform::qt::SheetWidget*>(widget(*list, CURRENTTAB));
    ASSERT_NE(sheet, nullptr);
    sheet->bar()->setCurrentIndex(p.tab - 1);
    settle();
    clickRow(3);  // a case is selected
    auto* entry = qobject_cast<QLineEdit*>(widget(*list, p.entry));
    ASSERT_NE(entry, nullptr);
    click(entry);
    if (p.typed) {
      entry->selectAll();
      QTest::keyClicks(entry, p.typed);
      settle();
    }
    key(Qt::Key_Return);
    EXPECT_EQ(platform::desktop().findByCaption("Record Will Be Changed"), nullptr);
    EXPECT_EQ(selectedNumber(), p.selected);
    EXPECT_EQ(list->focus(), BROWSE_1);
    EXPECT_EQ(qtFocus(), BROWSE_1);
    if (platform::Window* form = platform::desktop().findByCaption("Record Will Be Changed")) {
      click(widget(*form, cf::CANCEL));
    }
  }
}

TEST_F(CaseListQt, TheTabOrderFromTheListIsTheDescriptionsAfterAButtonPressedEitherWay) {
  addThree();
  open();
  // From the list, the controls that take the focus in the order of the
  // window's description, round to the list again.
  const std::vector<int> order = {BROWSEHOURLY_3, BUTTON10,       INSERT_3,   CHANGE_3,     DELETE_3, BROWSEHOURLY,
                                  BUTTON9,        BROWSEHOURLY_2, CURRENTTAB, CCS_CASENAME, BROWSE_1};
  struct Way {
    const char* what;
    int button;
    bool keyboard;
  } ways[] = {
      {"IN COURT clicked", BROWSEHOURLY, false},
      {"IN COURT from the keyboard", BROWSEHOURLY, true},
      {"CREATE NEW CASE clicked", INSERT_3, false},
      {"CREATE NEW CASE from the keyboard", INSERT_3, true},
  };
  for (const Way& w : ways) {
    SCOPED_TRACE(w.what);
    if (w.keyboard) {
      clickRow(1);
      for (int i = 0; i < 20 && list->focus() != w.button; ++i) key(Qt::Key_Tab);
      ASSERT_EQ(list->focus(), w.button);
      ASSERT_EQ(qtFocus(), w.button);
      key(Qt::Key_Return);
    } else {
      click(widget(*list, w.button));
    }
    // The window the button opened, closed again: the worksheet by its
    // close box, the form by Cancel.
    if (w.button == BROWSEHOURLY) {
      platform::Window* sheet = platform::desktop().findByCaption("IN COURT WORKSHEET");
      ASSERT_NE(sheet, nullptr);
      closeBox(*sheet);
      EXPECT_EQ(platform::desktop().findByCaption("IN COURT WORKSHEET"), nullptr);
    } else {
      platform::Window* form = platform::desktop().findByCaption("Record Will Be Added");
      ASSERT_NE(form, nullptr);
      click(widget(*form, cf::CANCEL));
      EXPECT_EQ(platform::desktop().findByCaption("Record Will Be Added"), nullptr);
    }

    clickRow(2);
    ASSERT_EQ(list->focus(), BROWSE_1);
    std::vector<int> model, shown;
    for (std::size_t i = 0; i < order.size(); ++i) {
      key(Qt::Key_Tab);
      model.push_back(list->focus());
      shown.push_back(qtFocus());
    }
    EXPECT_EQ(model, order);
    EXPECT_EQ(shown, order);
  }
}

TEST_F(CaseListQt, APromptShowsItsKeyAndTheKeyMovesTheFocusToTheEntryAfterIt) {
  open();
  click(widget(*list, INSERT_3));
  platform::Window* form = platform::desktop().findByCaption("Record Will Be Added");
  ASSERT_NE(form, nullptr);
  auto* sheet = qobject_cast<platform::qt::SheetWidget*>(widget(*form, cf::CURRENTTAB));
  ASSERT_NE(sheet, nullptr);
  sheet->bar()->setCurrentIndex(1);
  settle();
  // The prompts before the attorney's and the judge's entries.
  for (const char* caption : {"&Attorney:", "&Judge:"}) {
    bool found = false;
    for (auto* label : widget(*form, cf::CCS_ATTORNEY)->parentWidget()->findChildren<platform::qt::LabelWidget*>())
      if (label->text() == caption) {
        found = true;
        EXPECT_TRUE(label->mnemonic()) << caption;
      }
    EXPECT_TRUE(found) << caption;
  }
  key(Qt::Key_A, Qt::AltModifier);
  EXPECT_EQ(form->focus(), cf::CCS_ATTORNEY);
  EXPECT_EQ(qtFocus(), cf::CCS_ATTORNEY);
  key(Qt::Key_J, Qt::AltModifier);
  EXPECT_EQ(form->focus(), cf::CCS_JUDGE);
  EXPECT_EQ(qtFocus(), cf::CCS_JUDGE);
  // A button's own key still presses it (the toolkit shows it pressed for
  // a moment first).
  key(Qt::Key_C, Qt::AltModifier);
  for (int i = 0; i < 40 && platform::desktop().findByCaption("Record Will Be Added"); ++i) {
    QTest::qWait(50);
    settle();
  }
  EXPECT_EQ(platform::desktop().findByCaption("Record Will Be Added"), nullptr);
}

}  // namespace
}  // namespace browsetest
