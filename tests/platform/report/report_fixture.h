#pragma once
// Test reports for the engine, laid out on pages as data: a small record
// of its own (case number, description, hours, amount, flag, status,
// choice), a landscape ruled list over it, and helpers that print rows and
// read the pages back from the store.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/report/page_store.h"
#include "platform/report/report.h"
#include "platform/report/run_record.h"
#include "platform/types/field.h"

namespace reporttest {

using namespace platform::report;
using platform::Decimal;
using platform::FieldRef;
using platform::Rect;

enum EntryField : int { CASE = 1, DESC, HOURS, AMOUNT, DAY, FLAG, STATUS, CHOICE };

inline const platform::RecordLayout& entryLayout() {
  static const platform::RecordLayout layout("ENTRY", "ENT", "ENTRY", 20 + 60 + 4 + 6 + 4 + 1 + 20 + 1,
                                             {platform::STRING("ENT:CASE", 20, 0), platform::STRING("ENT:DESC", 60, 20),
                                              platform::DECIMAL("ENT:HOURS", 7, 1, 80),
                                              platform::DECIMAL("ENT:AMOUNT", 11, 2, 84), platform::DATE("ENT:DAY", 90),
                                              platform::BYTE("ENT:FLAG", 94), platform::STRING("ENT:STATUS", 20, 95),
                                              platform::BYTE("ENT:CHOICE", 115)});
  return layout;
}

struct Row {
  std::string caseNumber;
  std::string desc;
  std::string hours = "0";
  std::string amount = "0";
};

struct Entry {
  RunRecord rec{entryLayout()};
  FieldRef operator[](int f) { return rec[f]; }
  void set(const Row& r) {
    rec.clear();
    rec[CASE].setText(r.caseNumber);
    rec[DESC].setText(r.desc);
    rec[HOURS].setDecimal(*Decimal::parse(r.hours));
    rec[AMOUNT].setDecimal(*Decimal::parse(r.amount));
  }
};

// The list-report geometry on a landscape sheet: header at 250, 250; the
// body from 850 meant to run 9650 down; the footer at 10500; the form over
// 8000 by 10500. The engine fits them into the printable area.
inline ReportSpec listSpec(Entry& e) {
  ReportSpec s;
  s.orientation = Orientation::Landscape;
  Band header{"?HEADER", {250, 250, 8000, 600}, {}};
  header.Add(Text("?REPORTTITLE", {0, 0, 8000, 200}, "Report ENTRY file").Center());
  header.Add(PageNumber("?PAGECOUNT", {6950, 0, 700, 200}, "pPage <<#p"));
  header.Add(Box("?HEADERBOX", {0, 350, 8000, 250}));
  s.header = header;
  s.body = {250, 850, 8000, 9650};
  Band detail = BodyBand("?DETAIL", 250);
  detail.Add(Field("?ENT:CASE", {50, 0, 1900, 250}, e[CASE], "s20"));
  detail.Add(Field("?ENT:HOURS", {2050, 0, 900, 250}, e[HOURS], "N-7.1B").Right());
  detail.Add(Field("?ENT:AMOUNT", {3050, 0, 1900, 250}, e[AMOUNT], "N$-17.2B").Right());
  detail.Add(Line("?DETAILENDLINE", {0, 250, 8000, 0}));
  s.details.push_back(detail);
  Band footer{"?FOOTER", {250, 10500, 8000, 250}, {}};
  footer.Add(Text("?REPORTDATEPROMPT", {0, 0, 500, 200}, "Date:"));
  footer.Add(Text("?REPORTDATESTAMP", {550, 0, 1500, 200}, "<-- Date Stamp -->"));
  s.footer = footer;
  Band form{"?FORM", {250, 250, 8000, 10500}, {}};
  form.Add(Image("?FORMIMAGE", {0, 0, 8000, 10500}));
  s.form = form;
  return s;
}

// The pages of a store.
inline std::vector<Page> pagesOf(const PageStore& store) {
  std::vector<Page> pages;
  for (int p = 1; p <= store.count(); ++p) pages.push_back(store.read(p));
  return pages;
}

// Prints one detail per row.
inline void printRows(Report& r, Entry& e, const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    e.set(row);
    r.Print();
  }
}

// Whether an item lies inside a rectangle (lines may lie on its edge).
inline bool inside(const Rect& item, const Rect& area) {
  return item.x >= area.x && item.y >= area.y && item.x + item.width <= area.x + area.width &&
         item.y + item.height <= area.y + area.height;
}

}  // namespace reporttest
