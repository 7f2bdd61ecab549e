// Reports through the real Qt windows, offscreen: the progress window, the
// preview with its own page view, a zoom from the list, and a print to a
// PDF file through the printer dialog, read back with pdftotext.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "platform/qt/desktop_qt.h"
#include "platform/qt/preview_view.h"
#include "platform/qt/printer.h"
#include "platform/qt/pump.h"
#include "platform/ui/desktop.h"
#include "reports/list_reports.h"
#include "reports/worksheet_reports.h"
#include "tests/reports/list_fixture.h"
#include "tests/reports/qt_print.h"
#include "tests/reports/report_fixture.h"

namespace reporttest {
namespace {

using namespace platform::report;

// The text of a PDF file, by pdftotext with its layout kept.

class QtReportTest : public lvtest::ScratchDirTest {
 protected:
  void SetUp() override {
    ScratchDirTest::SetUp();
    knobs() = Knobs{};
    app::SetThreadDataLayer(&layer);
    writer.emplace();
    platform::scheduler().reset();
    desk = std::make_unique<platform::qt::QtDesktop>();
    previews = std::make_unique<platform::qt::QtPreviews>(*desk);
    pump = std::make_unique<platform::qt::FiberPump>();
    desk->setRunner([this] { pump->run(); });
  }
  void TearDown() override {
    platform::scheduler().endAllThreads();
    settle();
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
    EXPECT_TRUE(pump->faults().isEmpty()) << pump->faults().join("; ").toStdString();
    previews.reset();
    desk.reset();
    pump.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    writer.reset();
    app::SetThreadDataLayer(nullptr);
    ScratchDirTest::TearDown();
  }

  void settle() {
    for (int i = 0; i < 50; ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      if (!platform::scheduler().hasReady() && !pump->pending()) return;
    }
  }
  // Runs the event loop (and the scheduler's timers) until `done`, at most
  // `ms` milliseconds.
  template <class F>
  bool waitFor(F done, int ms = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
      QTest::qWait(10);
      settle();
    }
    return done();
  }
  platform::Window* window(const char* caption) { return platform::desktop().findByCaption(caption); }
  QWidget* widget(const char* caption, int control) {
    platform::Window* w = window(caption);
    return w ? desk->controlWidget(*w, control) : nullptr;
  }
  void click(QWidget* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
  }
  // Prints the preview to the PDF file `name` in the scratch directory:
  // Print clicked, the printer dialog accepted as the user accepts it, and
  // the preview closed once it has printed; `text` gets the file's text.
  void printToPdf(platform::Window& preview, const std::string& name, std::string& text) {
    printPreviewToPdf(desk->controlWidget(preview, PreviewPrint), (dir / name).string(),
                      [this](auto done) { return waitFor(done); }, text);
    settle();
  }

  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{nullptr, nullptr, nullptr, &drag}};
  DataLayer layer;
  std::optional<Writer> writer;
  std::unique_ptr<platform::qt::QtDesktop> desk;
  std::unique_ptr<platform::qt::QtPreviews> previews;
  std::unique_ptr<platform::qt::FiberPump> pump;
};

