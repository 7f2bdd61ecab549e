#pragma once
// The case list through the real Qt widgets, offscreen: a frame with the
// case list on a thread of its own, as the frame starts it, on the real
// record files, and the user's keys and clicks through the toolkit.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTableView>
#include <QTest>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "cases/browse_case_close_summary.h"
#include "platform/fiber/scheduler.h"
#include "platform/qt/desktop_qt.h"
#include "platform/qt/pump.h"
#include "platform/qt/widgets.h"
#include "tests/cases/list_case_fixture.h"

namespace browsetest {

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
    for (const cases::CaseListCall& c : cases::CaseListCalls()) saved.push_back(c.call);
  }
  void TearDown() override {
    platform::scheduler().endAllThreads();
    settle();
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
    EXPECT_TRUE(pump->faults().isEmpty()) << pump->faults().join("; ").toStdString();
    desk.reset();
    pump.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (std::size_t i = 0; i < saved.size(); ++i) cases::CaseListCalls()[i].call = saved[i];
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
  // The window's own close box, as the user clicks it.
  void closeBox(platform::Window& w) {
    QWidget* top = desk->windowWidget(w);
    ASSERT_NE(top, nullptr);
    top->close();
    settle();
  }
  void click(QWidget* target) {
    QTest::mouseClick(target, Qt::LeftButton);
    settle();
  }
  void clickRow(int row) {
    QTableView* t = qobject_cast<platform::qt::ListWidget*>(widget(*list, cases::case_list::BROWSE_1))->table();
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
    const platform::Control& c = list->control(cases::case_list::BROWSE_1);
    return c.selected() ? c.cell(c.selected(), 1) : std::string();
  }

  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  CaseDataLayer layer;
  std::optional<CaseWriter> writer;
  std::unique_ptr<platform::qt::QtDesktop> desk;
  std::unique_ptr<platform::qt::FiberPump> pump;
  std::vector<void (*)(const std::string&)> saved;  // the case list's calls, put back at the end
  platform::Window* list = nullptr;
};

}  // namespace browsetest
