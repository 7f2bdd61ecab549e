// Every form of a case from the case list, through the real Qt windows,
// offscreen: "PRINT ALL FORMS" opens "PRINTING FILES" as a window of its
// own, its claim-form button prints through the real preview and the
// printer dialog to a PDF file, and the case-closing summary's preview
// opens while "PRINTING FILES" still answers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <memory>

#include "app/main_frame.h"
#include "platform/qt/preview_view.h"
#include "platform/report/preview.h"
#include "platform/ui/desktop.h"
#include "reports/print_list.h"
#include "tests/cases/qt/case_list_qt.h"
#include "tests/reports/qt_print.h"

namespace {

using namespace dictionary;
namespace print_list = reports::print_list;

class PrintAllFormsQt : public browsetest::CaseListQt {
 protected:
  void SetUp() override {
    CaseListQt::SetUp();
    previews = std::make_unique<platform::qt::QtPreviews>(*desk);
    // The frame hands the case list's "PRINT ALL FORMS" its printing window.
    app::ConnectProcedures();
  }
  void TearDown() override {
    platform::scheduler().endAllThreads();
    settle();
    previews.reset();
    CaseListQt::TearDown();
  }
  // Runs the event loop (and the scheduler's timers) until `done`.
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
  static platform::Window* window(const char* caption) { return platform::desktop().findByCaption(caption); }
  // The open preview printed through the printer dialog to `pdf`; answers
  // the text pdftotext reads back.
  std::string printToPdf(const std::string& pdf) {
    std::string text;
    platform::Window* preview = window("Report Preview");
    if (preview)
      reporttest::printPreviewToPdf(desk->controlWidget(*preview, platform::report::PreviewPrint), pdf,
                                    [this](auto done) { return waitFor(done); }, text);
    return text;
  }

  std::unique_ptr<platform::qt::QtPreviews> previews;
};

TEST_F(PrintAllFormsQt, TheClaimFormPrintsToPdfAndTheSummaryOpensWhileThePrintingWindowAnswers) {
  // A case at 33.45 whose two entries of 0.3 hours were stored at 10.01
  // each, priced at an earlier 33.35: the claim form prices them afresh.
  writer->add({"CR-2", "United States v. Roe", "33.45"});
  for (int fn : {1, 2})
    writer->addEntry("CR-2", fn, [](const auto& f) {
      f(HOU_TRIAL).setDecimal(*platform::Decimal::parse("0.3"));
      f(HOU_IN_TOTALHOURS).setDecimal(*platform::Decimal::parse("0.3"));
      f(HOU_TOTALSECTION_INCOURT).setDecimal(*platform::Decimal::parse("10.01"));
      f(HOU_GRANDTOTAL).setDecimal(*platform::Decimal::parse("10.01"));
    });
  open();
  clickRow(1);
  click(widget(*list, cases::case_list::BUTTON9));
  ASSERT_TRUE(waitFor([] { return window("PRINTING FILES") != nullptr; }));
  platform::Window& printing = *window("PRINTING FILES");
  QWidget* top = desk->windowWidget(printing);
  ASSERT_NE(top, nullptr);
  EXPECT_TRUE(top->isWindow());
  EXPECT_TRUE(top->isVisible());
  EXPECT_EQ(printing.control(print_list::G_CASENUMBER).text(), "CR-2");

  click(widget(printing, print_list::BUTTON4));
  ASSERT_TRUE(waitFor([] { return window("Report Preview") != nullptr; }));
  settle();
  const std::string text = printToPdf((dir / "claim.pdf").string());
  for (const char* expected : {"THIS IS AN ATTACHMENT TO CJA 20", "CR-2", "United States v. Roe", "$20.08"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in:\n" << text;
  ASSERT_EQ(window("PRINTING FILES"), &printing);  // it stays open for the next printout

  click(widget(printing, print_list::BUTTON4_3));
  ASSERT_TRUE(waitFor([] { return window("Report Preview") != nullptr; }));
  settle();
  // The summary runs on a thread of its own: the printing window answers
  // its "&Cancel" while the summary's preview is open.
  EXPECT_TRUE(top->isEnabled());
  click(widget(printing, print_list::CANCEL));
  ASSERT_TRUE(waitFor([] { return window("PRINTING FILES") == nullptr; }));
  platform::Window* summary = window("Report Preview");
  ASSERT_NE(summary, nullptr);
  click(widget(*summary, platform::report::PreviewClose));
  EXPECT_TRUE(waitFor([] { return window("Report Preview") == nullptr; }));
}

}  // namespace
