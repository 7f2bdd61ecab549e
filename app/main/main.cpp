// Entry point of the desktop program: the program runs on the desktop's
// event loop and its exit code is the program's (0 normal end, 9 a wrong
// password, 3 a fatal error).
#include "app/frame/data_layer.h"
#include "app/frame/program.h"
#include "app/main_frame.h"
#include "platform/qt/run.h"

int main(int argc, char** argv) {
  app::InstallDataLayer();
  return platform::qt::runDesktop(argc, argv, app::ProgramThread(app::Main));
}
