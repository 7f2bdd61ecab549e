// Adding a case, the whole road: the program starts, the password gate
// lets the user in, the case list is open by itself, "&CREATE NEW CASE"
// opens the case form, and OK leaves the new case in the list with the list
// positioned on it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "app/frame/data_layer.h"
#include "app/frame/program.h"
#include "app/frame/thread_state.h"
#include "app/main_frame.h"
#include "app/password_windows.h"
#include "cases/browse_case_close_summary.h"
#include "cases/update_case_close_summary.h"
#include "platform/fiber/scheduler.h"
#include "platform/os/os_fakes.h"
#include "platform/ui/headless/driver.h"
#include "tests/platform/os/temp_dir.h"

namespace roadtest {
namespace {

using ::testing::ElementsAre;
namespace cl = cases::case_list;
namespace cf = cases::case_form;

class AddingACase : public lvtest::ScratchDirTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(platform::scheduler().violations(), 0) << platform::scheduler().lastViolation();
    drv.reset();
    app::SetThreadDataLayer(nullptr);
    ScratchDirTest::TearDown();
  }

  platform::FakeUserName user{std::string("jdoe")};
  platform::FakeOsVersion os{"Debian GNU/Linux 12 (bookworm)"};
  platform::RecordingFullDrag drag{false};
  platform::ScopedOsServices services{platform::OsServices{&user, &os, nullptr, &drag}};
  std::optional<platform::HeadlessDriver> drv{std::in_place};
};

TEST_F(AddingACase, TheNewCaseIsListedAndSelected) {
  app::InstallDataLayer();
  drv->startProgram(app::ProgramThread(app::Main));
  platform::Window& gate = drv->window("Please enter your password");
  drv->edit(gate, app::gate::G_PASS, "vimbro");
  drv->click(gate, app::gate::BUTTON2);

  platform::Window& list = drv->window("CASE FILE");
  EXPECT_EQ(drv->control(list, cl::BROWSE_1).rowCount(), 0);
  drv->click(list, cl::INSERT_3);
  platform::Window& form = drv->window("Record Will Be Added");
  drv->type(form, cf::CCS_CASENUMBER, "2:07-CR-00123");
  drv->type(form, cf::CCS_CASENAME, "United States v. Doe");
  drv->type(form, cf::CCS_HOURLYRATE, "125");
  drv->selectTab(form, cf::CURRENTTAB, 2);
  drv->type(form, cf::CCS_JUDGE, "Judge Roe");
  drv->click(form, cf::OK);

  EXPECT_EQ(drv->findWindow("Record Will Be Added"), nullptr);
  platform::Control& rows = drv->control(list, cl::BROWSE_1);
  ASSERT_EQ(rows.rowCount(), 1);
  EXPECT_THAT(rows.row(1), ElementsAre("2:07-CR-00123", "United States v. Doe", "$125.00"));
  EXPECT_EQ(rows.selected(), 1);
  EXPECT_EQ(drv->text(list, cl::CCS_CASENAME_2), "United States v. Doe");
  EXPECT_EQ(list.focus(), cl::BROWSE_1);

  // A second case with the same number in other letters is refused; the
  // list keeps the one case.
  drv->click(list, cl::INSERT_3);
  platform::Window& again = drv->window("Record Will Be Added");
  drv->type(again, cf::CCS_CASENUMBER, "2:07-cr-00123");
  drv->type(again, cf::CCS_HOURLYRATE, "90");
  drv->answer(platform::BtnOk);
  drv->click(again, cf::OK);
  EXPECT_EQ(drv->messages().back().title, "Duplicate Key Error");
  drv->answer(platform::BtnYes);  // "Changes will be lost!"
  drv->click(again, cf::CANCEL);
  EXPECT_EQ(rows.rowCount(), 1);
  EXPECT_EQ(drv->text(list, cl::CCS_CASENAME_2), "United States v. Doe");

  drv->close(drv->window(app::FrameCaption));
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), 0);
}

}  // namespace
}  // namespace roadtest
