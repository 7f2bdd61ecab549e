#pragma once
// Printing an open preview to a PDF file through the real printer dialog,
// as the user does, and reading the file's text back with pdftotext: for
// the tests that drive the real Qt windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <cstdio>
#include <string>

#include "platform/qt/printer.h"
#include "platform/ui/desktop.h"

namespace reporttest {

inline std::string pdfText(const std::string& pdf) {
  std::string text;
  if (FILE* p = ::popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) text.append(buffer, n);
    ::pclose(p);
  }
  return text;
}

// Clicks the preview's `print` button, accepts the printer dialog with the
// shared printer set to write `pdf`, waits (through `waitFor`, which runs
// the event loop until its condition holds) for the preview to close once
// it has printed, and gives the file's text in `text`.
template <class WaitFor>
void printPreviewToPdf(QWidget* print, const std::string& pdf, WaitFor waitFor, std::string& text) {
  ASSERT_NE(print, nullptr);
  QPrinter& printer = platform::qt::sharedPrinter();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf));
  // The printer is the program's one: the next test finds it unset.
  struct Unset {
    QPrinter& printer;
    ~Unset() { printer.setOutputFileName(QString()); }
  } unset{printer};
  QTest::mouseClick(print, Qt::LeftButton);
  QPrintDialog* dialog = nullptr;
  ASSERT_TRUE(waitFor([&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<QPrintDialog*>(w); d && d->isVisible()) dialog = d;
    return dialog != nullptr;
  }));
  dialog->accept();
  ASSERT_TRUE(waitFor([] { return platform::desktop().findByCaption("Report Preview") == nullptr; }));
  text = pdfText(pdf);
}

}  // namespace reporttest
