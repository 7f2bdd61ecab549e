// The data layer on logical threads: each keeps its structure in
// fiber-local storage, message boxes make threads give way, and no switch
// ever happens while a transaction or a statement is open.

#include <sqlite3.h>

#include "platform/fiber/fiber_local.h"
#include "platform/fiber/scheduler.h"
#include "platform/fiber/thread.h"
#include "tests/dictionary/dict_fixture.h"

namespace {

using namespace dicttest;
using platform::BtnNo;
using platform::BtnYes;

platform::FiberLocal<ThreadData> perThread;

// A box waits on its thread until the test answers it, as a modal box does.
class WaitingPort final : public platform::MessagePort {
 public:
  struct Box {
    int thread;
    std::string title;
    unsigned answer = 0;
  };
  unsigned show(const platform::MessageRequest& r) override {
    boxes.push_back({platform::currentThread(), r.title});
    const std::size_t mine = boxes.size() - 1;
    while (boxes[mine].answer == 0) platform::waitForWake();
    return boxes[mine].answer;
  }
  void answer(std::size_t box, unsigned button) {
    boxes[box].answer = button;
    platform::wakeThread(boxes[box].thread);
    platform::scheduler().runReady();
  }
  std::vector<Box> boxes;
};

TEST(FibersTest, LogicalThreadsKeepTheirOwnDataAndNeverSwitchInsideATransaction) {
  platform::scheduler().reset();
  ScratchDir dir;
  WaitingPort port;
  platform::setMessagePort(&port);
  setThreadDataSource([]() -> ThreadData& { return *perThread; });

  auto makeCase = [](const std::string& number, int entries) {
    Access_CaseCloseSummary().PrimeRecord();
    CCS(CCS_CASENUMBER).setText(number);
    ASSERT_EQ(Access_CaseCloseSummary().Insert(), 0);
    for (int i = 0; i < entries; ++i) {
      Access_HOURLY().PrimeRecord();
      HOU(HOU_CASENUMBER).setText(number);
      ASSERT_EQ(Access_HOURLY().Insert(), 0);
    }
  };
  // Each thread sets itself up, makes its case, then deletes it.
  std::map<std::string, int> results;
  std::map<std::string, const ThreadData*> structures;
  auto procedure = [&](std::string number, int entries) {
    return [&, number, entries] {
      platform::ErrorManager errors;
      ThreadData& data = threadData();
      structures[number] = &data;
      data.MakeFiles();
      data.ConstructDictionary(errors);
      EXPECT_EQ(CCS(CCS_CASENUMBER).text(), "");  // nothing comes from the other thread
      ASSERT_EQ(Relate_CaseCloseSummary().Open(), 0);
      makeCase(number, entries);
      CCS(CCS_CASENUMBER).setText(number);
      ASSERT_EQ(Access_CaseCloseSummary().TryFetch(CCS_KeyCaseNumber), 0);
      results[number] = Relate_CaseCloseSummary().Delete();
      data.DestroyDictionary();
    };
  };
  platform::StartThread(procedure("A", 3), 50000);
  platform::scheduler().runReady();
  // A waits for its confirmation; B's delete fails on its second entry.
  execOn(dir.file("HOURLY.lvd"),
         "CREATE TRIGGER fail BEFORE DELETE ON records WHEN old.k1 = 5 BEGIN SELECT RAISE(ABORT, 'refused'); END");
  platform::StartThread(procedure("B", 2), 50000);
  platform::scheduler().runReady();
  ASSERT_EQ(port.boxes.size(), 2u);
  EXPECT_EQ(port.boxes[0].title, "Confirm Delete");
  port.answer(1, BtnYes);  // B: the question about retrying follows, after the roll-back
  ASSERT_EQ(port.boxes.size(), 3u);
  EXPECT_EQ(port.boxes[2].title, "Record Delete Error");
  port.answer(0, BtnYes);
  port.answer(2, BtnNo);

  EXPECT_EQ(platform::scheduler().liveThreads(), 0);
  EXPECT_EQ(platform::scheduler().switchCheckViolations(), 0) << platform::scheduler().lastViolation();
  EXPECT_NE(structures["A"], structures["B"]);
  EXPECT_EQ(results, (std::map<std::string, int>{{"A", 0}, {"B", platform::LevelCancelled}}));
  // A's case went with its entries; B's case and entries are all there.
  platform::DbContext context;
  platform::DbFile cases(context, CaseCloseSummaryDefinition()), entries(context, HOURLYDefinition());
  ASSERT_EQ(cases.open(), DbStatus::Ok);
  ASSERT_EQ(entries.open(), DbStatus::Ok);
  EXPECT_EQ(texts(cases, CCS_KeyCaseNumber, CCS_CASENUMBER), (std::vector<std::string>{"B"}));
  EXPECT_EQ(texts(entries, HOU_KEYFN, HOU_CASENUMBER), (std::vector<std::string>{"B", "B"}));

  setThreadDataSource({});
  platform::setMessagePort(nullptr);
  platform::scheduler().reset();
}

}  // namespace
