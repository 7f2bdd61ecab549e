#include "platform/qt/printer.h"

#include <QCoreApplication>
#include <QPrinter>

namespace platform::qt {
namespace {

QPrinter* printer = nullptr;

void dropPrinter() {
  delete printer;
  printer = nullptr;
}

}  // namespace

QPrinter& sharedPrinter() {
  if (!printer) {
    printer = new QPrinter(QPrinter::HighResolution);
    qAddPostRoutine(dropPrinter);
  }
  return *printer;
}

}  // namespace platform::qt
