// The real data layer on the program's logical threads: every thread gets
// its own copies of the record files.
#include "app/frame/data_layer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "dictionary/dictionary.h"
#include "dictionary/keys.h"
#include "dictionary/thread_data.h"
#include "tests/app/frame/frame_fixture.h"

namespace apptest {
namespace {

using dictionary::CCS;
using dictionary::CCS_CASENUMBER;

constexpr int Call = 4;
constexpr int Check = 5;

class DataLayerTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    app::InstallDataLayer();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    dictionary::setThreadDataSource({});
  }
};

// A list that owns the cases file; its button adds a case, which becomes its
// current record, then starts `started` on a thread of its own.
// Its second button notes what the list's thread sees of its file.
struct ListSees {
  bool open = false;
  std::string caseNumber;
};
Procedure caseList(std::function<void()> started, std::optional<ListSees>& sees) {
  Procedure list{"BrowseCaseCloseSummary", windowSpec("List"),
                 {ctl(Call, ControlKind::Button), ctl(Check, ControlKind::Button, {5, 20, 60, 12})}};
  list.configure = [started, &sees](TestWindow& w) {
    w.members = [&w] { return w.OpenFiles(dictionary::Relate_CaseCloseSummary()); };
    w.accepted = [started, &sees](const Event& e) {
      if (e.control == Check) sees = ListSees{dictionary::CaseCloseSummary().isOpen(), CCS(CCS_CASENUMBER).text()};
      if (e.control != Call) return 0;
      EXPECT_EQ(dictionary::Access_CaseCloseSummary().PrimeRecord(), 0);
      CCS(CCS_CASENUMBER).setText("CR-1");
      EXPECT_EQ(dictionary::Access_CaseCloseSummary().Insert(), 0);
      app::StartThread(started, 50000);
      return 0;
    };
  };
  return list;
}

TEST_F(DataLayerTest, AStartedThreadHasItsOwnRecordFiles) {
  std::optional<std::string> seenBuffer;
  std::optional<bool> seenOpen, fetched;
  std::optional<ListSees> listSees;
  Procedure viewer{"SPLASH", windowSpec("About", WindowKind::Own), {ctl(1, ControlKind::Entry)}};
  auto started = [&] {
    // Nothing of the starter's current case reaches the new thread.
    seenBuffer = CCS(CCS_CASENUMBER).text();
    seenOpen = dictionary::CaseCloseSummary().isOpen();
    // Its own copy of the file finds the case the starter added (keys
    // ignore case), and closing it leaves the starter's copy open.
    dictionary::Relate_CaseCloseSummary().Open();
    CCS(CCS_CASENUMBER).setText("cr-1");
    fetched = dictionary::Access_CaseCloseSummary().TryFetch(dictionary::CCS_KeyCaseNumber) == 0;
    dictionary::Relate_CaseCloseSummary().Close();
    viewer();
  };
  start(frame(caseList(started, listSees)));
  drv->click(drv->window("Main"), StartButton);
  drv->click(drv->window("List"), Call);
  ASSERT_TRUE(seenBuffer && seenOpen && fetched);
  EXPECT_EQ(*seenBuffer, "");
  EXPECT_FALSE(*seenOpen);
  EXPECT_TRUE(*fetched);
  drv->close(drv->window("About"));

  drv->click(drv->window("List"), Check);
  ASSERT_TRUE(listSees);
  EXPECT_TRUE(listSees->open);
  EXPECT_EQ(listSees->caseNumber, "CR-1");
  drv->close(drv->window("List"));
  drv->close(drv->window("Main"));
  EXPECT_TRUE(drv->programEnded());
  EXPECT_EQ(drv->exitCode(), 0);
}

}  // namespace
}  // namespace apptest
