// The case list and the case form through the real Qt widgets, offscreen,
// worked from the keyboard: Enter in the search entries, the tab order after
// a button, and the keys of the form's prompts.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cases/browse_case_close_summary.h"
#include "cases/update_case_close_summary.h"
#include "platform/fiber/scheduler.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/pump.h"
#include "platform/qt/widgets.h"
#include "tests/cases/list_case_fixture.h"

namespace browsetest {
namespace {

using namespace cases::case_list;
namespace cf = cases::case_form;

// A window of the list's thread opened by an own button and closed by the
// user, in place of the worksheets to come.
bool calledOpen = false;
void calledWindow(const std::string&) {
  platform::WindowSpec spec;
  spec.kind = platform::WindowKind::Child;
  spec.caption = "CALLED";
  spec.rect = {20, 20, 120, 60};
  platform::Window w(spec);
  platform::ControlSpec close;
  close.number = 1;
  close.kind = platform::ControlKind::Button;
  close.text = "Close";
  close.rect = {4, 4, 40, 14};
  close.action = platform::StdAction::Close;
  w.add(close);
  w.open();
  calledOpen = true;
  while (w.accept()) w.endEvent(platform::EventLevel::Continue);
  calledOpen = false;
}

// The program: a frame with the case list on a thread of its own, as the
// frame starts it, on the real record files.
class CaseListQt : public lvtest::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    platform::scheduler().reset();
    app::SetThreadDataLayer(&layer);
    writer.emplace();
    desk = std::make_unique<platform::qt::QtDesktop>();
    pump = std::make_unique<platform::qt::FiberPump>();
    desk->setRunner([this] { pump->run(); });
    inCourt = cases::CaseListCalls()[0].call;
    ASSERT_EQ(cases::CaseListCalls()[0].control, BROWSEHOURLY);
    cases::CaseListCalls()[0].call = calledWindow;
  }
  void TearDown() override {
    platform::scheduler().endAllThreads();
    settle();
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
    EXPECT_TRUE(pump->faults().isEmpty()) << pump->faults().join("; ").toStdString();
    desk.reset();
    pump.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    cases::CaseListCalls()[0].call = inCourt;
    writer.reset();
    app::SetThreadDataLayer(nullptr);
    ScratchDirTest::TearDown();
  }

  void settle() {
    for (int i = 0; i < 50; ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      if (!platform::scheduler().hasReady() && !pump->pending()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!platform::scheduler().hasReady() && !pump->pending()) return;
      }
    }
  }
  void addThree() {
    writer->add({"2:07-CR-001", "Adams"});
    writer->add({"2:07-CR-002", "Baker"});
    writer->add({"2:07-CR-003", "Carter"});
  }
  void open() {
    ASSERT_NE(app::StartProgram([] {
                platform::WindowSpec spec;
                spec.kind = platform::WindowKind::Frame;
                spec.caption = "FRAME";
                spec.rect = {0, 0, 800, 500};
                platform::Window frame(spec);
                frame.open();
                app::StartThread(cases::BrowseCaseCloseSummary, 50000);
                while (frame.accept()) frame.endEvent(platform::EventLevel::Continue);
              }),
              0);
    settle();
    list = platform::desktop().findByCaption("CASE FILE");
    ASSERT_NE(list, nullptr);
  }

  QWidget* widget(platform::Window& w, int control) {
    QWidget* q = desk->controlWidget(w, control);
    if (!q) throw std::runtime_error("no widget for control " + std::to_string(control));
    return q;
  }
  // A key as the user presses it: to the window that has the focus, through
  // the toolkit's shortcuts to the widget that has it.
  void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* f = QApplication::focusWidget();
    ASSERT_NE(f, nullptr) << "no widget has the focus";
    ASSERT_NE(f->window()->windowHandle(), nullptr);
    QTest::keyClick(f->window()->windowHandle(), k, mods);
    settle();
  }
  void click(QWidget* target) {
    QTest::mouseClick(target, Qt::LeftButton);
    settle();
  }
  void clickRow(int row) {
    QTableView* t = qobject_cast<platform::qt::ListWidget*>(widget(*list, BROWSE_1))->table();
    QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier,
                      t->visualRect(t->model()->index(row - 1, 0)).center());
    settle();
  }
  // The control whose widget has Qt's focus; 0 for none.
  static int qtFocus() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
      if (int c = w->property("lvControl").toInt(); c != 0) return c;
    return 0;
  }
  std::string selectedNumber() {
    const platform::Control& c = list->control(BROWSE_1);
    return c.selected() ? c.cell(c.selected(), 1) : std::string();
  }

  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  CaseDataLayer layer;
  std::optional<CaseWriter> writer;
  std::unique_ptr<platform::qt::QtDesktop> desk;
  std::unique_ptr<platform::qt::FiberPump> pump;
  void (*inCourt)(const std::string&) = nullptr;
  platform::Window* list = nullptr;
};

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
    // The window the button opened, closed again.
    if (w.button == BROWSEHOURLY) {
      platform::Window* called = platform::desktop().findByCaption("CALLED");
      ASSERT_NE(called, nullptr);
      click(widget(*called, 1));
      EXPECT_FALSE(calledOpen);
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
