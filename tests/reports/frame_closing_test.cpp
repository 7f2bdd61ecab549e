// Closing the frame while reports run on threads of their own: two that
// show their previews and one that is still reading. Every thread ends
// through its windows' own close handling before the program shuts the
// settings manager down, so the placements the runs save on their way out
// reach the settings file, and nothing a run uses is freed under it (the
// sanitizer build runs this too).

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/main_frame.h"
#include "app/password_windows.h"
#include "platform/types/halt.h"
#include "reports/print_cja.h"
#include "tests/reports/report_fixture.h"

namespace reporttest {
namespace {

using namespace platform::report;
using namespace dictionary;

int pageFilesLeft() {
  const std::string mine = std::string(PageStore::FilePrefix) + std::to_string(::getpid()) + "-";
  int n = 0;
  for (const auto& f : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
    if (f.path().filename().string().rfind(mine, 0) == 0) ++n;
  return n;
}

TEST_F(ReportTest, ClosingTheFrameEndsEveryReportThreadBeforeTheSettingsManagerGoes) {
  writer->addCaseWith([](const Writer::Fields& f) {
    f(CCS_CASENUMBER).setText("CR-1");
    f(CCS_HOURLYRATE).setDecimal(*Decimal::parse("50"));
  });
  std::vector<Writer::Fill> entries(300, [](const Writer::Fields& f) {
    f(HOU_CASENUMBER).setText("CR-1");
    f(HOU_TRIAL).setDecimal(*Decimal::parse("1.0"));
  });
  writer->addEntriesWith(entries);

  // The frame with three of its visible commands starting the claim form
  // of the case G:CASENUMBER holds at the click; the case list stays shut.
  using namespace app::frame;
  std::vector<app::FrameCommand> commands = app::FrameCommands();
  for (app::FrameCommand& c : commands) {
    if (c.control == BROWSECASECLOSESUMMARY) c.run = {};
    if (c.control == BROWSERATEMILAGE || c.control == BUTTON1_2 || c.control == HELPSEARCH) {
      c.action = app::CommandAction::Start;
      c.run = reports::PRINT_CJA;
    }
  }
  // Each reading of the loop's clock takes a whole time slice, so a run
  // reads one entry per timer event.
  platform::Scheduler::Centis cost = 0;
  platform::scheduler().setTimeSource([this, &cost] {
    clock->spend(cost);
    return (*clock)();
  });

  drv->startProgram(app::ProgramThread([&commands] { app::MainWithCommands(commands); }));
  Window& gate = drv->window("Please enter your password");
  drv->edit(gate, app::gate::G_PASS, "vimbro");
  drv->click(gate, app::gate::BUTTON2);
  Window& frame = drv->window(app::FrameCaption);
  app::G_CASENUMBER().setText("CR-1");

  // Two runs read to their previews, one more still reading.
  auto progressWindows = [this] {
    int n = 0;
    for (Window* w : drv->openWindows()) n += w->spec().caption == "Report CaseCloseSummary";
    return n;
  };
  auto previews = [this] {
    int n = 0;
    for (Window* w : drv->openWindows()) n += w->spec().caption == "Report Preview";
    return n;
  };
  drv->click(frame, BROWSERATEMILAGE);
  drv->click(frame, BUTTON1_2);
  for (int i = 0; i < 10 && previews() < 2; ++i) drv->advance(ProgressTimer);
  ASSERT_EQ(previews(), 2);
  cost = ReportController::TimeSlice;
  drv->click(frame, HELPSEARCH);
  drv->advance(ProgressTimer);
  drv->advance(ProgressTimer);
  ASSERT_EQ(progressWindows(), 1);
  EXPECT_EQ(app::programThreads().size(), 4u);

  drv->close(frame);
  cost = 0;
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), platform::ExitNormal);
  EXPECT_TRUE(drv->openWindows().empty());
  EXPECT_EQ(pageFilesLeft(), 0);
  // Saved on the way out, while the settings manager still stood.
  EXPECT_TRUE(setting(reports::PreviewSection, "Maximize").has_value());
  EXPECT_TRUE(setting("PRINT_CJA", "XPos").has_value());
  platform::scheduler().setTimeSource([this] { return (*clock)(); });
}

}  // namespace
}  // namespace reporttest
