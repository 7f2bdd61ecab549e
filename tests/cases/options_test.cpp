// "BOX 21": the code table opened from the case form.

#include <gtest/gtest.h>

#include "cases/options.h"
#include "tests/cases/form_fixture.h"

namespace casetest {
namespace {

using OptionsTest = CaseFormTest;

TEST_F(OptionsTest, ExitClosesTheCodeTableAndLeavesTheFormAsItWas) {
  insert();
  Window& w = added();
  fill(w, {"CR-1", "US v. Doe", "100"});
  drv->selectTab(w, cf::CURRENTTAB, 5);
  drv->choose(w, cf::CCS_CASEDISPOSITION, "GG");
  drv->click(w, cf::BUTTON3);

  Window& box = drv->window("BOX 21");
  EXPECT_EQ(box.kind(), platform::WindowKind::Own);
  EXPECT_EQ(box.control(cases::options::IMAGE1).text(), "box21.jpg");
  EXPECT_EQ(drv->text(box, cases::options::OK), "e x i t");
  EXPECT_TRUE(box.control(cases::options::CANCEL).hidden());
  EXPECT_TRUE(box.control(cases::options::HELP).hidden());
  EXPECT_FALSE(w.takesInput()) << "the form waits for it";
  drv->click(box, cases::options::OK);

  EXPECT_EQ(drv->findWindow("BOX 21"), nullptr);
  EXPECT_TRUE(w.takesInput());
  EXPECT_EQ(w.control(cf::CURRENTTAB).selected(), 5);
  EXPECT_EQ(drv->text(w, cf::CCS_CASEDISPOSITION), "GG");
  EXPECT_EQ(drv->text(w, cf::CCS_CASENAME), "US v. Doe");

  // Its close box closes it the same way.
  drv->click(w, cf::BUTTON3);
  drv->close(drv->window("BOX 21"));
  EXPECT_EQ(drv->findWindow("BOX 21"), nullptr);

  drv->click(w, cf::OK);
  EXPECT_EQ(response, app::ResponseCompleted);
  on([] {
    load("CR-1");
    EXPECT_EQ(dictionary::CCS(dictionary::CCS_CASEDISPOSITION).text(), "GG");
  });
}

}  // namespace
}  // namespace casetest
