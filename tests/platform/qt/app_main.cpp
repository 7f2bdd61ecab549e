// One application object for the whole test program, made before the first
// test and deleted after the last.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QStyleFactory>
#include <cstdio>

namespace {

// The offscreen platform says so for every raise and keyboard grab; the
// rest is shown.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("This plugin does not support"))) return;
  fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "test_platform_qt";
    static char* argv[] = {name, nullptr};
    qInstallMessageHandler(quietOffscreen);
    app_ = new QApplication(argc, argv);
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // The fonts are read now. A test that draws no text would otherwise have
    // them read first while the application object is deleted, where
    // fontconfig trips the address sanitizer about every other run.
    QFontDatabase::families();
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  QApplication* app_ = nullptr;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
