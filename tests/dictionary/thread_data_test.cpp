// The per-thread structure of the data layer: what exists when, and that
// every thread has its own.

#include <sqlite3.h>

#include <stdexcept>
#include <thread>

#include "tests/dictionary/dict_fixture.h"

namespace {

using namespace dicttest;

TEST(ThreadDataTest, ObjectsExistFromTheThreadsSetUpToItsTearDown) {
  ScratchDir dir;
  ScriptedPort port;
  platform::setMessagePort(&port);
  auto data = std::make_unique<ThreadData>();
  setThreadDataSource([&]() -> ThreadData& { return *data; });
  platform::ErrorManager errors;

  EXPECT_THROW(CCS(CCS_CASENUMBER), std::logic_error);
  data->MakeFiles();
  EXPECT_EQ(CCS(CCS_CASENUMBER).text(), "");  // closed, buffer cleared
  EXPECT_FALSE(HOURLY().isOpen());
  EXPECT_THROW(Access_HOURLY(), std::logic_error);

  data->ConstructDictionary(errors);
  struct Expected {
    platform::FileManager& access;
    platform::FileRelations& relate;
    platform::DbFile& file;
    const char* label;
  };
  const Expected objects[] = {
      {Access_CaseCloseSummary(), Relate_CaseCloseSummary(), CaseCloseSummary(), "CaseCloseSummary"},
      {Access_HOURLY(), Relate_HOURLY(), HOURLY(), "HOURLY"},
      {Access_RateMilage(), Relate_RateMilage(), RateMilage(), "RateMilage"},
      {Access_TOTALS(), Relate_TOTALS(), TOTALS(), "TOTALS"},
  };
  for (const Expected& o : objects) {
    SCOPED_TRACE(o.label);
    EXPECT_EQ(&o.access.file(), &o.file);
    EXPECT_EQ(&o.relate.Me(), &o.access);
    EXPECT_EQ(&o.access.errors(), &errors);
    EXPECT_EQ(o.access.FILENAMEVALUE, o.label);
    EXPECT_TRUE(o.access.CREATE);
    EXPECT_EQ(o.access.LOCKRECOVER, 10);
  }

  // A thread that ends with a reserved entry number leaves no reservation.
  ASSERT_EQ(Relate_HOURLY().Open(), 0);
  ASSERT_EQ(Access_HOURLY().PrimeRecord(), 0);
  data->DestroyDictionary();
  EXPECT_THROW(Access_HOURLY(), std::logic_error);
  EXPECT_THROW(Relate_CaseCloseSummary(), std::logic_error);
  EXPECT_NO_THROW(HOU(HOU_FN));  // the files outlive the dictionary
  data.reset();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(dir.file("HOURLY.lvd").c_str(), &db), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT count(*) FROM records", -1, &stmt, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(stmt, 0), 0);
  sqlite3_finalize(stmt);
  sqlite3_close(db);

  setThreadDataSource({});
  platform::setMessagePort(nullptr);
  EXPECT_TRUE(port.shown.empty());
}

TEST(ThreadDataTest, WithoutAnotherSourceEachOsThreadHasItsOwn) {
  ScratchDir dir;
  auto run = [](const std::string& number, const ThreadData*& seen, std::string& read) {
    ThreadData& t = threadData();
    t.MakeFiles();
    platform::ErrorManager errors;
    t.ConstructDictionary(errors);
    CCS(CCS_CASENUMBER).setText(number);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    read = CCS(CCS_CASENUMBER).text();
    seen = &t;
    t.ReleaseFiles();
  };
  const ThreadData *first = nullptr, *second = nullptr;
  std::string a, b;
  std::thread one([&] { run("CR-1", first, a); });
  std::thread two([&] { run("CR-2", second, b); });
  one.join();
  two.join();
  EXPECT_NE(first, second);
  EXPECT_EQ(a, "CR-1");
  EXPECT_EQ(b, "CR-2");
  EXPECT_FALSE(threadData().hasFiles());  // this thread's own is untouched
}

}  // namespace
