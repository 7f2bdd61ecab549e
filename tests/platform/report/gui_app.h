#pragma once
// One QGuiApplication on the offscreen platform for a whole test program:
// report layout measures text through Qt's font metrics. A test program
// registers it once, in one of its files:
//
//   const auto* const gui = ::testing::AddGlobalTestEnvironment(new lvtest::GuiApplication);

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>

namespace lvtest {

class GuiApplication : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "lanvik-test";
    static char* argv[] = {name, nullptr};
    app_ = new QGuiApplication(argc, argv);
  }
  void TearDown() override {
    delete app_;
    app_ = nullptr;
  }

 private:
  QGuiApplication* app_ = nullptr;
};

}  // namespace lvtest
