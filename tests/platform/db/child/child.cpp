// A second process for the driver's tests: it works on the same record
// files as the test, and the test kills it or waits for it.
//
//   lv_db_child crash <dir> <seed>     cascade-like transactions until killed
//   lv_db_child share <dir> <count> <tag>
//                                      two logical threads, taking turns, add
//                                      <count> auto-numbered entries each
//   lv_db_child hold <dir>             reserves an entry number and waits
//
// Each mode prints "ready" once its files are open and, except crash, waits
// for a line on stdin before it starts.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "tests/platform/db/db_fixture.h"

namespace {

using namespace dbtest;
using platform::DbContext;
using platform::DbRow;
using platform::DbStatus;
using platform::DbTransaction;
using platform::Direction;
using platform::KeyValue;

[[noreturn]] void die(const std::string& what, const DbFile* f = nullptr) {
  std::cerr << "child: " << what;
  if (f) std::cerr << ": " << platform::dbStatusName(f->error().status) << " " << f->error().text;
  std::cerr << std::endl;
  std::exit(2);
}

void check(DbStatus s, const std::string& what, const DbFile& f) {
  if (s != DbStatus::Ok) die(what, &f);
}

void ready() {
  std::cout << "ready" << std::endl;
}

void waitForGo() {
  std::string line;
  std::getline(std::cin, line);
}

std::vector<DbRow> rowsOf(DbFile& f, int key, const std::optional<KeyValue>& equal) {
  std::vector<DbRow> all, page;
  std::optional<platform::Seek> from;
  for (;;) {
    check(f.readPage(key, Direction::Forward, from, 50, equal, page), "reading", f);
    all.insert(all.end(), page.begin(), page.end());
    if (page.size() < 50) return all;
    from = platform::Seek{f.keyValue(key, page.back().image.data()), page.back().position, false};
  }
}

// Cases, each with its totals record and CAS:ENTRIES entries, created,
// deleted and renumbered in transactions over the three files.
int crash(std::uint32_t seed) {
  DbContext context;
  DbFile cases(context, caseDefinition()), entries(context, entryDefinition()), totals(context, totalDefinition());
  for (DbFile* f : {&cases, &entries, &totals}) check(openOrCreate(*f), "opening", *f);
  ready();
  std::mt19937 random(seed);
  // Case numbers of different runs never meet: each run has its own range.
  std::int64_t serial = static_cast<std::int64_t>(seed % 20000) * 100000;
  for (;;) {
    std::vector<DbRow> all = rowsOf(cases, KeyCaseNumber, std::nullopt);
    DbTransaction tx(context);
    if (tx.begin({&cases, &entries, &totals}) != DbStatus::Ok) die("begin: " + tx.error().text);
    const int action = all.size() < 8 ? 0 : static_cast<int>(random() % 3);
    if (action == 0) {
      ++serial;
      const std::string number = "K" + std::to_string(serial);
      const int n = 1 + static_cast<int>(random() % 40);
      clear(cases);
      field(cases, CAS_NUMBER).setText(number);
      field(cases, CAS_ENTRIES).setInteger(n);
      field(cases, CAS_SERIAL).setInteger(serial);
      check(cases.add(), "adding a case", cases);
      clear(totals);
      field(totals, TOT_CASENUMBER).setText(number);
      check(totals.add(), "adding totals", totals);
      KeyValue max;
      check(entries.maxValue(KeyEntryFN, max), "numbering", entries);
      std::int64_t fn = std::holds_alternative<std::int64_t>(max) ? std::get<std::int64_t>(max) : 0;
      for (int i = 0; i < n; ++i) {
        clear(entries);
        field(entries, ENT_FN).setInteger(++fn);
        field(entries, ENT_CASENUMBER).setText(number);
        field(entries, ENT_SEQ).setInteger(serial);
        check(entries.add(), "adding an entry", entries);
      }
    } else {
      const DbRow& victim = all[random() % all.size()];
      cases.load(victim);
      const std::string number = field(cases, CAS_NUMBER).text();
      clear(entries);
      field(entries, ENT_CASENUMBER).setText(number);
      std::vector<DbRow> children = rowsOf(entries, KeyEntryCase, entries.keyValue(KeyEntryCase));
      clear(totals);
      field(totals, TOT_CASENUMBER).setText(number);
      check(totals.fetch(1), "finding totals", totals);
      if (action == 1) {  // delete the case with its records
        for (const DbRow& child : children) check(entries.remove(child.position, child.image), "deleting", entries);
        check(totals.remove(totals.position()), "deleting totals", totals);
        check(cases.remove(victim.position, victim.image), "deleting the case", cases);
      } else {  // give the case a new number, and its records with it
        ++serial;
        const std::string renumbered = "R" + std::to_string(serial);
        field(cases, CAS_NUMBER).setText(renumbered);
        check(cases.change(victim.position, victim.image), "renumbering the case", cases);
        const std::vector<std::uint8_t> original(totals.image().begin(), totals.image().end());
        field(totals, TOT_CASENUMBER).setText(renumbered);
        check(totals.change(totals.position(), original), "renumbering totals", totals);
        for (const DbRow& child : children) {
          entries.load(child);
          field(entries, ENT_CASENUMBER).setText(renumbered);
          check(entries.change(child.position, child.image), "renumbering an entry", entries);
        }
      }
    }
    if (tx.commit() != DbStatus::Ok) die("commit: " + tx.error().text);
  }
}

// Two logical threads of one process take turns: each reserves a number,
// then completes it, as a form would. A refused lock is retried and counted.
int share(int count, const std::string& tag) {
  DbContext contexts[2];
  DbFile a(contexts[0], entryDefinition()), b(contexts[1], entryDefinition());
  DbFile* files[2] = {&a, &b};
  for (DbFile* f : files) check(openOrCreate(*f), "opening", *f);
  ready();
  waitForGo();
  int retries = 0;
  auto retry = [&](DbFile& f, const char* what, auto call) {
    for (;;) {
      DbStatus s = call();
      if (s == DbStatus::Ok) return;
      if (s != DbStatus::Locked) die(what, &f);
      if (++retries > 1000) die(std::string("too many refusals ") + what, &f);
    }
  };
  std::int64_t reserved[2] = {0, 0};
  for (int i = 0; i < count; ++i) {
    for (int t = 0; t < 2; ++t) {
      DbFile& f = *files[t];
      clear(f);
      field(f, ENT_CASENUMBER).setText("SHARED");
      field(f, ENT_NOTE).setText(tag + "-" + std::to_string(t) + "-" + std::to_string(i));
      retry(f, "reserving", [&] { return f.reserveAutoNumber(); });
      reserved[t] = f.position();
    }
    for (int t = 0; t < 2; ++t) {
      DbFile& f = *files[t];
      retry(f, "completing", [&] { return f.completeReserved(reserved[t]); });
    }
  }
  std::cout << "done " << retries << std::endl;
  return 0;
}

int hold() {
  DbContext context;
  DbFile entries(context, entryDefinition());
  check(openOrCreate(entries), "opening", entries);
  clear(entries);
  field(entries, ENT_NOTE).setText("held");
  check(entries.reserveAutoNumber(), "reserving", entries);
  std::cout << "ready " << entries.position() << std::endl;
  waitForGo();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) die("usage: lv_db_child crash|share|hold <dir> ...");
  const std::string mode = argv[1];
  if (chdir(argv[2]) != 0) die(std::string("cannot enter ") + argv[2]);
  if (mode == "crash" && argc == 4) return crash(static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)));
  if (mode == "share" && argc == 5) return share(std::atoi(argv[3]), argv[4]);
  if (mode == "hold") return hold();
  die("unknown mode " + mode);
}
