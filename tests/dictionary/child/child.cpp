// A second process for the data layer's crash test: it works on the real
// record files in <dir> until it is killed.
//
//   lv_dict_child crash <dir> <seed>
//
// Cases are made whole (case, totals record and 1 to 40 entries, in one
// transaction), deleted with their records through the case's relation
// object, and given new numbers through it. Each case keeps a serial number
// in CCS:XXXXXXXX and the count of its entries in CCS:NUMBER; each entry
// keeps its case's serial in HOU:XXX, so the test can tell a case whose
// records are mixed up. Prints "ready" once its files are open. Any message
// of the data layer ends the child with exit code 2.

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "dictionary/dictionary.h"
#include "platform/db/transaction.h"
#include "platform/ui/message_port.h"

namespace {

using namespace dictionary;
using platform::DbStatus;

[[noreturn]] void die(const std::string& what) {
  std::cerr << "child: " << what << std::endl;
  std::exit(2);
}

class Fail final : public platform::MessagePort {
 public:
  unsigned show(const platform::MessageRequest& r) override { die(r.title + ": " + r.text); }
};

void check(DbStatus s, const std::string& what, const platform::DbFile& f) {
  if (s != DbStatus::Ok) die(what + ": " + platform::dbStatusName(s) + " " + f.error().text);
}

// Adds a case with its totals and entries, all or nothing.
void makeCase(std::int64_t serial, int entries) {
  platform::DbTransaction tx(threadData().context());
  if (tx.begin({&CaseCloseSummary(), &TOTALS(), &HOURLY()}) != DbStatus::Ok) die("begin: " + tx.error().text);
  const std::string number = "K" + std::to_string(serial);
  platform::clearRecord(CaseCloseSummaryLayout(), CaseCloseSummary().record());
  CCS(CCS_CASENUMBER).setText(number);
  CCS(CCS_XXXXXXXX).setText(std::to_string(serial));
  CCS(CCS_NUMBER).setText(std::to_string(entries));
  check(CaseCloseSummary().add(), "adding a case", CaseCloseSummary());
  platform::clearRecord(TOTALSLayout(), TOTALS().record());
  TOT(TOT_CASENUMBER).setText(number);
  check(TOTALS().add(), "adding totals", TOTALS());
  platform::KeyValue highest;
  check(HOURLY().maxValue(HOU_KEYFN, highest), "numbering", HOURLY());
  std::int64_t fn = std::holds_alternative<std::int64_t>(highest) ? std::get<std::int64_t>(highest) : 0;
  for (int i = 0; i < entries; ++i) {
    platform::clearRecord(HOURLYLayout(), HOURLY().record());
    HOU(HOU_FN).setInteger(++fn);
    HOU(HOU_CASENUMBER).setText(number);
    HOU(HOU_XXX).setText(std::to_string(serial));
    check(HOURLY().add(), "adding an entry", HOURLY());
  }
  if (tx.commit() != DbStatus::Ok) die("commit: " + tx.error().text);
}

int crash(std::uint32_t seed) {
  Fail fail;
  platform::setMessagePort(&fail);
  platform::ErrorManager errors;
  threadData().MakeFiles();
  threadData().ConstructDictionary(errors);
  if (Relate_CaseCloseSummary().Open() != 0) die("opening");
  for (platform::FileManager* a : {&Access_CaseCloseSummary(), &Access_HOURLY(), &Access_TOTALS()})
    if (a->UseFile() != 0) die("opening " + a->FILENAMEVALUE);
  std::cout << "ready" << std::endl;

  std::mt19937 random(seed);
  // Serials of different runs never meet: each run has its own range.
  std::int64_t serial = static_cast<std::int64_t>(seed % 20000) * 100000;
  for (;;) {
    std::vector<platform::DbRow> cases;
    check(CaseCloseSummary().readPage(CCS_KeyCaseNumber, platform::Direction::Forward, std::nullopt, 1000, std::nullopt,
                                      cases),
          "reading cases", CaseCloseSummary());
    const int action = cases.size() < 8 ? 0 : static_cast<int>(random() % 3);
    if (action == 0) {
      makeCase(++serial, 1 + static_cast<int>(random() % 40));
      continue;
    }
    CaseCloseSummary().load(cases[random() % cases.size()]);
    if (action == 1) {
      if (Relate_CaseCloseSummary().Delete(false) != 0) die("deleting a case");
    } else {
      const std::vector<std::uint8_t> original(CaseCloseSummary().image().begin(), CaseCloseSummary().image().end());
      CCS(CCS_CASENUMBER).setText("R" + std::to_string(++serial));
      if (Relate_CaseCloseSummary().Update(original) != 0) die("renumbering a case");
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[1]) != "crash") die("usage: lv_dict_child crash <dir> <seed>");
  if (chdir(argv[2]) != 0) die(std::string("cannot enter ") + argv[2]);
  return crash(static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)));
}