TEST_F(QtReportTest, AReportGoesThroughItsProgressWindowAndPreviewToAPdfFile) {
  writer->addCase("CR-7", "United States v. Okafor");
  std::vector<EntryRow> rows;
  for (int i = 1; i <= 40; ++i) rows.push_back({"CR-7", "Hearing number " + std::to_string(i), "1.5", "150.00"});
  writer->add(rows);
  ASSERT_NE(app::StartProgram(Caller), 0);
  settle();
  ASSERT_TRUE(waitFor([&] { return window("CALLER") != nullptr; }));
  callerCase = "CR-7";
  click(widget("CALLER", PrintButton));

  // The progress window, then the maximised preview at "Page Width".
  ASSERT_TRUE(waitFor([&] { return window("Report HOURLY") != nullptr; }));
  QWidget* progress = desk->windowWidget(*window("Report HOURLY"));
  ASSERT_NE(progress, nullptr);
  EXPECT_TRUE(progress->isVisible());
  EXPECT_EQ(qobject_cast<QPushButton*>(widget("Report HOURLY", ProgressCancel))->text(), "Cancel");
  ASSERT_TRUE(waitFor([&] { return window("Report Preview") != nullptr; }));
  settle();
  platform::Window& preview = *window("Report Preview");
  QWidget* top = desk->windowWidget(preview);
  ASSERT_NE(top, nullptr);
  EXPECT_TRUE(top->isMaximized() || preview.maximized());
  platform::qt::PageView* view = previews->view(preview);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->pageRect(1).width(), view->viewport()->width() - 24);
  view->viewport()->repaint();
  EXPECT_EQ(view->painted().front(), 1);
  const int pages = running()->controller().pages()->count();
  EXPECT_GE(pages, 2);

  // "100% Zoom" from the list: the sheet at its size on the screen.
  auto* zoom = qobject_cast<QComboBox*>(desk->controlWidget(preview, PreviewZoomList));
  ASSERT_NE(zoom, nullptr);
  zoom->setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(zoom, Qt::Key_Down);
  settle();
  EXPECT_EQ(zoom->currentText(), "100% Zoom");
  EXPECT_EQ(view->pageRect(1).width(), static_cast<int>(11.0 * view->logicalDpiX() + 0.5));
  // The last page comes into sight by the button and is read by itself.
  const long read = view->pagesRead();
  click(desk->controlWidget(preview, PreviewLast));
  view->viewport()->repaint();
  EXPECT_EQ(preview.control(PreviewPageText).text(), "Page " + std::to_string(pages) + " of " + std::to_string(pages));
  EXPECT_NE(std::find(view->painted().begin(), view->painted().end(), pages), view->painted().end());
  EXPECT_LE(view->pagesRead() - read, 2);

  // Print to a PDF file through the printer dialog. The preview waits
  // without a loop of its own, closed to the user.
  std::string text;
  ASSERT_NO_FATAL_FAILURE(printToPdf(preview, "worksheet.pdf", text));
  EXPECT_EQ(platform::scheduler().nestedLoopViolations(), 0);
  for (const char* expected : {"ENTRY TEST REPORT", "PAGE TOTAL:", "PAGE 2", "United States v. Okafor", "$6,000.00",
                               "ENCLOSURE:", "Hearing number 40"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
}

TEST_F(QtReportTest, AListReportOfTwoPagesPrintsBothToAPdfFile) {
  {
    Records records;
    records.addAll(dictionary::RateMilageFile, 30, [](const Records::Fields& f, int i) {
      f(dictionary::RTM_MILAGERATE).setDecimal(platform::Decimal::fromParts(300 + i, 3));
    });
  }
  ASSERT_NE(app::StartProgram(reports::ReportRateMilageByRTM_KeyMilageRate), 0);
  ASSERT_TRUE(waitFor([&] { return window("Report Preview") != nullptr; }));
  settle();
  platform::Window& preview = *window("Report Preview");
  EXPECT_EQ(preview.control(PreviewPageText).text(), "Page 1 of 2");
  std::string text;
  ASSERT_NO_FATAL_FAILURE(printToPdf(preview, "rates.pdf", text));
  for (const char* expected :
       {"Report RateMilage file", "Date Milage Rate", "Milage Rate", "Page 1", "Page 2", "0.300", "0.329", "Date:"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
  // The 29th rate opens the second page.
  const std::size_t second = text.find("Page 2");
  EXPECT_LT(text.find("0.327"), second);
  EXPECT_GT(text.find("0.328"), second);
}

// The in-court worksheet of a case, started on a thread of its own, to a
// PDF file through the real windows.
TEST_F(QtReportTest, AWorksheetGoesThroughItsProgressWindowAndPreviewToAPdfFile) {
  writer->addCase("CR-2007-0142", "United States v. Okafor", "125");
  std::vector<Writer::Values> rows;
  for (int i = 1; i <= 40; ++i)
    rows.push_back({{dictionary::HOU_CASENUMBER, "CR-2007-0142"},
                    {dictionary::HOU_BRIEFDESCRIPTIONSERVICES, "Trial day " + std::to_string(i)},
                    {dictionary::HOU_TRIAL, "1.2"},
                    {dictionary::HOU_IN_TOTALHOURS, "1.2"},
                    {dictionary::HOU_TOTALSECTION_INCOURT, "150.00"}});
  writer->addEntries(rows);
  knobs().report = reports::PRT_InCOURT;
  ASSERT_NE(app::StartProgram(Caller), 0);
  settle();
  ASSERT_TRUE(waitFor([&] { return window("CALLER") != nullptr; }));
  callerCase = "CR-2007-0142";
  click(widget("CALLER", StartButton));

  // The progress window, then the maximised preview at "Page Width".
  ASSERT_TRUE(waitFor([&] { return window("Report HOURLY") != nullptr; }));
  EXPECT_TRUE(desk->windowWidget(*window("Report HOURLY"))->isVisible());
  ASSERT_TRUE(waitFor([&] { return window("Report Preview") != nullptr; }));
  settle();
  platform::Window& preview = *window("Report Preview");
  QWidget* top = desk->windowWidget(preview);
  ASSERT_NE(top, nullptr);
  EXPECT_TRUE(top->isMaximized() || preview.maximized());
  auto* zoom = qobject_cast<QComboBox*>(desk->controlWidget(preview, PreviewZoomList));
  ASSERT_NE(zoom, nullptr);
  EXPECT_EQ(zoom->currentText(), "Page Width");
  platform::qt::PageView* view = previews->view(preview);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->pageRect(1).width(), view->viewport()->width() - 24);
  EXPECT_EQ(preview.control(PreviewPageText).text(), "Page 1 of 2");

  // "100% Zoom", then the printer dialog to a PDF file.
  zoom->setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(zoom, Qt::Key_Down);
  settle();
  EXPECT_EQ(zoom->currentText(), "100% Zoom");
  EXPECT_EQ(view->pageRect(1).width(), static_cast<int>(11.0 * view->logicalDpiX() + 0.5));
  std::string text;
  ASSERT_NO_FATAL_FAILURE(printToPdf(preview, "in-court.pdf", text));
  for (const char* expected : {"IN-COURT WORKSHEET", "PAGE TOTAL:", "PAGE 2", "United States v. Okafor", "$6,000.00",
                               "ENCLOSURE:", "Trial day 40", "48.0"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
}

}  // namespace
}  // namespace reporttest
